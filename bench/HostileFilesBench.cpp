// Files made to be hostile, or merely odd, read as the three programs read them: a data
// file of 2 GiB without a line end (sparse, so it takes no room on disk), one whose second
// line is 512 MiB long (sparse too), one whose 256 MiB line is written out, and settings
// files of 2 GiB (sparse) and 100 MB. Each read runs in a child
// process of its own, and its time and peak memory are reported (the goal: memory bounded
// whatever the shape, well under 100 MB, and time in proportion to the size).

#include "BenchInputs.h"
#include "ChildRun.h"
#include "consult/CIniFileReader.h"
#include "editor/CDataFileModifier.h"
#include "editor/QuestionFileWriter.h"
#include "kb/CKnowledgeBase.h"
#include "kb/DataFileReader.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr off_t kHuge = off_t{2} << 30;
constexpr off_t kLongLine = off_t{512} << 20;
constexpr int kQuestions = 12;

// A file of the bytes given at the offsets given, holes between them.
bool WriteSparse(const std::string& path, const std::vector<std::pair<off_t, std::string>>& parts,
                 off_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    bool ok = ::ftruncate(fd, size) == 0;
    for (const auto& [at, bytes] : parts) {
        ok = ok &&
             ::pwrite(fd, bytes.data(), bytes.size(), at) == static_cast<ssize_t>(bytes.size());
    }
    return ::close(fd) == 0 && ok;
}

std::string QuestionLine(int q) {
    std::string line = "Question " + std::to_string(q) + "=";
    for (int slot = 0; slot < 9; ++slot) {
        line += "5\xB8";
    }
    return line + "\r\n";
}

