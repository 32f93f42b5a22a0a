#include "editor/QuestionFileWriter.h"

#include "CoreTestFiles.h"
#include "kb/QuestionFileReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

using editor::QuestionFileWriter;
using editortest::Fixture;
using editortest::Slurp;
using kb::CQuestion;

std::shared_ptr<CQuestion> Make(const std::string& keq, int keType, const std::string& uq,
                                int userType, const std::vector<std::string>& options) {
    auto q = std::make_shared<CQuestion>();
    q->SetKEQ(keq);
    q->SetKEType(static_cast<std::int16_t>(keType));
    q->SetUserQ(uq);
    q->SetUserType(static_cast<std::int16_t>(userType));
    for (const auto& o : options) {
        q->AddOption(o);
    }
    return q;
}

// The set behind writer_expected.qst, with two empty questions at its end.
kb::QuestionArray SampleSet() {
    kb::QuestionArray set;
    set.push_back(Make("Is the animal furry?", 0, "Does it have fur?", 0, {"Yes", "No"}));
    auto q2 =
        Make("Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65 or \xC5\x92uvre?", 1,
             "Which do you like (\xE2\x82\xAC)?", 1,
             {"Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65", "\xC5\x92uvre 5\xE2\x82\xAC", "Neither"});
    q2->m_Dependencies.SetType(1);
    q2->m_Dependencies.AddDependency(1, 2);
    q2->m_Dependencies.AddDependency(1, 1);
    q2->SetHelp("http://example.org/q2.htm");
    q2->SetImportance(1.5);
    set.push_back(q2);
    set.push_back(Make("", 1, "", 0, {"", ""})); // empty, but content follows
    auto q4 = Make("Last one", 0, "Last one?", 1, {"a", "b", "c", "d", "e", "f", "g", "h", "i"});
    q4->m_Dependencies.AddDependency(2, 3);
    q4->SetHelp("page.htm");
    q4->SetImportance(2.0);
    set.push_back(q4);
    set.push_back(Make("", 1, "", 0, {"", ""}));
    set.push_back(std::make_shared<CQuestion>());
    return set;
}

void ExpectSameQuestion(const CQuestion& a, const CQuestion& b, int index) {
    SCOPED_TRACE("question " + std::to_string(index + 1));
    EXPECT_EQ(a.GetKEQ(), b.GetKEQ());
    EXPECT_EQ(a.GetKEType(), b.GetKEType());
    EXPECT_EQ(a.GetUserQ(), b.GetUserQ());
    EXPECT_EQ(a.GetUserType(), b.GetUserType());
    ASSERT_EQ(a.GetNumOptions(), b.GetNumOptions());
    for (std::int16_t k = 0; k < a.GetNumOptions(); ++k) {
        EXPECT_EQ(a.GetOption(k), b.GetOption(k));
    }
    EXPECT_EQ(a.m_Dependencies.GetType(), b.m_Dependencies.GetType());
    for (std::int16_t slot = 0; slot < kb::CDependency::kSlots; ++slot) {
        std::int16_t q1 = 0, o1 = 0, q2 = 0, o2 = 0;
        a.m_Dependencies.GetDependency(slot, q1, o1);
        b.m_Dependencies.GetDependency(slot, q2, o2);
        EXPECT_EQ(q1, q2);
        EXPECT_EQ(o1, o2);
    }
    EXPECT_EQ(a.GetQHelp(), b.GetQHelp());
    EXPECT_EQ(a.GetImportance(), b.GetImportance());
}

TEST(QuestionFileWriter, WritesTheFormatByteForByteAndReadsBack) {
    editortest::ScratchDir dir;
    const std::string path = dir.File("set.qst");
    const kb::QuestionArray set = SampleSet();
    ASSERT_TRUE(QuestionFileWriter().Save(set, path));
    EXPECT_EQ(Slurp(path), Fixture("writer_expected.qst"));

    kb::QuestionArray back;
    kb::QuestionFileReader reader;
    ASSERT_TRUE(reader.Read(path, back));
    ASSERT_EQ(reader.QuestionCount(), 4);
    for (int i = 0; i < 4; ++i) {
        ExpectSameQuestion(*set[static_cast<std::size_t>(i)], *back[static_cast<std::size_t>(i)],
                           i);
    }
    // What was read writes back to the same bytes.
    ASSERT_TRUE(QuestionFileWriter().Save(back, path));
    EXPECT_EQ(Slurp(path), Fixture("writer_expected.qst"));
}

TEST(QuestionFileWriter, OptionCountAndImportanceLines) {
    editortest::ScratchDir dir;
    const std::string path = dir.File("set.qst");
    kb::QuestionArray set{Make("k", 0, "u", 0, {}), Make("k", 0, "u", 0, {"x"})};
    set[1]->SetImportance(1.25);
    ASSERT_TRUE(QuestionFileWriter().Save(set, path));
    const std::string bytes = Slurp(path);
    const std::string nulls = [] {
        std::string s;
        for (int i = 0; i < 9; ++i) {
            s += "Null\r\n";
        }
        return s;
    }();
    EXPECT_NE(bytes.find("Single\r\n" + nulls + " -1\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("Single\r\nx\r\nNull\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\n 0\r\n"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 9), "\r\n 1.25\r\n");
}

TEST(QuestionFileWriter, ReplacesWholeOrNotAtAll) {
    editortest::ScratchDir dir;
    const std::string path = dir.File("set.qst");
    ASSERT_TRUE(QuestionFileWriter().Save(SampleSet(), path));

    // Fewer questions over a longer file leave only the new blocks.
    const kb::QuestionArray one{SampleSet()[0]};
    ASSERT_TRUE(QuestionFileWriter().Save(one, path));
    const std::string oneBlock = Slurp(path);
    EXPECT_EQ(oneBlock, Fixture("writer_expected.qst").substr(0, oneBlock.size()));
    EXPECT_EQ(std::count(oneBlock.begin(), oneBlock.end(), '\n'), 18);

    // A text Windows-1252 cannot hold: refused, the old file stays.
    kb::QuestionArray bad = SampleSet();
    bad[1]->UpdateOption(2, "\xCE\xA9mega");
    EXPECT_FALSE(QuestionFileWriter().Save(bad, path));
    EXPECT_EQ(Slurp(path), oneBlock);

    EXPECT_FALSE(QuestionFileWriter().Save(one, dir.File("missing/set.qst")));

    // More questions than a question set file can be read back with: refused, the old
    // file stays; the most that can be read back is written.
    kb::QuestionArray many;
    const long most = kb::QuestionFileReader::kMaxItems / 18;
    for (long i = 0; i <= most; ++i) {
        many.push_back(Make("k", 0, "u", 0, {"a", "b"}));
    }
    EXPECT_FALSE(QuestionFileWriter().Save(many, path));
    EXPECT_TRUE(Slurp(path) == oneBlock);
    many.pop_back();
    ASSERT_TRUE(QuestionFileWriter().Save(many, path));
    kb::QuestionArray readBack;
    EXPECT_TRUE(kb::QuestionFileReader().Read(path, readBack));
    EXPECT_EQ(static_cast<long>(readBack.size()), most);

    // Only empty questions: an empty file.
    ASSERT_TRUE(QuestionFileWriter().Save({std::make_shared<CQuestion>()}, path));
    EXPECT_EQ(Slurp(path), "");
}

} // namespace
