#include "editor/CDataFileModifier.h"

#include "kb/AtomicFileWriter.h"
#include "kb/DataFileItem.h"
#include "kb/DataFileReader.h"
#include "kb/FileIO.h"
#include "kb/ItemStream.h"
#include "kb/QuestionFileReader.h"

#include <algorithm>
#include <new>
#include <cerrno>
#include <charconv>
#include <climits>
#include <exception>
#include <iterator>
#include <string_view>
#include <sys/stat.h>

namespace editor {

namespace {

// The file as it was looked over: a large one is known by where it lies, its size and its
// time to the nanosecond, a small one by its bytes too, so its highest question need not
// be found again while it stays so.
kb::FileStamp LookOverStamp(const std::string& path) {
    constexpr std::int64_t kDigestLimit = std::int64_t{16} << 20;
    return kb::FileStamp::Of(path, kDigestLimit);
}

constexpr std::string_view kQuestionKey = "Question ";
constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kLf = "\n";
constexpr std::string_view kCr = "\r";
constexpr std::size_t kOutPiece = std::size_t{4} << 20;
// Lines of a record after its last question line wait here, so an inserted question's
// line can still go before them; a record with more than this lets them out earlier.
constexpr std::size_t kMaxTail = std::size_t{1} << 20;
constexpr int kAttempts = 3;
// Pieces read at a time, and the longest line held whole (far beyond any line the
// acquisition program writes); a longer line is passed through as it is read.
constexpr std::size_t kPiece = std::size_t{1} << 20;
constexpr std::size_t kMaxLineHeld = std::size_t{1} << 20;

// A question set, and so a data file, holds at most kMaxQuestions questions. Question
// lines numbered outside 1 to that never move.
bool InRange(int number) {
    return number >= 1 && number <= kb::QuestionFileReader::kMaxQuestions;
}

// Whether a file is still the one that was read: replaced, written or touched meanwhile
// shows in one of these.
bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

} // namespace

const std::string CDataFileModifier::kNeutralResponse = [] {
    std::string s;
    for (int i = 0; i < 9; ++i) {
        s += "0\xB8";
    }
    return s;
}();

// One pass over the file's lines. Each item is classified by the data file reader's own
// rule (kb::ClassifyDataFileItem) and the lines are grouped into records the way the reader
// groups its items, so both agree on which lines belong to which record; an item too long
// for the reader, which it passes over, ends the record here as there. Without a plan it
// only looks (Init); with one it writes the file anew through a writer (Save). A line is
// held until it ends, unless it grows beyond kMaxLineHeld: then it goes out as it comes,
// so a file of any shape costs no more memory than that.
class CDataFileModifier::Pass {
public:
    // finals[n]: the new number of question n (0: deleted), for n from 1 to kMaxQuestions;
    // neutrals: the numbers, ascending, of the inserted questions every record gets.
    Pass(const std::vector<int>* finals, const std::vector<int>* neutrals,
         kb::AtomicFileWriter* writer)
        : m_Finals(finals), m_Neutrals(neutrals), m_Writer(writer) {}

    // Reads the file at path through the pass; hook runs after each piece read. False
    // when it cannot be read.
    bool Read(const std::string& path, const std::function<void()>& hook) {
        kb::ItemStream stream(kb::DataFileReader::kMaxItemBytes, kPiece,
                              kb::ItemStream::Overlong::Skip);
        if (!stream.Open(path)) {
            return false;
        }
        // A look over the file needs no bytes but the items' (so the holes of a sparse file
        // are not even read); a pass that writes needs every one.
        if (m_Finals != nullptr) {
            stream.SetTap([this](std::string_view raw) { Raw(raw); });
        }
        std::uint64_t seen = 0;
        std::string_view item;
        while (!m_Stopped) {
            const auto status = stream.Next(item);
            if (hook && stream.BytesRead() != seen) {
                seen = stream.BytesRead();
                hook();
            }
            if (status == kb::ItemStream::Status::End) {
                break;
            }
            if (status != kb::ItemStream::Status::Item &&
                status != kb::ItemStream::Status::Skipped) {
                return false;
            }
            Item(status == kb::ItemStream::Status::Item ? &item : nullptr, stream.LineGoesOn());
        }
        return true;
    }

