#include "kb/SaveJournal.h"

#include "kb/AtomicFileWriter.h"
#include "kb/FileIO.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kb {

namespace {

constexpr std::string_view kHeader = "corvane save journal 1";
constexpr std::string_view kEnd = "end";
// A note is a few lines; anything much longer is not one of ours.
constexpr std::size_t kLongestNote = 64 << 10;

// Names may hold any byte but "/" and NUL: blanks, line ends and "%" are written as %XX.
std::string Escape(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b <= 0x20 || b == 0x7F || c == '%') {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 15];
        } else {
            out += c;
        }
    }
    return out;
}

bool Unescape(std::string_view text, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        unsigned value = 0;
        if (i + 2 >= text.size()) {
            return false;
        }
        const auto [end, ec] = std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
        if (ec != std::errc() || end != text.data() + i + 3) {
            return false;
        }
        out += static_cast<char>(value);
        i += 2;
    }
    return !out.empty();
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Carries one step out; it may have been carried out before (by the save itself, or by an
// earlier mending cut short too), and then the files show it.
bool CarryStep(const SaveJournal::Step& step, int& error) {
    if (step.kind == SaveJournal::Step::Kind::Remove) {
        if (::unlink(step.to.c_str()) != 0 && errno != ENOENT) {
            error = errno;
            return false;
        }
        return true;
    }
    if (PathIsThere(step.from)) {
        if (::rename(step.from.c_str(), step.to.c_str()) != 0) {
            error = errno;
            return false;
        }
        return true;
    }
    // Already in place: the target must then be the new file.
    struct stat st {};
    if (::stat(step.to.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::int64_t>(st.st_size) != step.size) {
        error = ESTALE;
        return false;
    }
    return true;
}

} // namespace

SaveJournal::SaveJournal(std::string folder)
    : m_Folder(std::move(folder)), m_Path(m_Folder + kFileName) {}

std::string SaveJournal::Resolve(const std::string& name) const {
    return name.find('/') == std::string::npos ? m_Folder + name : name;
}

std::string SaveJournal::Relative(const std::string& path) const {
    if (path.size() > m_Folder.size() && path.compare(0, m_Folder.size(), m_Folder) == 0 &&
        path.find('/', m_Folder.size()) == std::string::npos) {
        return path.substr(m_Folder.size());
    }
    return path;
}

bool SaveJournal::Write(const std::vector<Step>& steps, int& error) const {
    std::string text(kHeader);
    text += '\n';
    for (const Step& step : steps) {
        if (step.kind == Step::Kind::Put) {
            text += "put " + Escape(Relative(step.from)) + ' ' + Escape(Relative(step.to)) + ' ' +
                    std::to_string(step.size) + '\n';
        } else {
            text += "remove " + Escape(Relative(step.to)) + '\n';
        }
    }
    text += kEnd;
    text += '\n';
    AtomicFileWriter note(m_Path);
    if (!note.Write(text) || !note.Commit()) {
        error = note.Error();
        return false;
    }
    return true;
}

bool SaveJournal::Carry(const std::vector<Step>& steps, int& error, std::string& stoppedAt,
                        const std::function<void()>& afterEach) const {
    std::set<std::string> folders{m_Folder};
    for (const Step& step : steps) {
        folders.insert(FolderOf(step.to));
        if (!CarryStep(step, error)) {
            stoppedAt = step.to;
            return false;
        }
        if (afterEach) {
            afterEach();
        }
    }
    // The files' new names are durable before the note goes, so a crash now still finds it.
    for (const std::string& folder : folders) {
        AtomicFileWriter::SyncFolder(folder);
    }
    if (::unlink(m_Path.c_str()) != 0 && errno != ENOENT) {
        error = errno;
        stoppedAt = m_Path;
        return false;
    }
    AtomicFileWriter::SyncFolder(m_Folder);
    return true;
}

SaveJournal::Found SaveJournal::Read(std::vector<Step>& steps) const {
    steps.clear();
    std::int64_t size = 0;
    const FileDescriptor fd = OpenRegularFile(m_Path, size);
    if (!fd.IsOpen()) {
        return PathIsThere(m_Path) ? Found::Unreadable : Found::None;
    }
    std::string text(std::min<std::size_t>(static_cast<std::size_t>(size), kLongestNote) + 1, '\0');
    std::size_t got = 0;
    while (got < text.size()) {
        const ssize_t n = FileDescriptor::ReadSome(fd.Get(), text.data() + got, text.size() - got);
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    if (got > kLongestNote) {
        return Found::Unreadable;
    }
    text.resize(got);
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != kHeader) {
        return Found::Unreadable;
    }
    while (std::getline(lines, line)) {
        if (line == kEnd) {
            return std::getline(lines, line) ? Found::Unreadable : Found::Note;
        }
        std::istringstream words(line);
        std::string kind, from, to, bytes;
        Step step;
        words >> kind;
        if (kind == "put") {
            words >> from >> to >> bytes;
            const auto [end, ec] =
                std::from_chars(bytes.data(), bytes.data() + bytes.size(), step.size);
            if (ec != std::errc() || end != bytes.data() + bytes.size() ||
                !Unescape(from, step.from) || !Unescape(to, step.to)) {
                return Found::Unreadable;
            }
            step.from = Resolve(step.from);
        } else if (kind == "remove") {
            words >> to;
            step.kind = Step::Kind::Remove;
            if (!Unescape(to, step.to)) {
                return Found::Unreadable;
            }
        } else {
            return Found::Unreadable;
        }
        step.to = Resolve(step.to);
        std::string more;
        if (words >> more) {
            return Found::Unreadable;
        }
        steps.push_back(std::move(step));
    }
    return Found::Unreadable; // cut short before its end: not a note our saves write
}

std::vector<std::string> SaveJournal::Leftovers(const std::vector<std::string>& names) const {
    std::vector<std::string> prefixes;
    for (const std::string& name : names) {
        prefixes.push_back(AtomicFileWriter::TemporaryPrefix(name));
    }
    prefixes.push_back(AtomicFileWriter::TemporaryPrefix(kFileName));
    std::vector<std::string> found;
    DIR* dir = ::opendir(m_Folder.empty() ? "." : m_Folder.c_str());
    if (dir == nullptr) {
        return found;
    }
    constexpr std::size_t kRandom = 6;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        for (const std::string& prefix : prefixes) {
            if (name.size() == prefix.size() + kRandom && name.starts_with(prefix)) {
                found.push_back(m_Folder + std::string(name));
                break;
            }
        }
    }
    ::closedir(dir);
    return found;
}

} // namespace kb
