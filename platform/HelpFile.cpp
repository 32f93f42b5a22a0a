#include "platform/HelpFile.h"

#include "platform/PageLocation.h"
#include "platform/ProgramInfo.h"

#include "platform/LocalFile.h"
#include <QDir>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <string_view>

namespace platform {

namespace {

// Where a file of more than limit bytes is cut: at the start of the last topic heading (a
// line beginning with "==") at or before limit, so every topic kept is whole; 0 when the
// first topic already goes past it.
qsizetype TopicBoundary(const QByteArray& bytes, qsizetype limit) {
    for (qsizetype at = std::min(limit, bytes.size() - 2); at >= 0; --at) {
        if (bytes[at] == '=' && bytes[at + 1] == '=' &&
            (at == 0 || bytes[at - 1] == '\n' || bytes[at - 1] == '\r'))
            return at;
    }
    return 0;
}

// Body lines as one text with "\n" line ends, without blank lines at either end.
QString BodyText(const QString& text, qsizetype start, qsizetype end) {
    if (start < 0)
        return {};
    QString body = text.mid(start, end - start);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    body.replace(u'\r', u'\n');
    return body.trimmed();
}

} // namespace

QString HelpFile::Locate(const QString& name) {
    QString relative = name.trimmed();
    relative.replace(u'\\', u'/');
    while (relative.startsWith(QStringLiteral("./"))) {
        relative.remove(0, 2);
    }
    if (relative.isEmpty()) {
        return {};
    }
    if (QFileInfo(relative).isAbsolute()) {
        const QFileInfo info(relative);
        return FindFileInFolder(info.path(), info.fileName());
    }
    const QString found = FindFileInFolder(QDir::currentPath(), relative);
    return found.isEmpty() ? QDir::fromNativeSeparators(FindProgramFile(relative)) : found;
}

bool HelpFile::Load(const QString& path, qint64 maxBytes) {
    *this = HelpFile();
    // Opened without waiting and checked after: a pipe in the help file's place is refused.
    // Two bytes past the limit tell whether a heading starts right at it; a byte-order
    // mark does not count.
    QByteArray bytes;
    if (!ReadLocalFile(path, maxBytes + 5, bytes)) {
        return false;
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes.remove(0, 3);
    }
    if (bytes.contains('\0')) {
        m_Text = false;
        return true;
    }
    const bool cut = bytes.size() > maxBytes;
    if (cut) {
        bytes.truncate(TopicBoundary(bytes, static_cast<qsizetype>(maxBytes)));
    }
    Parse(QString::fromUtf8(bytes));
    m_Cut = cut;
    return true;
}

void HelpFile::Parse(const QString& text) {
    *this = HelpFile();
    // The body of the introduction or of the latest topic, as a range of the text.
    qsizetype bodyStart = -1;
    qsizetype bodyEnd = -1;
    bool introHasText = false;
    auto flush = [&] {
        QString body = BodyText(text, bodyStart, bodyEnd);
        if (m_Topics.empty()) {
            m_Introduction = std::move(body);
        } else {
            m_Topics.back().body = std::move(body);
        }
        bodyStart = bodyEnd = -1;
    };
    m_Topics.reserve(static_cast<std::size_t>(text.count(QStringLiteral("\n==")) +
                                              text.count(QStringLiteral("\r==")) + 1));
    bool expectKeywords = false;
    const qsizetype size = text.size();
    for (qsizetype start = 0; start <= size;) {
        qsizetype end = start;
        while (end < size && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        const QStringView line = QStringView(text).sliced(start, end - start);
        const qsizetype next =
            end + ((end + 1 < size && text[end] == u'\r' && text[end + 1] == u'\n') ? 2 : 1);

        if (line.startsWith(QStringLiteral("=="))) {
            flush();
            m_Topics.push_back({line.sliced(2).trimmed().toString(), {}, {}});
            expectKeywords = true;
        } else if (line.startsWith(u'=') && m_Title.isEmpty() && m_Topics.empty() &&
                   !introHasText) {
            m_Title = line.sliced(1).trimmed().toString();
            bodyStart = bodyEnd = -1; // only blank lines stood before the title
        } else if (expectKeywords &&
                   line.startsWith(QStringLiteral("keywords:"), Qt::CaseInsensitive)) {
            for (const QStringView keyword : line.sliced(9).split(u',', Qt::SkipEmptyParts)) {
                if (!keyword.trimmed().isEmpty()) {
                    m_Topics.back().keywords << keyword.trimmed().toString();
                }
            }
        } else {
            expectKeywords = false;
            if (bodyStart < 0) {
                bodyStart = start;
            }
            bodyEnd = end;
            if (m_Topics.empty() && !line.trimmed().isEmpty()) {
                introHasText = true;
            }
        }
        start = next;
    }
    flush();
}

std::vector<HelpFile::IndexEntry> HelpFile::Index(std::vector<QString>* folded) const {
    // Every keyword with its topic, sorted by its folded form so "Saving" and "saving" are
    // one entry; ties stay in the order of the file, so the topics come in order and the
    // first spelling names the entry. The folded forms are compared as plain UTF-16, the
    // order QString's operator< gives.
    struct Use {
        QString folded;
        std::u16string_view key;
        const QString* keyword;
        int topic;
        std::size_t order;
    };
    std::vector<Use> uses;
    for (int t = 0; t < static_cast<int>(m_Topics.size()); ++t) {
        for (const QString& keyword : m_Topics[static_cast<std::size_t>(t)].keywords) {
            uses.push_back({keyword.toCaseFolded(), {}, &keyword, t, uses.size()});
        }
    }
    for (Use& use : uses) {
        use.key = {reinterpret_cast<const char16_t*>(use.folded.utf16()),
                   static_cast<std::size_t>(use.folded.size())};
    }
    std::sort(uses.begin(), uses.end(), [](const Use& a, const Use& b) {
        return a.key != b.key ? a.key < b.key : a.order < b.order;
    });
    std::vector<IndexEntry> index;
    if (folded) {
        folded->clear();
    }
    for (std::size_t i = 0; i < uses.size(); ++i) {
        if (i == 0 || uses[i].key != uses[i - 1].key) {
            index.push_back({*uses[i].keyword, {}});
            if (folded) {
                folded->push_back(uses[i].folded);
            }
        }
        std::vector<int>& topics = index.back().second;
        if (topics.empty() || topics.back() != uses[i].topic) {
            topics.push_back(uses[i].topic);
        }
    }
    return index;
}

bool HelpFile::IsEmpty() const {
    return m_Title.isEmpty() && m_Introduction.isEmpty() && m_Topics.empty();
}

} // namespace platform
