// What note entries and layers do with the detail records of their entries: articulations
// copied and cached, tuplets cloned from one layer to another.
#include <memory>
#include <vector>

#include "FCArticulation.h"
#include "FCNoteEntryLayer.h"
#include "FCTuplet.h"
#include "RecordBuilders.h"
#include "ScoreTest.h"
#include "finalepdk.h"

using namespace plovikhost;

namespace {

class ArticulationsAndTupletsTest : public ScoreTest {
  protected:
    void SetUp() override {
        ScoreTest::SetUp();
        Score()
            .Staves({1, 2})
            .Measures(2)
            .Music(1, 1, "C4/q D4 E4 F4")
            .Music(2, 1, "C3/q D3 E3 F3");
    }
    uint32_t Number(int16_t staff, size_t index) {
        return Copy(Stored(staff, 1, index).entryNumber);
    }
    // The definitions of an entry's stored articulations, in incidence order (a gap ends them,
    // as it ends every walk).
    std::vector<int> Articulations(uint32_t entryNumber) {
        std::vector<int> ids;
        for (int32_t k = 0;; ++k) {
            auto* bytes = doc().records.Find(
                RecordId{TAG_ARTICULATION, static_cast<int32_t>(entryNumber), k, 0});
            if (!bytes) break;
            ids.push_back(FXRead<uint16_t>(bytes->data(), 0));
        }
        return ids;
    }
    size_t StoredArticulations() { return doc().records.All(TAG_ARTICULATION).size(); }
    // The option word of an entry's stored tuplet, or -1 when there is none.
    int TupletOptions(uint32_t entryNumber, int16_t incidence) {
        auto* bytes = doc().records.Find(
            RecordId{TAG_TUPLET, static_cast<int32_t>(entryNumber), incidence, 0});
        return bytes ? FXRead<uint16_t>(bytes->data(), TUPLET_OPTION_FLAGS) : -1;
    }
    static bool Flagged(FCNoteEntry* entry, uint32_t bit) {
        return (Copy(entry->GetEntryRecord()->flags) & bit) != 0;
    }
};

}  // namespace

TEST_F(ArticulationsAndTupletsTest, AddArticulationsAppendsTheSourcesAfterItsOwn) {
    PutArticulation(doc(), Number(1, 0), 0, 5);
    PutArticulation(doc(), Number(1, 0), 1, 7);
    PutArticulation(doc(), Number(1, 0), 2, 9);
    PutArticulation(doc(), Number(1, 1), 0, 7);
    FCNoteEntryLayer layer(0, 1, 1, 1);
    ASSERT_TRUE(layer.Load());
    FCNoteEntry* source = layer.GetItemAt(0);
    FCNoteEntry* target = layer.GetItemAt(1);
    EXPECT_EQ(target->AddArticulations(source, false), 3);
    EXPECT_EQ(Articulations(Number(1, 1)), (std::vector<int>{7, 5, 7, 9}));
    EXPECT_TRUE(Flagged(target, ENTRY_FLAG_ARTICULATIONS));
    EXPECT_EQ(Articulations(Number(1, 0)), (std::vector<int>{5, 7, 9})) << "source unchanged";
    ASSERT_TRUE(layer.Save());
    EXPECT_EQ(Copy(Stored(1, 1, 1).flags) & ENTRY_FLAG_ARTICULATIONS, ENTRY_FLAG_ARTICULATIONS);
}

TEST_F(ArticulationsAndTupletsTest, SkippedArticulationsLeaveNoGap) {
    PutArticulation(doc(), Number(1, 0), 0, 5);
    PutArticulation(doc(), Number(1, 0), 1, 7);
    PutArticulation(doc(), Number(1, 0), 2, 9);
    PutArticulation(doc(), Number(1, 1), 0, 7);
    FCNoteEntryLayer layer(0, 1, 1, 1);
    ASSERT_TRUE(layer.Load());
    EXPECT_EQ(layer.GetItemAt(1)->AddArticulations(layer.GetItemAt(0), true), 2);
    // Stored one after another: the walk of the entry's articulations reaches them all.
    EXPECT_EQ(Articulations(Number(1, 1)), (std::vector<int>{7, 5, 9}));
    EXPECT_EQ(StoredArticulations(), 6u);

    // Nothing new to add: nothing stored, and an entry without any keeps its flag clear.
    FCNoteEntry* third = layer.GetItemAt(2);
    EXPECT_EQ(third->AddArticulations(layer.GetItemAt(3), true), 0);
    EXPECT_FALSE(Flagged(third, ENTRY_FLAG_ARTICULATIONS));
}

