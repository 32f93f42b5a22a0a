#include "BenchInputs.h"
#include "editor/QuestionFileWriter.h"
#include "kb/QuestionFileReader.h"

#include <benchmark/benchmark.h>

namespace {

void BM_QuestionFileRead(benchmark::State& state) {
    bench::ScratchDir dir;
    const std::string path = dir.File("largest.qst");
    if (!editor::QuestionFileWriter().Save(bench::MakeQuestions(bench::kMaxQuestions), path)) {
        state.SkipWithError("could not write the input file");
        return;
    }
    for (auto _ : state) {
        kb::QuestionArray qs;
        kb::QuestionFileReader reader;
        if (!reader.Read(path, qs) || reader.QuestionCount() != bench::kMaxQuestions) {
            state.SkipWithError("the file did not read back whole");
            break;
        }
        benchmark::DoNotOptimize(qs.data());
    }
}

BENCHMARK(BM_QuestionFileRead)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
