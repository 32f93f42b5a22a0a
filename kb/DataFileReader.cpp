#include "kb/DataFileReader.h"

#include "kb/Cp1252.h"
#include "kb/FileIO.h"
#include "kb/ItemReader.h"
#include "kb/WholeNumber.h"

#include <array>
#include <cstring>
#include <exception>
#include <string_view>

namespace kb {

namespace {

constexpr std::string_view kDescriptionKey = "RecordDescription=";
constexpr std::string_view kQuestionKey = "Question ";

// The nine levels after the "=" of a question line; false unless all nine are there and
// each is a whole 16-bit number.
bool ReadLevels(std::string_view rest, std::array<std::int16_t, CResponses::kSlots>& levels) {
    for (auto& level : levels) {
        const void* sep =
            std::memchr(rest.data(), static_cast<unsigned char>(kSeparatorByte), rest.size());
        if (sep == nullptr) {
            return false;
        }
        const auto length = static_cast<std::size_t>(static_cast<const char*>(sep) - rest.data());
        if (!ToWholeNumber(rest.substr(0, length), level)) {
            return false;
        }
        rest.remove_prefix(length + 1);
    }
    return true;
}

// A question line "Question n=l0¸...¸l8¸" applied to record; false when it is malformed.
bool ReadQuestionLine(std::string_view item, std::size_t keyAt, CRecord& record) {
    const auto numberAt = keyAt + kQuestionKey.size();
    const auto equals = item.find('=');
    if (equals == std::string_view::npos || equals < numberAt) {
        return false;
    }
    std::int16_t number = 0;
    if (!ToWholeNumber(item.substr(numberAt, equals - numberAt), number) || number < 1 ||
        number > record.GetNumResponses()) {
        return false;
    }
    std::array<std::int16_t, CResponses::kSlots> levels{};
    if (!ReadLevels(item.substr(equals + 1), levels)) {
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
        std::string bytes;
        if (!ReadWholeFile(RecFile, bytes)) {
            return;
        }
        // Records can only be made once a question set has sized them; without one every
        // header (and what follows it) is passed over.
        const bool canMakeRecords = g_NumQuestions > 0;
        // True after a header that could not be taken in (broken, too many records, or no
        // question set): the lines that follow it belong to no record of ours.
        bool droppingRecord = false;

        ItemReader reader(bytes);
        std::string_view item;
        while (reader.Next(item)) {
            const auto open = item.find('[');
            const auto close = item.find(']');
            if (open != std::string_view::npos && close != std::string_view::npos) {
                if (close < open) {
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
                record->SetName(Cp1252ToUtf8(item.substr(open + 1, close - open - 1)));
                RecordArray.push_back(std::move(record));
                ++m_RecordCount;
                continue;
            }
            if (item.find(kDescriptionKey) != std::string_view::npos) {
                if (RecordArray.empty() || droppingRecord) {
                    ++m_SkippedItems;
                    continue;
                }
                RecordArray.back()->SetDescription(Cp1252ToUtf8(item.substr(item.find('=') + 1)));
                continue;
            }
            const auto questionAt = item.find(kQuestionKey);
            if (questionAt != std::string_view::npos) {
                if (RecordArray.empty() || droppingRecord ||
                    !ReadQuestionLine(item, questionAt, *RecordArray.back())) {
                    ++m_SkippedItems;
                }
            }
            // Any other item, the empty line among them, means nothing.
        }
    } catch (const std::exception&) {
        // Only running out of memory can get here; what was read so far stays.
    }
}

} // namespace kb
