#include "kb/DataFileWriter.h"

#include "kb/Cp1252.h"
#include "kb/FileIO.h"

#include <charconv>
#include <exception>

namespace kb {

namespace {

void AppendNumber(std::string& out, int value) {
    char buffer[12];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// Appends text as Windows-1252 bytes; false when it holds a character that cannot be
// written.
bool AppendEncoded(std::string& out, const std::string& text, std::string& scratch) {
    if (!Utf8ToCp1252(text, scratch)) {
        return false;
    }
    out += scratch;
    return true;
}

} // namespace

bool DataFileWriter::Save(const RecordArray& Records, const std::string& Filename) const {
    try {
        if (Records.empty() || !Records.front()) {
            return false;
        }
        const std::int16_t numQuestions = Records.front()->GetNumResponses();

        std::string out;
        // About four bytes a level; a guess that saves most of the regrowing.
        out.reserve(Records.size() *
                    (64 + static_cast<std::size_t>(numQuestions) * (16 + 4 * CResponses::kSlots)));
        std::string scratch;
        for (const auto& record : Records) {
            if (!record) {
                return false;
            }
            out += '[';
            if (!AppendEncoded(out, record->GetName(), scratch)) {
                return false;
            }
            out += "]\r\n";
            for (std::int16_t q = 0; q < numQuestions; ++q) {
                const CResponses* responses = nullptr;
                record->GetResponses(q, responses);
                if (responses == nullptr) {
                    return false;
                }
                out += "Question ";
                AppendNumber(out, q + 1);
                out += '=';
                for (std::int16_t slot = 0; slot < CResponses::kSlots; ++slot) {
                    AppendNumber(out, responses->GetResponse(slot));
                    out += kSeparatorByte;
                }
                out += "\r\n";
            }
            out += "RecordDescription=";
            if (!AppendEncoded(out, record->GetDescription(), scratch)) {
                return false;
            }
            out += "\r\n\r\n";
        }
        return WriteFileAtomically(Filename, out);
    } catch (const std::exception&) {
        return false; // out of memory: nothing was written
    }
}

} // namespace kb