TEST_F(ArticulationsAndTupletsTest, ACachedSourceIsUsedAndKeepsNamingItsOwnRecords) {
    PutArticulation(doc(), Number(1, 0), 0, 5);
    PutArticulation(doc(), Number(1, 0), 1, 7);
    FCNoteEntryLayer layer(0, 1, 1, 1);
    ASSERT_TRUE(layer.Load());
    FCNoteEntry* source = layer.GetItemAt(0);
    source->CacheArticulations();
    ASSERT_NE(source->GetCachedArticulations(), nullptr);
    // The host's records of the source are gone; the cache still has them.
    doc().records.Erase(RecordId{TAG_ARTICULATION, static_cast<int32_t>(Number(1, 0)), 0, 0});
    doc().records.Erase(RecordId{TAG_ARTICULATION, static_cast<int32_t>(Number(1, 0)), 0, 0});
    host().ClearCalls();
    EXPECT_EQ(layer.GetItemAt(2)->AddArticulations(source, false), 2);
    EXPECT_EQ(Articulations(Number(1, 2)), (std::vector<int>{5, 7}));
    for (const CallRecord& call : host().Calls()) {
        if (call.name != "FX_LoadEData") continue;
        EXPECT_NE(call.text.rfind(std::to_string(Number(1, 0)) + ",", 0), 0u)
            << "the source's records are not asked for";
    }
    FCArticulations* cache = source->GetCachedArticulations();
    ASSERT_EQ(cache->GetCount(), 2);
    EXPECT_EQ(cache->GetItemAt(1)->GetEntryNumber(), static_cast<int32_t>(Number(1, 0)));
    EXPECT_EQ(cache->GetItemAt(1)->GetIncidence(), 1);
}

TEST_F(ArticulationsAndTupletsTest, AnUnnumberedTargetGetsNoArticulations) {
    PutArticulation(doc(), Number(1, 0), 0, 5);
    FCNoteEntryLayer layer(0, 1, 1, 1);
    ASSERT_TRUE(layer.Load());
    FCNoteEntry* blank = layer.InsertEntriesAfter(layer.GetItemAt(0), 1);
    ASSERT_TRUE(blank);
    host().ClearCalls();
    EXPECT_EQ(blank->AddArticulations(layer.GetItemAt(0), false), 0);
    EXPECT_EQ(host().Count("FX_CreateEData"), 0);
    EXPECT_EQ(layer.GetItemAt(1)->AddArticulations(nullptr, false), 0);
    EXPECT_EQ(StoredArticulations(), 1u);
}

TEST_F(ArticulationsAndTupletsTest, AFailedStoreIsNotCounted) {
    PutArticulation(doc(), Number(1, 0), 0, 5);
    FCNoteEntryLayer layer(0, 1, 1, 1);
    ASSERT_TRUE(layer.Load());
    host().Hide("FX_CreateEData");
    Relookup();
    EXPECT_EQ(layer.GetItemAt(1)->AddArticulations(layer.GetItemAt(0), false), 0);
    EXPECT_FALSE(Flagged(layer.GetItemAt(1), ENTRY_FLAG_ARTICULATIONS));
}

TEST_F(ArticulationsAndTupletsTest, CacheArticulationsKeepsTheOldCacheWhenNoneLoad) {
    PutArticulation(doc(), Number(1, 0), 0, 5);
    FCNoteEntryLayer layer(0, 1, 1, 1);
    ASSERT_TRUE(layer.Load());
    FCNoteEntry* entry = layer.GetItemAt(0);
    EXPECT_EQ(entry->GetCachedArticulations(), nullptr);
    entry->CacheArticulations();
    FCArticulations* first = entry->GetCachedArticulations();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetCount(), 1);
    EXPECT_EQ(first->GetItemAt(0)->GetOwningEntry(), nullptr) << "elements are clones";

    doc().records.Erase(RecordId{TAG_ARTICULATION, static_cast<int32_t>(Number(1, 0)), 0, 0});
    entry->CacheArticulations();
    EXPECT_EQ(entry->GetCachedArticulations(), first);
    EXPECT_EQ(first->GetCount(), 1);

    PutArticulation(doc(), Number(1, 0), 0, 8);
    PutArticulation(doc(), Number(1, 0), 1, 9);
    entry->CacheArticulations();  // the old cache is destroyed (the sanitizer build checks)
    ASSERT_EQ(entry->GetCachedArticulations()->GetCount(), 2);
    EXPECT_EQ(entry->GetCachedArticulations()->GetItemAt(1)->GetID(), 9);

    FCNoteEntry* clone = entry->CreateShallowClone();
    EXPECT_EQ(clone->GetCachedArticulations(), nullptr);
    delete clone;
}

