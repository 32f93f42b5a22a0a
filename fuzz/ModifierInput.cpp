#include "fuzz/FuzzFiles.h"
#include "fuzz/Harnesses.h"

#include "editor/CDataFileModifier.h"
#include "kb/DataFileItem.h"
#include "kb/DataFileReader.h"
#include "kb/ItemReader.h"
#include "kb/QuestionFileReader.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace fuzz {

namespace {

constexpr const char* kName = "modifier";
constexpr int kMaxQuestions = kb::QuestionFileReader::kMaxQuestions;

// The most question lines a rewritten record may hold: the 201 question numbers the file
// can use, and one for each insert on top.
constexpr std::size_t kMostQuestionLines = 201;
// A written question line: "Question 201=" and nine levels with their separators; a
// level of more than two digits came from the file and is counted in its size.
constexpr std::size_t kQuestionLineBytes = 48;
// Beyond this many levels (records times questions) one read costs too much for a fuzz
// run; such an input is checked for everything but its meaning.
constexpr std::size_t kMostLevels = std::size_t{4} << 20;

constexpr std::array<std::int16_t, 9> kNeutral{};

std::size_t CountLines(std::string_view bytes) {
    return 1 + static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) +
           static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\r'));
}

struct Change {
    bool Insert = false;
    std::int16_t QNo = 0;
};

// What the data file reader takes from a record.
struct RecordModel {
    std::string Name;
    std::string Page;
    std::vector<std::array<std::int16_t, 9>> Levels; // by question index
};

struct ReadResult {
    std::vector<RecordModel> Records;
    long Skipped = 0;
};

ReadResult ReadWith(const std::string& path, int questions) {
    kb::g_NumQuestions = static_cast<std::int16_t>(questions);
    kb::RecordArray records;
    kb::DataFileReader reader;
    reader.Read(path, records);
    ReadResult result;
    result.Skipped = reader.SkippedItems();
    for (const auto& record : records) {
        RecordModel model{record->GetName(), record->GetDescription(), {}};
        for (std::int16_t q = 0; q < record->GetNumResponses(); ++q) {
            const kb::CResponses* responses = nullptr;
            record->GetResponses(q, responses);
            std::array<std::int16_t, 9> levels{};
            for (std::int16_t slot = 0; slot < 9; ++slot) {
                levels[static_cast<std::size_t>(slot)] = responses->GetResponse(slot);
            }
            model.Levels.push_back(levels);
        }
        result.Records.push_back(std::move(model));
    }
    kb::g_NumQuestions = 0;
    return result;
}

// Every item of the file, classified as the reader and the modifier classify it.
template <typename Visit> void ForEachItem(std::string_view bytes, Visit visit) {
    kb::ItemReader reader(bytes);
    std::string_view item;
    while (reader.Next(item)) {
        visit(kb::ClassifyDataFileItem(item));
    }
}

// The highest question number from 1 to kMaxQuestions on any question line of the file:
// reading with that many questions sees every line the modifier can move.
int HighestQuestionNumber(std::string_view bytes) {
    int highest = 0;
    ForEachItem(bytes, [&](const kb::DataFileItem& it) {
        if (it.Type == kb::DataFileItem::Kind::Question && it.HasNumber && it.Number >= 1 &&
            it.Number <= kMaxQuestions) {
            highest = std::max<int>(highest, it.Number);
        }
    });
    return highest;
}

// For each record, in the reader's order, whether it holds two lines of one question number
// from 1 to kMaxQuestions.
std::vector<bool> RecordsWithATwiceNumberedQuestion(std::string_view bytes) {
    std::vector<bool> twice;
    std::vector<int> seenIn(static_cast<std::size_t>(kMaxQuestions) + 1, -1);
    bool dropping = false;
    ForEachItem(bytes, [&](const kb::DataFileItem& it) {
        switch (it.Type) {
        case kb::DataFileItem::Kind::Header:
            dropping = twice.size() >= static_cast<std::size_t>(kb::DataFileReader::kMaxRecords);
            if (!dropping) {
                twice.push_back(false);
            }
            break;
        case kb::DataFileItem::Kind::BrokenHeader:
        case kb::DataFileItem::Kind::HalfHeader:
            dropping = true;
            break;
        case kb::DataFileItem::Kind::Question:
            if (!dropping && !twice.empty() && it.HasNumber && it.Number >= 1 &&
                it.Number <= kMaxQuestions) {
                auto& seen = seenIn[static_cast<std::size_t>(it.Number)];
                const int index = static_cast<int>(twice.size()) - 1;
                if (seen == index) {
                    twice.back() = true;
                }
                seen = index;
            }
            break;
        default:
            break;
        }
    });
    return twice;
}

// The changes applied to what the reader took, the way the modifier composes them: an
// insert at q moves every question from q up by one and gives q the neutral response, a
// delete at q drops q and moves the later ones down. A change beyond the file's highest
// question changes nothing in the file, and nothing here either, since every level beyond
// it is 0. Numbers the modifier does not take (below 1, above kMaxQuestions) change nothing.
void ApplyChanges(std::vector<RecordModel>& records, const std::vector<Change>& changes) {
    for (const Change& c : changes) {
        if (c.QNo < 1 || c.QNo > kMaxQuestions) {
            continue;
        }
        const auto at = static_cast<std::size_t>(c.QNo - 1);
        for (RecordModel& record : records) {
            auto& levels = record.Levels;
            if (at >= levels.size()) {
                continue;
            }
            if (c.Insert) {
                levels.insert(levels.begin() + static_cast<std::ptrdiff_t>(at), kNeutral);
                levels.pop_back();
            } else {
                levels.erase(levels.begin() + static_cast<std::ptrdiff_t>(at));
                levels.push_back(kNeutral);
            }
        }
    }
}

