#include "BenchInputs.h"
#include "kb/DataFileReader.h"
#include "kb/DataFileWriter.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

// The largest data file: 32767 records of 200 questions (about 250 MB), written once.
struct LargestDataFile {
    LargestDataFile() {
        questions = bench::MakeQuestions(bench::kRecordQuestions);
        records = bench::MakeRecords(questions, bench::kMaxRecords);
        path = dir.File("largest.dat");
        ok = kb::DataFileWriter().Save(records, path);
    }
    bench::ScratchDir dir;
    kb::QuestionArray questions;
    kb::RecordArray records;
    std::string path;
    bool ok = false;
};

LargestDataFile& Input() {
    static LargestDataFile input;
    return input;
}

void BM_DataFileRead(benchmark::State& state) {
    auto& input = Input();
    if (!input.ok) {
        state.SkipWithError("could not write the input file");
        return;
    }
    kb::g_NumQuestions = bench::kRecordQuestions;
    for (auto _ : state) {
        kb::RecordArray records;
        kb::DataFileReader reader;
        reader.Read(input.path, records);
        if (reader.RecordCount() != bench::kMaxRecords || reader.SkippedItems() != 0) {
            state.SkipWithError("the file did not read back whole");
            break;
        }
        benchmark::DoNotOptimize(records.data());
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(input.path)));
}

void BM_DataFileWrite(benchmark::State& state) {
    auto& input = Input();
    const std::string path = input.dir.File("written.dat");
    for (auto _ : state) {
        if (!kb::DataFileWriter().Save(input.records, path)) {
            state.SkipWithError("could not write");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(input.path)));
}

BENCHMARK(BM_DataFileRead)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_DataFileWrite)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace

BENCHMARK_MAIN();
