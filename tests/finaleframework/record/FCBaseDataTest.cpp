// The record protocol, with two small record classes against the substitute host's store:
// a fixed-size one (its record inside the object) and a dynamic-size one.
#include <cstring>

#include "FCBaseData.h"
#include "HostTest.h"
#include "finalepdk.h"

using plovikhost::RecordId;

namespace {

constexpr uint32_t kTag = 0x54455354;  // T E S T

// Addressed by (item, incidence 0); honours a custom tag.
class FixedRecord : public __FCBaseData {
  public:
    uint32_t Tag() override { return _customTag ? _customTag : kTag; }
    int32_t DataSizeLoad() override { return 6; }
    void* Allocate() override { return record; }
    __FCBaseData* CreateObject() override { return new FixedRecord; }
    bool LoadFirst() override { return Load(1); }
    bool Load(uint16_t item) {
        FXWrite<uint16_t>(_recordKey, 0, item);
        FXWrite<int16_t>(_recordKey, 2, 0);
        return LoadDataBlock();
    }
    uint8_t record[6] = {};
};

class DynamicRecord : public __FCBaseData {
  public:
    ~DynamicRecord() override { _FreeDynamicBlock(); }
    uint32_t Tag() override { return kTag; }
    int32_t DataSizeLoad() override {
        int32_t size = 0;
        return FX_LoadEData(Tag(), _recordKey, nullptr, &size, EnigmaVersion()) ? size : 0;
    }
    void* Allocate() override { return _NewDynamicBlock(DataSizeLoad()); }
    void Deallocate() override { _FreeDynamicBlock(); }
    bool IsDynamicSize() override { return true; }
    __FCBaseData* CreateObject() override { return new DynamicRecord; }
    bool LoadFirst() override { return Load(1); }
    bool Load(uint16_t item) {
        FXWrite<uint16_t>(_recordKey, 0, item);
        return LoadDataBlock();
    }
};

class FCBaseDataTest : public HostTest {
  protected:
    void Put(uint16_t item, std::vector<uint8_t> bytes, uint32_t tag = kTag) {
        doc().records.Put(RecordId{tag, item, 0, 0}, std::move(bytes));
    }
    std::vector<uint8_t> Stored(uint16_t item, uint32_t tag = kTag) {
        const auto* bytes = doc().records.Find(RecordId{tag, item, 0, 0});
        return bytes ? *bytes : std::vector<uint8_t>{};
    }
};

}  // namespace

TEST(FCBase, FlagSettersTouchOnlyTheMask) {
    __FCBase base;
    uint16_t word = 0x0100;
    base.Set16BitFlag(&word, 0x0030, true);
    EXPECT_EQ(word, 0x0130);
    base.Set16BitFlag(&word, 0x0030, false);
    EXPECT_EQ(word, 0x0100);
    // An unaligned word inside a record.
    uint8_t record[8] = {0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF};
    base.Set32BitFlag(FXAt<uint32_t>(record, 1), 0x40000000, true);
    EXPECT_EQ(FXRead<uint32_t>(record, 1), 0x40000000u);
    EXPECT_EQ(record[0], 0xFF);
    EXPECT_EQ(record[5], 0xFF);
    base.Set32BitFlag(FXAt<uint32_t>(record, 1), 0xFFFFFFFF, false);
    EXPECT_EQ(FXRead<uint32_t>(record, 1), 0u);
    EXPECT_TRUE(base.IsIdentical(nullptr));
    EXPECT_STREQ(base.ClassName(), "__FCBase");
}

TEST_F(FCBaseDataTest, FixedRecordLoadsIntoItsMemberRecordEveryTime) {
    Put(1, {1, 2, 3, 4, 5, 6});
    Put(2, {6, 5, 4});  // shorter than the record: only what is delivered counts
    FixedRecord r;
    EXPECT_EQ(r.GetDataSize(), 0);
    EXPECT_EQ(r.GetDataBuffer(), nullptr);
    ASSERT_TRUE(r.Load(1));
    EXPECT_EQ(r.GetDataBuffer(), r.record);
    EXPECT_EQ(r.GetDataSize(), 6);
    EXPECT_EQ(r.record[5], 6);
    ASSERT_TRUE(r.Load(2));
    EXPECT_EQ(r.GetDataBuffer(), r.record);
    EXPECT_EQ(r.GetDataSize(), 3);
    EXPECT_EQ(host().LastCall("FX_LoadEData")->args[3], 6);  // capacity offered
    EXPECT_EQ(host().LastCall("FX_LoadEData")->args[4], FRAMEWORK_ENIGMA_VERSION);
}

