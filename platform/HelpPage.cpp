#include "platform/HelpPage.h"

#include <algorithm>
#include <utility>

namespace platform {

namespace {

// Where a text of length characters from start is cut to hold at most limit: after the
// last blank within them, or at the limit itself when there is none (never between the
// halves of one character).
qsizetype PieceCut(const QString& text, qsizetype start, qsizetype limit) {
    const qsizetype blank = QStringView(text).sliced(start, limit).lastIndexOf(u' ');
    if (blank > 0) {
        return blank + 1;
    }
    return text[start + limit - 1].isHighSurrogate() ? limit - 1 : limit;
}

// Text as HTML, with a zero-width space after every kWordChars characters of a word.
QString Shown(QStringView text) {
    QString breakable;
    breakable.reserve(text.size());
    qsizetype word = 0;
    for (const QChar c : text) {
        word = c.isSpace() ? 0 : word + 1;
        breakable += c;
        if (word >= HelpPage::kWordChars && !c.isHighSurrogate()) {
            breakable += QChar(0x200B);
            word = 0;
        }
    }
    return breakable.toHtmlEscaped();
}

} // namespace

QString HelpPage::ShownTitle(const QString& title) {
    if (title.size() <= kTitleChars) {
        return title;
    }
    const qsizetype keep = title[kTitleChars - 1].isHighSurrogate() ? kTitleChars - 1 : kTitleChars;
    return title.left(keep) + QChar(0x2026);
}

HelpPage::HelpPage(QString title, QString note, QString body, std::vector<int> links,
                   const std::vector<HelpFile::Topic>& topics)
    : m_Title(std::move(title)), m_Note(std::move(note)), m_Body(std::move(body)),
      m_Links(std::move(links)), m_Topics(&topics) {
    int blocks = 0;
    qsizetype chars = 0;
    auto count = [&](qsizetype length, Start at) {
        if (blocks >= kBlocksPerPart || (blocks > 0 && chars + length > kCharsPerPart)) {
            m_Starts.push_back(at);
            blocks = 0;
            chars = 0;
        }
        ++blocks;
        chars += length;
    };
    Piece piece;
    for (qsizetype from = 0; NextPiece(from, piece); from = piece.next) {
        count(piece.length, {from, 0});
    }
    for (std::size_t link = 0; link < m_Links.size(); ++link) {
        const QString& title = (*m_Topics)[static_cast<std::size_t>(m_Links[link])].title;
        count(std::min(title.size(), kTitleChars + 1), {kAfterBody, link});
    }
}

bool HelpPage::NextPiece(qsizetype from, Piece& piece) const {
    // Every character is looked at a bounded number of times however long the lines are:
    // a line is read no further than a piece can reach.
    const QChar* text = m_Body.constData();
    const qsizetype size = m_Body.size();
    // The end of the line from start (its "\n" or the end of the body), or -1 when the
    // line goes on past start + reach.
    auto lineEnd = [text, size](qsizetype start, qsizetype reach) -> qsizetype {
        const qsizetype limit = std::min(size, start + reach + 1);
        qsizetype end = start;
        while (end < limit && text[end] != u'\n') {
            ++end;
        }
        return end == limit && limit < size ? -1 : end;
    };
    auto trimmedEnd = [text](qsizetype start, qsizetype end) {
        while (end > start && text[end - 1].isSpace()) {
            --end;
        }
        return end;
    };
    // A list item: "- " and more text on its line.
    auto isItem = [text, size](qsizetype at) {
        if (at + 1 >= size || text[at] != u'-' || text[at + 1] != u' ') {
            return false;
        }
        for (qsizetype i = at + 2; i < size && text[i] != u'\n'; ++i) {
            if (!text[i].isSpace()) {
                return true;
            }
        }
        return false;
    };

    // Blank lines part paragraphs and are not shown.
    qsizetype at = from;
    bool lineStart = from == 0 || text[from - 1] == u'\n';
    while (at < size && text[at].isSpace()) {
        lineStart = lineStart || text[at] == u'\n';
        ++at;
    }
    if (at >= size) {
        return false;
    }
    // A cut line goes on as a paragraph, whatever it begins with.
    piece.kind = lineStart && isItem(at) ? Kind::Item : Kind::Paragraph;
    piece.start = piece.kind == Kind::Item ? at + 2 : at;
    const qsizetype end = lineEnd(piece.start, kCharsPerPart);
    if (end < 0) {
        // A line longer than a part goes on in a piece of its own.
        piece.length = PieceCut(m_Body, piece.start, kCharsPerPart);
        piece.end = piece.next = piece.start + piece.length;
        return true;
    }
    piece.end = trimmedEnd(piece.start, end);
    piece.length = piece.end - piece.start;
    piece.next = end + 1;
    if (piece.kind == Kind::Item) {
        return true;
    }
    // The lines that follow join the paragraph, up to a blank line or a list item, while
    // it stays within a part.
    while (piece.next < size) {
        qsizetype lineAt = piece.next;
        while (lineAt < size && text[lineAt] != u'\n' && text[lineAt].isSpace()) {
            ++lineAt;
        }
        const qsizetype room = kCharsPerPart - piece.length - 1;
        if (lineAt >= size || text[lineAt] == u'\n' || isItem(lineAt) || room <= 0) {
            break;
        }
        const qsizetype next = lineEnd(lineAt, room);
        if (next < 0) {
            break;
        }
        const qsizetype lineEndAt = trimmedEnd(lineAt, next);
        piece.length += 1 + (lineEndAt - lineAt);
        piece.end = lineEndAt;
        piece.next = next + 1;
    }
    return true;
}

QString HelpPage::PieceText(const Piece& piece) const {
    const QStringView text = QStringView(m_Body).sliced(piece.start, piece.end - piece.start);
    if (piece.kind == Kind::Item) {
        return text.toString();
    }
    QString joined;
    joined.reserve(piece.length);
    for (const QStringView line : text.split(u'\n')) {
        if (!joined.isEmpty()) {
            joined += u' ';
        }
        joined += line.trimmed();
    }
    return joined;
}

QString HelpPage::PartHtml(int part) const {
    QString html = QStringLiteral("<h2>%1</h2>").arg(Shown(ShownTitle(m_Title)));
    const int parts = PartCount();
    if (part < 0 || part >= parts) {
        return html;
    }
    // Where the part stands, with links to its neighbours above and below it.
    QString around;
    if (parts > 1) {
        around = QStringLiteral("<p><i>Part %1 of %2</i>").arg(part + 1).arg(parts);
        if (part > 0) {
            around += QStringLiteral("&nbsp;&nbsp; <a href=\"part:%1\">&lt;&lt; Previous part</a>")
                          .arg(part - 1);
        }
        if (part + 1 < parts) {
            around += QStringLiteral("&nbsp;&nbsp; <a href=\"part:%1\">Next part &gt;&gt;</a>")
                          .arg(part + 1);
        }
        around += QStringLiteral("</p>");
    }
    html += around;
    if (part == 0 && !m_Note.isEmpty()) {
        html += QStringLiteral("<p><b>%1</b></p>").arg(Shown(m_Note));
    }
    const Start first = m_Starts[static_cast<std::size_t>(part)];
    const Start last = part + 1 < parts ? m_Starts[static_cast<std::size_t>(part) + 1]
                                        : Start{kAfterBody, m_Links.size()};
    bool inList = false;
    auto listItem = [&](bool item) {
        if (item != inList) {
            html += item ? QStringLiteral("<ul>") : QStringLiteral("</ul>");
            inList = item;
        }
    };
    if (first.body != kAfterBody) {
        Piece piece;
        for (qsizetype from = first.body;
             (last.body == kAfterBody || from < last.body) && NextPiece(from, piece);
             from = piece.next) {
            listItem(piece.kind == Kind::Item);
            html += (piece.kind == Kind::Item ? QStringLiteral("<li>%1</li>")
                                              : QStringLiteral("<p>%1</p>"))
                        .arg(Shown(PieceText(piece)));
        }
    }
    for (std::size_t link = first.link; link < last.link; ++link) {
        listItem(true);
        const int topic = m_Links[link];
        html += QStringLiteral("<li><a href=\"topic:%1\">%2</a></li>")
                    .arg(QString::number(topic),
                         Shown(ShownTitle((*m_Topics)[static_cast<std::size_t>(topic)].title)));
    }
    listItem(false);
    return html + around;
}

} // namespace platform
