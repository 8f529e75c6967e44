// Cells: the duration of a cell's layers, cells over a region walked by measure and staff, and
// the measures of a region.
#include <utility>
#include <vector>

#include "FCCell.h"
#include "FCCells.h"
#include "FCIteratorHandler.h"
#include "FCKeySignature.h"
#include "FCMeasures.h"
#include "FCMusicRegion.h"
#include "RecordBuilders.h"
#include "ScoreTest.h"

using namespace plovikhost;

namespace {

// Answers true until it has seen `stopAt` cells.
class CellVisitor : public FCIteratorHandler {
  public:
    explicit CellVisitor(int stopAt = -1) : stopAt_(stopAt) {}
    bool Iterate(__FCBase* item) override {
        FCCell* cell = static_cast<FCCell*>(item);
        seen.emplace_back(cell->GetMeasure(), cell->GetStaff());
        return static_cast<int>(seen.size()) != stopAt_;
    }
    std::vector<std::pair<int, int>> seen;

  private:
    int stopAt_;
};

class FCCellsTest : public ScoreTest {
  protected:
    void SetUp() override {
        ScoreTest::SetUp();
        // Instrument numbers unlike their slots: slot 1 holds staff 7, slot 2 staff 4.
        Score().Staves({7, 4, 9}).Measures(8);
    }
    static std::vector<std::pair<int, int>> CellsOf(const FCCells& cells) {
        std::vector<std::pair<int, int>> out;
        for (int i = 0; i < cells.GetCount(); ++i)
            out.emplace_back(cells.GetItemAt(i)->GetMeasure(), cells.GetItemAt(i)->GetStaff());
        return out;
    }
};

TEST_F(FCCellsTest, EntryDurationOverLayers) {
    Score().Music(4, 2, "C4/w").Music(4, 2, "D4/h", 1);
    FCCell cell(2, 4);
    EXPECT_EQ(cell.CalcEntryDuration(-1), 4096);
    EXPECT_EQ(cell.CalcEntryDuration(0), 4096);
    EXPECT_EQ(cell.CalcEntryDuration(1), 4096);
    EXPECT_EQ(cell.CalcEntryDuration(2), 2048);
    EXPECT_EQ(cell.CalcEntryDuration(3), 0) << "an empty layer";
    host().ClearCalls();
    EXPECT_EQ(cell.CalcEntryDuration(7), 0) << "no such layer among four";
    EXPECT_EQ(cell.CalcEntryDuration(5), 0);
    EXPECT_EQ(host().Count("FX_LoadTGF"), 0);

    // The frames are asked for by slot, as the host shows them, and given back at once.
    host().ClearCalls();
    cell.CalcEntryDuration(2);
    const CallRecord* load = host().LastCall("FX_LoadTGF");
    ASSERT_NE(load, nullptr);
    EXPECT_EQ(load->args[1], 2) << "slot of staff 4";
    EXPECT_EQ(load->args[2], 2);
    EXPECT_EQ(load->args[3], 1);
    EXPECT_EQ(load->args[4], 1);
    EXPECT_EQ(host().Frames().Outstanding(), 0);
}

TEST_F(FCCellsTest, EntryDurationOfShownLayersAndOfFramesThatDoNotLoad) {
    Score().Music(4, 2, "C4/w").Music(4, 2, "D4/h", 1).HideLayer(0);
    FCCell cell(2, 4);
    EXPECT_EQ(cell.CalcEntryDuration(0), 2048) << "layer 1 is hidden";
    EXPECT_EQ(cell.CalcEntryDuration(-1), 4096) << "every layer, shown or not";

    host().refuseLoadTGF = [](const FrameRequest& r) { return r.layer == 0; };
    EXPECT_EQ(cell.CalcEntryDuration(-1), 2048) << "a layer that does not load is passed over";
    EXPECT_EQ(cell.CalcEntryDuration(1), 0);

    FCCell nowhere(2, 30);
    EXPECT_EQ(nowhere.CalcEntryDuration(-1), 0);
    host().maxLayers = 1;
    EXPECT_EQ(cell.CalcEntryDuration(2), 0) << "the host now has one layer";
}

TEST_F(FCCellsTest, TheCellOwnsTheKeySignatureItIsGiven) {
    FCCell cell(1, 7);
    EXPECT_STREQ(cell.ClassName(), "FCCell");
    EXPECT_EQ(cell.GetKeySignature(), nullptr);
    FCKeySignature* key = new FCKeySignature;
    cell._SetKeySignature(key);
    cell._SetKeySignature(key);  // the same one again is kept, not destroyed
    EXPECT_EQ(cell.GetKeySignature(), key);
    cell._SetKeySignature(new FCKeySignature);  // the first one is destroyed
    EXPECT_NE(cell.GetKeySignature(), nullptr);
}

TEST_F(FCCellsTest, ApplyRegionGoesMeasureByMeasureInSlotOrder) {
    FCCells cells;
    EXPECT_STREQ(cells.ClassName(), "FCCells");
    const EREGION record = Region(1, 2, 3, 4);
    FCMusicRegion region(&record);
    cells.ApplyRegion(&region);
    EXPECT_EQ(CellsOf(cells), (std::vector<std::pair<int, int>>{{3, 7}, {3, 4}, {4, 7}, {4, 4}}));

    // Applying again replaces the cells.
    FCMusicRegion empty;
    cells.ApplyRegion(&empty);
    EXPECT_EQ(CellsOf(cells), (std::vector<std::pair<int, int>>{{0, 0}}))
        << "the empty region: measure 0, slot 0";
    const EREGION backwards = Region(2, 1, 3, 3);
    FCMusicRegion reversed(&backwards);
    cells.ApplyRegion(&reversed);
    EXPECT_EQ(cells.GetCount(), 0);
    cells.ApplyRegion(&region);
    cells.ApplyRegion(nullptr);
    EXPECT_EQ(cells.GetCount(), 0);
}

TEST_F(FCCellsTest, WalksByMeasureAndByStaff) {
    const EREGION record = Region(1, 2, 3, 4);
    FCMusicRegion region(&record);
    FCCells cells;
    cells.ApplyRegion(&region);

    CellVisitor atMeasure;
    EXPECT_EQ(cells.ForEachAtMeasure(4, &atMeasure), 2);
    EXPECT_EQ(atMeasure.seen, (std::vector<std::pair<int, int>>{{4, 7}, {4, 4}}));
    CellVisitor stopAtOnce(1);
    EXPECT_EQ(cells.ForEachAtMeasure(4, &stopAtOnce), 0);
    EXPECT_EQ(stopAtOnce.seen.size(), 1u);

    CellVisitor atStaff;
    EXPECT_EQ(cells.ForEachAtStaff(4, &atStaff), 2);
    EXPECT_EQ(atStaff.seen, (std::vector<std::pair<int, int>>{{3, 4}, {4, 4}}));
    CellVisitor stopAtSecond(2);
    EXPECT_EQ(cells.ForEachAtStaff(7, &stopAtSecond), 1);

    CellVisitor none;
    EXPECT_EQ(cells.ForEachAtStaff(2, &none), 0) << "staves are instrument numbers, not slots";
    EXPECT_EQ(cells.ForEachAtMeasure(4 + 65536, &none), 0) << "a full 32-bit comparison";
    EXPECT_TRUE(none.seen.empty());
    EXPECT_EQ(cells.ForEachAtMeasure(4, nullptr), 0);
}

TEST_F(FCCellsTest, MeasuresOfARegion) {
    const EREGION record = Region(1, 1, 1, 10);
    FCMusicRegion region(&record);
    FCMeasures measures;
    EXPECT_STREQ(measures.ClassName(), "FCMeasures");
    measures.LoadRegion(&region);
    ASSERT_EQ(measures.GetCount(), 8) << "the document has 8 measures";
    for (int i = 0; i < 8; ++i) EXPECT_EQ(measures.GetItemAt(i)->GetItemNo(), i + 1);

    // Each element has a record of its own.
    PutMeasureKey(doc(), 5, 0x0003);
    doc().records.Erase(RecordId{TAG_MEASURE, 3, 0, 0});
    const EREGION middle = Region(1, 1, 2, 5);
    FCMusicRegion second(&middle);
    FCMeasures some;
    some.LoadRegion(&second);
    ASSERT_EQ(some.GetCount(), 3) << "measure 3 does not load and leaves no gap";
    EXPECT_EQ(some.GetItemAt(1)->GetItemNo(), 4);
    EXPECT_EQ(some.GetItemAt(2)->GetKeyValue(), 3);
    EXPECT_EQ(some.GetItemAt(0)->GetKeyValue(), 0);
    EXPECT_NE(some.GetItemAt(0)->GetDataBuffer(), some.GetItemAt(2)->GetDataBuffer());

    some.LoadRegion(nullptr);
    EXPECT_EQ(some.GetCount(), 0);
    FCMusicRegion empty;
    measures.LoadRegion(&empty);
    EXPECT_EQ(measures.GetCount(), 0) << "there is no measure 0";
}

}  // namespace
