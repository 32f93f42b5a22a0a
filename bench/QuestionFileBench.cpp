#include "BenchInputs.h"
#include "editor/QuestionFileWriter.h"
#include "kb/QuestionFileReader.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

namespace {

constexpr int kMost = kb::QuestionFileReader::kMaxQuestions;

void BM_QuestionFileRead(benchmark::State& state) {
    bench::ScratchDir dir;
    const std::string path = dir.File("largest.qst");
    if (!editor::QuestionFileWriter().Save(bench::MakeQuestions(kMost), path)) {
        state.SkipWithError("could not write the input file");
        return;
    }
    for (auto _ : state) {
        kb::QuestionArray qs;
        kb::QuestionFileReader reader;
        if (!reader.Read(path, qs) || reader.QuestionCount() != kMost) {
            state.SkipWithError("the file did not read back whole");
            break;
        }
        benchmark::DoNotOptimize(qs.data());
    }
}

// The largest set followed by a sparse hole up to 4 GiB: refused after the set's items,
// in about the time the set alone takes.
void BM_QuestionFileRefuseHuge(benchmark::State& state) {
    bench::ScratchDir dir;
    const std::string path = dir.File("huge.qst");
    if (!editor::QuestionFileWriter().Save(bench::MakeQuestions(kMost), path) ||
        ::truncate(path.c_str(), off_t{4} << 30) != 0) {
        state.SkipWithError("could not make the input file");
        return;
    }
    for (auto _ : state) {
        kb::QuestionArray qs;
        kb::QuestionFileReader reader;
        if (reader.Read(path, qs)) {
            state.SkipWithError("a 4 GiB file was read as a question set");
            break;
        }
        benchmark::DoNotOptimize(qs.data());
    }
}

BENCHMARK(BM_QuestionFileRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuestionFileRefuseHuge)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
