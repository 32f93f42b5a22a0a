#include "BenchInputs.h"
#include "editor/CDataFileModifier.h"
#include "kb/DataFileReader.h"
#include "kb/DataFileWriter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// The editor's insert-and-save on the largest data file against the acquisition program's
// read of the same file: time and peak memory. Each run happens in a child process of its
// own, so its peak resident size is its own and not that of the run before it; this
// process stays small, so what the child inherits is the same for both.
namespace {

struct ChildRun {
    bool ok = false;
    double seconds = 0;
    double peakMB = 0;
};

ChildRun RunInChild(const std::function<bool()>& work) {
    ChildRun run;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid < 0) {
        return run;
    }
    if (pid == 0) {
        ::_exit(work() ? 0 : 1);
    }
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid) {
        return run;
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.peakMB = static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB
    return run;
}

// The largest data file: 32767 records of 200 questions, written once by a child so that
// the records never sit in this process.
struct LargestDataFile {
    LargestDataFile() {
        path = dir.File("largest.dat");
        ok = RunInChild([this] {
                 const auto questions = bench::MakeQuestions(bench::kRecordQuestions);
                 return kb::DataFileWriter().Save(bench::MakeRecords(questions, bench::kMaxRecords),
                                                  path);
             }).ok;
    }
    bench::ScratchDir dir;
    std::string path;
    bool ok = false;
};

LargestDataFile& Input() {
    static LargestDataFile input;
    return input;
}

double g_DroskPeakMB = 0;
double g_HalvetPeakMB = 0;

void Measure(benchmark::State& state, const std::function<bool(std::int64_t)>& work, double& peak) {
    auto& input = Input();
    if (!input.ok) {
        state.SkipWithError("could not write the input file");
        return;
    }
    std::int64_t round = 0;
    for (auto _ : state) {
        const ChildRun run = RunInChild([&] { return work(round); });
        if (!run.ok) {
            state.SkipWithError("the run failed");
            break;
        }
        state.SetIterationTime(run.seconds);
        peak = std::max(peak, run.peakMB);
        ++round;
    }
    state.counters["peak_MB"] = peak;
}

void BM_DroskRead(benchmark::State& state) {
    Measure(
        state,
        [](std::int64_t) {
            kb::g_NumQuestions = bench::kRecordQuestions;
            kb::RecordArray records;
            kb::DataFileReader reader;
            reader.Read(Input().path, records);
            return reader.RecordCount() == bench::kMaxRecords && reader.SkippedItems() == 0;
        },
        g_DroskPeakMB);
}

// Inserts a first question and saves; every other round deletes it again, so the file
// keeps its size from round to round.
void BM_HalvetInsertSave(benchmark::State& state) {
    Measure(
        state,
        [](std::int64_t round) {
            editor::CDataFileModifier modifier;
            if (!modifier.Init(Input().path)) {
                return false;
            }
            if (round % 2 == 0) {
                modifier.InsertQuestion(1);
            } else {
                modifier.DeleteQuestion(1);
            }
            return modifier.IsModified() && modifier.Save(Input().path);
        },
        g_HalvetPeakMB);
}

BENCHMARK(BM_DroskRead)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_HalvetInsertSave)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_DroskPeakMB > 0 && g_HalvetPeakMB > 0) {
        std::printf("Peak memory, editor / acquisition program: %.2f (goal: at most 1.5)\n",
                    g_HalvetPeakMB / g_DroskPeakMB);
    }
    return 0;
}
