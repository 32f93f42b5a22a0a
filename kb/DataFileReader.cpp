#include "kb/DataFileReader.h"

#include "kb/Cp1252.h"
#include "kb/DataFileItem.h"
#include "kb/FileIO.h"
#include "kb/ItemStream.h"
#include "kb/Utilities.h"
#include "kb/WholeNumber.h"

#include <algorithm>
#include <array>
#include <new>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <unistd.h>

namespace kb {

namespace {

// The nine levels of a question line; false unless all nine are there and each is a whole
// 16-bit number. rest is the text after the ninth separator; exact is false when a level
// had a fraction, which was rounded.
bool ReadLevels(std::string_view levelsText, std::array<std::int16_t, CResponses::kSlots>& levels,
                std::string_view& rest, bool& exact) {
    exact = true;
    std::size_t at = 0;
    for (auto& level : levels) {
        // Levels as this program writes them ("-10", "5") take the short road.
        std::size_t p = at;
        const bool negative = p < levelsText.size() && levelsText[p] == '-';
        p += negative ? 1 : 0;
        const std::size_t digitsAt = p;
        long value = 0;
        while (p < levelsText.size() && p - digitsAt < 5 && levelsText[p] >= '0' &&
               levelsText[p] <= '9') {
            value = value * 10 + (levelsText[p] - '0');
            ++p;
        }
        value = negative ? -value : value;
        if (p > digitsAt && p < levelsText.size() && levelsText[p] == kSeparatorByte &&
            value >= -32768 && value <= 32767) {
            level = static_cast<std::int16_t>(value);
            at = p + 1;
            continue;
        }
        const auto sep = levelsText.find(kSeparatorByte, at);
        bool whole = true;
        if (sep == std::string_view::npos ||
            !ToWholeNumber(levelsText.substr(at, sep - at), level, whole)) {
            return false;
        }
        exact = exact && whole;
        at = sep + 1;
    }
    rest = levelsText.substr(at);
    return true;
}

// Pieces of a megabyte: few reads, and little held beside the records.
constexpr std::size_t kPieceBytes = std::size_t{1} << 20;

} // namespace

void DataFileReader::Read(const std::string& RecFile, RecordArray& RecordArray) {
    std::int64_t size = 0;
    const FileDescriptor fd = OpenRegularFile(RecFile, size);
    if (!fd.IsOpen()) {
        m_RecordCount = 0;
        RecordArray.clear();
        // A file that is there but cannot be read is not ours to replace unasked.
        struct stat st {};
        m_SkippedItems = ::stat(RecFile.c_str(), &st) == 0 ? 1 : 0;
        return;
    }
    Read(fd.Get(), RecordArray);
}

void DataFileReader::Read(int fd, RecordArray& RecordArray) {
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

        // Per question number, the index of the last record that took a line for it: a
        // second line of one question in a record replaces the first, which is dropped.
        std::vector<std::int32_t> lineTakenBy(
            static_cast<std::size_t>(std::max<int>(g_NumQuestions, 0)), -1);
        bool hasDescription = false; // the current record took a description line
        const auto current = [&]() -> CRecord* {
            return RecordArray.empty() || droppingRecord ? nullptr : RecordArray.back().get();
        };

        // A question line; what it drops, or all of it when it cannot be read, is counted.
        const auto readQuestion = [&](const DataFileItem& it) {
            CRecord* record = current();
            std::array<std::int16_t, CResponses::kSlots> levels{};
            std::string_view rest;
            bool exact = true;
            if (record == nullptr || !it.HasNumber || it.Number < 1 ||
                it.Number > record->GetNumResponses() ||
                !ReadLevels(it.Text, levels, rest, exact)) {
                ++m_SkippedItems;
                return;
            }
            CResponses* responses = nullptr;
            record->GetResponses(static_cast<std::int16_t>(it.Number - 1), responses);
            for (std::int16_t slot = 0; slot < CResponses::kSlots; ++slot) {
                responses->SetResponse(slot, levels[static_cast<std::size_t>(slot)]);
            }
            // More than nine values, text before the key, a fraction rounded, or the
            // record's earlier line for this question: read as the design reads them, but
            // not kept by a save.
            auto& takenBy = lineTakenBy[static_cast<std::size_t>(it.Number - 1)];
            const bool again = takenBy == m_RecordCount - 1;
            takenBy = m_RecordCount - 1;
            m_SkippedItems += again || it.DropsText || !exact || !AllBlanks(rest) ? 1 : 0;
        };

        // One item at a time; one that would not fit a text box is passed over unread, so
        // a file of any shape holds no more than a piece and an item in memory.
        ItemStream stream(kMaxItemBytes, kPieceBytes, ItemStream::Overlong::Skip);
        if (!stream.Attach(fd)) {
            ++m_SkippedItems;
            return;
        }
        std::string_view item;
        for (;;) {
            const ItemStream::Status status = stream.Next(item);
            if (status == ItemStream::Status::End) {
                break;
            }
            if (status == ItemStream::Status::Unreadable) {
                ++m_SkippedItems; // the rest of the file could not be read
                break;
            }
            if (status == ItemStream::Status::Skipped) {
                // It may have been a header: what follows must not land in the record before.
                droppingRecord = true;
                ++m_SkippedItems;
                continue;
            }
            const long before = m_SkippedItems;
            const DataFileItem it = ClassifyDataFileItem(item);
            switch (it.Type) {
            case DataFileItem::Kind::Header: {
                if (!canMakeRecords || m_RecordCount >= kMaxRecords ||
                    it.Text.size() > kMaxTextBytes) {
                    droppingRecord = true;
                    ++m_SkippedItems;
                    break;
                }
                droppingRecord = false;
                hasDescription = false;
                auto record = std::make_shared<CRecord>();
                record->SetName(Cp1252ToUtf8(it.Text));
                RecordArray.push_back(std::move(record));
                ++m_RecordCount;
                // Text beside the brackets is not part of the name.
                m_SkippedItems += it.DropsText ? 1 : 0;
                break;
            }
            case DataFileItem::Kind::Description: {
                CRecord* record = current();
                if (record == nullptr || it.Text.size() > kMaxTextBytes) {
                    ++m_SkippedItems;
                    break;
                }
                record->SetDescription(Cp1252ToUtf8(it.Text));
                // The record's earlier description line, or text before the key.
                m_SkippedItems += hasDescription || it.DropsText ? 1 : 0;
                hasDescription = true;
                break;
            }
            case DataFileItem::Kind::Question:
                readQuestion(it);
                break;
            case DataFileItem::Kind::BrokenHeader:
            case DataFileItem::Kind::HalfHeader:
                // A broken header, or half of one (a name cut at a comma or a line end): the
                // record it began is lost, and its lines must not land in the record before it.
                droppingRecord = true;
                ++m_SkippedItems;
                break;
            case DataFileItem::Kind::Other:
                // Any other text belongs to no record and a save would drop it; only the
                // empty item (the empty line among them) means nothing.
                m_SkippedItems += item.empty() ? 0 : 1;
                break;
            }
            // Text after a closing quote is left out of the item, and a save would lose it.
            m_SkippedItems += m_SkippedItems == before && stream.DroppedText() ? 1 : 0;
        }
        if (stream.BytesRead() > 0 && m_RecordCount == 0 && m_SkippedItems == 0) {
            // Text without a single record (blanks and commas only) is still not ours to
            // drop unasked.
            ++m_SkippedItems;
        }
    } catch (const std::bad_alloc&) {
        // Out of memory: what was read so far stays, and the rest counts as passed over. A
        // fault of logic is not caught, so it is never taken for an item passed over.
        ++m_SkippedItems;
    }
}

} // namespace kb
