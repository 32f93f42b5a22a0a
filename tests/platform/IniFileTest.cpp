#include "platform/IniFile.h"

#include "kb/Cp1252.h"
#include "kb/FileIO.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using platform::IniFile;
namespace fs = std::filesystem;

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Dir = fs::temp_directory_path() /
                ("corvane-ini-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_Dir);
        fs::create_directories(m_Dir);
        m_Path = (m_Dir / "test.ini").string();
    }
    void TearDown() override {
        fs::permissions(m_Dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(m_Dir);
    }
    void Put(const std::string& bytes) { ASSERT_TRUE(kb::WriteFileAtomically(m_Path, bytes)); }
    std::string Get() {
        std::string bytes;
        EXPECT_TRUE(kb::ReadWholeFile(m_Path, bytes));
        return bytes;
    }

    fs::path m_Dir;
    std::string m_Path;
};

// The reading rules of the platform's private-profile functions.
TEST_F(IniFileTest, ReadingRules) {
    struct Row {
        const char* rule;
        std::string file, section, key, expected;
    };
    const std::string x200(200, 'x');
    std::string e200;
    std::string e127;
    for (int i = 0; i < 200; ++i) {
        e200 += '\xE9';
        if (i < 127) {
            e127 += "\xC3\xA9";
        }
    }
    const std::vector<Row> rows = {
        {"plain", "[S]\r\nk=v\r\n", "S", "k", "v"},
        {"names ignore case", "[corvaneSETTINGS]\r\nTiTle=t\r\n", "CorvaneSettings", "TITLE", "t"},
        {"accented names ignore case", "[\xC9T\xC9]\r\nk=v\r\n", "\xC3\xA9t\xC3\xA9", "K", "v"},
        {"blanks inside brackets", "[ Corvane Settings ]\nk=v", "Corvane Settings", "k", "v"},
        {"blanks before the bracket", "  \t[S]\nk=v", "S", "k", "v"},
        {"name runs to the last ]", "[a]b] tail\nk=v", "a]b", "k", "v"},
        {"not the text before an inner ]", "[a]b]\nk=v", "a", "k", ""},
        {"no ] is no header", "[S]\n[T\nk=v", "S", "k", "v"},
        {"line without ] is a key", "[S]\n[T=w\n", "S", "[T", "w"},
        {"blanks around line, = and value", "[S]\n  k  =  v w \t\n", "S", "k", "v w"},
        {"double quotes removed", "[S]\nk=\"  v  \"", "S", "k", "  v  "},
        {"single quotes removed", "[S]\nk= 'v' ", "S", "k", "v"},
        {"mixed quotes kept", "[S]\nk=\"v'", "S", "k", "\"v'"},
        {"lone quote kept", "[S]\nk=\"", "S", "k", "\""},
        {"only one pair removed", "[S]\nk=\"\"v\"\"", "S", "k", "\"v\""},
        {"empty quotes", "[S]\nk=\"\"", "S", "k", ""},
        {"comment line", "[S]\n;k=v\n", "S", ";k", ""},
        {"indented comment line", "[S]\n  ;k=v\nk=w", "S", "k", "w"},
        {"no inline comments", "[S]\na=b ;c", "S", "a", "b ;c"},
        {"key without = gives default", "[S]\nk\nk=v", "S", "k", ""},
        {"empty value", "[S]\nk=\nk=v", "S", "k", ""},
        {"first key wins", "[S]\nk=1\nK=2", "S", "k", "1"},
        {"first section wins", "[S]\nk=1\n[s]\nk=2", "S", "k", "1"},
        {"later section of same name unseen", "[S]\na=1\n[S]\nk=2", "S", "k", ""},
        {"key in another section", "[S]\na=1\n[T]\nk=2", "S", "k", ""},
        {"key before any section", "k=1\n[S]\n", "S", "k", ""},
        {"CR line ends", "[S]\rk=v\r", "S", "k", "v"},
        {"LF line ends", "[A]\nk=a\n[S]\nk=v\n", "S", "k", "v"},
        {"value stops at NUL", std::string("[S]\nk=ab\0cd", 11), "S", "k", "ab"},
        {"Windows-1252 file", "[S]\nk=caf\xE9 \x80", "S", "k", "caf\xC3\xA9 \xE2\x82\xAC"},
        {"UTF-8 with mark", "\xEF\xBB\xBF[S]\nk=caf\xC3\xA9", "S", "k", "caf\xC3\xA9"},
        {"127 characters", "[S]\nk=" + x200, "S", "k", x200.substr(0, 127)},
        {"127 characters, not bytes", "[S]\nk=" + e200, "S", "k", e127},
        {"missing section", "[S]\nk=v", "T", "k", ""},
        {"missing key", "[S]\nk=v", "S", "j", ""},
        {"empty file", "", "S", "k", ""},
    };
    for (const Row& row : rows) {
        Put(row.file);
        EXPECT_EQ(IniFile::ReadString(m_Path, row.section, row.key), row.expected) << row.rule;
    }
    EXPECT_EQ(IniFile::ReadString((m_Dir / "missing.ini").string(), "S", "k"), "");
    EXPECT_EQ(IniFile::ReadString(m_Dir.string(), "S", "k"), "") << "a folder";
}

