// The record key families, each with a small record kind of its own against the host's store.
#include <cstring>

#include "FCCell.h"
#include "FCCellDetail.h"
#include "FCGlobals.h"
#include "FCInciOther.h"
#include "FCNoInciDetail.h"
#include "FCNoInciOther.h"
#include "FamilyRecords.h"
#include "HostTest.h"
#include "finalepdk.h"

using plovikhost::RecordId;

class KeyFamiliesTest : public HostTest {
  protected:
    void Put(uint32_t tag, int32_t a, int32_t b, int32_t c, uint8_t value) {
        doc().records.Put(RecordId{tag, a, b, c}, std::vector<uint8_t>(4, value));
    }
    int LoadCalls() { return host().Count("FX_LoadEData"); }
};

TEST_F(KeyFamiliesTest, NoInciOtherStartsAtItemOne) {
    Put(kTagItems, 0, 0, 0, 10);
    Put(kTagItems, 1, 0, 0, 11);
    ItemRecord r;
    ASSERT_TRUE(r.LoadFirst());
    EXPECT_EQ(r.record[0], 11);
    EXPECT_EQ(r.GetItemNo(), 1);
    EXPECT_STREQ(r.ClassName(), "__FCNoInciOther");
}

TEST_F(KeyFamiliesTest, NoInciOtherFirstFailsWithoutItemOne) {
    Put(kTagItems, 2, 0, 0, 12);
    ItemRecord r;
    EXPECT_FALSE(r.LoadFirst());
    EXPECT_EQ(FXRead<uint16_t>(r.GetRecordKey(), 0), 1);
}

TEST_F(KeyFamiliesTest, NoInciOtherSaveAsAndSaveNew) {
    Put(kTagItems, 1, 0, 0, 11);
    Put(kTagItems, 4, 0, 0, 14);
    ItemRecord r;
    EXPECT_FALSE(r.SaveNew());  // nothing loaded
    EXPECT_EQ(host().Count("FX_CreateEData"), 0);
    ASSERT_TRUE(r.Load(1));
    r.record[0] = 99;
    ASSERT_TRUE(r.SaveNew());
    EXPECT_EQ(r.GetItemNo(), 5);  // the host's number, not 0xFFFF
    EXPECT_EQ((*doc().records.Find(RecordId{kTagItems, 5, 0, 0}))[0], 99);
    r.record[0] = 98;
    EXPECT_TRUE(r.Save());  // the key names the new record
    EXPECT_EQ((*doc().records.Find(RecordId{kTagItems, 5, 0, 0}))[0], 98);
    EXPECT_TRUE(r.SaveAs(4));
    EXPECT_EQ((*doc().records.Find(RecordId{kTagItems, 4, 0, 0}))[0], 98);
    EXPECT_FALSE(r.SaveAs(7));  // saving never creates
}

TEST_F(KeyFamiliesTest, InciOtherHasNoFirstRecord) {
    Put(kTagIncis, 1, 0, 0, 1);
    IncidenceRecord r;
    EXPECT_FALSE(r.LoadFirst());
    EXPECT_EQ(LoadCalls(), 0);
    EXPECT_STREQ(r.ClassName(), "__FCOther");
}

TEST_F(KeyFamiliesTest, InciOtherSaveNewAppendsAnIncidence) {
    Put(kTagIncis, 3, 0, 0, 1);
    Put(kTagIncis, 3, 1, 0, 2);
    IncidenceRecord r;
    EXPECT_FALSE(r.SaveNew(3));
    ASSERT_TRUE(r.Load(3, 1));
    ASSERT_TRUE(r.SaveNew(3));
    EXPECT_EQ(FXRead<int16_t>(r.GetRecordKey(), 2), 2);
    ASSERT_TRUE(r.SaveNew(8));
    EXPECT_EQ(FXRead<uint16_t>(r.GetRecordKey(), 0), 8);
    EXPECT_EQ(FXRead<int16_t>(r.GetRecordKey(), 2), 0);
}

TEST_F(KeyFamiliesTest, GlobalsStartAtItemZero) {
    Put(kTagGlobals, 0, 0, 0, 20);
    Put(kTagGlobals, 1, 0, 0, 21);
    GlobalRecord r;
    ASSERT_TRUE(r.LoadFirst());
    EXPECT_EQ(r.record[0], 20);
    ASSERT_TRUE(r.LoadNext());
    EXPECT_EQ(r.record[0], 21);
    EXPECT_FALSE(r.LoadNext());
    EXPECT_STREQ(r.ClassName(), "__FCGlobals");
}

TEST_F(KeyFamiliesTest, CellDetailWalkEndsOnTheLastRecordFound) {
    for (int i = 0; i < 3; ++i) Put(kTagCellDetail, 2, 7, i, static_cast<uint8_t>(30 + i));
    Put(kTagCellDetail, 2, 8, 0, 40);  // another cell
    FCCell cell(7, 2);
    CellRecord r;
    r.SetOwningCell(&cell);
    std::vector<int> seen;
    if (r.LoadFirst()) {
        do seen.push_back(r.record[0]);
        while (r.LoadNext());
    }
    EXPECT_EQ(seen, (std::vector<int>{30, 31, 32}));
    EXPECT_EQ(LoadCalls(), 4);
    EXPECT_EQ(FXRead<int16_t>(r.GetRecordKey(), 4), 2);
    EXPECT_EQ(FXRead<uint16_t>(r.GetRecordKey(), 0), 2);  // staff
    EXPECT_EQ(FXRead<uint16_t>(r.GetRecordKey(), 2), 7);  // measure
}

TEST_F(KeyFamiliesTest, CellDetailWithoutACellLoadsNothing) {
    CellRecord r;
    EXPECT_FALSE(r.LoadFirst());
    EXPECT_EQ(LoadCalls(), 0);
}

TEST_F(KeyFamiliesTest, CellDetailCloneHasNoOwningCell) {
    Put(kTagCellDetail, 2, 7, 0, 30);
    FCCell cell(7, 2);
    CellRecord r;
    r.SetOwningCell(&cell);
    ASSERT_TRUE(r.LoadFirst());
    CellRecord* clone = static_cast<CellRecord*>(r.CreateClone());
    EXPECT_EQ(clone->GetOwningCell(), nullptr);
    EXPECT_EQ(clone->record[0], 30);
    delete clone;
}

TEST_F(KeyFamiliesTest, NoInciDetailSaveNewChoosesTheSecondNumber) {
    Put(kTagCellDetail, 5, 1, 0, 1);
    Put(kTagCellDetail, 5, 2, 0, 2);
    PairRecord r;
    EXPECT_FALSE(r.SaveNew(5));
    ASSERT_TRUE(r.Load(5, 2));
    ASSERT_TRUE(r.SaveNew(5));
    EXPECT_EQ(FXRead<uint16_t>(r.GetRecordKey(), 2), 3);
    EXPECT_EQ(FXRead<int16_t>(r.GetRecordKey(), 4), 0);
}
