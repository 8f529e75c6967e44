// Collections loaded from, saved to and deleted from the host's records.
#include "FCCollectionInciOther.h"
#include "FCCollectionNoInciDetail.h"
#include "FamilyRecords.h"
#include "HostTest.h"
#include "finalepdk.h"

using plovikhost::RecordId;

namespace {

struct Items : __FCCollectionData {
    __FCBaseData* CreateElement() override { return new ItemRecord; }
};

struct Incidences : __FCCollectionInciOther {
    __FCBaseData* CreateElement() override { return new IncidenceRecord; }
    int ValueAt(int i) { return static_cast<IncidenceRecord*>(GetItemAt(i))->record[0]; }
};

struct Pairs : __FCCollectionNoInciDetail {
    __FCBaseData* CreateElement() override { return new PairRecord; }
};

class DataCollectionsTest : public HostTest {
  protected:
    void Put(uint32_t tag, int32_t a, int32_t b, int32_t c, uint8_t value) {
        doc().records.Put(RecordId{tag, a, b, c}, std::vector<uint8_t>(4, value));
    }
    // The first byte of each record of an item, in incidence order.
    std::vector<int> StoredIncidences(uint32_t tag, int item) {
        std::vector<int> values;
        for (const RecordId& id : doc().records.All(tag))
            if (id.a == item) values.push_back((*doc().records.Find(id))[0]);
        return values;
    }
};

}  // namespace

TEST_F(DataCollectionsTest, LoadAllClonesEveryRecordInHostOrder) {
    Put(kTagItems, 1, 0, 0, 1);
    Put(kTagItems, 2, 0, 0, 2);
    Put(kTagItems, 9, 0, 0, 9);
    Items items;
    items.LoadAll();
    ASSERT_EQ(items.GetCount(), 3);
    EXPECT_EQ(static_cast<ItemRecord*>(items.GetItemAt(2))->record[0], 9);
    EXPECT_EQ(static_cast<ItemRecord*>(items.GetItemAt(2))->GetItemNo(), 9);
    items.LoadAll();  // a second load replaces the first
    EXPECT_EQ(items.GetCount(), 3);
}

TEST_F(DataCollectionsTest, LoadAllOfAFamilyWithoutAFirstRecordIsEmpty) {
    Put(kTagIncis, 1, 0, 0, 1);
    Incidences incidences;
    incidences.LoadAll();
    EXPECT_EQ(incidences.GetCount(), 0);
}

TEST_F(DataCollectionsTest, LoadAllForItemStopsAtTheFirstGap) {
    Put(kTagIncis, 4, 0, 0, 40);
    Put(kTagIncis, 4, 1, 0, 41);
    Put(kTagIncis, 4, 3, 0, 43);
    Incidences incidences;
    incidences.LoadAllForItem(4);
    ASSERT_EQ(incidences.GetCount(), 2);
    EXPECT_EQ(incidences.ValueAt(1), 41);
    incidences.LoadAllForItem(5);
    EXPECT_EQ(incidences.GetCount(), 0);
}

TEST_F(DataCollectionsTest, CustomTagReachesEveryElement) {
    Put(0x6F746463, 2, 0, 0, 7);
    Incidences incidences;
    incidences.SetCustomTag(0x6F746463);
    incidences.LoadAllForItem(2);
    ASSERT_EQ(incidences.GetCount(), 1);
    EXPECT_EQ(static_cast<__FCBaseData*>(incidences.GetItemAt(0))->GetCustomTag(), 0x6F746463u);
}