// All keys are read in one pass over the file, each as it would be read alone, and the
// pass ends once every key is settled.
TEST_F(IniFileTest, ManyKeysAtOnceReadAsEachAlone) {
    Put("k=before\r\n[A]\r\nk=a1\r\nK=a2\r\nq\r\n[b]\r\nk= \"b\" \r\n[A]\r\nj=later\r\n"
        "[C]\r\n[D]\r\nk=d");
    const std::vector<IniFile::Key> keys = {{"A", "k"}, {"B", "K"}, {"A", "j"}, {"C", "k"},
                                            {"D", "k"}, {"A", "q"}, {"a", "K"}, {"E", "k"}};
    const std::vector<std::string> values = IniFile::ReadStrings(m_Path, keys);
    ASSERT_EQ(values.size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(values[i], IniFile::ReadString(m_Path, keys[i].Section, keys[i].Name))
            << keys[i].Section << "/" << keys[i].Name;
    }
    EXPECT_EQ(values, (std::vector<std::string>{"a1", "b", "", "", "d", "", "a1", ""}));
    EXPECT_EQ(IniFile::ReadStrings((m_Dir / "missing.ini").string(), keys),
              std::vector<std::string>(keys.size()));
}

// A line of any length costs no more than its first kMaxLineBytes: what a value keeps and
// its closing quote are still read, and the lines after it too.
TEST_F(IniFileTest, LinesOfAnyLength) {
    const std::size_t held = IniFile::kMaxLineBytes;
    const std::string x(held * 3, 'x');
    const std::string blanks(held * 3, ' ');
    const std::string nuls(held * 3, '\0');
    // Built with append: GCC 12 at -O3 warns falsely on a literal plus a temporary string.
    const std::string x125 = std::string("ab").append(x, 0, 125);
    const std::string x126 = std::string("\"").append(x, 0, 126);
    struct Row {
        const char* rule;
        std::string file, key, expected;
    };
    const std::vector<Row> rows = {
        {"a long value keeps 127 characters", "[S]\nk=" + x + "\nj=v", "k", x.substr(0, 127)},
        {"lines after a long one are read", "[S]\nk=" + x + "\nj=v", "j", "v"},
        {"quotes around a long value", "[S]\nk=\"ab" + x + "\"  \n", "k", x125},
        {"blanks after a long value", "[S]\nk='" + x + "'" + blanks + "\r\n", "k",
         x.substr(0, 127)},
        {"a quote only at the start stays", "[S]\nk=\"" + x + "\n", "k", x126},
        {"a long section name is another section", "[" + x + "]\nk=v\n[S]\nk=w", "k", "w"},
        {"blanks in a long header", "[ S " + blanks + "]\r\nk=v", "k", "v"},
        {"a line of NULs", "[S]\n" + nuls + "\nk=v", "k", "v"},
        {"a file without line ends", nuls, "k", ""},
        {"a long line of its own at the end", "[S]\nk=v\n" + x, "k", "v"},
    };
    for (const Row& row : rows) {
        Put(row.file);
        EXPECT_EQ(IniFile::ReadString(m_Path, "S", row.key), row.expected) << row.rule;
    }

    // A sparse file: its hole lengthens the line it falls in, and what follows is read.
    Put("[S]\nk='ab");
    {
        std::ofstream out(m_Path, std::ios::binary | std::ios::in | std::ios::out);
        out.seekp(std::streamoff{64} << 20);
        out << "'\n[T]\nj=w";
    }
    EXPECT_EQ(IniFile::ReadStrings(m_Path, {{"S", "k"}, {"T", "j"}}),
              (std::vector<std::string>{"ab", "w"}));
}

// Names ignore case only between a capital and its small letter. Some characters sit where
// case pairs sit in Windows-1252 (× at 0xD7 and ÷ at 0xF7, ß at 0xDF and ÿ at 0xFF) or
// just beside the letters; two names that differ in them are two names.
TEST_F(IniFileTest, OnlyCasePairsAreTheSameName) {
    struct Pair {
        std::string first, second; // Windows-1252 bytes
        bool same;
    };
    const std::vector<Pair> pairs = {
        {"A", "a", true},        {"Z", "z", true},        {"\xC0", "\xE0", true},
        {"\xD6", "\xF6", true},  {"\xD8", "\xF8", true},  {"\xDE", "\xFE", true},
        {"\x8A", "\x9A", true},  {"\x8C", "\x9C", true},  {"\x8E", "\x9E", true},
        {"\x9F", "\xFF", true},  {"\xD7", "\xF7", false}, {"\xDF", "\xFF", false},
        {"\xBF", "\xDF", false}, {"\xD7", "x", false},    {"@", "`", false},
        {"[", "{", false},       {"\x8B", "\x9B", false}, {"\x80", "\xA0", false},
    };
    for (const Pair& p : pairs) {
        const std::string first = kb::Cp1252ToUtf8(p.first);
        const std::string second = kb::Cp1252ToUtf8(p.second);
        SCOPED_TRACE(first + " and " + second);
        // The first of two keys (or sections) of the same name wins.
        Put("[S]\r\nk" + p.first + "=1\r\nk" + p.second + "=2\r\n");
        EXPECT_EQ(IniFile::ReadString(m_Path, "s", "k" + first), "1");
        EXPECT_EQ(IniFile::ReadString(m_Path, "s", "k" + second), p.same ? "1" : "2");
        Put("[s" + p.first + "]\r\nk=1\r\n[s" + p.second + "]\r\nk=2\r\n");
        EXPECT_EQ(IniFile::ReadString(m_Path, "S" + first, "K"), "1");
        EXPECT_EQ(IniFile::ReadString(m_Path, "S" + second, "K"), p.same ? "1" : "2");
        // Writing one never replaces the other.
        Put("[S]\r\nk" + p.first + "=1\r\n");
        ASSERT_TRUE(IniFile::WriteString(m_Path, "S", "k" + second, "2"));
        EXPECT_EQ(Get(), p.same ? "[S]\r\nk" + p.second + "=2\r\n"
                                : "[S]\r\nk" + p.first + "=1\r\nk" + p.second + "=2\r\n");
    }
}

