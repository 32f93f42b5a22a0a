#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace platform {

// A help file in our own plain text form (help/FORMAT.md): a title, an introduction shown
// on the contents page, and topics with keywords for the index.
class HelpFile {
public:
    struct Topic {
        QString title;
        QStringList keywords;
        QString body;
    };
    // One index entry: a keyword and the topics (indexes into Topics()) that carry it.
    using IndexEntry = std::pair<QString, std::vector<int>>;

    // The most of a file that is read; a larger file is cut before the topic that would
    // go past it.
    static constexpr qint64 kMaxBytes = 4 * 1024 * 1024;

    // Finds a help file by the name a program uses (".\Mirel.hlp"): a leading ".\" is
    // dropped, then the name is looked up in the current folder, in the program's folder
    // and in the installed files folder, the file name matched without regard to case.
    // "" when there is none.
    static QString Locate(const QString& name);

    // Reads a file; False, leaving this empty, when it cannot be read. A file larger than
    // maxBytes keeps only the topics that begin within them, each whole (IsCut). A file
    // that holds a NUL byte is not text and leaves this empty (IsText false).
    bool Load(const QString& path, qint64 maxBytes = kMaxBytes);
    // Any text is a help file: what is not a heading is body text.
    void Parse(const QString& text);

    const QString& Title() const { return m_Title; }
    const QString& Introduction() const { return m_Introduction; }
    const std::vector<Topic>& Topics() const { return m_Topics; }
    // Every keyword once, sorted without regard to case: by its case-folded form, compared
    // as UTF-16. When folded is given, it gets each entry's folded form, for finding a
    // keyword by binary search in that order.
    std::vector<IndexEntry> Index(std::vector<QString>* folded = nullptr) const;

    // Whether the file read was larger than the most that is read.
    bool IsCut() const { return m_Cut; }
    // False for a file that is not text.
    bool IsText() const { return m_Text; }
    // Nothing to show: no title, no introduction and no topic.
    bool IsEmpty() const;

private:
    QString m_Title;
    QString m_Introduction;
    std::vector<Topic> m_Topics;
    bool m_Cut = false;
    bool m_Text = true;
};

} // namespace platform
