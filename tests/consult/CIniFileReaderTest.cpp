#include "consult/CIniFileReader.h"

#include "kb/FileIO.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using consult::CIniFileReader;

class CIniFileReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Dir = fs::temp_directory_path() / ("corvane-mirel-ini-" + std::to_string(::getpid()));
        fs::remove_all(m_Dir);
        fs::create_directories(m_Dir);
    }
    void TearDown() override { fs::remove_all(m_Dir); }
    fs::path m_Dir;
};

TEST_F(CIniFileReaderTest, ReadsMirelIniInTheProgramFolder) {
    CIniFileReader reader(m_Dir.string());
    EXPECT_EQ(reader.GetIniFileName(), (m_Dir / "mirel.ini").string());
    EXPECT_EQ(CIniFileReader(m_Dir.string() + "/").GetIniFileName(), reader.GetIniFileName());
    EXPECT_FALSE(reader.IniExists());
    EXPECT_EQ(reader.ReadParameter("CorvaneSettings", "Title"), "");

    const std::string title200(200, 'T');
    ASSERT_TRUE(kb::WriteFileAtomically(reader.GetIniFileName(),
                                        "[corvanesettings]\r\n"
                                        "SliderText=Never|Rarely|Maybe|Often|Always\r\n"
                                        "Title=\"  Quoted  \"\r\n"
                                        "[CorvaneButtons]\r\n"
                                        "B1=   \r\n"
                                        "b2 = Onward\r\n"
                                        "B3=" +
                                            title200 + "\r\n"));
    EXPECT_TRUE(reader.IniExists());
    EXPECT_EQ(reader.ReadParameter("CorvaneSettings", "SliderText"),
              "Never|Rarely|Maybe|Often|Always");
    EXPECT_EQ(reader.ReadParameter("CorvaneSettings", "Title"), "Quoted  ")
        << "leading blanks go, trailing ones inside quotes stay";
    EXPECT_EQ(reader.ReadParameter("CorvaneButtons", "B1"), "");
    EXPECT_EQ(reader.ReadParameter("CORVANEBUTTONS", "B2"), "Onward");
    EXPECT_EQ(reader.ReadParameter("CorvaneButtons", "B3"), title200.substr(0, 127));
    EXPECT_EQ(reader.ReadParameter("CorvaneButtons", "B4"), "");

    EXPECT_TRUE(reader.WriteParameter("CorvaneButtons", "B4", "Load"));
    EXPECT_EQ(reader.ReadParameter("CorvaneButtons", "B4"), "Load");
    EXPECT_EQ(reader.ReadParameter("CorvaneButtons", "B2"), "Onward");
}

} // namespace
