#include "fuzz/FuzzFiles.h"
#include "fuzz/Harnesses.h"

#include "editor/CDataFileModifier.h"
#include "kb/DataFileReader.h"

#include <algorithm>
#include <string>

namespace fuzz {

namespace {

constexpr const char* kName = "modifier";

// The most question lines a rewritten record may hold: the 201 question numbers the file
// can use, and one for each insert on top.
constexpr std::size_t kMostQuestionLines = 201;
// A written question line: "Question 201=" and nine levels with their separators; a
// level of more than two digits came from the file and is counted in its size.
constexpr std::size_t kQuestionLineBytes = 48;

std::size_t CountLines(std::string_view bytes) {
    return 1 + static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) +
           static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\r'));
}

std::int16_t RecordsIn(const std::string& path) {
    kb::RecordArray records;
    kb::DataFileReader reader;
    reader.Read(path, records);
    return reader.RecordCount();
}

} // namespace

// Input: one byte with the number of changes (0 to 7), two bytes per change, then the data
// file. A change's first byte: even inserts, odd deletes; its second byte is the question
// number plus 16 (-16 to 239).
int ModifierInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes = AsBytes(data, size);
    const auto take = [&bytes]() -> int {
        if (bytes.empty()) {
            return 0;
        }
        const auto b = static_cast<unsigned char>(bytes.front());
        bytes.remove_prefix(1);
        return b;
    };
    const int changes = take() % 8;
    struct Change {
        bool Insert;
        std::int16_t QNo;
    };
    Change list[8] = {};
    for (int i = 0; i < changes; ++i) {
        const int kind = take();
        list[i].Insert = kind % 2 == 0;
        list[i].QNo = static_cast<std::int16_t>(take() - 16);
    }

    LoadQuestionSet({});
    const std::string path = WriteScratchFile("input.dat", bytes);
    const std::int16_t recordsBefore = RecordsIn(path);

    editor::CDataFileModifier modifier;
    if (!modifier.Init(path)) {
        Fail(kName, "Init could not read a readable file");
    }
    int inserts = 0;
    for (int i = 0; i < changes; ++i) {
        const Change& c = list[i];
        if (c.Insert) {
            ++inserts;
        }
        c.Insert ? modifier.InsertQuestion(c.QNo) : modifier.DeleteQuestion(c.QNo);
    }
    const bool saved = modifier.Save(path);
    const std::string after = ReadBack(path);
    if (!saved && after != bytes) {
        Fail(kName, "a save that failed changed the file");
    }

    const std::size_t records = CountLines(bytes);
    const std::size_t limit =
        bytes.size() +
        records *
            ((kMostQuestionLines + static_cast<std::size_t>(inserts)) * kQuestionLineBytes + 64);
    if (after.size() > limit) {
        Fail(kName, "a file of " + std::to_string(bytes.size()) + " bytes grew to " +
                        std::to_string(after.size()));
    }
    const std::int16_t recordsAfter = RecordsIn(path);
    if (recordsAfter != recordsBefore) {
        Fail(kName, std::to_string(recordsBefore) + " records before the rewrite, " +
                        std::to_string(recordsAfter) + " after");
    }
    return 0;
}

} // namespace fuzz
