#include "editor/CDataFileModifier.h"

#include "kb/FileIO.h"
#include "kb/LineReader.h"
#include "kb/WholeNumber.h"

#include <algorithm>
#include <string_view>

namespace editor {

namespace {

constexpr std::string_view kQuestionKey = "Question ";
constexpr std::string_view kDescriptionKey = "RecordDescription=";
constexpr std::string_view kEnd = "\r\n";

} // namespace

const std::string CDataFileModifier::kNeutralResponse = [] {
    std::string s;
    for (int i = 0; i < 9; ++i) {
        s += "0\xB8";
    }
    return s;
}();

bool CDataFileModifier::Init(const std::string& path) {
    *this = CDataFileModifier();
    std::string bytes;
    if (!kb::ReadWholeFile(path, bytes)) {
        return false;
    }
    m_DataFileName = path;

    // After a header whose "]" comes before its "[", the lines up to the next header
    // belong to no record (the data file reader passes that block over too).
    bool inRecord = false;
    kb::LineReader reader(bytes);
    std::string_view line;
    while (reader.Next(line)) {
        const auto open = line.find('[');
        const auto close = line.find(']');
        if (open != std::string_view::npos && close != std::string_view::npos) {
            inRecord = open < close;
            if (inRecord) {
                m_Records.push_back({std::string(line.substr(open + 1, close - open - 1)), {}, {}});
            }
            continue;
        }
        if (line.find(kDescriptionKey) != std::string_view::npos) {
            if (inRecord) {
                m_Records.back().Description = std::string(line.substr(line.find('=') + 1));
            }
            continue;
        }
        const auto key = line.find(kQuestionKey);
        if (key == std::string_view::npos || !inRecord) {
            continue;
        }
        const auto numberAt = key + kQuestionKey.size();
        const auto equals = line.find('=');
        std::int16_t n = 0;
        if (equals == std::string_view::npos || equals < numberAt ||
            !kb::ToWholeNumber(line.substr(numberAt, equals - numberAt), n) || n < 1) {
            continue;
        }
        auto& responses = m_Records.back().Responses;
        if (responses.size() < static_cast<std::size_t>(n)) {
            responses.resize(static_cast<std::size_t>(n));
        }
        responses[static_cast<std::size_t>(n - 1)] = std::string(line.substr(equals + 1));
        m_MaxQ = std::max<int>(m_MaxQ, n);
    }
    return true;
}

void CDataFileModifier::InsertQuestion(std::int16_t QNo) {
    if (QNo < 1 || QNo > m_MaxQ) {
        return;
    }
    const auto at = static_cast<std::ptrdiff_t>(QNo - 1);
    for (DataRecord& rec : m_Records) {
        rec.Responses.resize(static_cast<std::size_t>(m_MaxQ));
        rec.Responses.insert(rec.Responses.begin() + at, kNeutralResponse);
    }
    m_Modified = true;
    ++m_MaxQ;
}

void CDataFileModifier::DeleteQuestion(std::int16_t QNo) {
    if (QNo < 1 || QNo > m_MaxQ) {
        return;
    }
    const auto at = static_cast<std::ptrdiff_t>(QNo - 1);
    for (DataRecord& rec : m_Records) {
        rec.Responses.resize(static_cast<std::size_t>(m_MaxQ));
        rec.Responses.erase(rec.Responses.begin() + at);
    }
    m_Modified = true;
    --m_MaxQ;
}

bool CDataFileModifier::Save() {
    if (!m_Modified) {
        return true;
    }
    std::string out;
    for (const DataRecord& rec : m_Records) {
        out += '[';
        out += rec.Name;
        out += ']';
        out += kEnd;
        for (int n = 1; n <= m_MaxQ; ++n) {
            const auto slot = static_cast<std::size_t>(n - 1);
            out += kQuestionKey;
            out += std::to_string(n);
            out += '=';
            // A question the record had no line for gets the neutral response, so the
            // rewritten file reads back whole.
            out += slot < rec.Responses.size() && rec.Responses[slot] ? *rec.Responses[slot]
                                                                      : kNeutralResponse;
            out += kEnd;
        }
        out += kDescriptionKey;
        // Without a description line the reader gives "nodesc.htm"; keep that meaning.
        out += rec.Description.value_or("nodesc.htm");
        out += kEnd;
        out += kEnd;
    }
    return kb::WriteFileAtomically(m_DataFileName, out);
}

} // namespace editor