    // False when the pass stopped or a write failed.
    bool Finish() {
        if (!m_Stopped) {
            EndBlock();
            Flush(true);
        }
        return !m_Stopped && m_WriteOk;
    }

    int HighestQuestion() const { return m_Highest; }
    long FirstUnshiftableLine() const { return m_FirstUnshiftable; }
    bool Unshiftable() const { return m_Stopped && m_WriteOk; }

private:
    enum class Block { BeforeFirstHeader, Record, Dropped };

    // The first question item of a record in the line: where its number stands in the line.
    struct QuestionItem {
        std::size_t NumberAt = 0;
        std::size_t EqualsAt = 0;
        int Number = 0;
    };

    static bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

    // The line end that raw ends with ("" for none).
    static std::string_view EndOf(std::string_view raw) {
        if (raw.ends_with(kCrLf)) {
            return kCrLf;
        }
        if (!raw.empty() && IsLineEnd(raw.back())) {
            return raw.back() == '\n' ? kLf : kCr;
        }
        return {};
    }

    // The number a question line ends up with; 0 for a line whose question was deleted
    // (and for a line numbered 0, which never moves).
    int Final(int number) const {
        return InRange(number) ? (*m_Finals)[static_cast<std::size_t>(number)] : number;
    }

    // Bytes of the current line, in order: an item's, its comma or line end included.
    void Raw(std::string_view raw) {
        if (m_Stopped) {
            return;
        }
        if (m_Streaming) {
            PutStreamed(raw);
            return;
        }
        m_RawAt = m_Line.size();
        m_RawData = raw.data();
        m_Line.append(raw);
        if (m_Line.size() > kMaxLineHeld) {
            StartStreaming();
        }
    }

    // One item of the current line (null: one too long to read, passed over).
    void Item(const std::string_view* item, bool lineGoesOn) {
        ++m_Items;
        const kb::DataFileItem it =
            item != nullptr ? kb::ClassifyDataFileItem(*item) : kb::DataFileItem{};
        if (item == nullptr) {
            // It may have been a header: for the reader its record ends here.
            m_Header = true;
            m_LineBlock = Block::Dropped;
        } else {
            switch (it.Type) {
            case kb::DataFileItem::Kind::Header:
                m_Header = true;
                m_LineBlock = Block::Record;
                break;
            case kb::DataFileItem::Kind::BrokenHeader:
            case kb::DataFileItem::Kind::HalfHeader:
                // Its lines belong to no record, for the reader as here.
                m_Header = true;
                m_LineBlock = Block::Dropped;
                break;
            case kb::DataFileItem::Kind::Question:
                if (m_LineBlock == Block::Record && it.HasNumber) {
                    NoteQuestion(*item, it);
                }
                break;
            case kb::DataFileItem::Kind::Description:
            case kb::DataFileItem::Kind::Other:
                break;
            }
        }
        if (m_Streaming && m_Finals != nullptr && m_QuestionMoves) {
            Refuse(); // a long line holds several items: none of them can move
        }
        if (!lineGoesOn && !m_Stopped) {
            EndLine();
        }
    }

    void NoteQuestion(std::string_view item, const kb::DataFileItem& it) {
        if (m_QuestionCount++ == 0 && !m_Streaming && m_Finals != nullptr) {
            const std::size_t offset = m_RawAt + static_cast<std::size_t>(item.data() - m_RawData);
            m_First = {offset + it.NumberAt, offset + it.EqualsAt, it.Number};
        }
        m_Lowest = std::min<int>(m_Lowest, it.Number);
        if (InRange(it.Number)) {
            m_InRange = true;
            m_LineHighest = std::max<int>(m_LineHighest, it.Number);
        }
        if (m_Finals != nullptr && Final(it.Number) != it.Number) {
            m_QuestionMoves = true;
        }
    }

    // A line of several items cannot be cut apart or renumbered safely: refuse rather than
    // leave one of its questions under the wrong number.
    void Refuse() {
        m_FirstUnshiftable = m_LineNo + 1;
        m_Stopped = true;
    }

