#include "platform/IniFile.h"

#include "kb/Cp1252.h"
#include "kb/FileIO.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t\v\f";
constexpr std::size_t kPieceBytes = std::size_t{64} << 10;

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

// Where the first line end of bytes stands, npos when there is none: a file of one endless
// line is looked through quickly, and a line is never looked past.
std::size_t LineEnd(std::string_view bytes) {
    const void* lf = std::memchr(bytes.data(), '\n', bytes.size());
    const std::size_t upTo =
        lf == nullptr ? bytes.size()
                      : static_cast<std::size_t>(static_cast<const char*>(lf) - bytes.data());
    const void* cr = std::memchr(bytes.data(), '\r', upTo);
    if (cr != nullptr) {
        return static_cast<std::size_t>(static_cast<const char*>(cr) - bytes.data());
    }
    return lf == nullptr ? std::string_view::npos : upTo;
}

// One line of the file: where its text starts and ends, and where its line end ends.
struct LineSpan {
    std::size_t Begin = 0;
    std::size_t End = 0;
    std::size_t Next = 0;
};

std::vector<LineSpan> SplitLines(std::string_view text) {
    std::vector<LineSpan> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        LineSpan line;
        line.Begin = pos;
        const auto end = text.find_first_of("\r\n", pos);
        line.End = end == std::string_view::npos ? text.size() : end;
        line.Next = line.End;
        if (line.Next < text.size()) {
            line.Next += (text[line.Next] == '\r' && line.Next + 1 < text.size() &&
                          text[line.Next + 1] == '\n')
                             ? 2
                             : 1;
        }
        lines.push_back(line);
        pos = line.Next;
    }
    return lines;
}

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind Kind = LineKind::Other;
    std::string_view Name;
    bool HasValue = false;
    std::string_view Value; // trimmed, quotes not yet removed
};

ParsedLine ParseLine(std::string_view raw) {
    ParsedLine p;
    const std::string_view line = Trim(raw);
    if (line.empty() || line.front() == ';') {
        return p;
    }
    if (line.front() == '[') {
        const auto close = line.rfind(']');
        if (close != std::string_view::npos) {
            p.Kind = LineKind::Section;
            p.Name = Trim(line.substr(1, close - 1));
            return p;
        }
        // no "]": read as a key line, as the platform does
    }
    p.Kind = LineKind::Key;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) {
        p.Name = line;
        return p;
    }
    p.Name = Trim(line.substr(0, eq));
    p.HasValue = true;
    p.Value = Trim(line.substr(eq + 1));
    return p;
}

// Code points of a UTF-8 text folded to lower case for the letters Windows-1252 holds;
// a byte that is not valid UTF-8 stands for itself, apart from every code point.
std::u32string Fold(std::string_view s) {
    std::u32string out;
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t len = 0;
        char32_t cp = 0;
        if (b < 0x80) {
            len = 1;
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            len = 2;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            len = 3;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            len = 4;
            cp = b & 0x07;
        }
        bool valid = len > 0 && i + len <= s.size();
        for (std::size_t k = 1; valid && k < len; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            valid = (c & 0xC0) == 0x80;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!valid) {
            out.push_back(0x110000 + b);
            ++i;
            continue;
        }
        if ((cp >= U'A' && cp <= U'Z') || (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7)) {
            cp += 0x20;
        } else if (cp == 0x160 || cp == 0x152 || cp == 0x17D) {
            cp += 1;
        } else if (cp == 0x178) {
            cp = 0xFF;
        }
        out.push_back(cp);
        i += len;
    }
    return out;
}

bool SameName(std::string_view a, std::string_view b) {
    return Fold(a) == Fold(b);
}

std::string_view StripQuotes(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

std::string CutToChars(std::string_view v, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if ((static_cast<unsigned char>(v[i]) & 0xC0) != 0x80) {
            if (chars == maxChars) {
                return std::string(v.substr(0, i));
            }
            ++chars;
        }
    }
    return std::string(v);
}

// The file as UTF-8 text, and whether it was UTF-8 (with its mark) to begin with.
std::string Decode(std::string_view bytes, bool& utf8) {
    utf8 = bytes.substr(0, kBom.size()) == kBom;
    if (utf8) {
        return std::string(bytes.substr(kBom.size()));
    }
    return kb::Cp1252ToUtf8(bytes);
}

