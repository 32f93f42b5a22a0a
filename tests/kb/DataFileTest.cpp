#include "kb/DataFileReader.h"
#include "kb/DataFileWriter.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

using kb::DataFileReader;
using kb::DataFileWriter;
using kb::RecordArray;
using kbtest::Fixture;

namespace {

class DataFileTest : public ::testing::Test {
protected:
    void SetUp() override { kb::g_NumQuestions = 2; }
    void TearDown() override { kb::g_NumQuestions = 0; }

    std::vector<std::int16_t> Levels(const kb::CRecord& record, std::int16_t q) {
        const kb::CResponses* responses = nullptr;
        record.GetResponses(q, responses);
        std::vector<std::int16_t> levels;
        for (std::int16_t slot = 0; slot < 9; ++slot) {
            levels.push_back(responses->GetResponse(slot));
        }
        return levels;
    }

    kbtest::ScratchDir m_Dir;
    DataFileReader m_Reader;
    DataFileWriter m_Writer;
};

TEST_F(DataFileTest, ReadsTheCatExampleWithEveryLineEnd) {
    for (const char* name : {"cat.dat", "cat_lf.dat", "cat_cr.dat"}) {
        SCOPED_TRACE(name);
        RecordArray records;
        m_Reader.Read(Fixture(name), records);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(m_Reader.RecordCount(), 1);
        EXPECT_EQ(m_Reader.SkippedItems(), 0);
        EXPECT_EQ(records[0]->GetName(), "CAT");
        EXPECT_EQ(records[0]->GetDescription(), "nodesc.htm");
        EXPECT_EQ(Levels(*records[0], 0),
                  (std::vector<std::int16_t>{-10, -10, 10, -10, -10, -10, -10, -10, -10}));
        EXPECT_EQ(Levels(*records[0], 1), (std::vector<std::int16_t>{5, -10, 0, 0, 0, 0, 0, 0, 0}));
    }
}

TEST_F(DataFileTest, WritesTheCatExampleByteForByte) {
    auto cat = std::make_shared<kb::CRecord>();
    cat->SetName("CAT");
    kb::CResponses* r = nullptr;
    cat->GetResponses(0, r);
    for (std::int16_t slot = 0; slot < 9; ++slot) {
        r->SetResponse(slot, slot == 2 ? 10 : -10);
    }
    cat->GetResponses(1, r);
    r->SetResponse(0, 5);
    r->SetResponse(1, -10);
    const auto path = m_Dir.File("cat.dat");
    ASSERT_TRUE(m_Writer.Save({cat}, path));
    EXPECT_EQ(kbtest::Slurp(path), kbtest::Slurp(Fixture("cat.dat")));
}

TEST_F(DataFileTest, ReadThenWriteGivesTheSameBytes) {
    for (const auto& [name, questions] : std::vector<std::pair<std::string, std::int16_t>>{
             {"cat.dat", 2}, {"two_records.dat", 3}}) {
        SCOPED_TRACE(name);
        kb::g_NumQuestions = questions;
        RecordArray records;
        m_Reader.Read(Fixture(name), records);
        const auto path = m_Dir.File("out.dat");
        ASSERT_TRUE(m_Writer.Save(records, path));
        EXPECT_EQ(kbtest::Slurp(path), kbtest::Slurp(Fixture(name)));
    }
}

} // namespace