    // The line is too long to hold: what came so far goes out now, and the rest as it
    // comes. Nothing in it can move (it holds several items, or one the reader passes
    // over), so the record's inserted questions go before it, as before a header.
    void StartStreaming() {
        m_Streaming = true;
        if (m_Finals != nullptr) {
            if (m_Items > 0 && m_QuestionMoves) {
                Refuse();
                return;
            }
            EndBlock();
            PutStreamed(m_Line);
        }
        m_Line.clear();
    }

    void PutStreamed(std::string_view raw) {
        m_StreamEnd = EndOf(raw);
        if (m_Finals == nullptr) {
            return;
        }
        m_Out.append(raw);
        m_OutOpen = m_StreamEnd.empty();
        Flush(false);
    }

    // The current line is complete.
    void EndLine() {
        if (m_Streaming) {
            Summarise();
            if (m_Finals != nullptr) {
                NoteEnd(m_StreamEnd);
            }
            if (m_Header) {
                m_NextNeutral = 0; // a record begun in the line gets all its inserted lines
            }
        } else {
            const std::string_view line = m_Line;
            const std::string_view end = EndOf(line);
            Emit(line.substr(0, line.size() - end.size()), end);
        }
        ++m_LineNo;
        m_Block = m_LineBlock;
        m_Items = 0;
        m_Header = false;
        m_Streaming = false;
        m_QuestionCount = 0;
        m_Lowest = INT_MAX;
        m_InRange = false;
        m_LineHighest = 0;
        m_QuestionMoves = false;
        m_Line.clear();
    }

    // What a look over the file learns from the line.
    void Summarise() {
        if (m_Finals == nullptr && m_InRange) {
            m_Highest = std::max(m_Highest, m_LineHighest);
            if (m_Items > 1 && m_FirstUnshiftable == 0) {
                m_FirstUnshiftable = m_LineNo + 1;
            }
        }
    }

    void Emit(std::string_view text, std::string_view end) {
        const bool several = m_Items > 1;
        if (m_Finals == nullptr) {
            Summarise();
            return;
        }
        if (several && m_QuestionMoves) {
            Refuse();
            return;
        }

        if (m_Header) {
            EndBlock();
            NoteEnd(end);
            m_Block = m_LineBlock;
            Put(text, end);
            m_NextNeutral = 0;
            return;
        }
        NoteEnd(end);
        if (m_Block != Block::Record) {
            Put(text, end);
            return;
        }
        if (!several && m_QuestionCount == 1) {
            const QuestionItem& q = m_First;
            const int number = Final(q.Number);
            if (number == 0 && q.Number != 0) {
                return; // its question was deleted
            }
            PutNeutralsBelow(number);
            PutTail();
            if (number == q.Number) {
                Put(text, end);
            } else {
                m_Out.append(text.substr(0, q.NumberAt));
                AppendNumber(number);
                m_Out.append(text.substr(q.EqualsAt));
                Put({}, end);
            }
            return;
        }
        if (m_QuestionCount > 0) {
            // Its questions do not move, but it stays among the record's question lines.
            PutNeutralsBelow(m_Lowest);
            PutTail();
            Put(text, end);
            return;
        }
        // Anything else in a record (its description, the empty line, lines the reader
        // passes over) stays after the record's question lines.
        m_Tail.append(text).append(end);
        m_TailOpen = end.empty();
        if (m_Tail.size() > kMaxTail) {
            PutNeutralsBelow(INT_MAX);
            PutTail();
        }
    }

    // Inserted lines end as the record's lines around them do: the line end of the latest
    // line read that had one (CR LF before any).
    void NoteEnd(std::string_view end) {
        if (!end.empty()) {
            m_End = end.size() == 2 ? kCrLf : end[0] == '\n' ? kLf : kCr;
        }
    }

    // The record's block ends: the inserted questions it has not had yet go after its
    // question lines.
    void EndBlock() {
        if (m_Block == Block::Record) {
            PutNeutralsBelow(INT_MAX);
            PutTail();
        }
    }

    void PutNeutralsBelow(int number) {
        if (m_Neutrals == nullptr || m_Block != Block::Record) {
            return;
        }
        while (m_NextNeutral < m_Neutrals->size() && (*m_Neutrals)[m_NextNeutral] < number) {
            if (m_OutOpen) {
                m_Out += m_End; // the file's last line had no line end
            }
            m_Out += kQuestionKey;
            AppendNumber((*m_Neutrals)[m_NextNeutral]);
            m_Out += '=';
            m_Out += kNeutralResponse;
            Put({}, m_End);
            ++m_NextNeutral;
        }
    }