TEST_F(IniFileTest, ReaderSurvivesAnyBytes) {
    std::mt19937 gen(7);
    const std::string alphabet = "[]=;\"' \t\r\nabSk\xEF\xBB\xBF\xE9";
    for (int round = 0; round < 2000; ++round) {
        std::string bytes;
        const int len = std::uniform_int_distribution<int>(0, 300)(gen);
        for (int i = 0; i < len; ++i) {
            bytes += round % 2 ? static_cast<char>(gen()) : alphabet[gen() % alphabet.size()];
        }
        Put(bytes);
        const std::string v = IniFile::ReadString(m_Path, "S", "k");
        EXPECT_LE(v.size(), 127u * 3);
    }
}

TEST_F(IniFileTest, WriteKeepsOtherLines) {
    struct Row {
        const char* what;
        std::string before, section, key, value, after;
    };
    const std::vector<Row> rows = {
        {"new file", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
        {"replaces the first key only", "; top\n[s]\r\n  K = old ;x\r\nk=2\r\n[T]\rk=3\r", "S", "k",
         "new", "; top\n[s]\r\nk=new\r\nk=2\r\n[T]\rk=3\r"},
        {"adds a key at the end of its section", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "a", "z", "3",
         "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
        {"adds a key to a last line without end", "[A]\nx=1", "A", "z", "3", "[A]\nx=1\r\nz=3\r\n"},
        {"adds a key under a bare header", "[A]", "A", "z", "3", "[A]\r\nz=3\r\n"},
        {"appends a section", "[A]\r\nx=1", "B", "k", "v", "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
        {"appends after a blank line", "[A]\r\nx=1\r\n\r\n", "B", "k", "v",
         "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
        {"Windows-1252 out", "", "S", "k", "caf\xC3\xA9", "[S]\r\nk=caf\xE9\r\n"},
        {"UTF-8 file stays UTF-8", "\xEF\xBB\xBF[S]\r\n", "S", "k", "\xCE\xA9",
         "\xEF\xBB\xBF[S]\r\nk=\xCE\xA9\r\n"},
    };
    for (const Row& row : rows) {
        fs::remove(m_Path);
        if (!row.before.empty()) {
            Put(row.before);
        }
        EXPECT_TRUE(IniFile::WriteString(m_Path, row.section, row.key, row.value)) << row.what;
        EXPECT_EQ(Get(), row.after) << row.what;
        EXPECT_EQ(IniFile::ReadString(m_Path, row.section, row.key), row.value) << row.what;
    }
}

TEST_F(IniFileTest, RefusedWritesLeaveTheFile) {
    const std::string before = "[S]\r\nk=v\r\n";
    Put(before);
    EXPECT_FALSE(IniFile::WriteString(m_Path, "S", "k", "a\nb"));
    EXPECT_FALSE(IniFile::WriteString(m_Path, "S", "k=j", "v"));
    EXPECT_FALSE(IniFile::WriteString(m_Path, "S", " ", "v"));
    EXPECT_FALSE(IniFile::WriteString(m_Path, "", "k", "v"));
    EXPECT_FALSE(IniFile::WriteString(m_Path, "S", "k", "\xCE\xA9")) << "not in Windows-1252";
    EXPECT_EQ(Get(), before);

    EXPECT_FALSE(IniFile::WriteString((m_Dir / "no" / "such.ini").string(), "S", "k", "v"));

    // A read-only file is refused, also for a program run as root.
    fs::permissions(m_Path, fs::perms::owner_read);
    EXPECT_FALSE(IniFile::WriteString(m_Path, "S", "k", "w"));
    EXPECT_EQ(Get(), before);
}

TEST_F(IniFileTest, AReadOnlyFolderIsNotWrittenIn) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes in a read-only folder";
    }
    const std::string before = "[S]\r\nk=v\r\n";
    Put(before);
    fs::permissions(m_Dir, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_FALSE(IniFile::WriteString(m_Path, "S", "k", "w"));
    EXPECT_EQ(Get(), before);
}

} // namespace
