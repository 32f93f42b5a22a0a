#include "fuzz/FuzzFiles.h"
#include "fuzz/Harnesses.h"

#include "kb/CRecord.h"
#include "kb/QuestionFileReader.h"

#include <cstdint>
#include <string>

namespace fuzz {

int QuestionFileInput(const std::uint8_t* data, std::size_t size) {
    constexpr const char* kName = "question_file";
    const std::string path = WriteScratchFile("input.qst", AsBytes(data, size));

    kb::g_NumQuestions = 0;
    // One question already in the array: a read that fails early must leave it there.
    const auto before = std::make_shared<kb::CQuestion>();
    kb::QuestionArray questions{before};
    kb::QuestionFileReader reader;
    const bool whole = reader.Read(path, questions);
    // Counting and filling each read the file at most once.
    if (reader.BytesRead() > 2 * static_cast<std::uint64_t>(size)) {
        Fail(kName, "read " + std::to_string(reader.BytesRead()) + " bytes of a file of " +
                        std::to_string(size));
    }

    const auto count = static_cast<std::size_t>(kb::g_NumQuestions);
    if (kb::g_NumQuestions == 0) {
        if (whole || questions.size() != 1 || questions.front() != before) {
            Fail(kName, "a read that set no question count changed the caller's array");
        }
        return 0;
    }
    if (questions.size() != count) {
        Fail(kName, "the array holds " + std::to_string(questions.size()) +
                        " questions, the question count is " + std::to_string(count));
    }
    if (reader.QuestionCount() < 0 || static_cast<std::size_t>(reader.QuestionCount()) > count ||
        (whole && static_cast<std::size_t>(reader.QuestionCount()) != count)) {
        Fail(kName, "QuestionCount " + std::to_string(reader.QuestionCount()) +
                        " does not fit the " + std::to_string(count) + " questions read");
    }
    // Only blank items left over means every question was read, and so nothing is lost.
    if (reader.OnlyBlankLeftOver() &&
        (whole || static_cast<std::size_t>(reader.QuestionCount()) != count)) {
        Fail(kName, "only blank items said to be left over, yet not every question was read");
    }
    for (const auto& q : questions) {
        if (!q) {
            Fail(kName, "a slot without a question");
        }
        const double importance = q->GetImportance();
        if (importance != 1.0 && importance != 1.5 && importance != 2.0) {
            Fail(kName, "an importance other than 1, 1.5 or 2");
        }
        if (q->GetNumOptions() < 0 || q->GetNumOptions() > kb::CQuestion::kMaxOptions) {
            Fail(kName, "an option count outside 0 to 9");
        }
        const auto& dep = q->m_Dependencies;
        if (dep.GetNumDependencies() < 0 || dep.GetNumDependencies() > kb::CDependency::kSlots) {
            Fail(kName, "a reliance count outside 0 to 9");
        }
    }
    return 0;
}

} // namespace fuzz