    void AppendNumber(int number) {
        char digits[16];
        const auto done = std::to_chars(std::begin(digits), std::end(digits), number);
        m_Out.append(digits, done.ptr);
    }

    void PutTail() {
        if (m_Tail.empty()) {
            return;
        }
        m_Out += m_Tail;
        m_OutOpen = m_TailOpen;
        m_Tail.clear();
        Flush(false);
    }

    void Put(std::string_view text, std::string_view end) {
        m_Out.append(text).append(end);
        m_OutOpen = end.empty();
        Flush(false);
    }

    void Flush(bool all) {
        if (m_Writer == nullptr || (!all && m_Out.size() < kOutPiece)) {
            return;
        }
        if (!m_Writer->Write(m_Out)) {
            m_WriteOk = false;
            m_Stopped = true;
        }
        m_Out.clear();
    }

    const std::vector<int>* m_Finals;
    const std::vector<int>* m_Neutrals;
    kb::AtomicFileWriter* m_Writer;

    Block m_Block = Block::BeforeFirstHeader;
    // The line being read: its bytes while held, its items so far, whether one is a header
    // (whole, broken or half, or an item passed over), the block as it stands after them,
    // and its question items of a record: how many, the first, the lowest number, the
    // highest in range, whether one moves.
    std::string m_Line;
    std::size_t m_RawAt = 0;         // where the latest bytes handed over start in m_Line
    const char* m_RawData = nullptr; // and where they were handed over
    bool m_Streaming = false;        // the line goes out as it comes
    std::string_view m_StreamEnd;    // the line end of the bytes that went out last
    int m_Items = 0;
    bool m_Header = false;
    Block m_LineBlock = Block::BeforeFirstHeader;
    int m_QuestionCount = 0;
    QuestionItem m_First;
    int m_Lowest = INT_MAX;
    bool m_InRange = false;
    int m_LineHighest = 0;
    bool m_QuestionMoves = false;
    std::size_t m_NextNeutral = 0; // the current record's next inserted question
    std::string_view m_End = kCrLf;
    std::string m_Tail;
    bool m_TailOpen = false;
    std::string m_Out;
    bool m_OutOpen = false; // the last line put out has no line end
    long m_LineNo = 0;
    int m_Highest = 0;
    long m_FirstUnshiftable = 0;
    bool m_Stopped = false;
    bool m_WriteOk = true;
};

bool CDataFileModifier::Init(const std::string& path) {
    m_FirstUnshiftableLine = 0;
    try {
        const kb::FileStamp stamp = LookOverStamp(path);
        Pass pass(nullptr, nullptr, nullptr);
        if (!pass.Read(path, {})) {
            return false;
        }
        pass.Finish();
        m_FirstUnshiftableLine = pass.FirstUnshiftableLine();
        Remember(path, stamp, pass.HighestQuestion());
        return true;
    } catch (const std::bad_alloc&) {
        return false; // out of memory; a fault of logic is not taken for an unreadable file
    }
}

void CDataFileModifier::Remember(const std::string& path, const kb::FileStamp& before,
                                 int highest) {
    // Only a file that held still while it was read is known.
    if (before.exists && LookOverStamp(path) == before) {
        m_LookedOver = before;
        m_LookedOverHighest = highest;
    } else {
        m_LookedOver = {};
    }
}

void CDataFileModifier::Note(bool insert, std::int16_t QNo) {
    if (QNo >= 1 && QNo <= kb::QuestionFileReader::kMaxQuestions) {
        m_Edits.push_back({insert, QNo});
    }
}

void CDataFileModifier::InsertQuestion(std::int16_t QNo) {
    Note(true, QNo);
}

void CDataFileModifier::DeleteQuestion(std::int16_t QNo) {
    Note(false, QNo);
}

bool CDataFileModifier::Save(const std::string& path) {
    auto writer = Prepare(path);
    if (writer == nullptr) {
        if (m_Problem != Problem::None) {
            return false;
        }
        Done();
        return true;
    }
    if (!writer->Commit()) {
        m_Problem = Problem::Unwritable;
        m_Error = writer->Error();
        return false;
    }
    Done();
    return true;
}

std::unique_ptr<kb::AtomicFileWriter> CDataFileModifier::Prepare(const std::string& path) {
    m_Problem = Problem::None;
    m_Error = 0;
    if (m_Edits.empty()) {
        return nullptr;
    }
    try {
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            bool retry = false;
            auto writer = PrepareOnce(path, retry);
            if (writer != nullptr || !retry) {
                return writer;
            }
        }
        m_Problem = Problem::Changing;
    } catch (const std::bad_alloc&) {
        m_Problem = Problem::Unwritable; // out of memory: nothing was written
        m_Error = ENOMEM;
    }
    return nullptr;
}

