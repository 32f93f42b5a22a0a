#pragma once

#include "kb/CQuestion.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kb {

// Reads a question set file (blocks of 18 items per question) into an array of
// questions, and sets g_NumQuestions to the number of questions it sized the array for.
// The file is read as a stream, twice (counting, then filling), and the count stops at
// the first sign that the file cannot be a question set: a file of any size costs no
// more time and memory than the largest set.
class QuestionFileReader {
public:
    // True when the whole file was read. A file that cannot be read, holds more than
    // kMaxItems items, an item longer than kMaxItemBytes or no whole question leaves
    // QArray, g_NumQuestions and QuestionCount as they were. Any later failure (a block
    // cut short, an item left over, a count or reliance number that is not a 16-bit whole
    // number, too few separators) leaves the n questions the array was sized for, those
    // read so far filled, and the count of complete blocks.
    bool Read(const std::string& QFile, QuestionArray& QArray);
    // The same from the regular file open at fd, read from its start; the caller keeps fd.
    bool Read(int fd, QuestionArray& QArray);
    // The number of complete blocks the last Read filled.
    std::int16_t QuestionCount() const { return m_QuestionsRead; }
    // Whether the last Read failed only because empty items followed the last block: every
    // question was read and nothing in the file was left unread.
    bool OnlyBlankLeftOver() const { return m_OnlyBlankLeftOver; }
    // Whether the last Read stopped because the file holds more than kMaxItems items,
    // more than the longest question set (kMaxQuestions questions) has.
    bool OverItemLimit() const { return m_OverItemLimit; }
    // The number of items the last Read filled questions from without the text that followed
    // their closing quote (the reader leaves it out): saving the set would lose it.
    long TextPassedOver() const { return m_TextPassedOver; }
    // The bytes the last Read took from the file, over both passes.
    std::uint64_t BytesRead() const { return m_BytesRead; }

    // The limits of a question set, shared by every program: a file of more items than
    // kMaxItems is refused, so a set holds at most kMaxQuestions whole questions.
    static constexpr long kMaxItems = 32767;
    static constexpr long kItemsPerQuestion = 18;
    static constexpr std::int16_t kMaxQuestions = kMaxItems / kItemsPerQuestion; // 1820
    // No item the programs write or show is longer: a text box holds at most 32767
    // characters, one byte each in the file. Counted from the item's start to its comma or
    // line end, so a file that is one endless line is refused after this many bytes.
    static constexpr std::size_t kMaxItemBytes = 32767;

private:
    std::int16_t m_QuestionsRead = 0;
    bool m_OnlyBlankLeftOver = false;
    bool m_OverItemLimit = false;
    long m_TextPassedOver = 0;
    std::uint64_t m_BytesRead = 0;
};

} // namespace kb
