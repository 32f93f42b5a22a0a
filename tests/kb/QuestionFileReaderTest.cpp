#include "kb/QuestionFileReader.h"

#include "TestFiles.h"
#include "kb/CRecord.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <unistd.h>

#include <string>
#include <vector>

using kb::QuestionArray;
using kb::QuestionFileReader;
using kbtest::Fixture;

namespace {

class QuestionFileReaderTest : public ::testing::Test {
protected:
    void SetUp() override { kb::g_NumQuestions = 0; }
    void TearDown() override { kb::g_NumQuestions = 0; }

    // Reads a question set written into a scratch file.
    bool ReadBytes(const std::string& bytes, QuestionArray& questions) {
        const auto path = m_Dir.File("set.qst");
        kbtest::Spit(path, bytes);
        return m_Reader.Read(path, questions);
    }

    kbtest::ScratchDir m_Dir;
    QuestionFileReader m_Reader;
};

void ExpectExampleQuestion(const kb::CQuestion& q) {
    EXPECT_EQ(q.GetKEQ(), "Which colour is the animal?");
    EXPECT_EQ(q.GetUserQ(), "What colour is it?");
    EXPECT_EQ(q.GetKEType(), 0);
    EXPECT_EQ(q.GetUserType(), 0);
    ASSERT_EQ(q.GetNumOptions(), 3);
    EXPECT_EQ(q.GetOption(0), "Black");
    EXPECT_EQ(q.GetOption(1), "White");
    EXPECT_EQ(q.GetOption(2), "Ginger");
    EXPECT_EQ(q.m_Dependencies.GetType(), 1);
    ASSERT_EQ(q.m_Dependencies.GetNumDependencies(), 2);
    std::int16_t dq = 0;
    std::int16_t opt = 0;
    q.m_Dependencies.GetDependency(0, dq, opt);
    EXPECT_EQ(dq, 1);
    EXPECT_EQ(opt, 3);
    q.m_Dependencies.GetDependency(1, dq, opt);
    EXPECT_EQ(dq, 2);
    EXPECT_EQ(opt, 1);
    EXPECT_EQ(q.GetQHelp(), "nohelp.htm");
    EXPECT_EQ(q.GetImportance(), 1.5);
}

TEST_F(QuestionFileReaderTest, ReadsTheExampleBlockWithEveryLineEnd) {
    for (const char* name : {"example.qst", "example_lf.qst", "example_cr.qst"}) {
        SCOPED_TRACE(name);
        kb::g_NumQuestions = 0;
        QuestionArray questions;
        ASSERT_TRUE(m_Reader.Read(Fixture(name), questions));
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_EQ(m_Reader.QuestionCount(), 1);
        EXPECT_EQ(kb::g_NumQuestions, 1);
        ExpectExampleQuestion(*questions[0]);
    }
}

TEST_F(QuestionFileReaderTest, TrailingEmptyLineIsAnItemLeftOver) {
    QuestionArray questions;
    EXPECT_FALSE(m_Reader.Read(Fixture("example_extra_line.qst"), questions));
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(m_Reader.QuestionCount(), 1);
    EXPECT_EQ(kb::g_NumQuestions, 1);
    ExpectExampleQuestion(*questions[0]);
    EXPECT_TRUE(m_Reader.OnlyBlankLeftOver());

    // A later read that fails otherwise, or succeeds, does not keep the flag.
    EXPECT_TRUE(m_Reader.Read(Fixture("example.qst"), questions));
    EXPECT_FALSE(m_Reader.OnlyBlankLeftOver());
    EXPECT_FALSE(m_Reader.Read(Fixture("example_extra_line.qst") + ".missing", questions));
    EXPECT_FALSE(m_Reader.OnlyBlankLeftOver());
}

// Text after the last whole block is something a save would lose: not only blank.
TEST_F(QuestionFileReaderTest, LeftOverTextIsNotBlank) {
    const std::string bytes = kbtest::Slurp(Fixture("example.qst"));
    for (const char* tail : {"\r\n\r\nstray\r\n", "stray\r\n", "\r\n\r\n\r\nx"}) {
        SCOPED_TRACE(tail);
        QuestionArray questions;
        EXPECT_FALSE(ReadBytes(bytes + tail, questions));
        EXPECT_EQ(m_Reader.QuestionCount(), 1);
        EXPECT_FALSE(m_Reader.OnlyBlankLeftOver());
    }
}

TEST_F(QuestionFileReaderTest, HighBytesAndSeparatorDecodeToUtf8) {
    QuestionArray questions;
    ASSERT_TRUE(m_Reader.Read(Fixture("two_questions.qst"), questions));
    ASSERT_EQ(questions.size(), 2u);
    const auto& q = *questions[1];
    EXPECT_EQ(q.GetKEQ(), "Café or thé € 5¸50?");
    EXPECT_EQ(q.GetUserQ(), "Which drink…");
    EXPECT_EQ(q.GetKEType(), 1);
    EXPECT_EQ(q.GetUserType(), 1);
    ASSERT_EQ(q.GetNumOptions(), 3);
    EXPECT_EQ(q.GetOption(1), "Thé¸vert");
    EXPECT_EQ(q.GetOption(2), "\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(q.GetQHelp(), "http://example.org/café.htm");
    EXPECT_EQ(q.GetImportance(), 2.0);
    EXPECT_EQ(q.m_Dependencies.GetType(), 0);
    EXPECT_TRUE(q.m_Dependencies.IsDependentQ(1));
}

} // namespace

namespace {

// The lines of the example block, to be varied one at a time.
std::vector<std::string> ExampleLines() {
    const std::string bytes = kbtest::Slurp(Fixture("example.qst"));
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < bytes.size();) {
        const auto end = bytes.find("\r\n", at);
        lines.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += line + "\r\n";
    }
    return bytes;
}

std::string WithLine(std::size_t lineNo, const std::string& text) {
    auto lines = ExampleLines();
    lines[lineNo - 1] = text;
    return Join(lines);
}

TEST_F(QuestionFileReaderTest, AnswerTypeIsSingleOnlyWhenTheItemSaysSo) {
    const std::pair<const char*, int> cases[] = {
        {"Single", 0},     {"single", 0},   {"Single choice", 0},
        {"is SINGLE?", 0}, {"Multiple", 1}, {"multiple", 1},
        {"MULTIPLE", 1},   {"", 1},         {"Sing le", 1}};
    for (const auto& [text, type] : cases) {
        QuestionArray questions;
        auto lines = ExampleLines();
        lines[1] = text;
        lines[3] = text;
        ASSERT_TRUE(ReadBytes(Join(lines), questions)) << text;
        EXPECT_EQ(questions[0]->GetKEType(), type) << text;
        EXPECT_EQ(questions[0]->GetUserType(), type) << text;
    }
}

TEST_F(QuestionFileReaderTest, ImportanceFromItsText) {
    const std::pair<const char*, double> cases[] = {{" 2", 2.0}, {" 1.5", 1.5},  {" 1", 1.0},
                                                    {"", 1.0},   {" 1.25", 2.0}, {"x", 1.0}};
    for (const auto& [text, importance] : cases) {
        QuestionArray questions;
        ASSERT_TRUE(ReadBytes(WithLine(18, text), questions)) << text;
        EXPECT_EQ(questions[0]->GetImportance(), importance) << text;
    }
}

TEST_F(QuestionFileReaderTest, OptionCountLine) {
    // Value of line 14, and the option count that results (0 when the read fails).
    const std::pair<const char*, int> cases[] = {
        {" 1", 2},   {" 8", 9},  {" 1.5", 3}, // 1.5 rounds to 2
        {" 2.5", 3},                          // a half goes to the even neighbour
        {" 0", 9},                            // refused: all nine items stay options
        {" 9", 9},   {" -1", 9}, {" 32767", 9}, {"abc", 0}, {"", 0}, {" 40000", 0}};
    for (const auto& [text, options] : cases) {
        QuestionArray questions;
        const bool ok = ReadBytes(WithLine(14, text), questions);
        EXPECT_EQ(ok, options != 0) << '"' << text << '"';
        if (ok) {
            EXPECT_EQ(questions[0]->GetNumOptions(), options) << '"' << text << '"';
        }
    }
    QuestionArray questions;
    ASSERT_TRUE(ReadBytes(WithLine(14, " 0"), questions));
    EXPECT_EQ(questions[0]->GetOption(3), "Null");
    EXPECT_EQ(questions[0]->GetOption(8), "Null");
}

TEST_F(QuestionFileReaderTest, RelianceLines) {
    using kbtest::B;
    struct Case {
        std::string questions;
        std::string options;
        bool ok;
        int type;
        int pairs;
    };
    const Case cases[] = {
        {B("0¸0¸0¸0¸0¸0¸0¸0¸0¸AND"), B("0¸0¸0¸0¸0¸0¸0¸0¸0¸"), true, 0, 0},
        {B("0¸0¸0¸0¸0¸0¸0¸0¸0¸"), B("0¸0¸0¸0¸0¸0¸0¸0¸0¸"), true, 0, 0},
        {B("0¸0¸0¸0¸0¸0¸0¸0¸0¸or"), B("0¸0¸0¸0¸0¸0¸0¸0¸0¸"), true, 1, 0},
        {B(" 2¸ 2¸0¸0¸0¸0¸0¸0¸0¸OR"), B("1¸ 1 ¸0¸0¸0¸0¸0¸0¸0¸"), true, 1, 1}, // repeated pair
        {B("1¸2¸0¸0¸0¸0¸0¸0¸0¸AND"), B("1¸1¸0¸0¸0¸0¸0¸0¸0¸junk"), true, 0, 2},
        {B("0¸0¸0¸0¸0¸0¸0¸0¸AND"), B("0¸0¸0¸0¸0¸0¸0¸0¸0¸"), false, 0, 0}, // eight "¸"
        {B("0¸0¸0¸0¸0¸0¸0¸0¸0¸"), B("0¸0¸0¸0¸0¸0¸0¸0¸"), false, 0, 0},
        {B("x¸0¸0¸0¸0¸0¸0¸0¸0¸"), B("0¸0¸0¸0¸0¸0¸0¸0¸0¸"), false, 0, 0},
        {B("¸0¸0¸0¸0¸0¸0¸0¸0¸"), B("0¸0¸0¸0¸0¸0¸0¸0¸0¸"), false, 0, 0}, // empty piece
        {B("70000¸0¸0¸0¸0¸0¸0¸0¸0¸"), B("0¸0¸0¸0¸0¸0¸0¸0¸0¸"), false, 0, 0},
    };
    for (const auto& c : cases) {
        QuestionArray questions;
        auto lines = ExampleLines();
        lines[14] = c.questions;
        lines[15] = c.options;
        const bool ok = ReadBytes(Join(lines), questions);
        EXPECT_EQ(ok, c.ok) << testing::PrintToString(c.questions);
        if (ok) {
            EXPECT_EQ(questions[0]->m_Dependencies.GetType(), c.type);
            EXPECT_EQ(questions[0]->m_Dependencies.GetNumDependencies(), c.pairs);
        } else {
            EXPECT_EQ(m_Reader.QuestionCount(), 0);
        }
    }
}

TEST_F(QuestionFileReaderTest, ItemCountDecidesTheNumberOfQuestions) {
    const auto block = ExampleLines();
    // One block and ten more items: two questions, the second filled with what there is.
    auto lines = block;
    lines.insert(lines.end(), block.begin(), block.begin() + 10);
    QuestionArray questions;
    EXPECT_FALSE(ReadBytes(Join(lines), questions));
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(kb::g_NumQuestions, 2);
    EXPECT_EQ(m_Reader.QuestionCount(), 1);
    EXPECT_EQ(questions[1]->GetKEQ(), "Which colour is the animal?");
    EXPECT_EQ(questions[1]->GetNumOptions(), 6); // items 5 to 10, no count yet

    // 27 items round to two questions, 45 to two as well.
    lines = block;
    lines.insert(lines.end(), block.begin(), block.begin() + 9);
    EXPECT_FALSE(ReadBytes(Join(lines), questions));
    EXPECT_EQ(questions.size(), 2u);
}

TEST_F(QuestionFileReaderTest, NoWholeQuestionLeavesEverythingAsItWas) {
    const auto block = ExampleLines();
    const std::vector<std::string> nine(block.begin(), block.begin() + 9);
    for (const std::string& bytes : {std::string(), Join(nine)}) {
        QuestionArray questions{std::make_shared<kb::CQuestion>()};
        const auto kept = questions[0];
        kb::g_NumQuestions = 7;
        EXPECT_FALSE(ReadBytes(bytes, questions));
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_EQ(questions[0], kept);
        EXPECT_EQ(kb::g_NumQuestions, 7);
    }
    QuestionArray questions;
    EXPECT_FALSE(m_Reader.Read(m_Dir.File("missing.qst"), questions));
    EXPECT_FALSE(m_Reader.Read(m_Dir.Path().string(), questions));
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(kb::g_NumQuestions, 7);
}

TEST_F(QuestionFileReaderTest, MoreItemsThanTheLimitAreRefused) {
    // 1820 questions are 32760 items; eight more pass the limit of 32767.
    std::string bytes;
    const std::string block = Join(ExampleLines());
    for (int i = 0; i < 1820; ++i) {
        bytes += block;
    }
    QuestionArray questions;
    ASSERT_TRUE(ReadBytes(bytes, questions));
    EXPECT_EQ(m_Reader.QuestionCount(), 1820);
    EXPECT_FALSE(m_Reader.OverItemLimit());
    kb::g_NumQuestions = 3;
    for (const std::string& more : {std::string(",,,,,,,\r\n"), block}) { // 8 items, a question
        QuestionArray kept;
        EXPECT_FALSE(ReadBytes(bytes + more, kept));
        EXPECT_TRUE(m_Reader.OverItemLimit()) << "the programs name the limit";
        EXPECT_TRUE(kept.empty());
        EXPECT_EQ(kb::g_NumQuestions, 3);
    }
    // Any other failure is not said to be the limit.
    QuestionArray short_;
    EXPECT_FALSE(ReadBytes(block.substr(0, block.size() / 2), short_));
    EXPECT_FALSE(m_Reader.OverItemLimit());
}

// The limit itself is a set the readers accept: 1820 questions and blank items up to
// 32767 items lose nothing; one item more refuses the file before anything is replaced.
TEST_F(QuestionFileReaderTest, ExactlyTheItemLimitIsAccepted) {
    std::string bytes;
    const std::string block = Join(ExampleLines());
    for (int i = 0; i < QuestionFileReader::kMaxQuestions; ++i) {
        bytes += block;
    }
    bytes += "\r\n\r\n\r\n,,,\r\n"; // 7 empty items: 32767 in all
    QuestionArray questions;
    EXPECT_FALSE(ReadBytes(bytes, questions));
    EXPECT_TRUE(m_Reader.OnlyBlankLeftOver());
    EXPECT_EQ(m_Reader.QuestionCount(), 1820);
    EXPECT_EQ(kb::g_NumQuestions, 1820);
    EXPECT_EQ(questions.size(), 1820u);

    bytes += "\r\n";
    kb::g_NumQuestions = 3;
    QuestionArray kept;
    EXPECT_FALSE(ReadBytes(bytes, kept));
    EXPECT_FALSE(m_Reader.OnlyBlankLeftOver());
    EXPECT_TRUE(kept.empty());
    EXPECT_EQ(kb::g_NumQuestions, 3);
}

// However many blank lines follow the last question, they start no question of their
// own: every question is read and only blank items are left over.
TEST_F(QuestionFileReaderTest, BlankLinesAfterTheLastQuestionLoseNothing) {
    const std::string three = Join(ExampleLines()) + Join(ExampleLines()) + Join(ExampleLines());
    auto emptyImportance = ExampleLines();
    emptyImportance[17] = ""; // the block's own last item is empty too
    const std::string endsEmpty =
        Join(ExampleLines()) + Join(ExampleLines()) + Join(emptyImportance);
    for (const std::string& set : {three, endsEmpty}) {
        for (int blank : {1, 8, 9, 10, 17, 18, 27, 500}) {
            SCOPED_TRACE(blank);
            std::string tail;
            for (int i = 0; i < blank; ++i) {
                tail += i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "   \n" : ",\r\n";
            }
            QuestionArray questions;
            EXPECT_FALSE(ReadBytes(set + tail, questions));
            EXPECT_TRUE(m_Reader.OnlyBlankLeftOver());
            EXPECT_EQ(m_Reader.QuestionCount(), 3);
            EXPECT_EQ(kb::g_NumQuestions, 3);
            ASSERT_EQ(questions.size(), 3u);
            EXPECT_EQ(questions[2]->GetQHelp(), "nohelp.htm");
        }
    }
    // Half a question followed by blank lines is still half a question: text is lost.
    const auto block = ExampleLines();
    const std::vector<std::string> half(block.begin(), block.begin() + 5);
    QuestionArray questions;
    EXPECT_FALSE(ReadBytes(three + Join(half) + std::string(30, '\n'), questions));
    EXPECT_FALSE(m_Reader.OnlyBlankLeftOver());
    EXPECT_EQ(m_Reader.QuestionCount(), 3);
}

// A file that cannot be a question set is refused as soon as that shows, however large it
// is: a sparse file of 4 GiB costs no disk, and the reader takes only a little of it.
TEST_F(QuestionFileReaderTest, HugeFileIsRefusedAfterReadingLittleOfIt) {
    constexpr off_t kHuge = off_t{4} << 30;
    constexpr std::uint64_t kLittle = std::uint64_t{1} << 20;
    const std::string block = Join(ExampleLines());
    const std::pair<const char*, std::string> starts[] = {
        {"nothing but the hole", ""},
        {"a question, then the hole", block},
        {"more items than a set holds", std::string(40000, '\n')},
    };
    const auto path = m_Dir.File("huge.qst");
    for (const auto& [name, start] : starts) {
        SCOPED_TRACE(name);
        kbtest::Spit(path, start);
        ASSERT_EQ(::truncate(path.c_str(), kHuge), 0);
        QuestionArray questions{std::make_shared<kb::CQuestion>()};
        const auto kept = questions[0];
        kb::g_NumQuestions = 7;
        EXPECT_FALSE(m_Reader.Read(path, questions));
        EXPECT_LT(m_Reader.BytesRead(), kLittle);
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_EQ(questions[0], kept);
        EXPECT_EQ(kb::g_NumQuestions, 7);
    }
}

// The longest text a text box holds reads back; a longer item refuses the file.
TEST_F(QuestionFileReaderTest, ItemLengthIsBounded) {
    auto lines = ExampleLines();
    lines[0] = std::string(QuestionFileReader::kMaxItemBytes, 'w');
    lines[16] = "  " + std::string(QuestionFileReader::kMaxItemBytes - 2, 'p');
    QuestionArray questions;
    ASSERT_TRUE(ReadBytes(Join(lines), questions));
    EXPECT_EQ(questions[0]->GetKEQ().size(), QuestionFileReader::kMaxItemBytes);
    for (std::size_t line : {0, 16}) {
        lines = ExampleLines();
        lines[line] = std::string(QuestionFileReader::kMaxItemBytes + 1, 'w');
        kb::g_NumQuestions = 5;
        QuestionArray kept;
        EXPECT_FALSE(ReadBytes(Join(lines), kept)) << line;
        EXPECT_TRUE(kept.empty());
        EXPECT_EQ(kb::g_NumQuestions, 5);
    }
}

TEST_F(QuestionFileReaderTest, QuotedItemsAndTrailingBlanks) {
    auto lines = ExampleLines();
    lines[0] = "\"Cats, dogs\"";
    lines[2] = "  Kept blanks  ";
    lines[16] = "\"\"";
    QuestionArray questions;
    ASSERT_TRUE(ReadBytes(Join(lines), questions));
    EXPECT_EQ(questions[0]->GetKEQ(), "Cats, dogs");
    EXPECT_EQ(questions[0]->GetUserQ(), "Kept blanks  ");
    EXPECT_EQ(questions[0]->GetQHelp(), "nohelp.htm"); // an empty page is refused
    EXPECT_EQ(m_Reader.TextPassedOver(), 0);

    // Text after a closing quote is left out of the wording, and counted: saving the set
    // would lose it. The set still reads whole.
    lines = ExampleLines();
    lines[2] = "\"How much space?\"EXTRA TEXT";
    lines[4] = "\"Red\"  ";
    ASSERT_TRUE(ReadBytes(Join(lines), questions));
    EXPECT_EQ(questions[0]->GetUserQ(), "How much space?");
    EXPECT_EQ(m_Reader.TextPassedOver(), 1);

    // An unquoted comma shifts every later item.
    lines = ExampleLines();
    lines[0] = "Cats, dogs";
    EXPECT_FALSE(ReadBytes(Join(lines), questions));
}

} // namespace
