#include "BenchInputs.h"
#include "consult/CAnalyser.h"
#include "tests/consult/LiteralSelectionSort.h"

#include <benchmark/benchmark.h>

namespace consult {

// Reaches the ranking on its own, as the tests do.
struct CAnalyserTestAccess {
    static void SortRecords(kb::RecordArray& recs, int n) { CAnalyser::SortRecords(recs, n); }
};

} // namespace consult

namespace {

struct Inputs {
    Inputs() {
        questions = bench::MakeQuestions(bench::kRecordQuestions);
        records = bench::MakeRecords(questions, bench::kMaxRecords);
        // Percentages as an analysis leaves them, many of them equal.
        ranked = records;
        consult::CAnalyser().Analyse(questions, bench::kRecordQuestions, ranked,
                                     bench::kMaxRecords);
    }
    kb::QuestionArray questions;
    kb::RecordArray records; // in file order
    kb::RecordArray ranked;  // scored
};

Inputs& Input() {
    static Inputs input;
    return input;
}

void BM_Analyse(benchmark::State& state) {
    auto& input = Input();
    const consult::CAnalyser analyser;
    for (auto _ : state) {
        state.PauseTiming();
        kb::RecordArray recs = input.records;
        state.ResumeTiming();
        analyser.Analyse(input.questions, bench::kRecordQuestions, recs, bench::kMaxRecords);
        benchmark::DoNotOptimize(recs.data());
    }
}

// The sort alone, on scores from an analysis, starting from file order each time.
template <void (*Sort)(kb::RecordArray&, int)> void BM_Sort(benchmark::State& state) {
    auto& input = Input();
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        kb::RecordArray recs(input.records.begin(), input.records.begin() + n);
        state.ResumeTiming();
        Sort(recs, n);
        benchmark::DoNotOptimize(recs.data());
    }
    state.SetComplexityN(n);
}

BENCHMARK(BM_Analyse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort<&consult::CAnalyserTestAccess::SortRecords>)
    ->Name("BM_SortRecords")
    ->Arg(4096)
    ->Arg(bench::kMaxRecords)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort<&consult::testing::LiteralSelectionSort>)
    ->Name("BM_LiteralSelectionSort")
    ->Arg(4096)
    ->Arg(bench::kMaxRecords)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