std::unique_ptr<kb::AtomicFileWriter> CDataFileModifier::PrepareOnce(const std::string& path,
                                                                     bool& retry) {
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0 || !S_ISREG(before.st_mode)) {
        m_Problem = Problem::Unreadable;
        m_Error = errno;
        return nullptr;
    }
    const auto read = [&](Pass& pass) { return pass.Read(path, m_PieceHook); };
    // First the highest question the file holds as it is now: every question line from an
    // edited number up to it moves, so no record ends up with two lines of one number. A
    // file unchanged since it was last looked over need not be read for it again.
    const kb::FileStamp stamp = LookOverStamp(path);
    int fileHighest = m_LookedOverHighest;
    if (!stamp.exists || stamp != m_LookedOver) {
        Pass look(nullptr, nullptr, nullptr);
        if (!read(look)) {
            m_Problem = Problem::Unreadable;
            m_Error = errno;
            return nullptr;
        }
        look.Finish();
        fileHighest = look.HighestQuestion();
        Remember(path, stamp, fileHighest);
    }

    // Where each question line ends up, and the inserted questions still there after every
    // later edit. An edit beyond the file's questions changes nothing in it.
    std::vector<int> finals(static_cast<std::size_t>(kb::QuestionFileReader::kMaxQuestions) + 1);
    for (std::size_t n = 0; n < finals.size(); ++n) {
        finals[n] = static_cast<int>(n);
    }
    std::vector<int> neutrals;
    int highest = fileHighest;
    for (const Edit& edit : m_Edits) {
        if (edit.QNo > highest) {
            continue;
        }
        const auto apply = [&edit](int& number) {
            if (number == 0) {
                return;
            }
            if (edit.Insert) {
                number += number >= edit.QNo ? 1 : 0;
            } else if (number == edit.QNo) {
                number = 0;
            } else {
                number -= number > edit.QNo ? 1 : 0;
            }
        };
        std::for_each(finals.begin() + 1, finals.end(), apply);
        std::for_each(neutrals.begin(), neutrals.end(), apply);
        if (edit.Insert) {
            neutrals.push_back(edit.QNo);
        }
        highest += edit.Insert ? 1 : -1;
    }
    std::erase(neutrals, 0);
    std::sort(neutrals.begin(), neutrals.end());
    bool moves = !neutrals.empty();
    for (int n = 1; n <= fileHighest && !moves; ++n) {
        moves = finals[static_cast<std::size_t>(n)] != n;
    }
    if (!moves) {
        return nullptr; // every change lay beyond the file's questions: nothing to write
    }

    auto writer = std::make_unique<kb::AtomicFileWriter>(path);
    Pass pass(&finals, &neutrals, writer.get());
    if (!read(pass)) {
        m_Problem = Problem::Unreadable;
        m_Error = errno;
        return nullptr;
    }
    const bool written = pass.Finish();
    struct stat after {};
    if (::stat(path.c_str(), &after) != 0 || !SameFile(before, after)) {
        // Another program saved it while it was read: read it again.
        retry = true;
        return nullptr;
    }
    if (!written) {
        if (pass.Unshiftable()) {
            m_Problem = Problem::Unshiftable;
            m_FirstUnshiftableLine = pass.FirstUnshiftableLine();
        } else {
            m_Problem = Problem::Unwritable;
            m_Error = writer->Error();
        }
        return nullptr;
    }
    return writer;
}

} // namespace editor
