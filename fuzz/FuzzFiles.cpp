#include "fuzz/FuzzFiles.h"

#include "kb/CRecord.h"
#include "kb/Cp1252.h"
#include "kb/QuestionFileReader.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>
#include <unistd.h>

namespace fuzz {

namespace {

// The scratch folder, removed again when the process ends normally.
class ScratchFolder {
public:
    ScratchFolder() {
        // Saves flush to the disk; in memory that costs nothing, and a run makes millions.
        std::error_code ec;
        std::string base = "/dev/shm";
        if (std::getenv("TMPDIR") != nullptr || !std::filesystem::is_directory(base, ec) ||
            ::access(base.c_str(), W_OK) != 0) {
            const auto temp = std::filesystem::temp_directory_path(ec);
            base = ec ? std::string("/tmp") : temp.string();
        }
        RemoveLeftOvers(base);
        // Named after the process: libFuzzer ends without running destructors, so a later
        // run clears the folders of processes that are gone.
        m_Path = base + "/" + std::string(kPrefix) + std::to_string(::getpid());
        std::filesystem::remove_all(m_Path, ec);
        if (!std::filesystem::create_directory(m_Path, ec)) {
            std::fprintf(stderr, "corvane fuzz: cannot make %s\n", m_Path.c_str());
            std::abort();
        }
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_Path, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return m_Path; }

private:
    static constexpr std::string_view kPrefix = "corvane-fuzz-";

    static void RemoveLeftOvers(const std::string& base) {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(base, ec)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(kPrefix, 0) != 0) {
                continue;
            }
            const std::string digits = name.substr(kPrefix.size());
            if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) {
                continue;
            }
            const auto pid = static_cast<pid_t>(std::stol(digits));
            if (::kill(pid, 0) != 0 && errno == ESRCH) {
                std::error_code ignored;
                std::filesystem::remove_all(entry.path(), ignored);
            }
        }
    }

    std::string m_Path;
};

const ScratchFolder& Folder() {
    static const ScratchFolder folder;
    return folder;
}

} // namespace

std::string_view AsBytes(const std::uint8_t* data, std::size_t size) {
    return size == 0 ? std::string_view()
                     : std::string_view(reinterpret_cast<const char*>(data), size);
}

std::string ScratchPath(const std::string& name) {
    return Folder().Path() + "/" + name;
}

std::string WriteScratchFile(const std::string& name, std::string_view bytes) {
    const std::string path = ScratchPath(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "corvane fuzz: cannot write %s\n", path.c_str());
        std::abort();
    }
    return path;
}

std::string ReadBack(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

SetAndData SplitSetAndData(std::string_view input) {
    const auto mark = input.find(kDataMark);
    if (mark == std::string_view::npos) {
        return {{}, input};
    }
    // The question set keeps the line end before the mark.
    return {input.substr(0, mark + 1), input.substr(mark + kDataMark.size())};
}

const std::string& FixedQuestionSet() {
    static const std::string text = [] {
        const std::string sep(1, kb::kSeparatorByte);
        std::ostringstream out;
        for (int q = 1; q <= kFixedQuestions; ++q) {
            out << "Question " << q << "\r\n" << (q % 2 ? "Single" : "Multiple") << "\r\n";
            out << "Asked " << q << "\r\n" << (q % 2 ? "Single" : "Multiple") << "\r\n";
            const int options = 2 + q % 8;
            for (int o = 0; o < 9; ++o) {
                out << (o < options ? "Option " + std::to_string(o + 1) : std::string("Null"))
                    << "\r\n";
            }
            out << " " << options - 1 << "\r\n";
            std::string questions = " ";
            std::string choices = " ";
            for (int slot = 0; slot < 9; ++slot) {
                const bool used = slot == 0 && q > 1;
                questions += (used ? std::to_string(q - 1) : "0") + sep;
                choices += (used ? "1" : "0") + sep;
            }
            out << questions << (q % 3 ? "AND" : "OR") << "\r\n" << choices << "\r\n";
            out << "nohelp.htm\r\n" << (q % 3 == 0 ? " 2" : " 1") << "\r\n";
        }
        return out.str();
    }();
    return text;
}

int LoadQuestionSet(std::string_view questionSet) {
    static const std::string fixedPath = WriteScratchFile("fixed.qst", FixedQuestionSet());
    const std::string path =
        questionSet.empty() ? fixedPath : WriteScratchFile("input.qst", questionSet);
    kb::g_NumQuestions = 0;
    kb::QuestionArray questions;
    kb::QuestionFileReader().Read(path, questions);
    return kb::g_NumQuestions;
}

void Fail(const char* harness, const std::string& what) {
    std::fprintf(stderr, "\n*** %s: %s\n", harness, what.c_str());
    std::fflush(stderr);
    std::abort();
}

} // namespace fuzz