struct Inputs {
    Inputs() {
        noLineEnd = dir.File("nolineend.dat");
        longLine = dir.File("longline.dat");
        ok = WriteSparse(noLineEnd, {}, kHuge) &&
             editor::QuestionFileWriter().Save(bench::MakeQuestions(kQuestions),
                                               dir.File("nolineend.qst")) &&
             WriteSparse(longLine,
                         {{0, "[CAT]\r\n" + QuestionLine(1)},
                          {kLongLine, "\r\n" + QuestionLine(2) +
                                          "RecordDescription=cat.htm\r\n"
                                          "\r\n[DOG]\r\n" +
                                          QuestionLine(1)}},
                         kLongLine + 200);
        ok = ok && std::filesystem::create_directory(dir.Path() / "sparse") &&
             WriteSparse(dir.File("sparse/mirel.ini"), {}, kHuge);
        // A line of 256 MiB written out, so that no hole can be passed over unread.
        onDisk = dir.File("ondisk.dat");
        std::string junk(std::size_t{1} << 20, 'x');
        const int fd = ::open(onDisk.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const std::string head = "[CAT]\r\n" + QuestionLine(1);
        ok = ok && fd >= 0 &&
             ::write(fd, head.data(), head.size()) == static_cast<ssize_t>(head.size());
        for (int i = 0; ok && i < 256; ++i) {
            ok = ::write(fd, junk.data(), junk.size()) == static_cast<ssize_t>(junk.size());
        }
        const std::string tail = "\r\n[DOG]\r\n" + QuestionLine(1);
        ok = ok && ::write(fd, tail.data(), tail.size()) == static_cast<ssize_t>(tail.size());
        ok = fd >= 0 && ::close(fd) == 0 && ok;
        // 100 MB of settings that are not Mirel's, then Mirel's.
        std::string lines;
        while (lines.size() < (std::size_t{100} << 20)) {
            lines += "[Other]\r\nkey=a value of no use to anyone here\r\n";
        }
        lines += "[CorvaneSettings]\r\nTitle=Found\r\n";
        ok = ok && std::filesystem::create_directory(dir.Path() / "large") &&
             WriteSparse(dir.File("large/mirel.ini"), {{0, lines}},
                         static_cast<off_t>(lines.size()));
    }
    bench::ScratchDir dir;
    std::string noLineEnd;
    std::string longLine;
    std::string onDisk;
    bool ok = false;
};

Inputs& Input() {
    static Inputs input;
    return input;
}

void Run(benchmark::State& state, const std::function<bool()>& work) {
    if (!Input().ok) {
        state.SkipWithError("could not write the input files");
        return;
    }
    bench::MeasureInChild(state, [&work](auto&) { return work(); });
}

// Drosk and Mirel read the data file beside a question set of kQuestions questions.
bool ReadData(const std::string& path, std::int16_t records) {
    kb::g_NumQuestions = kQuestions;
    kb::RecordArray read;
    kb::DataFileReader reader;
    reader.Read(path, read);
    return reader.RecordCount() == records && reader.SkippedItems() > 0;
}

void BM_DataFileReadWithoutLineEnds(benchmark::State& state) {
    Run(state, [] { return ReadData(Input().noLineEnd, 0); });
}

void BM_DataFileReadWithALongLine(benchmark::State& state) {
    Run(state, [] { return ReadData(Input().longLine, 2); });
}

void BM_DataFileReadWithALongLineOnDisk(benchmark::State& state) {
    Run(state, [] { return ReadData(Input().onDisk, 2); });
}

// Drosk's and Halvet's whole load of the knowledge base: read, stamped (a hole is not read
// for the digest) and checked not crossed.
bool OpenKnowledgeBase(kb::CKnowledgeBase::Program program) {
    kb::CKnowledgeBase base(program);
    kb::CKnowledgeBase::Contents contents;
    return base.Open(Input().dir.File("nolineend.qst"), contents) ==
               kb::CKnowledgeBase::Outcome::Done &&
           contents.questions.size() == static_cast<std::size_t>(kQuestions);
}

void BM_DroskOpensAKnowledgeBaseWithoutLineEnds(benchmark::State& state) {
    Run(state, [] { return OpenKnowledgeBase(kb::CKnowledgeBase::Program::Acquisition); });
}

void BM_HalvetOpensAKnowledgeBaseWithoutLineEnds(benchmark::State& state) {
    Run(state, [] { return OpenKnowledgeBase(kb::CKnowledgeBase::Program::Editor); });
}

// Halvet looks the data file over when it loads the set beside it.
void BM_HalvetLooksOverADataFileWithoutLineEnds(benchmark::State& state) {
    Run(state, [] { return editor::CDataFileModifier().Init(Input().noLineEnd); });
}

// ... and renumbers it when a question was inserted: the long line is written back whole.
void BM_HalvetRenumbersADataFileWithALongLine(benchmark::State& state) {
    Run(state, [] {
        editor::CDataFileModifier modifier;
        if (!modifier.Init(Input().longLine)) {
            return false;
        }
        modifier.InsertQuestion(1);
        const std::string copy = Input().dir.File("renumbered.dat");
        std::filesystem::copy_file(Input().longLine, copy,
                                   std::filesystem::copy_options::overwrite_existing);
        const bool saved = modifier.Save(copy);
        std::filesystem::remove(copy);
        return saved;
    });
}

// Mirel reads its ten settings.
bool ReadSettings(const std::string& folder, const std::string& title) {
    std::vector<platform::IniFile::Key> keys = {{"CorvaneSettings", "SliderText"},
                                                {"CorvaneSettings", "Title"}};
    for (int b = 1; b <= 8; ++b) {
        keys.push_back({"CorvaneButtons", "B" + std::to_string(b)});
    }
    return consult::CIniFileReader(folder).ReadParameters(keys)[1] == title;
}

void BM_MirelSettingsWithoutLineEnds(benchmark::State& state) {
    Run(state, [] { return ReadSettings(Input().dir.File("sparse"), ""); });
}

void BM_MirelSettingsOf100MB(benchmark::State& state) {
    Run(state, [] { return ReadSettings(Input().dir.File("large"), "Found"); });
}

BENCHMARK(BM_DataFileReadWithoutLineEnds)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_DroskOpensAKnowledgeBaseWithoutLineEnds)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_HalvetOpensAKnowledgeBaseWithoutLineEnds)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_DataFileReadWithALongLine)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_DataFileReadWithALongLineOnDisk)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_HalvetLooksOverADataFileWithoutLineEnds)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_HalvetRenumbersADataFileWithALongLine)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK(BM_MirelSettingsWithoutLineEnds)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_MirelSettingsOf100MB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
