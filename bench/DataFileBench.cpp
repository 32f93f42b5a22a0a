#include "BenchInputs.h"
#include "editor/QuestionFileWriter.h"
#include "kb/CKnowledgeBase.h"
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
        set = dir.File("largest.qst");
        ok = kb::DataFileWriter().Save(records, path) &&
             editor::QuestionFileWriter().Save(questions, set);
    }
    bench::ScratchDir dir;
    kb::QuestionArray questions;
    kb::RecordArray records;
    std::string path;
    std::string set; // the question set the data file lies beside
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

// What Drosk's Load Questions costs on the largest knowledge base: both files read from
// the descriptors opened once, stamped (a digest of every byte), and checked not crossed.
void BM_KnowledgeBaseOpen(benchmark::State& state) {
    auto& input = Input();
    if (!input.ok) {
        state.SkipWithError("could not write the input files");
        return;
    }
    for (auto _ : state) {
        kb::CKnowledgeBase base(kb::CKnowledgeBase::Program::Acquisition);
        kb::CKnowledgeBase::Contents contents;
        if (base.Open(input.set, contents) != kb::CKnowledgeBase::Outcome::Done ||
            contents.records.size() != static_cast<std::size_t>(bench::kMaxRecords)) {
            state.SkipWithError("the knowledge base did not open whole");
            break;
        }
        benchmark::DoNotOptimize(contents.records.data());
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(input.path)));
}

// What Drosk's Save Records costs there: the stamps compared, the file written and put in
// place under the lock.
void BM_KnowledgeBaseSave(benchmark::State& state) {
    auto& input = Input();
    kb::CKnowledgeBase base(kb::CKnowledgeBase::Program::Acquisition);
    kb::CKnowledgeBase::Contents contents;
    if (!input.ok || base.Open(input.set, contents) != kb::CKnowledgeBase::Outcome::Done) {
        state.SkipWithError("could not open the knowledge base");
        return;
    }
    kb::CKnowledgeBase::Plan plan;
    plan.data = kb::CKnowledgeBase::Plan::Data::Write;
    plan.records = &input.records;
    for (auto _ : state) {
        if (base.Save(plan, [](const auto&) { return false; }) !=
            kb::CKnowledgeBase::Outcome::Done) {
            state.SkipWithError("could not save");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(input.path)));
}

BENCHMARK(BM_DataFileRead)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_KnowledgeBaseOpen)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_KnowledgeBaseSave)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_DataFileWrite)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace

BENCHMARK_MAIN();
