#include "kb/QuestionFileReader.h"

#include "kb/CRecord.h"
#include "kb/Cp1252.h"
#include "kb/FileIO.h"
#include "kb/ItemReader.h"
#include "kb/WholeNumber.h"

#include <exception>
#include <string_view>

namespace kb {

namespace {

constexpr long kItemsPerQuestion = 18;

bool ContainsUpper(std::string_view item, std::string_view upperWord) {
    if (item.size() < upperWord.size()) {
        return false;
    }
    for (std::size_t i = 0; i + upperWord.size() <= item.size(); ++i) {
        std::size_t k = 0;
        while (k < upperWord.size()) {
            char c = item[i + k];
            if (c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 'a' + 'A');
            }
            if (c != upperWord[k]) {
                break;
            }
            ++k;
        }
        if (k == upperWord.size()) {
            return true;
        }
    }
    return false;
}

std::size_t FindUpper(std::string_view item, std::string_view upperWord) {
    for (std::size_t i = 0; i + upperWord.size() <= item.size(); ++i) {
        if (ContainsUpper(item.substr(i, upperWord.size()), upperWord)) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::int16_t TypeFromItem(std::string_view item) {
    return ContainsUpper(item, "SINGLE") ? 0 : 1;
}

// Takes the text before the first separator off the front of line.
bool TakePiece(std::string_view& line, std::string_view& piece) {
    const auto sep = line.find(kSeparatorByte);
    if (sep == std::string_view::npos) {
        return false;
    }
    piece = line.substr(0, sep);
    line.remove_prefix(sep + 1);
    return true;
}

// Lines 15 and 16 of a block: the reliance type and its nine (question, option) pairs.
bool ReadReliance(std::string_view questions, std::string_view options, CDependency& dep) {
    auto cut = FindUpper(questions, "OR");
    if (cut != std::string_view::npos) {
        dep.SetType(1);
    } else {
        dep.SetType(0);
        cut = FindUpper(questions, "AND");
    }
    if (cut != std::string_view::npos) {
        questions = questions.substr(0, cut);
    }
    for (int slot = 0; slot < CDependency::kSlots; ++slot) {
        std::string_view qText;
        std::string_view optText;
        if (!TakePiece(questions, qText) || !TakePiece(options, optText)) {
            return false;
        }
        std::int16_t q = 0;
        std::int16_t opt = 0;
        if (!ToWholeNumber(qText, q) || !ToWholeNumber(optText, opt)) {
            return false;
        }
        dep.AddDependency(q, opt); // empty slots and repeated pairs are not added
    }
    return true;
}

double ImportanceFromItem(std::string_view item) {
    if (item.find('2') != std::string_view::npos) {
        return 2.0;
    }
    if (item.find("1.5") != std::string_view::npos) {
        return 1.5;
    }
    return 1.0;
}

} // namespace

bool QuestionFileReader::Read(const std::string& QFile, QuestionArray& QArray) {
    m_OnlyBlankLeftOver = false;
    try {
        std::string bytes;
        if (!ReadWholeFile(QFile, bytes)) {
            return false;
        }

        long items = 0;
        {
            ItemReader counter(bytes);
            std::string_view item;
            while (counter.Next(item)) {
                if (++items > kMaxItems) {
                    return false;
                }
            }
        }
        // The count of questions is rounded to the nearest whole number, a half to even.
        long n = items / kItemsPerQuestion;
        const long rest = items % kItemsPerQuestion;
        if (rest * 2 > kItemsPerQuestion || (rest * 2 == kItemsPerQuestion && n % 2 == 1)) {
            ++n;
        }
        if (n == 0) {
            return false; // no whole question: the caller keeps what it had
        }

        QuestionArray questions;
        questions.reserve(static_cast<std::size_t>(n));
        for (long i = 0; i < n; ++i) {
            questions.push_back(std::make_shared<CQuestion>());
        }
        QArray = std::move(questions);
        g_NumQuestions = static_cast<std::int16_t>(n);
        m_QuestionsRead = 0;

        ItemReader reader(bytes);
        std::string_view item;
        while (reader.Next(item)) {
            if (m_QuestionsRead == n) {
                // Items left over after n blocks fail the read; empty ones (blank lines
                // at the end of a hand-made file) hold nothing, which callers may want
                // to know.
                m_OnlyBlankLeftOver = item.empty();
                while (m_OnlyBlankLeftOver && reader.Next(item)) {
                    m_OnlyBlankLeftOver = item.empty();
                }
                return false;
            }
            CQuestion& q = *QArray[static_cast<std::size_t>(m_QuestionsRead)];
            // The first item of the block is in hand; each later one must be there too.
            const auto next = [&reader, &item] { return reader.Next(item); };

            q.SetKEQ(Cp1252ToUtf8(item));
            if (!next()) {
                return false;
            }
            q.SetKEType(TypeFromItem(item));
            if (!next()) {
                return false;
            }
            q.SetUserQ(Cp1252ToUtf8(item));
            if (!next()) {
                return false;
            }
            q.SetUserType(TypeFromItem(item));
            for (int opt = 0; opt < CQuestion::kMaxOptions; ++opt) {
                if (!next()) {
                    return false;
                }
                q.AddOption(Cp1252ToUtf8(item));
            }
            if (!next()) {
                return false;
            }
            std::int16_t lastOption = 0;
            if (!ToWholeNumber(item, lastOption)) {
                return false;
            }
            // Widened so that 32767 + 1 is simply refused by SetNumOptions' range.
            const int count = lastOption + 1;
            if (count >= 2 && count <= CQuestion::kMaxOptions) {
                q.SetNumOptions(static_cast<std::int16_t>(count));
            }
            if (!next()) {
                return false;
            }
            const std::string_view relianceQuestions = item;
            if (!next()) {
                return false;
            }
            if (!ReadReliance(relianceQuestions, item, q.m_Dependencies)) {
                return false;
            }
            if (!next()) {
                return false;
            }
            q.SetHelp(Cp1252ToUtf8(item));
            if (!next()) {
                return false;
            }
            q.SetImportance(ImportanceFromItem(item));
            ++m_QuestionsRead;
        }
        return m_QuestionsRead == n;
    } catch (const std::exception&) {
        // Only running out of memory can get here; the reader never throws to its caller.
        return false;
    }
}

} // namespace kb