bool PathExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 || errno != ENOENT;
}

} // namespace

std::string IniFile::ReadString(const std::string& path, const std::string& section,
                                const std::string& key) {
    return ReadStrings(path, {{section, key}}).front();
}

std::vector<std::string> IniFile::ReadStrings(const std::string& path,
                                              const std::vector<Key>& keys) {
    std::vector<std::string> values(keys.size());
    std::int64_t size = 0;
    const kb::FileDescriptor file = kb::OpenRegularFile(path, size);
    if (!file.IsOpen()) {
        return values;
    }
    const int fd = file.Get();

    // Per key: settled once found in the first section of its name, or once that section
    // ended; a section seen is never looked into again.
    std::vector<bool> settled(keys.size(), false);
    std::vector<bool> sectionSeen(keys.size(), false);
    std::size_t open = keys.size();
    std::vector<bool> inSection(keys.size(), false);

    // Names folded once; a line's name is folded only when some key could match it.
    std::vector<std::u32string> sections;
    std::vector<std::u32string> names;
    for (const Key& key : keys) {
        sections.push_back(Fold(key.Section));
        names.push_back(Fold(key.Name));
    }
    bool first = true;
    bool utf8 = false;
    int inSections = 0; // the keys whose first section is being read
    const auto decoded = [&utf8](std::string_view bytes) {
        return utf8 ? std::string(bytes) : kb::Cp1252ToUtf8(bytes);
    };
    const auto takeLine = [&](std::string_view raw) {
        if (first) {
            first = false;
            utf8 = raw.substr(0, kBom.size()) == kBom;
            raw.remove_prefix(utf8 ? kBom.size() : 0);
        }
        // The marks of a line ("[", "]", "=", ";", blanks) are the same bytes in both
        // encodings: a line is read as bytes, and only a name or value it holds decoded.
        const ParsedLine line = ParseLine(raw);
        if (line.Kind == LineKind::Other || (line.Kind == LineKind::Key && inSections == 0)) {
            return;
        }
        const std::u32string name = Fold(decoded(line.Name));
        for (std::size_t k = 0; k < keys.size(); ++k) {
            if (settled[k]) {
                continue;
            }
            if (line.Kind == LineKind::Section) {
                if (inSection[k]) {
                    // Only the first section of that name is looked at.
                    inSection[k] = false;
                    --inSections;
                    settled[k] = true;
                    --open;
                } else if (!sectionSeen[k] && name == sections[k]) {
                    inSection[k] = true;
                    ++inSections;
                    sectionSeen[k] = true;
                }
            } else if (inSection[k] && name == names[k]) {
                if (line.HasValue) {
                    const std::string text = decoded(StripQuotes(line.Value));
                    // The value is handed out as a C string.
                    values[k] = CutToChars(std::string_view(text).substr(0, text.find('\0')),
                                           kMaxValueChars);
                }
                inSection[k] = false;
                --inSections;
                settled[k] = true;
                --open;
            }
        }
    };

    // The line being read: its first kMaxLineBytes, and its last character other than a
    // blank beyond them.
    std::string line;
    char lastBeyond = 0;
    bool beyond = false;    // the line is longer than what is held of it
    bool hasBeyond = false; // and holds lastBeyond beyond that
    bool afterCr = false;   // a CR ended the last line, so a LF right after it is its end too
    const auto endLine = [&] {
        if (hasBeyond) {
            line += lastBeyond;
        }
        takeLine(line);
        line.clear();
        beyond = false;
        hasBeyond = false;
    };
    std::string piece(kPieceBytes, '\0');
    while (open > 0) {
        if (line.size() >= kMaxLineBytes) {
            // A hole in a sparse file reads as NUL bytes, which only lengthen a line already
            // held as far as it is read: it need not be read.
            const off_t here = ::lseek(fd, 0, SEEK_CUR);
            off_t data = here < 0 ? -1 : ::lseek(fd, here, SEEK_DATA);
            if (data < 0 && errno == ENXIO) {
                data = ::lseek(fd, 0, SEEK_END);
            }
            if (data > here) {
                lastBeyond = '\0';
                hasBeyond = true;
                beyond = true;
            } else if (here >= 0) {
                ::lseek(fd, here, SEEK_SET);
            }
        }
        const ssize_t n = kb::FileDescriptor::ReadSome(fd, piece.data(), piece.size());
        if (n <= 0) {
            break;
        }
        std::string_view bytes(piece.data(), static_cast<std::size_t>(n));
        while (!bytes.empty() && open > 0) {
            if (afterCr && bytes.front() == '\n') {
                bytes.remove_prefix(1);
            }
            afterCr = false;
            const auto end = LineEnd(bytes);
            const std::string_view part = bytes.substr(0, end);
            const std::size_t room = kMaxLineBytes - std::min(kMaxLineBytes, line.size());
            line.append(part.substr(0, room));
            if (part.size() > room) {
                const auto last = part.find_last_not_of(kBlanks);
                if (last != std::string_view::npos && last >= room) {
                    lastBeyond = part[last];
                    hasBeyond = true;
                }
                beyond = true;
            }
            if (end == std::string_view::npos) {
                break;
            }
            afterCr = bytes[end] == '\r';
            bytes.remove_prefix(end + 1);
            endLine();
        }
    }
    if (open > 0 && (!line.empty() || beyond)) {
        endLine(); // the last line, without a line end
    }
    return values;
}