TEST_F(FCBaseDataTest, FailedLoadMakesTheNextSaveARefusal) {
    Put(1, {1, 2, 3, 4, 5, 6});
    FixedRecord r;
    ASSERT_TRUE(r.Load(1));
    EXPECT_FALSE(r.Load(9));
    EXPECT_EQ(r.GetDataSize(), 0);
    host().ClearCalls();
    EXPECT_FALSE(r.Save());
    EXPECT_EQ(host().Count("FX_SaveEData"), 0);
    FixedRecord never;
    EXPECT_FALSE(never.Save());
}

TEST_F(FCBaseDataTest, SaveWritesTheLoadedRecordBack) {
    Put(1, {1, 2, 3, 4, 5, 6});
    FixedRecord r;
    ASSERT_TRUE(r.Load(1));
    r.record[0] = 42;
    EXPECT_TRUE(r.Save());
    EXPECT_EQ(Stored(1), (std::vector<uint8_t>{42, 2, 3, 4, 5, 6}));
}

TEST_F(FCBaseDataTest, CloneIsIndependentAndSavesOverItsOrigin) {
    Put(3, {1, 2, 3, 4, 5, 6}, 0x6F746463);
    FixedRecord r;
    r.SetCustomTag(0x6F746463);
    int marker = 0;
    r.SetUserData(&marker);
    ASSERT_TRUE(r.Load(3));
    __FCBaseData* clone = r.CreateClone();
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->GetCustomTag(), 0x6F746463u);
    EXPECT_EQ(std::memcmp(clone->GetRecordKey(), r.GetRecordKey(), 8), 0);
    EXPECT_EQ(clone->GetUserData(), nullptr);
    EXPECT_EQ(clone->GetDataSize(), 6);
    ASSERT_NE(clone->GetDataBuffer(), r.GetDataBuffer());
    static_cast<uint8_t*>(clone->GetDataBuffer())[1] = 77;
    EXPECT_EQ(r.record[1], 2);
    EXPECT_TRUE(clone->Save());
    EXPECT_EQ(Stored(3, 0x6F746463)[1], 77);
    delete clone;
}

TEST_F(FCBaseDataTest, FixedCloneCopiesTheWholeRecordLoadedOrNot) {
    FixedRecord r;
    r.record[4] = 9;  // never loaded
    __FCBaseData* clone = r.CreateClone();
    EXPECT_EQ(clone->GetDataSize(), 6);
    EXPECT_EQ(static_cast<uint8_t*>(clone->GetDataBuffer())[4], 9);
    delete clone;
}

TEST_F(FCBaseDataTest, LoadNextLetsTheHostStepTheKey) {
    Put(1, {1});
    Put(2, {2});
    Put(5, {5});
    FixedRecord r;
    ASSERT_TRUE(r.LoadFirst());
    std::vector<int> seen{r.record[0]};
    while (r.LoadNext()) seen.push_back(r.record[0]);
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 5}));
    EXPECT_EQ(FXRead<uint16_t>(r.GetRecordKey(), 0), 5);
    EXPECT_EQ(host().LastCall("FX_NextEData")->args[2], 0);  // no buffer
    EXPECT_EQ(host().LastCall("FX_NextEData")->args[3], 0);  // size 0
}

TEST_F(FCBaseDataTest, DeleteDataLeavesTheObjectAlone) {
    Put(1, {1, 2, 3, 4, 5, 6});
    FixedRecord r;
    ASSERT_TRUE(r.Load(1));
    EXPECT_TRUE(r.DeleteData());
    EXPECT_TRUE(Stored(1).empty());
    EXPECT_EQ(r.GetDataSize(), 6);
    EXPECT_FALSE(r.DeleteData());
}

TEST_F(FCBaseDataTest, DynamicRecordGetsAFreshBlockSizedByTheHost) {
    Put(1, {'a', 'b', 'c', 0});
    Put(2, {'l', 'o', 'n', 'g', 'e', 'r', ' ', 't', 'e', 'x', 't', 0});
    DynamicRecord r;
    ASSERT_TRUE(r.Load(1));
    EXPECT_EQ(r.GetDataSize(), 4);
    ASSERT_TRUE(r.Load(2));
    EXPECT_EQ(r.GetDataSize(), 12);
    EXPECT_STREQ(static_cast<char*>(r.GetDataBuffer()), "longer text");
    EXPECT_FALSE(r.Load(3));
    EXPECT_EQ(r.GetDataSize(), 0);

    ASSERT_TRUE(r.Load(1));
    __FCBaseData* clone = r.CreateClone();
    EXPECT_EQ(clone->GetDataSize(), 4);
    EXPECT_STREQ(static_cast<char*>(clone->GetDataBuffer()), "abc");
    EXPECT_NE(clone->GetDataBuffer(), r.GetDataBuffer());
    delete clone;
    r.ClearData();
    EXPECT_EQ(r.GetDataBuffer(), nullptr);
    EXPECT_EQ(r.GetDataSize(), 0);
}
