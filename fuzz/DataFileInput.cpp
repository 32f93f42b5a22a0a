#include "fuzz/FuzzFiles.h"
#include "fuzz/Harnesses.h"

#include "kb/DataFileReader.h"

#include <string>

namespace fuzz {

int DataFileInput(const std::uint8_t* data, std::size_t size) {
    constexpr const char* kName = "data_file";
    const SetAndData input = SplitSetAndData(AsBytes(data, size));
    const int numQuestions = LoadQuestionSet(input.QuestionSet);
    const std::string path = WriteScratchFile("input.dat", input.DataFile);

    kb::RecordArray records;
    kb::DataFileReader reader;
    reader.Read(path, records);

    if (numQuestions <= 0 && !records.empty()) {
        Fail(kName, "records made without a question set");
    }
    if (reader.RecordCount() < 0 ||
        static_cast<std::size_t>(reader.RecordCount()) != records.size()) {
        Fail(kName, "RecordCount " + std::to_string(reader.RecordCount()) + " for " +
                        std::to_string(records.size()) + " records");
    }
    if (reader.SkippedItems() < 0) {
        Fail(kName, "a negative count of skipped items");
    }
    for (const auto& record : records) {
        if (!record || record->GetNumResponses() != numQuestions) {
            Fail(kName, "a record missing or not sized by the question set");
        }
    }
    return 0;
}

} // namespace fuzz