bool IniFile::WriteString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& value) {
    const auto hasLineBreak = [](std::string_view s) {
        return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
    };
    const std::string_view trimmedKey = Trim(key);
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value) ||
        Trim(section).empty() || trimmedKey.empty() || key.find('=') != std::string::npos ||
        trimmedKey.front() == '[' || trimmedKey.front() == ';') {
        return false; // it could not be read back as written
    }

    std::string bytes;
    if (!kb::ReadWholeFile(path, bytes) && PathExists(path)) {
        return false;
    }
    bool utf8 = false;
    const std::string text = Decode(bytes, utf8);
    std::string newLine = key + "=" + value;
    std::string header = "[" + section + "]";
    if (!utf8) {
        std::string encoded;
        if (!kb::Utf8ToCp1252(newLine, encoded)) {
            return false;
        }
        newLine = encoded;
        if (!kb::Utf8ToCp1252(header, encoded)) {
            return false;
        }
        header = encoded;
    }

    // Work on the raw bytes so that every other line keeps its bytes; decode a line only
    // to read its names.
    const std::size_t start = utf8 ? kBom.size() : 0;
    const std::string_view raw = std::string_view(bytes).substr(start);
    const std::vector<LineSpan> lines = SplitLines(raw);
    const auto decodedLine = [&](const LineSpan& s) {
        const std::string_view l = raw.substr(s.Begin, s.End - s.Begin);
        return utf8 ? std::string(l) : kb::Cp1252ToUtf8(l);
    };

    bool inSection = false;
    bool sectionFound = false;
    std::size_t insertAfter = 0; // end of the section's last non-blank line
    std::string out;
    for (const LineSpan& span : lines) {
        const std::string decoded = decodedLine(span);
        const ParsedLine line = ParseLine(decoded);
        if (line.Kind == LineKind::Section) {
            if (inSection) {
                break;
            }
            inSection = SameName(line.Name, section);
            if (inSection) {
                sectionFound = true;
                insertAfter = span.End;
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        if (line.Kind == LineKind::Key && SameName(line.Name, key)) {
            out = bytes.substr(0, start + span.Begin) + newLine + bytes.substr(start + span.End);
            return kb::WriteFileAtomically(path, out);
        }
        if (!Trim(decoded).empty()) {
            insertAfter = span.End;
        }
    }

    if (sectionFound) {
        const std::size_t at = start + insertAfter;
        out = bytes.substr(0, at) + "\r\n" + newLine;
        // the inserted line takes over the line end that followed, or the file ends with one
        out += at < bytes.size() ? bytes.substr(at) : std::string("\r\n");
        return kb::WriteFileAtomically(path, out);
    }

    out = bytes;
    if (!raw.empty()) {
        if (raw.back() != '\n' && raw.back() != '\r') {
            out += "\r\n";
        }
        if (!lines.empty() && !Trim(decodedLine(lines.back())).empty()) {
            out += "\r\n";
        }
    }
    out += header + "\r\n" + newLine + "\r\n";
    return kb::WriteFileAtomically(path, out);
}

} // namespace platform