TEST_F(ArticulationsAndTupletsTest, CloneTupletsBetweenLayersOfEqualLength) {
    PutTuplet(doc(), Number(1, 0), 0, 0x0011);
    PutTuplet(doc(), Number(1, 0), 1, 0x0022);
    PutTuplet(doc(), Number(1, 2), 0, 0x0033);
    Stored(1, 1, 0).flags |= ENTRY_FLAG_TUPLETS;
    Stored(1, 1, 2).flags |= ENTRY_FLAG_TUPLETS;
    Stored(1, 1, 3).flags |= ENTRY_FLAG_TUPLETS;  // flagged, but no tuplet to be found
    // The target's own: one over which the source's is stored, one whose source has none.
    PutTuplet(doc(), Number(2, 0), 0, 0x0099);
    PutTuplet(doc(), Number(2, 1), 0, 0x0044);
    Stored(2, 1, 1).flags |= ENTRY_FLAG_TUPLETS;
    Stored(2, 1, 3).flags |= ENTRY_FLAG_TUPLETS;

    FCNoteEntryLayer source(0, 1, 1, 1), target(0, 2, 1, 1);
    ASSERT_TRUE(source.Load());
    ASSERT_TRUE(target.Load());
    EXPECT_TRUE(target.CloneTuplets(&source));
    EXPECT_EQ(TupletOptions(Number(2, 0), 0), 0x0011);
    EXPECT_EQ(TupletOptions(Number(2, 0), 1), 0x0022);
    EXPECT_EQ(TupletOptions(Number(2, 1), 0), 0x0044) << "its source has no tuplets";
    EXPECT_EQ(TupletOptions(Number(2, 2), 0), 0x0033);
    EXPECT_TRUE(Flagged(target.GetItemAt(0), ENTRY_FLAG_TUPLETS));
    EXPECT_TRUE(Flagged(target.GetItemAt(1), ENTRY_FLAG_TUPLETS));
    EXPECT_TRUE(Flagged(target.GetItemAt(2), ENTRY_FLAG_TUPLETS));
    EXPECT_FALSE(Flagged(target.GetItemAt(3), ENTRY_FLAG_TUPLETS)) << "none was stored";

    // Saved and loaded again, the target's frame shows the tuplets.
    ASSERT_TRUE(target.Save());
    FCNoteEntryLayer again(0, 2, 1, 1);
    ASSERT_TRUE(again.Load());
    EDTTuplet2005 definition;
    ASSERT_TRUE(again.GetItemAt(0)->_GetTupletDef(1, &definition));
    EXPECT_EQ(FXRead<uint16_t>(definition.bytes, TUPLET_OPTION_FLAGS), 0x0022);
    EXPECT_TRUE(Flagged(again.GetItemAt(2), ENTRY_FLAG_TUPLETS));
}

TEST_F(ArticulationsAndTupletsTest, CloneTupletsBetweenLayersOfDifferentLengthsChangesNothing) {
    Score().Music(2, 1, "G3/q");
    PutTuplet(doc(), Number(1, 0), 0, 0x0011);
    Stored(1, 1, 0).flags |= ENTRY_FLAG_TUPLETS;
    FCNoteEntryLayer source(0, 1, 1, 1), target(0, 2, 1, 1);
    ASSERT_TRUE(source.Load());
    ASSERT_TRUE(target.Load());
    ASSERT_EQ(target.GetCount(), 5);
    host().ClearCalls();
    EXPECT_FALSE(target.CloneTuplets(&source));
    EXPECT_FALSE(source.CloneTuplets(&target));
    EXPECT_FALSE(target.CloneTuplets(nullptr));
    EXPECT_EQ(host().Count("FX_SaveEData") + host().Count("FX_CreateEData"), 0);
    EXPECT_FALSE(Flagged(target.GetItemAt(0), ENTRY_FLAG_TUPLETS));
}

TEST_F(ArticulationsAndTupletsTest, CloneTupletsNeedsANumberedTarget) {
    PutTuplet(doc(), Number(1, 1), 0, 0x0011);
    Stored(1, 1, 1).flags |= ENTRY_FLAG_TUPLETS;
    FCNoteEntryLayer source(0, 1, 1, 1);
    ASSERT_TRUE(source.Load());
    // A copy of the music on staff 2, not yet saved: its entries have no numbers.
    std::unique_ptr<FCNoteEntryLayer> copy(source.CreateCloneEntries(0, 2, 2));
    ASSERT_EQ(copy->GetCount(), 4);
    host().ClearCalls();
    EXPECT_FALSE(copy->CloneTuplets(&source)) << "a tuplet could not be stored";
    EXPECT_EQ(host().Count("FX_SaveEData") + host().Count("FX_CreateEData"), 0);
    EXPECT_EQ(TupletOptions(0, 0), -1) << "nothing under entry number 0";
    EXPECT_FALSE(Flagged(copy->GetItemAt(1), ENTRY_FLAG_TUPLETS));

    // Saved (and so numbered), the copy takes the tuplets.
    ASSERT_TRUE(copy->Save());
    EXPECT_TRUE(copy->CloneTuplets(&source));
    EXPECT_EQ(TupletOptions(Copy(Stored(2, 2, 1).entryNumber), 0), 0x0011);
}
