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

    // Finds a help file by the name a program uses (".\Mirel.hlp"): a leading ".\" is
    // dropped, then the name is looked up in the current folder, in the program's folder
    // and in the installed files folder, the file name matched without regard to case.
    // "" when there is none.
    static QString Locate(const QString& name);

    // Reads a file; False, leaving this empty, when it cannot be read.
    bool Load(const QString& path);
    // Any text is a help file: what is not a heading is body text.
    void Parse(const QString& text);

    const QString& Title() const { return m_Title; }
    const QString& Introduction() const { return m_Introduction; }
    const std::vector<Topic>& Topics() const { return m_Topics; }
    // Every keyword once, sorted without regard to case.
    std::vector<IndexEntry> Index() const;

private:
    QString m_Title;
    QString m_Introduction;
    std::vector<Topic> m_Topics;
};

} // namespace platform
