// The entries of one cell across its layers, loaded from the substitute host.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "FCCell.h"
#include "FCMusicRegion.h"
#include "FCNoteEntryCell.h"
#include "ScoreTest.h"

using namespace plovikhost;

namespace {

class FCNoteEntryCellTest : public ScoreTest {
  protected:
    void SetUp() override {
        ScoreTest::SetUp();
        // Staff 8 is in slot 2.
        Score().Staves({3, 8}).Measures(3);
    }
    // The layers (frame layer fields) of the cell's entries, in collection order.
    static std::vector<int> LayersOf(const FCNoteEntryCell& cell) {
        std::vector<int> out;
        for (int i = 0; i < cell.GetCount(); ++i)
            out.push_back(cell.GetItemAt(i)->GetFrame()->layer);
        return out;
    }
    static std::vector<int> PositionsOf(const FCNoteEntryCell& cell) {
        std::vector<int> out;
        for (int i = 0; i < cell.GetCount(); ++i) out.push_back(cell.GetItemAt(i)->GetMeasurePos());
        return out;
    }
    // The layer indices of the frames asked for since the log was last cleared.
    std::vector<int> LayersAskedFor() {
        std::vector<int> out;
        for (const CallRecord& call : host().Calls())
            if (call.name == "FX_LoadTGF") out.push_back(static_cast<int>(call.args[3]));
        return out;
    }
    // Music in every layer of measure 2 of staff 8: one entry in layer 0, two in 1, ...
    void FourLayers() {
        Score()
            .Music(8, 2, "C4/w")
            .Music(8, 2, "D4/h E4", 1)
            .Music(8, 2, "F4/q G4 A4", 2)
            .Music(8, 2, "B4/q C5 D5 E5", 3);
    }
    FCCell cell_{2, 8};
};

TEST_F(FCNoteEntryCellTest, AfterConstruction) {
    FCNoteEntryCell cell(&cell_);
    EXPECT_STREQ(cell.ClassName(), "FCNoteEntryCell");
    EXPECT_EQ(cell.GetMeasure(), 2);
    EXPECT_EQ(cell.GetStaff(), 8);
    EXPECT_EQ(cell.GetLayerSelectionMode(), 0);
    EXPECT_EQ(cell._GetFrame(FCNoteEntryCell::MAX_LAYERS), nullptr);
    EXPECT_TRUE(cell.Save()) << "nothing to save";
}

TEST_F(FCNoteEntryCellTest, LayerSelectionModes) {
    FourLayers();
    Score().HideLayer(1);
    FCNoteEntryCell cell(&cell_);

    host().ClearCalls();
    ASSERT_TRUE(cell.Load());
    EXPECT_EQ(LayersAskedFor(), (std::vector<int>{0, 2, 3})) << "mode 0: the shown layers";
    EXPECT_EQ(LayersOf(cell), (std::vector<int>{0, 2, 2, 2, 3, 3, 3, 3}));
    EXPECT_EQ(host().LastCall("FX_LoadTGF")->args[1], 2) << "by slot";
    EXPECT_EQ(host().LastCall("FX_LoadTGF")->args[4], 1) << "load mode 1";
    EXPECT_EQ(host().Frames().Outstanding(), 3);

    cell.SetLayerSelectionMode(2);
    host().ClearCalls();
    ASSERT_TRUE(cell.Load());
    EXPECT_EQ(LayersAskedFor(), (std::vector<int>{1})) << "mode 2: layer index 1, hidden or not";
    EXPECT_EQ(LayersOf(cell), (std::vector<int>{1, 1}));
    EXPECT_EQ(cell._GetFrame(0), nullptr);
    EXPECT_NE(cell._GetFrame(1), nullptr);
    EXPECT_EQ(host().Frames().Outstanding(), 1) << "the frames of the last load were given back";

    cell.SetLayerSelectionMode(5);
    host().ClearCalls();
    EXPECT_TRUE(cell.Load());
    EXPECT_EQ(cell.GetCount(), 0);
    EXPECT_TRUE(LayersAskedFor().empty());

    cell.SetLayerSelectionMode(-1);
    ASSERT_TRUE(cell.Load());
    EXPECT_EQ(LayersOf(cell), (std::vector<int>{0, 1, 1, 2, 2, 2, 3, 3, 3, 3}));
}

TEST_F(FCNoteEntryCellTest, EachLayerIsAChainOfItsOwn) {
    Score().Music(8, 2, "C4/q D4 E4").Music(8, 2, "F4/q G4 A4", 1);
    FCNoteEntryCell cell(&cell_);
    ASSERT_TRUE(cell.Load());
    ASSERT_EQ(cell.GetCount(), 6);
    EXPECT_EQ(cell.GetItemAt(0)->Previous(), nullptr);
    EXPECT_EQ(cell.GetItemAt(0)->Next(), cell.GetItemAt(1));
    EXPECT_EQ(cell.GetItemAt(1)->Next(), cell.GetItemAt(2));
    EXPECT_EQ(cell.GetItemAt(2)->Previous(), cell.GetItemAt(1));
    EXPECT_EQ(cell.GetItemAt(2)->Next(), nullptr) << "the last of layer 0";
    EXPECT_EQ(cell.GetItemAt(3)->Previous(), nullptr) << "the first of layer 1";
    EXPECT_EQ(cell.GetItemAt(3)->Next(), cell.GetItemAt(4));
    EXPECT_EQ(cell.GetItemAt(5)->Next(), nullptr);
    EXPECT_EQ(cell.GetItemAt(4)->GetStaff(), 8);
    EXPECT_EQ(cell.GetItemAt(4)->GetMeasure(), 2);
}

TEST_F(FCNoteEntryCellTest, AFrameTheHostCannotLoadFailsTheWholeLoad) {
    FourLayers();
    FCNoteEntryCell cell(&cell_);
    cell.SetLayerSelectionMode(-1);
    ASSERT_TRUE(cell.Load());
    host().refuseLoadTGF = [](const FrameRequest& r) { return r.layer == 2; };
    EXPECT_FALSE(cell.Load());
    EXPECT_EQ(cell.GetCount(), 0);
    for (int layer = 0; layer < 4; ++layer) EXPECT_EQ(cell._GetFrame(layer), nullptr);
    EXPECT_EQ(host().Frames().Outstanding(), 0) << "layers 0 and 1 were given back";
}

// Whatever layer count the host answers, a cell holds at most 20 frames.
TEST_F(FCNoteEntryCellTest, NeverMoreLayersThanTheCellHolds) {
    FourLayers();
    host().maxLayers = 40;
    for (int16_t layer = 4; layer < 40; ++layer) Score().HideLayer(layer);
    FCNoteEntryCell cell(&cell_);
    host().ClearCalls();
    ASSERT_TRUE(cell.Load());
    int highestAsked = -1;
    for (const CallRecord& call : host().Calls())
        if (call.name == "FX_GetShowLayer")
            highestAsked = std::max(highestAsked, static_cast<int>(call.args[0]));
    EXPECT_EQ(highestAsked, FCNoteEntryCell::MAX_LAYERS - 1);
    EXPECT_EQ(cell.GetCount(), 10);

    // Every layer up to 40: the host has only four, so the fifth fails the load.
    cell.SetLayerSelectionMode(-1);
    EXPECT_FALSE(cell.Load());
    host().maxLayers = -3;
    EXPECT_TRUE(cell.Load());
    EXPECT_EQ(cell.GetCount(), 0);
}

TEST_F(FCNoteEntryCellTest, FewerLayersLaterAreSavedButEveryFrameIsGivenBack) {
    FourLayers();
    {
        FCNoteEntryCell cell(&cell_);
        cell.SetLayerSelectionMode(-1);
        ASSERT_TRUE(cell.Load());
        host().maxLayers = 1;
        host().ClearCalls();
        EXPECT_TRUE(cell.Save());
        EXPECT_EQ(host().Count("FX_SaveTGF"), 1) << "only the layers the host now has";
        EXPECT_EQ(host().Count("FX_GetMaxLayers"), 2) << "asked before every layer";
        EXPECT_EQ(host().Frames().Outstanding(), 4);
    }
    EXPECT_EQ(host().Frames().Outstanding(), 0);
}

TEST_F(FCNoteEntryCellTest, SaveStoresEveryFrameAndReportsARefusal) {
    Score().Music(8, 2, "C4/h C4").Music(8, 2, "E4/h E4", 1);
    FCNoteEntryCell cell(&cell_);
    ASSERT_TRUE(cell.Load());
    cell.GetItemAt(0)->TieAll(true);
    cell.GetItemAt(2)->TieAll(true);
    host().refuseSaveTGF = [](const EXTGF2005a* frame) { return frame->layer == 0; };
    EXPECT_FALSE(cell.Save());
    EXPECT_EQ(Music(8, 2, 0), "C4/h C4/h");
    EXPECT_EQ(Music(8, 2, 1), "E4~/h E4/h") << "the save went on after the refusal";
    host().refuseSaveTGF = nullptr;
    EXPECT_TRUE(cell.Save());
    EXPECT_EQ(Music(8, 2, 0), "C4~/h C4/h");
}

TEST_F(FCNoteEntryCellTest, DeleteAllNullEntriesRenumbersTheRecords) {
    Score().Music(8, 2, "C4/q D4 E4 F4 G4").Music(8, 2, "A4/h B4", 1);
    // Null entries: two side by side in layer 0, the last of layer 1.
    Stored(8, 2, 1).duration = 0;
    Stored(8, 2, 2).duration = 0;
    Stored(8, 2, 1, 1).duration = 0;
    FCNoteEntryCell cell(&cell_);
    ASSERT_TRUE(cell.Load());
    ASSERT_EQ(cell.GetCount(), 7);
    host().ClearCalls();
    cell.DeleteAllNullEntries();
    EXPECT_EQ(host().Count("FX_DeleteEXENTRY"), 3);

    ASSERT_EQ(cell.GetCount(), 4);
    const int records[] = {0, 1, 2, 0};
    for (int i = 0; i < 4; ++i) {
        FCNoteEntry* entry = cell.GetItemAt(i);
        EXPECT_EQ(entry->_CalcTGFIndex(), records[i]) << "entry " << i;
        EXPECT_EQ(entry->GetNoteCount(), 1);
        EXPECT_EQ(entry->GetItemAt(0)->_GetNoteRecord(), &entry->GetEntryRecord()->notes[0]);
    }
    EXPECT_EQ(cell.GetItemAt(1)->Previous(), cell.GetItemAt(0));
    EXPECT_EQ(cell.GetItemAt(2)->Next(), nullptr);
    EXPECT_EQ(cell.GetItemAt(3)->Previous(), nullptr) << "layer 1 stays a chain of its own";
    EXPECT_EQ(Copy(cell._GetFrame(0)->entryCount), 3);
    EXPECT_EQ(Copy(cell._GetFrame(1)->entryCount), 1);

    ASSERT_TRUE(cell.Save());
    EXPECT_EQ(Music(8, 2, 0), "C4/q F4/q G4/q");
    EXPECT_EQ(Music(8, 2, 1), "A4/h");
}

TEST_F(FCNoteEntryCellTest, DeleteAllNullEntriesWithoutNullEntriesRebuildsOnly) {
    Score().Music(8, 2, "C4/q D4");
    FCNoteEntryCell cell(&cell_);
    ASSERT_TRUE(cell.Load());
    EXTGF2005a* frame = cell._GetFrame(0);
    EXENTRY* firstRecord = frame->entries;
    host().ClearCalls();
    cell.DeleteAllNullEntries();
    EXPECT_EQ(host().Count("FX_DeleteEXENTRY"), 0);
    ASSERT_EQ(cell.GetCount(), 2);
    EXPECT_EQ(cell._GetFrame(0), frame);
    EXPECT_EQ(cell.GetItemAt(0)->GetEntryRecord(), firstRecord);
    EXPECT_EQ(cell.GetItemAt(0)->Next(), cell.GetItemAt(1));
}

TEST_F(FCNoteEntryCellTest, FindClosestPos) {
    Score().Music(8, 2, "C4/480 D4/40 E4/q");
    FCNoteEntryCell cell(&cell_);
    ASSERT_TRUE(cell.Load());
    ASSERT_EQ(PositionsOf(cell), (std::vector<int>{0, 480, 520}));
    EXPECT_EQ(cell.FindClosestPos(500), cell.GetItemAt(1)) << "a tie goes to the first met";
    EXPECT_EQ(cell.FindClosestPos(519), cell.GetItemAt(2));
    EXPECT_EQ(cell.FindClosestPos(-100), cell.GetItemAt(0));

    // Ties follow the collection's order, not the positions: layer 0 comes first.
    Score().Music(8, 3, "r/600 C4/q").Music(8, 3, "D4/400 E4/q", 1);
    FCCell third(3, 8);
    FCNoteEntryCell layered(&third);
    ASSERT_TRUE(layered.Load());
    ASSERT_EQ(PositionsOf(layered), (std::vector<int>{0, 600, 0, 400}));
    EXPECT_EQ(layered.FindClosestPos(500), layered.GetItemAt(1));
    EXPECT_EQ(layered.FindClosestPos(0), layered.GetItemAt(0));
    EXPECT_EQ(layered.FindClosestPos(401), layered.GetItemAt(3));
}

TEST_F(FCNoteEntryCellTest, NothingIs20000OrMoreAway) {
    Score().Music(8, 2, "C4/q D4");
    Stored(8, 2, 0).position = 25000;
    Stored(8, 2, 1).position = INT32_MIN;  // host data
    FCNoteEntryCell cell(&cell_);
    ASSERT_TRUE(cell.Load());
    EXPECT_EQ(cell.FindClosestPos(0), nullptr);
    EXPECT_EQ(cell.FindClosestPos(5000), nullptr) << "exactly 20000 away";
    EXPECT_EQ(cell.FindClosestPos(5001), cell.GetItemAt(0));
    EXPECT_EQ(cell.FindClosestPos(INT32_MAX), nullptr);
    EXPECT_EQ(cell.FindClosestPos(INT32_MIN + 19999), cell.GetItemAt(1));
    FCNoteEntryCell empty(&cell_);
    EXPECT_EQ(empty.FindClosestPos(0), nullptr);
}

TEST_F(FCNoteEntryCellTest, RegionItemsAtTheBoundaryMeasures) {
    Score().Music(8, 2, "C4/479 D4/1 E4/1 F4/q");
    FCNoteEntryCell cell(&cell_);
    ASSERT_TRUE(cell.Load());
    ASSERT_EQ(PositionsOf(cell), (std::vector<int>{0, 479, 480, 481}));

    const EREGION startsIn2 = Region(1, 2, 2, 3, 480);
    FCMusicRegion start(&startsIn2);
    EXPECT_EQ(cell.GetRegionItemAt(1, &start), nullptr) << "at 479";
    EXPECT_EQ(cell.GetRegionItemAt(2, &start), cell.GetItemAt(2)) << "at 480";
    EXPECT_EQ(cell.GetRegionItemAt(3, &start), cell.GetItemAt(3));

    const EREGION endsIn2 = Region(1, 2, 1, 2, 0, 480);
    FCMusicRegion end(&endsIn2);
    EXPECT_EQ(cell.GetRegionItemAt(0, &end), cell.GetItemAt(0));
    EXPECT_EQ(cell.GetRegionItemAt(2, &end), cell.GetItemAt(2)) << "at 480";
    EXPECT_EQ(cell.GetRegionItemAt(3, &end), nullptr) << "at 481";

    const EREGION around = Region(1, 2, 1, 3, 4000, 0);
    FCMusicRegion middle(&around);
    EXPECT_EQ(cell.GetRegionItemAt(3, &middle), cell.GetItemAt(3)) << "a measure in between";

    EXPECT_EQ(cell.GetRegionItemAt(-1, &start), nullptr);
    EXPECT_EQ(cell.GetRegionItemAt(4, &start), nullptr);
    EXPECT_EQ(cell.GetRegionItemAt(1000, &middle), nullptr);
    EXPECT_EQ(cell.GetRegionItemAt(0, nullptr), nullptr);
}

}  // namespace
