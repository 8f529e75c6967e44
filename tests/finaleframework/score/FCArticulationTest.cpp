// Articulations on note entries: the record, the definition it shows, and the collection of an
// entry's articulations.
#include <memory>
#include <vector>

#include "FCArticulation.h"
#include "FCArticulationDef.h"
#include "FCNoteEntry.h"
#include "HostTest.h"
#include "RecordBuilders.h"
#include "finalepdk.h"

using namespace plovikhost;

namespace {

class FCArticulationTest : public HostTest {
  protected:
    FCArticulationTest() {
        record.entryNumber = 40;
        record.flags = ENTRY_FLAG_NOTE;
        frame.entries = &record;
        frame.entryCount = 1;
        frame.slot = 1;
    }
    void SetUp() override {
        HostTest::SetUp();
        doc().CellAt(1, 1, 0).entries.push_back(record);
        entry = std::make_unique<FCNoteEntry>(&record, &frame);
    }
    void TearDown() override {
        entry.reset();
        HostTest::TearDown();
    }

    EXENTRY record{};
    EXTGF2005a frame{};
    std::unique_ptr<FCNoteEntry> entry;
};

}  // namespace

TEST_F(FCArticulationTest, RecordAndFamily) {
    FCArticulation a;
    EXPECT_STREQ(a.ClassName(), "FCArticulation");
    EXPECT_EQ(a.Tag(), 0x6564494Du);
    EXPECT_EQ(a.DataSizeLoad(), 10);
    EXPECT_EQ(a.GetDataBuffer(), a.Allocate());
    EXPECT_EQ(a.GetDataSize(), 0);
    std::unique_ptr<__FCBaseData> made(a.CreateObject());
    EXPECT_STREQ(made->ClassName(), "FCArticulation");
    FCArticulations all;
    EXPECT_STREQ(all.ClassName(), "FCArticulations");
    std::unique_ptr<__FCBaseData> element(all.CreateElement());
    EXPECT_STREQ(element->ClassName(), "FCArticulation");
}

TEST_F(FCArticulationTest, PlacementBytesTravelUnchanged) {
    std::vector<uint8_t> bytes = {7, 0, 1, 2, 3, 4, 5, 6, 7, 8};
    doc().records.Put(RecordId{TAG_ARTICULATION, 40, 0, 0}, bytes);
    FCArticulation a;
    a.SetOwningEntry(entry.get());
    ASSERT_TRUE(a.LoadFirst());
    EXPECT_EQ(a.GetID(), 7);
    std::unique_ptr<FCArticulation> clone(static_cast<FCArticulation*>(a.CreateClone()));
    EXPECT_EQ(clone->GetOwningEntry(), nullptr);
    clone->SetID(9);
    ASSERT_TRUE(clone->Save());
    bytes[0] = 9;
    EXPECT_EQ(*doc().records.Find(RecordId{TAG_ARTICULATION, 40, 0, 0}), bytes);
}

TEST_F(FCArticulationTest, SavingANewOneFlagsTheEntry) {
    FCArticulation a;
    a._SetEntry(entry.get());
    a.SetID(3);
    ASSERT_TRUE(a.SaveNew());
    EXPECT_EQ(a.GetIncidence(), 0);
    EXPECT_EQ(Copy(record.flags) & ENTRY_FLAG_ARTICULATIONS, ENTRY_FLAG_ARTICULATIONS);
    EXPECT_EQ(Copy(record.flags) & ENTRY_FLAG_TUPLETS, 0u) << "only the articulation bit";
}

TEST_F(FCArticulationTest, ContainsIDComparesSignedNumbers) {
    FCArticulations all;
    EXPECT_FALSE(all.ContainsID(0)) << "empty";
    PutArticulation(doc(), 40, 0, 12);
    PutArticulation(doc(), 40, 1, 0xFFFF);
    all.SetOwningEntry(entry.get());
    all.LoadAll();
    ASSERT_EQ(all.GetCount(), 2);
    EXPECT_TRUE(all.ContainsID(12));
    EXPECT_TRUE(all.ContainsID(-1));
    EXPECT_FALSE(all.ContainsID(13));
    all.Add(nullptr);  // a slot without an element is passed over
    EXPECT_FALSE(all.ContainsID(0));
}

TEST_F(FCArticulationTest, DefinitionIsCreatedWhetherOrNotItLoads) {
    std::vector<uint8_t> def(48, 0);
    def[0] = '>';
    doc().records.Put(RecordId{TAG_ARTICULATION_DEF, 12, 0, 0}, def);
    PutArticulation(doc(), 40, 0, 12);
    PutArticulation(doc(), 40, 1, 13);
    FCArticulations all;
    all.SetOwningEntry(entry.get());
    all.LoadAll();
    ASSERT_EQ(all.GetCount(), 2);

    std::unique_ptr<FCArticulationDef> found(all.GetItemAt(0)->CreateArticulationDef());
    ASSERT_TRUE(found);
    EXPECT_EQ(found->GetDataSize(), 48);
    EXPECT_EQ(found->GetMainSymbolChar(), '>');
    std::unique_ptr<FCArticulationDef> missing(all.GetItemAt(1)->CreateArticulationDef());
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->GetDataSize(), 0);
    EXPECT_EQ(missing->GetItemNo(), 13);
}
