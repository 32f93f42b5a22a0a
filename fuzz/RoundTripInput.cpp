#include "fuzz/FuzzFiles.h"
#include "fuzz/Harnesses.h"

#include "kb/DataFileReader.h"
#include "kb/DataFileWriter.h"

#include <string>

namespace fuzz {

namespace {

constexpr const char* kName = "round_trip";

// Where two records differ, or "" when they hold the same name, page and levels.
std::string Difference(const kb::CRecord& a, const kb::CRecord& b) {
    if (a.GetName() != b.GetName()) {
        return "name \"" + a.GetName() + "\" came back as \"" + b.GetName() + "\"";
    }
    if (a.GetDescription() != b.GetDescription()) {
        return "page \"" + a.GetDescription() + "\" came back as \"" + b.GetDescription() + "\"";
    }
    if (a.GetNumResponses() != b.GetNumResponses()) {
        return "a different number of questions";
    }
    for (std::int16_t q = 0; q < a.GetNumResponses(); ++q) {
        const kb::CResponses* ra = nullptr;
        const kb::CResponses* rb = nullptr;
        a.GetResponses(q, ra);
        b.GetResponses(q, rb);
        for (std::int16_t slot = 0; slot < kb::CResponses::kSlots; ++slot) {
            if (ra->GetResponse(slot) != rb->GetResponse(slot)) {
                return "question " + std::to_string(q + 1) + " slot " + std::to_string(slot) +
                       " changed from " + std::to_string(ra->GetResponse(slot)) + " to " +
                       std::to_string(rb->GetResponse(slot));
            }
        }
    }
    return {};
}

} // namespace

int RoundTripInput(const std::uint8_t* data, std::size_t size) {
    const SetAndData input = SplitSetAndData(AsBytes(data, size));
    if (LoadQuestionSet(input.QuestionSet) <= 0) {
        return 0;
    }
    const std::string inputPath = WriteScratchFile("input.dat", input.DataFile);
    kb::RecordArray first;
    kb::DataFileReader().Read(inputPath, first);
    if (first.empty()) {
        return 0; // nothing to save: Drosk deletes the file instead
    }

    const kb::DataFileWriter writer;
    const std::string firstSave = ScratchPath("first.dat");
    if (!writer.Save(first, firstSave)) {
        return 0; // refused: text the file could not keep
    }
    kb::RecordArray second;
    kb::DataFileReader reader;
    reader.Read(firstSave, second);
    if (second.size() != first.size()) {
        Fail(kName, std::to_string(first.size()) + " records saved, " +
                        std::to_string(second.size()) + " read back");
    }
    if (reader.SkippedItems() != 0) {
        Fail(kName, "the saved file has " + std::to_string(reader.SkippedItems()) +
                        " items the reader passes over");
    }
    for (std::size_t i = 0; i < first.size(); ++i) {
        const std::string diff = Difference(*first[i], *second[i]);
        if (!diff.empty()) {
            Fail(kName, "record " + std::to_string(i + 1) + ": " + diff);
        }
    }

    const std::string secondSave = ScratchPath("second.dat");
    if (!writer.Save(second, secondSave)) {
        Fail(kName, "records read back from a saved file could not be saved again");
    }
    if (ReadBack(firstSave) != ReadBack(secondSave)) {
        Fail(kName, "the second save differs from the first");
    }
    return 0;
}

} // namespace fuzz