TEST_F(DataCollectionsTest, DeleteDataForItemWorksFromTheTopDown) {
    for (int i = 0; i < 3; ++i) Put(kTagIncis, 6, i, 0, static_cast<uint8_t>(i));
    Put(kTagIncis, 7, 0, 0, 70);
    Incidences incidences;
    ASSERT_TRUE(incidences.DeleteDataForItem(6));
    EXPECT_TRUE(StoredIncidences(kTagIncis, 6).empty());
    EXPECT_EQ(StoredIncidences(kTagIncis, 7), (std::vector<int>{70}));
    std::vector<std::string> deleted;
    for (const auto& call : host().Calls())
        if (call.name == "FX_DeleteEData") deleted.push_back(call.text);
    EXPECT_EQ(deleted, (std::vector<std::string>{"6,2,0", "6,1,0", "6,0,0"}));
    EXPECT_TRUE(incidences.DeleteDataForItem(6));  // nothing left: still a success

    // A refusal stops the work: what lies above it is gone, the rest stays.
    for (int i = 0; i < 3; ++i) Put(kTagIncis, 6, i, 0, static_cast<uint8_t>(i));
    host().refuseDeleteEData = [](const RecordId& id) { return id.a == 6 && id.b == 1; };
    host().ClearCalls();
    EXPECT_FALSE(incidences.DeleteDataForItem(6));
    EXPECT_EQ(StoredIncidences(kTagIncis, 6), (std::vector<int>{0, 1}));
    EXPECT_EQ(host().Count("FX_DeleteEData"), 2);
}

TEST_F(DataCollectionsTest, SaveAllForItemReplacesTheItemsRecordsInOrder) {
    for (int i = 0; i < 3; ++i) Put(kTagIncis, 6, i, 0, static_cast<uint8_t>(10 + i));
    Incidences incidences;
    incidences.LoadAllForItem(6);
    __FCBase* removed = incidences.GetItemAt(0);
    incidences.DeleteItemAt(0);  // the caller owns it now
    delete removed;
    IncidenceRecord* fresh = new IncidenceRecord;
    fresh->record[0] = 99;
    incidences.Add(fresh);
    EXPECT_FALSE(fresh->SaveNew(6));  // never loaded: refused
    ASSERT_TRUE(fresh->Load(6, 0));   // loaded, then given a value of its own
    fresh->record[0] = 99;
    ASSERT_TRUE(incidences.SaveAllForItem(6));
    EXPECT_EQ(StoredIncidences(kTagIncis, 6), (std::vector<int>{11, 12, 99}));
    EXPECT_EQ(FXRead<int16_t>(fresh->GetRecordKey(), 2), 2);  // the key names its new record

    // The host refuses the second record: the first stays saved, the third is not tried.
    host().refuseCreateEData = [](const RecordId& id) { return id.a == 6 && id.b == 1; };
    host().ClearCalls();
    EXPECT_FALSE(incidences.SaveAllForItem(6));
    EXPECT_EQ(StoredIncidences(kTagIncis, 6), (std::vector<int>{11}));
    EXPECT_EQ(host().Count("FX_CreateEData"), 2);

    host().refuseCreateEData = nullptr;
    host().refuseDeleteEData = [](const RecordId&) { return true; };
    EXPECT_FALSE(incidences.SaveAllForItem(6)) << "the old records could not go";
    EXPECT_EQ(host().Count("FX_CreateEData"), 2);
}

TEST_F(DataCollectionsTest, SaveAllForItemOfAnEmptyCollectionDeletesEverything) {
    for (int i = 0; i < 2; ++i) Put(kTagIncis, 6, i, 0, 1);
    Incidences empty;
    EXPECT_TRUE(empty.SaveAllForItem(6));
    EXPECT_TRUE(StoredIncidences(kTagIncis, 6).empty());
}

TEST_F(DataCollectionsTest, NoInciDetailLoadStopsAtTheFirstMissingNumber) {
    Put(kTagCellDetail, 5, 1, 0, 1);
    Put(kTagCellDetail, 5, 2, 0, 2);
    Put(kTagCellDetail, 5, 4, 0, 4);
    Pairs pairs;
    pairs.LoadAllForItem(5, 1);
    EXPECT_EQ(pairs.GetCount(), 2);
    pairs.LoadAllForItem(5, 4);
    EXPECT_EQ(pairs.GetCount(), 1);
}
