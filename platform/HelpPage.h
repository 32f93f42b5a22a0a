#pragma once

#include "platform/HelpFile.h"

#include <QString>
#include <vector>

namespace platform {

// One page of the help viewer (the contents page, a topic, the topics of a keyword): a
// title, perhaps a note from the viewer, body text and links to topics. A page of any
// length is shown in parts of at most kBlocksPerPart paragraphs, list items and links and
// about kCharsPerPart characters, so each part is quick to lay out; the parts link to each
// other. Finding the parts reads the body once without copying it, and a part is made
// only when it is shown. Texts are plain text, never markup.
class HelpPage {
public:
    static constexpr int kBlocksPerPart = 400;
    static constexpr qsizetype kCharsPerPart = 40000;
    // A word longer than this may be broken anywhere: text layout slows down sharply on
    // longer runs without a break.
    static constexpr qsizetype kWordChars = 1000;

    HelpPage() = default;
    // body is help-file body text: lines that follow one another form a paragraph, a blank
    // line ends it, and a line that starts with "- " is a list item. links are indexes
    // into topics, which must outlive the page.
    HelpPage(QString title, QString note, QString body, std::vector<int> links,
             const std::vector<HelpFile::Topic>& topics);

    // A title or keyword as the viewer shows it: one longer than kTitleChars ends there
    // with "…", so no list or heading takes long to lay out.
    static constexpr qsizetype kTitleChars = 500;
    static QString ShownTitle(const QString& title);

    const QString& Title() const { return m_Title; }
    int PartCount() const { return static_cast<int>(m_Starts.size()); }
    // One part as HTML: the title, which part it is when there are several, its blocks
    // and links to the parts before and after it ("part:N", from 0); links to topics are
    // "topic:N".
    QString PartHtml(int part) const;

private:
    enum class Kind { Paragraph, Item };
    // One paragraph or list item of the body: where its text stands, how long it is once
    // its lines are joined, and where the body goes on after it.
    struct Piece {
        Kind kind = Kind::Paragraph;
        qsizetype start = 0;
        qsizetype end = 0;
        qsizetype length = 0;
        qsizetype next = 0;
    };
    // Where a part begins: a place in the body, or (once the body is done) a link.
    struct Start {
        qsizetype body;
        std::size_t link;
    };
    static constexpr qsizetype kAfterBody = -1;

    bool NextPiece(qsizetype from, Piece& piece) const;
    QString PieceText(const Piece& piece) const;

    QString m_Title;
    QString m_Note;
    QString m_Body;
    std::vector<int> m_Links;
    const std::vector<HelpFile::Topic>* m_Topics = nullptr;
    std::vector<Start> m_Starts{{0, 0}};
};

} // namespace platform
