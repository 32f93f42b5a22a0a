#include "platform/HelpFile.h"

#include "platform/PageLocation.h"
#include "platform/ProgramInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <map>

namespace platform {

namespace {

// Help files are small; anything larger is not one of ours and is cut off.
constexpr qint64 kMaxHelpBytes = 8 * 1024 * 1024;

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

bool HelpFile::Load(const QString& path) {
    *this = HelpFile();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    Parse(QString::fromUtf8(file.read(kMaxHelpBytes)));
    return true;
}

void HelpFile::Parse(const QString& text) {
    *this = HelpFile();
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(u'\r', u'\n');
    const QStringList lines = normalised.split(u'\n');

    QStringList body;
    auto flush = [&] {
        const QString joined = body.join(u'\n').trimmed();
        if (m_Topics.empty()) {
            m_Introduction = joined;
        } else {
            m_Topics.back().body = joined;
        }
        body.clear();
    };
    bool expectKeywords = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (line.startsWith(QStringLiteral("=="))) {
            flush();
            m_Topics.push_back({line.mid(2).trimmed(), {}, {}});
            expectKeywords = true;
            continue;
        }
        if (line.startsWith(u'=') && m_Title.isEmpty() && m_Topics.empty() &&
            body.join(QString()).trimmed().isEmpty()) {
            m_Title = line.mid(1).trimmed();
            continue;
        }
        if (expectKeywords && line.startsWith(QStringLiteral("keywords:"), Qt::CaseInsensitive)) {
            for (const QString& keyword : line.mid(9).split(u',', Qt::SkipEmptyParts)) {
                if (!keyword.trimmed().isEmpty()) {
                    m_Topics.back().keywords << keyword.trimmed();
                }
            }
            continue;
        }
        expectKeywords = false;
        body << line;
    }
    flush();
}

std::vector<HelpFile::IndexEntry> HelpFile::Index() const {
    // Keyed by the folded keyword so "Saving" and "saving" are one entry.
    std::map<QString, IndexEntry> byKey;
    for (int t = 0; t < static_cast<int>(m_Topics.size()); ++t) {
        for (const QString& keyword : m_Topics[static_cast<std::size_t>(t)].keywords) {
            IndexEntry& entry = byKey[keyword.toCaseFolded()];
            if (entry.first.isEmpty()) {
                entry.first = keyword;
            }
            if (entry.second.empty() || entry.second.back() != t) {
                entry.second.push_back(t);
            }
        }
    }
    std::vector<IndexEntry> index;
    index.reserve(byKey.size());
    for (auto& [key, entry] : byKey) {
        index.push_back(std::move(entry));
    }
    return index;
}

} // namespace platform
