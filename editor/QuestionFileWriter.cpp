#include "editor/QuestionFileWriter.h"

#include "kb/Cp1252.h"
#include "kb/FileIO.h"
#include "kb/QuestionFileReader.h"

#include <charconv>
#include <string_view>
#include <system_error>

namespace editor {

namespace {

constexpr std::string_view kEnd = "\r\n";

// Shortest decimal form with a point whatever the locale: " 1", " 1.5", " 2".
std::string NumberText(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string("1");
}

void WriteBlock(const kb::CQuestion& q, std::string (*typeToText)(std::int16_t), std::string& out) {
    const auto line = [&out](std::string_view text) {
        out += text;
        out += kEnd;
    };
    // Numbers stand after one blank. Appended piece by piece: GCC 12 at -O3 takes
    // " " + std::string for an overlapping copy and warns (-Wrestrict) falsely.
    const auto numberLine = [&out](const std::string& number) {
        out += ' ';
        out += number;
        out += kEnd;
    };
    line(q.GetKEQ());
    line(typeToText(q.GetKEType()));
    line(q.GetUserQ());
    line(typeToText(q.GetUserType()));
    for (std::int16_t slot = 0; slot < 9; ++slot) {
        line(slot < q.GetNumOptions() ? q.GetOption(slot) : std::string("Null"));
    }
    numberLine(std::to_string(q.GetNumOptions() - 1));

    std::string questions = " ";
    std::string options = " ";
    for (std::int16_t slot = 0; slot < kb::CDependency::kSlots; ++slot) {
        std::int16_t Q = 0;
        std::int16_t Opt = 0;
        q.m_Dependencies.GetDependency(slot, Q, Opt);
        questions += std::to_string(Q);
        questions += kb::kSeparatorUtf8;
        options += std::to_string(Opt);
        options += kb::kSeparatorUtf8;
    }
    questions += q.m_Dependencies.GetType() == 0 ? "AND" : "OR";
    line(questions);
    line(options);
    line(q.GetQHelp());
    numberLine(NumberText(q.GetImportance()));
}

} // namespace

std::size_t QuestionFileWriter::QuestionsToWrite(const kb::QuestionArray& QArr) {
    // Only trailing empty questions are left out: stopping at an empty question in the
    // middle would drop every question after it.
    std::size_t count = QArr.size();
    while (count > 0 && (!QArr[count - 1] || QArr[count - 1]->IsEmpty())) {
        --count;
    }
    return count;
}

std::string QuestionFileWriter::TypeToText(std::int16_t T) {
    return T == 0 ? "Single" : "Multiple";
}

bool QuestionFileWriter::Save(const kb::QuestionArray& QArr, const std::string& Filename) const {
    std::string bytes;
    return Compose(QArr, bytes) && kb::WriteFileAtomically(Filename, bytes);
}

bool QuestionFileWriter::Compose(const kb::QuestionArray& QArr, std::string& bytes) const {
    bytes.clear();
    const std::size_t count = QuestionsToWrite(QArr);
    // A set the readers would refuse as too long is not written over a readable file.
    if (count > static_cast<std::size_t>(kb::QuestionFileReader::kMaxQuestions)) {
        return false;
    }
    std::string text;
    const kb::CQuestion blank;
    for (std::size_t i = 0; i < count; ++i) {
        WriteBlock(QArr[i] ? *QArr[i] : blank, &TypeToText, text);
    }
    return kb::Utf8ToCp1252(text, bytes);
}

} // namespace editor