// Where what the reader takes after the rewrite differs from the model; "" when it does not.
std::string Difference(const std::vector<RecordModel>& model,
                       const std::vector<RecordModel>& after) {
    if (model.size() != after.size()) {
        return std::to_string(model.size()) + " records before the rewrite, " +
               std::to_string(after.size()) + " after";
    }
    for (std::size_t r = 0; r < model.size(); ++r) {
        const RecordModel& want = model[r];
        const RecordModel& got = after[r];
        const std::string which = "record " + std::to_string(r + 1) + " ";
        if (want.Name != got.Name || want.Page != got.Page) {
            return which + "\"" + want.Name + "\" (" + want.Page + ") came back as \"" + got.Name +
                   "\" (" + got.Page + ")";
        }
        for (std::size_t q = 0; q < got.Levels.size(); ++q) {
            if (want.Levels[q] != got.Levels[q]) {
                return which + "\"" + want.Name + "\": question " + std::to_string(q + 1) +
                       " holds levels starting " + std::to_string(got.Levels[q][0]) +
                       ", the changes say " + std::to_string(want.Levels[q][0]);
            }
        }
    }
    return {};
}

} // namespace

// Input: one byte with the number of changes (0 to 7), two bytes per change, then the data
// file. A change's first byte: even inserts, odd deletes; its second byte is the question
// number plus 16 (-16 to 239).
//
// The meaning check: what the data file reader takes from the file before (each record's
// name, page and levels, read with as many questions as the file's highest number), with
// the changes applied, is what it takes from the rewritten file. Lines the reader passes
// over take no part on either side, so the check holds for untidy files too. A record
// without two lines of one question number gets none from the rewrite, and a file the
// reader read whole is still read whole after it.
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
    std::vector<Change> changes(static_cast<std::size_t>(take() % 8));
    int inserts = 0;
    for (Change& c : changes) {
        c.Insert = take() % 2 == 0;
        c.QNo = static_cast<std::int16_t>(take() - 16);
        inserts += c.Insert ? 1 : 0;
    }

    const std::string path = WriteScratchFile("input.dat", bytes);
    const int highest = HighestQuestionNumber(bytes);
    const int questionsBefore = std::max(highest, 1);
    const int questionsAfter = std::min(questionsBefore + inserts, kMaxQuestions);
    const std::size_t headers =
        static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '['));
    const bool checkMeaning =
        headers * static_cast<std::size_t>(questionsBefore + inserts) <= kMostLevels;
    ReadResult before;
    if (checkMeaning) {
        before = ReadWith(path, questionsBefore);
    }

    editor::CDataFileModifier modifier;
    if (!modifier.Init(path)) {
        Fail(kName, "Init could not read a readable file");
    }
    for (const Change& c : changes) {
        c.Insert ? modifier.InsertQuestion(c.QNo) : modifier.DeleteQuestion(c.QNo);
    }
    const bool saved = modifier.Save(path);
    const std::string after = ReadBack(path);
    if (!saved) {
        if (after != bytes) {
            Fail(kName, "a save that failed changed the file");
        }
        return 0;
    }

    const std::size_t limit =
        bytes.size() +
        CountLines(bytes) *
            ((kMostQuestionLines + static_cast<std::size_t>(inserts)) * kQuestionLineBytes + 64);
    if (after.size() > limit) {
        Fail(kName, "a file of " + std::to_string(bytes.size()) + " bytes grew to " +
                        std::to_string(after.size()));
    }

    const std::vector<bool> twiceBefore = RecordsWithATwiceNumberedQuestion(bytes);
    const std::vector<bool> twiceAfter = RecordsWithATwiceNumberedQuestion(after);
    if (twiceBefore.size() != twiceAfter.size()) {
        Fail(kName, std::to_string(twiceBefore.size()) + " records before the rewrite, " +
                        std::to_string(twiceAfter.size()) + " after");
    }
    for (std::size_t r = 0; r < twiceAfter.size(); ++r) {
        if (twiceAfter[r] && !twiceBefore[r]) {
            Fail(kName, "record " + std::to_string(r + 1) +
                            " holds two lines of one question after the rewrite");
        }
    }

    if (!checkMeaning) {
        return 0;
    }
    for (RecordModel& record : before.Records) {
        record.Levels.resize(static_cast<std::size_t>(questionsBefore + inserts));
    }
    ApplyChanges(before.Records, changes);
    const ReadResult reread = ReadWith(path, questionsAfter);
    const std::string difference = Difference(before.Records, reread.Records);
    if (!difference.empty()) {
        Fail(kName, difference);
    }
    // Lines that move past the most questions a set can hold are not read again.
    if (before.Skipped == 0 && reread.Skipped != 0 && highest + inserts <= kMaxQuestions) {
        Fail(kName, "a file read whole has " + std::to_string(reread.Skipped) +
                        " items the reader passes over after the rewrite");
    }
    return 0;
}

} // namespace fuzz
