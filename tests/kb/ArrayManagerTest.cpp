#include "kb/ArrayManager.h"

#include <gtest/gtest.h>

using namespace kb::ArrayManager;
using kb::RecordArray;

namespace {

class ArrayManagerTest : public ::testing::Test {
protected:
    void SetUp() override { kb::g_NumQuestions = 2; }
    void TearDown() override { kb::g_NumQuestions = 0; }

    static RecordArray Named(std::initializer_list<const char*> names) {
        RecordArray records;
        for (const char* name : names) {
            records.push_back(std::make_shared<kb::CRecord>());
            records.back()->SetName(name);
        }
        return records;
    }
};

TEST_F(ArrayManagerTest, InsertPutsANewRecordAtThePosition) {
    RecordArray records = Named({"A", "B", "C"});
    EXPECT_FALSE(InsertRecord(records, 3));
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[3]->GetName(), "");
    EXPECT_EQ(records[3]->GetDescription(), "nodesc.htm");
    EXPECT_EQ(records[3]->GetNumResponses(), 2);
    InsertRecord(records, 1);
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[0]->GetName(), "A");
    EXPECT_EQ(records[1]->GetName(), "");
    EXPECT_EQ(records[2]->GetName(), "B");
    EXPECT_NE(records[1], records[3]);

    RecordArray none;
    InsertRecord(none, 0);
    EXPECT_EQ(none.size(), 1u);
    EXPECT_FALSE(IsRecordSlotEmpty(none, 0));
}

TEST_F(ArrayManagerTest, InsertThatCannotBeDoneChangesNothing) {
    RecordArray records = Named({"A"});
    InsertRecord(records, 2);
    InsertRecord(records, -1);
    EXPECT_EQ(records.size(), 1u);
    kb::g_NumQuestions = 0; // a record cannot be made
    InsertRecord(records, 1);
    EXPECT_EQ(records.size(), 1u);
    kb::g_NumQuestions = 2;
    RecordArray full(32767);
    InsertRecord(full, 32767);
    EXPECT_EQ(full.size(), 32767u);
}

TEST_F(ArrayManagerTest, RemoveClosesTheGapButKeepsOneSlot) {
    RecordArray records = Named({"A", "B", "C"});
    EXPECT_FALSE(RemoveRecord(records, 1));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1]->GetName(), "C");
    RemoveRecord(records, 5);
    RemoveRecord(records, -1);
    EXPECT_EQ(records.size(), 2u);
    RemoveRecord(records, 0);
    RemoveRecord(records, 0);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_TRUE(IsRecordSlotEmpty(records, 0));
    EXPECT_EQ(FindRecord(records, ""), kNotFound);
    RemoveRecord(records, 0);
    EXPECT_EQ(records.size(), 1u);

    RecordArray none;
    RemoveRecord(none, 0);
    EXPECT_TRUE(none.empty());
}

TEST_F(ArrayManagerTest, SlotEmptiness) {
    RecordArray records = Named({""});
    EXPECT_FALSE(IsRecordSlotEmpty(records, 0)); // a record without a name is a record
    EXPECT_TRUE(IsRecordSlotEmpty(records, 1));
    EXPECT_TRUE(IsRecordSlotEmpty(records, -1));
    EXPECT_TRUE(IsRecordSlotEmpty({}, 0));
}

TEST_F(ArrayManagerTest, FindRecordMatchesExactlyAndFirst) {
    RecordArray records = Named({"CAT", "DOG", "CAT"});
    EXPECT_EQ(FindRecord(records, "CAT"), 0);
    EXPECT_EQ(FindRecord(records, "DOG"), 1);
    EXPECT_EQ(FindRecord(records, "cat"), kNotFound);
    EXPECT_EQ(FindRecord(records, "CAT "), kNotFound);
    records[0].reset();
    EXPECT_EQ(FindRecord(records, "CAT"), 2);
    EXPECT_EQ(FindRecord({}, "CAT"), kNotFound);
}

} // namespace
