#pragma once

#include "platform/HelpFile.h"
#include "platform/HelpPage.h"
#include "platform/Platform.h"

#include <QWidget>
#include <vector>

class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;
class QPushButton;
class QStringListModel;
class QTabWidget;
class QTextBrowser;
class QUrl;

namespace platform {

// The program's help window: one per program, re-used for every request. It opens a help
// file at its contents page or at its keyword index with an empty keyword. Contents and
// Back (also Alt+Left and Backspace) move between the pages shown; Esc and Ctrl+W close
// it. A long page is shown in parts (HelpPage), so a help file of any size shows at once.
// Centred when first opened; the contents list marks the topic shown.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // The program's one viewer, made on first use and deleted when the application ends.
    static HelpViewer& Instance();

    explicit HelpViewer(QWidget* parent = nullptr);

    void Open(const QString& helpFile, HelpCommand command);
    // The file shown, "" when the last request found none.
    const QString& CurrentPath() const { return m_Path; }

private slots:
    void TopicList_Activated(const QModelIndex& item);
    void KeywordBox_TextEdited(const QString& text);
    void KeywordList_Activated(const QModelIndex& item);
    void TopicView_AnchorClicked(const QUrl& link);
    void ContentsButton_Click();
    void BackButton_Click();

private:
    enum class Problem { None, Missing, Empty, NotText };
    enum class PageKind { Contents, Topic, Keyword };
    // A page and the part of it shown.
    struct Place {
        PageKind kind = PageKind::Contents;
        int which = 0; // the topic or the index entry
        int part = 0;
        bool operator==(const Place&) const = default;
    };

    void Fill();
    // Shows place and remembers the page it leaves for Back.
    void Go(const Place& place);
    void Show(const Place& place);
    HelpPage MakePage(PageKind kind, int which) const;
    QString ProblemHtml() const;
    void UpdateKeywordStatus();

    HelpFile m_File;
    QString m_Path;
    QString m_Asked;
    Problem m_Problem = Problem::Missing;
    std::vector<HelpFile::IndexEntry> m_Index;
    // Each index entry's folded keyword, in the index's order.
    std::vector<QString> m_FoldedKeywords;
    std::vector<Place> m_History;
    Place m_Shown;
    // The page last made, kept while its parts are shown.
    HelpPage m_Page;
    Place m_PageMade;
    bool m_HavePage = false;
    bool m_Placed = false;

    QPushButton* m_ContentsButton;
    QPushButton* m_BackButton;
    QTabWidget* m_Tabs;
    // Plain string lists: a help file of any length fills them at once.
    QStringListModel* m_Topics;
    QStringListModel* m_Keywords;
    QListView* m_TopicList;
    QLineEdit* m_KeywordBox;
    QLabel* m_KeywordStatus;
    QListView* m_KeywordList;
    QTextBrowser* m_TopicView;
};

} // namespace platform
