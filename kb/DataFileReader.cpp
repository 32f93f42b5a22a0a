#include "kb/DataFileReader.h"

#include "kb/Cp1252.h"
#include "kb/FileIO.h"
#include "kb/ItemReader.h"
#include "kb/WholeNumber.h"

#include <algorithm>
#include <array>
#include <exception>
#include <string_view>

namespace kb {

namespace {

constexpr std::string_view kDescriptionKey = "RecordDescription=";
constexpr std::string_view kQuestionKey = "Question ";

// Where the marks that decide an item's meaning first appear.
struct ItemMarks {
    std::size_t open = std::string_view::npos;     // first "["
    std::size_t close = std::string_view::npos;    // first "]"
    std::size_t equals = std::string_view::npos;   // first "="
    std::size_t question = std::string_view::npos; // first "Question "
    bool description = false;                      // holds "RecordDescription="
};

ItemMarks FindMarks(std::string_view item) {
    // A few library searches beat one loop over the bytes: they scan many bytes at a time.
    ItemMarks marks;
    marks.open = item.find('[');
    marks.close = item.find(']');
    marks.equals = item.find('=');
    marks.description = item.find(kDescriptionKey) != std::string_view::npos;
    marks.question = item.find(kQuestionKey);
    return marks;
}

// The nine levels after the "=" of a question line; false unless all nine are there and
// each is a whole 16-bit number.
bool ReadLevels(std::string_view rest, std::array<std::int16_t, CResponses::kSlots>& levels) {
    std::size_t at = 0;
    for (auto& level : levels) {
        // Levels as this program writes them ("-10", "5") take the short road.
        std::size_t p = at;
        const bool negative = p < rest.size() && rest[p] == '-';
        p += negative ? 1 : 0;
        const std::size_t digitsAt = p;
        long value = 0;
        while (p < rest.size() && p - digitsAt < 5 && rest[p] >= '0' && rest[p] <= '9') {
            value = value * 10 + (rest[p] - '0');
            ++p;
        }
        value = negative ? -value : value;
        if (p > digitsAt && p < rest.size() && rest[p] == kSeparatorByte && value >= -32768 &&
            value <= 32767) {
            level = static_cast<std::int16_t>(value);
            at = p + 1;
            continue;
        }
        const auto sep = rest.find(kSeparatorByte, at);
        if (sep == std::string_view::npos || !ToWholeNumber(rest.substr(at, sep - at), level)) {
            return false;
        }
        at = sep + 1;
    }
    return true;
}

// A question line "Question n=l0¸...¸l8¸" applied to record; false when it is malformed.
bool ReadQuestionLine(std::string_view item, const ItemMarks& marks, CRecord& record) {
    const auto numberAt = marks.question + kQuestionKey.size();
    if (marks.equals == std::string_view::npos || marks.equals < numberAt) {
        return false;
    }
    std::int16_t number = 0;
    if (!ToWholeNumber(item.substr(numberAt, marks.equals - numberAt), number) || number < 1 ||
        number > record.GetNumResponses()) {
        return false;
    }
    std::array<std::int16_t, CResponses::kSlots> levels{};
    if (!ReadLevels(item.substr(marks.equals + 1), levels)) {
        return false;
    }
    CResponses* responses = nullptr;
    record.GetResponses(static_cast<std::int16_t>(number - 1), responses);
    for (std::int16_t slot = 0; slot < CResponses::kSlots; ++slot) {
        responses->SetResponse(slot, levels[static_cast<std::size_t>(slot)]);
    }
    return true;
}

} // namespace

void DataFileReader::Read(const std::string& RecFile, RecordArray& RecordArray) {
    m_RecordCount = 0;
    m_SkippedItems = 0;
    RecordArray.clear();
    try {
        // Records can only be made once a question set has sized them; without one every
        // header (and what follows it) is passed over.
        const bool canMakeRecords = g_NumQuestions > 0;
        // True after a header that could not be taken in (broken, too many records, or no
        // question set): the lines that follow it belong to no record of ours.
        bool droppingRecord = false;

        // Piece by piece: a piece ends at a line end, so no item straddles two pieces.
        const auto readPiece = [&](std::string_view piece) {
            ItemReader reader(piece);
            std::string_view item;
            while (reader.Next(item)) {
                const ItemMarks marks = FindMarks(item);
                const bool opens = marks.open != std::string_view::npos;
                const bool closes = marks.close != std::string_view::npos;
                if (opens && closes) {
                    if (marks.close < marks.open) {
                        // A broken header: its lines must not land in the record before it.
                        droppingRecord = true;
                        ++m_SkippedItems;
                        continue;
                    }
                    if (!canMakeRecords || m_RecordCount >= kMaxRecords) {
                        droppingRecord = true;
                        ++m_SkippedItems;
                        continue;
                    }
                    droppingRecord = false;
                    auto record = std::make_shared<CRecord>();
                    record->SetName(
                        Cp1252ToUtf8(item.substr(marks.open + 1, marks.close - marks.open - 1)));
                    RecordArray.push_back(std::move(record));
                    ++m_RecordCount;
                    continue;
                }
                if (marks.description) {
                    if (RecordArray.empty() || droppingRecord) {
                        ++m_SkippedItems;
                        continue;
                    }
                    RecordArray.back()->SetDescription(Cp1252ToUtf8(item.substr(marks.equals + 1)));
                    continue;
                }
                if (marks.question != std::string_view::npos) {
                    if (RecordArray.empty() || droppingRecord ||
                        !ReadQuestionLine(item, marks, *RecordArray.back())) {
                        ++m_SkippedItems;
                    }
                    continue;
                }
                if (opens || closes) {
                    // Half a header (a name cut at a comma or a line end): the record it
                    // began is lost, and its lines must not land in the record before it.
                    droppingRecord = true;
                    ++m_SkippedItems;
                    continue;
                }
                // Any other text belongs to no record and a save would drop it; only the
                // empty item (the empty line among them) means nothing.
                if (!item.empty()) {
                    ++m_SkippedItems;
                }
            }
        };
        bool heldBytes = false;
        const bool readToEnd = ReadFileByLines(RecFile, [&](std::string_view piece) {
            heldBytes = true;
            readPiece(piece);
        });
        if (!readToEnd && FileStamp::Of(RecFile).exists) {
            ++m_SkippedItems; // the file, or its rest, could not be read
        } else if (heldBytes && m_RecordCount == 0 && m_SkippedItems == 0) {
            // Text without a single record (blanks and commas only) is still not ours to
            // drop unasked.
            ++m_SkippedItems;
        }
    } catch (const std::exception&) {
        // Only running out of memory can get here; what was read so far stays, and the
        // rest counts as passed over.
        ++m_SkippedItems;
    }
}

} // namespace kb
