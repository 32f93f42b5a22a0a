#include "kb/DataFileWriter.h"

#include "kb/AtomicFileWriter.h"
#include "kb/Cp1252.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <exception>

namespace kb {

namespace {

// Writes value in decimal at out and returns the end.
char* PutNumber(char* out, int value) {
    return std::to_chars(out, out + 12, value).ptr;
}

// A level with its separator, ready to copy: levels are almost always -99 to 99, and
// copying a prepared text avoids the branches of formatting millions of them.
struct LevelText {
    char bytes[8];
    std::size_t length;
};

constexpr int kSmallLevel = 99;

constexpr std::array<LevelText, 2 * kSmallLevel + 1> MakeLevelTexts() {
    std::array<LevelText, 2 * kSmallLevel + 1> texts{};
    for (int value = -kSmallLevel; value <= kSmallLevel; ++value) {
        LevelText& text = texts[static_cast<std::size_t>(value + kSmallLevel)];
        std::size_t n = 0;
        int magnitude = value < 0 ? -value : value;
        if (value < 0) {
            text.bytes[n++] = '-';
        }
        if (magnitude >= 10) {
            text.bytes[n++] = static_cast<char>('0' + magnitude / 10);
        }
        text.bytes[n++] = static_cast<char>('0' + magnitude % 10);
        text.bytes[n++] = kSeparatorByte;
        text.length = n;
    }
    return texts;
}

constexpr auto kLevelTexts = MakeLevelTexts();

// Writes a level followed by the separator at out and returns the end; out must have
// room for eight bytes more than the text.
char* PutLevel(char* out, int value) {
    if (value >= -kSmallLevel && value <= kSmallLevel) {
        const LevelText& text = kLevelTexts[static_cast<std::size_t>(value + kSmallLevel)];
        std::memcpy(out, text.bytes, sizeof text.bytes);
        return out + text.length;
    }
    out = PutNumber(out, value);
    *out++ = kSeparatorByte;
    return out;
}

// The check of DataFileCanKeep on text already in Windows-1252 bytes; the marks it looks
// for are ASCII, so it gives the same answer on the UTF-8 form.
bool CanKeepBytes(RecordText kind, std::string_view bytes) {
    if (bytes.find_first_of(",\r\n") != std::string_view::npos) {
        return false;
    }
    const bool closes = bytes.find(']') != std::string_view::npos;
    if (kind == RecordText::Name) {
        return !closes;
    }
    return !closes || bytes.find('[') == std::string_view::npos;
}

// Appends text as Windows-1252 bytes; false when the file cannot keep it.
bool AppendKept(std::string& out, RecordText kind, const std::string& text, std::string& scratch) {
    if (!Utf8ToCp1252(text, scratch) || !CanKeepBytes(kind, scratch)) {
        return false;
    }
    out += scratch;
    return true;
}

} // namespace

bool DataFileCanKeep(RecordText kind, std::string_view text) {
    std::string bytes;
    return Utf8ToCp1252(text, bytes) && CanKeepBytes(kind, bytes);
}

bool DataFileWriter::Save(const RecordArray& Records, const std::string& Filename) const {
    int error = 0;
    return Save(Records, Filename, error);
}

bool DataFileWriter::Save(const RecordArray& Records, const std::string& Filename,
                          int& error) const {
    AtomicFileWriter file(Filename);
    if (!Write(Records, file, error)) {
        return false;
    }
    if (!file.Commit()) {
        error = file.Error();
        return false;
    }
    return true;
}

bool DataFileWriter::Write(const RecordArray& Records, AtomicFileWriter& file, int& error) const {
    error = EINVAL; // a record missing or holding text the file cannot keep
    try {
        if (Records.empty() || !Records.front()) {
            return false;
        }
        const std::int16_t numQuestions = Records.front()->GetNumResponses();

        // The file goes out in pieces of a few megabytes, so the largest data file is
        // never held whole in memory; nothing reaches the target before the commit.
        constexpr std::size_t kPiece = 4u << 20;
        // Grown as needed, not reserved: a small file should cost a small buffer.
        std::string out;
        std::string scratch;
        for (const auto& record : Records) {
            if (out.size() >= kPiece) {
                if (!file.Write(out)) {
                    error = file.Error();
                    return false;
                }
                out.clear();
            }
            if (!record) {
                return false;
            }
            out += '[';
            if (!AppendKept(out, RecordText::Name, record->GetName(), scratch)) {
                return false;
            }
            out += "]\r\n";
            for (std::int16_t q = 0; q < numQuestions; ++q) {
                const CResponses* responses = nullptr;
                record->GetResponses(q, responses);
                if (responses == nullptr) {
                    return false;
                }
                // One line at a time into a buffer big enough for any line.
                char line[128];
                char* end = std::copy_n("Question ", 9, line);
                end = PutNumber(end, q + 1);
                *end++ = '=';
                for (std::int16_t slot = 0; slot < CResponses::kSlots; ++slot) {
                    end = PutLevel(end, responses->GetResponse(slot));
                }
                *end++ = '\r';
                *end++ = '\n';
                out.append(line, end);
            }
            out += "RecordDescription=";
            if (!AppendKept(out, RecordText::Page, record->GetDescription(), scratch)) {
                return false;
            }
            out += "\r\n\r\n";
        }
        if (!file.Write(out)) {
            error = file.Error();
            return false;
        }
        error = 0;
        return true;
    } catch (const std::exception&) {
        error = ENOMEM; // nothing was written
        return false;
    }
}

} // namespace kb
