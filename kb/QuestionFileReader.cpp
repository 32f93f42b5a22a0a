#include "kb/QuestionFileReader.h"

#include "kb/CRecord.h"
#include "kb/Cp1252.h"
#include "kb/FileIO.h"
#include "kb/ItemStream.h"
#include "kb/WholeNumber.h"

#include <new>
#include <string>
#include <string_view>
#include <unistd.h>

namespace kb {

namespace {

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

// The number of questions a file of `items` items holds, the last of them holding text
// being item lastFilled. The count is rounded to the nearest whole number, a half to even;
// but empty items after the last text (blank lines at the end of a hand-made file) count
// only as far as they complete its block, so that no number of them starts a question.
long QuestionsFor(long items, long lastFilled) {
    constexpr long kBlock = QuestionFileReader::kItemsPerQuestion;
    const long completing = (kBlock - lastFilled % kBlock) % kBlock;
    if (items - lastFilled >= completing) {
        return (lastFilled + completing) / kBlock;
    }
    long n = items / kBlock;
    const long rest = items % kBlock;
    if (rest * 2 > kBlock || (rest * 2 == kBlock && n % 2 == 1)) {
        ++n;
    }
    return n;
}

} // namespace

bool QuestionFileReader::Read(const std::string& QFile, QuestionArray& QArray) {
    std::int64_t size = 0;
    const FileDescriptor fd = OpenRegularFile(QFile, size);
    if (!fd.IsOpen()) {
        m_OnlyBlankLeftOver = false;
        m_OverItemLimit = false;
        m_TextPassedOver = 0;
        m_BytesRead = 0;
        return false;
    }
    return Read(fd.Get(), QArray);
}

bool QuestionFileReader::Read(int fd, QuestionArray& QArray) {
    m_OnlyBlankLeftOver = false;
    m_OverItemLimit = false;
    m_TextPassedOver = 0;
    m_BytesRead = 0;
    try {
        ItemStream stream(kMaxItemBytes);
        struct Tally {
            const ItemStream& stream;
            std::uint64_t& bytesRead;
            ~Tally() { bytesRead = stream.BytesRead(); }
        } tally{stream, m_BytesRead};
        if (!stream.Attach(fd)) {
            return false;
        }
        std::string_view item;

        long items = 0;
        long lastFilled = 0; // the number of the last item that holds text
        for (;;) {
            const auto status = stream.Next(item);
            if (status == ItemStream::Status::End) {
                break;
            }
            if (status != ItemStream::Status::Item) {
                return false;
            }
            if (++items > kMaxItems) {
                m_OverItemLimit = true;
                return false;
            }
            if (!item.empty()) {
                lastFilled = items;
            }
        }
        const long n = QuestionsFor(items, lastFilled);
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

        if (!stream.Rewind()) {
            return false;
        }
        // False at the end of the file, or on a fault (the file changed since it was
        // counted): status tells which.
        auto status = ItemStream::Status::Item;
        const auto next = [this, &stream, &item, &status] {
            status = stream.Next(item);
            m_TextPassedOver += status == ItemStream::Status::Item && stream.DroppedText() ? 1 : 0;
            return status == ItemStream::Status::Item;
        };
        while (next()) {
            if (m_QuestionsRead == n) {
                // Items left over after n blocks fail the read; empty ones (blank lines
                // at the end of a hand-made file) hold nothing, which callers may want
                // to know.
                m_OnlyBlankLeftOver = item.empty();
                while (m_OnlyBlankLeftOver && next()) {
                    m_OnlyBlankLeftOver = item.empty();
                }
                m_OnlyBlankLeftOver = m_OnlyBlankLeftOver && status == ItemStream::Status::End;
                return false;
            }
            CQuestion& q = *QArray[static_cast<std::size_t>(m_QuestionsRead)];
            // The first item of the block is in hand; each later one must be there too.
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
            // Copied: reading the next item may move the bytes this one was seen in.
            const std::string relianceQuestions(item);
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
        return m_QuestionsRead == n && status == ItemStream::Status::End;
    } catch (const std::bad_alloc&) {
        // Out of memory: the set is not read. A fault of logic is not caught, so it is never
        // taken for a set that is not one.
        return false;
    }
}

} // namespace kb
