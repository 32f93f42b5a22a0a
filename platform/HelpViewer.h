#pragma once

#include "platform/HelpFile.h"
#include "platform/Platform.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QTextBrowser;
class QUrl;

namespace platform {

// The program's help window: one per program, re-used for every request. It opens a help
// file at its contents page or at its keyword index with an empty keyword.
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
    void TopicList_Activated(QListWidgetItem* item);
    void KeywordBox_TextEdited(const QString& text);
    void KeywordList_Activated(QListWidgetItem* item);
    void TopicView_AnchorClicked(const QUrl& link);

private:
    void Fill();
    void ShowContentsPage();
    void ShowTopic(int topic);
    void ShowMissing(const QString& helpFile);

    HelpFile m_File;
    QString m_Path;
    std::vector<HelpFile::IndexEntry> m_Index;

    QTabWidget* m_Tabs;
    QListWidget* m_TopicList;
    QLineEdit* m_KeywordBox;
    QListWidget* m_KeywordList;
    QTextBrowser* m_TopicView;
};

} // namespace platform
