#include <cstring>
#include <vector>

#include "FCCell.h"
#include "FCIteratorHandler.h"
#include "FCMusicRegion.h"
#include "FCNoteEntryLayer.h"
#include "FCStaff.h"
#include "RecordBuilders.h"
#include "ScoreTest.h"

namespace {

class FCMusicRegionTest : public ScoreTest {
  protected:
    void SetUp() override {
        ScoreTest::SetUp();
        Score().Staves({5, 6, 7}).Measures(6);
    }
    FCMusicRegion Make(const EREGION& record) { return FCMusicRegion(&record); }
};

TEST_F(FCMusicRegionTest, ConstructionCopiesTheRecordAndTheDocument) {
    FCMusicRegion none;
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_EQ(none.GetDocument(), 0);
    EXPECT_EQ(host().Count("FX_GetCurrentEnigmaDocument"), 0);
    EXPECT_STREQ(none.ClassName(), "FCMusicRegion");

    const EREGION record = Region(2, 3, 4, 5, 6, 7);
    FCMusicRegion region(&record);
    EXPECT_EQ(std::memcmp(region.GetEnigmaRegion(), &record, sizeof record), 0);
    EXPECT_EQ(region.GetDocument(), 1);
    EXPECT_TRUE(region.IsCurrentDocument());
    region.SetEnigmaRegion(nullptr);
    EXPECT_TRUE(region.IsEmpty());
}

TEST_F(FCMusicRegionTest, PositionsAtTheBoundaryMeasures) {
    FCMusicRegion region = Make(Region(1, 1, 3, 5, 480));
    EXPECT_FALSE(region.IsMeasurePosWithin(3, 479));
    EXPECT_TRUE(region.IsMeasurePosWithin(3, 480));
    EXPECT_TRUE(region.IsMeasurePosWithin(4, 0));
    EXPECT_TRUE(region.IsMeasurePosWithin(5, 100000));
    EXPECT_FALSE(region.IsMeasurePosWithin(6, 0));
    EXPECT_FALSE(region.IsMeasurePosWithin(2, 4000));
    EXPECT_FALSE(region.IsMeasurePosWithin(3 + 65536, 480)) << "no such measure number";

    FCMusicRegion upToZero = Make(Region(1, 1, 1, 2, 0, 0));
    EXPECT_TRUE(upToZero.IsMeasurePosWithin(2, 0));
    EXPECT_FALSE(upToZero.IsMeasurePosWithin(2, 1));
}

TEST_F(FCMusicRegionTest, EntriesInsideTheRegion) {
    Score().Music(6, 3, "C4/479 D4/1 E4/q").Music(6, 4, "F4/w").Music(7, 4, "G4/w");
    FCMusicRegion region = Make(Region(2, 2, 3, 5, 480));
    FCNoteEntryLayer layer(0, 6, 3, 4);
    ASSERT_TRUE(layer.Load());
    EXPECT_FALSE(region.IsEntryPosWithin(layer.GetItemAt(0)));
    EXPECT_FALSE(region.IsEntryPosWithin(layer.GetItemAt(1))) << "at 479";
    EXPECT_TRUE(region.IsEntryPosWithin(layer.GetItemAt(2))) << "at 480";
    EXPECT_TRUE(region.IsEntryPosWithin(layer.GetItemAt(3)));
    EXPECT_FALSE(region.IsEntryPosWithin(nullptr));
    FCNoteEntryLayer other(0, 7, 4, 4);
    ASSERT_TRUE(other.Load());
    EXPECT_FALSE(region.IsEntryPosWithin(other.GetItemAt(0))) << "staff 7 is in slot 3";
}

TEST_F(FCMusicRegionTest, StavesAreIncludedBySlot) {
    FCMusicRegion region = Make(Region(-3, 2, 1, 1));
    EXPECT_TRUE(region.IsStaffIncluded(5));
    EXPECT_TRUE(region.IsStaffIncluded(6));
    EXPECT_FALSE(region.IsStaffIncluded(7));
    EXPECT_FALSE(region.IsStaffIncluded(9)) << "not in the list, whatever the slots";
    EXPECT_FALSE(region.IsStaffIncluded(0));
}

TEST_F(FCMusicRegionTest, Partial) {
    EXPECT_FALSE(Make(Region(1, 1, 1, 2)).IsPartial());
    EXPECT_TRUE(Make(Region(1, 1, 1, 2, 1)).IsPartial());
    EXPECT_TRUE(Make(Region(1, 1, 1, 2, 0, 4095)).IsPartial());
}

TEST_F(FCMusicRegionTest, Overlapping) {
    FCMusicRegion a = Make(Region(1, 2, 2, 4, 0, 960));
    FCMusicRegion touching = Make(Region(2, 3, 4, 5, 960));
    FCMusicRegion after = Make(Region(2, 3, 4, 5, 961));
    FCMusicRegion otherStaff = Make(Region(3, 3, 1, 6));
    FCMusicRegion noStaves = Make(Region(2, 1, 1, 6));
    EXPECT_TRUE(a.IsOverlapping(&touching));
    EXPECT_TRUE(touching.IsOverlapping(&a));
    EXPECT_FALSE(a.IsOverlapping(&after));
    EXPECT_FALSE(after.IsOverlapping(&a));
    EXPECT_FALSE(a.IsOverlapping(&otherStaff));
    EXPECT_FALSE(a.IsOverlapping(&noStaves));
    EXPECT_FALSE(a.IsOverlapping(nullptr));
    FCMusicRegion fourth = Make(Region(4, 4, 1, 6)), fifth = Make(Region(5, 5, 1, 6));
    EXPECT_FALSE(fourth.IsOverlapping(&fifth)) << "slots without a staff share none";
    EXPECT_FALSE(fourth.IsOverlapping(&fourth));
}

TEST_F(FCMusicRegionTest, Duration) {
    Score().Measures(1, 3, 1024);
    EXPECT_EQ(Make(Region(1, 1, 1, 2)).CalcDuration(), 8192);
    EXPECT_EQ(Make(Region(1, 1, 1, 2, 480)).CalcDuration(), 8192 - 480);
    EXPECT_EQ(Make(Region(1, 1, 2, 2, 0, 1023)).CalcDuration(), 1024);
    EXPECT_EQ(Make(Region(1, 1, 6, 7)).CalcDuration(), 4096 + 3072);
    EXPECT_EQ(Make(Region(1, 4, 1, 2)).CalcDuration(), 8192) << "the start slot's staff";
    EXPECT_EQ(Make(EREGION{}).CalcDuration(), 0);
}

TEST_F(FCMusicRegionTest, CopyPasteAndRelease) {
    Score().Music(5, 1, "C4/w");
    FCMusicRegion from = Make(Region(1, 1, 1, 1));
    EXPECT_FALSE(from.PasteMusic()) << "nothing held";
    EXPECT_FALSE(from.ReleaseMusic());
    ASSERT_TRUE(from.CopyMusic());  // the host refuses a transfer record not ending in 1, 1
    EXPECT_EQ(host().LastCall("FX_CopyCutMusic")->args[1], 1) << "copy";
    EXPECT_EQ(Music(5, 1), "C4/w") << "a copy leaves the music";
    const uint32_t token = from.GetClipToken();
    EXPECT_FALSE(from.CopyMusic()) << "a token is held";
    EXPECT_FALSE(from.CutMusic());
    EXPECT_EQ(from.GetClipToken(), token);
    EXPECT_EQ(host().Count("FX_CopyCutMusic"), 1);

    from.SetStartSlot(3);
    from.SetEndSlot(3);
    EXPECT_TRUE(from.PasteMusic());
    EXPECT_EQ(host().LastCall("FX_InsertMergeMusic")->args[2], 1);
    EXPECT_TRUE(from.PasteMusic()) << "as often as wanted";
    EXPECT_EQ(Music(7, 1), "C4/w");
    EXPECT_TRUE(from.ReleaseMusic());
    EXPECT_EQ(from.GetClipToken(), 0u);
    EXPECT_FALSE(from.ReleaseMusic());

    FCMusicRegion cut = Make(Region(1, 1, 1, 1));
    ASSERT_TRUE(cut.CutMusic());
    EXPECT_EQ(host().LastCall("FX_CopyCutMusic")->args[1], 2) << "cut";
    EXPECT_EQ(Music(5, 1), "");
    host().clips.clear();  // the host loses the clip: disposing fails, the token stays
    EXPECT_FALSE(cut.ReleaseMusic());
    EXPECT_NE(cut.GetClipToken(), 0u);
}

TEST_F(FCMusicRegionTest, AnEmptyRegionMovesNoMusic) {
    FCMusicRegion empty;
    EXPECT_FALSE(empty.CopyMusic());
    EXPECT_FALSE(empty.CutMusic());
    EXPECT_EQ(host().Count("FX_CopyCutMusic"), 0);
}

TEST_F(FCMusicRegionTest, SelectionAndWholeDocument) {
    FCMusicRegion region;
    EXPECT_FALSE(region.SetCurrentSelection());
    EXPECT_TRUE(region.IsEmpty());
    EXPECT_EQ(region.GetDocument(), 1);

    Score().Select(Region(2, 3, 4, 4, 10, 20));
    EXPECT_TRUE(region.SetCurrentSelection());
    EXPECT_EQ(region.GetStartSlot(), 2);
    EXPECT_EQ(region.GetEndMeasurePos(), 20);

    EXPECT_TRUE(region.SetFullDocument());
    EXPECT_EQ(region.GetStartMeasure(), 1);
    EXPECT_EQ(region.GetEndMeasure(), 6);
    EXPECT_EQ(region.GetEndSlot(), 3);
    EXPECT_FALSE(region.IsPartial());
}

TEST_F(FCMusicRegionTest, FullMeasureStack) {
    FCMusicRegion region = Make(Region(2, 2, 3, 4, 5));
    EXPECT_TRUE(region.SetFullMeasureStack());
    EXPECT_EQ(region.GetStartSlot(), 1);
    EXPECT_EQ(region.GetEndSlot(), 3);
    EXPECT_EQ(region.GetStartMeasurePos(), 5);

    FCMusicRegion elsewhere = Make(Region(2, 2, 3, 4));
    elsewhere.SetStartInstrumentList(4);  // a list without staves
    EXPECT_FALSE(elsewhere.SetFullMeasureStack());
    EXPECT_EQ(elsewhere.GetStartSlot(), 2);
    FCMusicRegion empty;
    EXPECT_FALSE(empty.SetFullMeasureStack());
}

TEST_F(FCMusicRegionTest, ConvertToTheGlobalList) {
    doc().instrumentLists[1] = {7, 5};
    FCMusicRegion region = Make(Region(1, 2, 1, 1));
    region.SetStartInstrumentList(1);
    region.SetEndInstrumentList(1);
    region.ConvertToGlobalInstrumentList();
    EXPECT_EQ(region.GetStartInstrumentList(), 0);
    EXPECT_EQ(region.GetEndInstrumentList(), 0);
    EXPECT_EQ(region.GetStartSlot(), 3);
    EXPECT_EQ(region.GetEndSlot(), 1);
}

TEST_F(FCMusicRegionTest, SetInDocumentOnlyInItsOwnDocument) {
    FCMusicRegion region = Make(Region(1, 2, 1, 1));
    region.SetInDocument();
    EXPECT_EQ(Copy(doc().selection.endSlot), 2);
    host().AddDocument(2);
    host().SetCurrentDocument(2);
    EXPECT_FALSE(region.IsCurrentDocument());
    region.SetInDocument();
    EXPECT_EQ(host().Count("FX_SetCurERegion"), 1);
}

TEST_F(FCMusicRegionTest, CellPositionsWithin) {
    FCMusicRegion region = Make(Region(1, 2, 3, 5, 480, 100));
    FCCell first(3, 5), middle(4, 6), last(5, 6), thirdSlot(4, 7), after(6, 5);
    EXPECT_FALSE(region.IsCellPosWithin(&first, 479));
    EXPECT_TRUE(region.IsCellPosWithin(&first, 480));
    EXPECT_TRUE(region.IsCellPosWithin(&middle, 0));
    EXPECT_TRUE(region.IsCellPosWithin(&middle, 100000));
    EXPECT_TRUE(region.IsCellPosWithin(&last, 100));
    EXPECT_FALSE(region.IsCellPosWithin(&last, 101));
    EXPECT_FALSE(region.IsCellPosWithin(&thirdSlot, 0));
    EXPECT_FALSE(region.IsCellPosWithin(&after, 0));
    EXPECT_FALSE(region.IsCellPosWithin(nullptr, 480));
    // Numbers beyond 16 bits name no measure or staff of the region.
    FCCell wideMeasure(4 + 65536, 5), wideStaff(4, 6 + 65536);
    EXPECT_FALSE(region.IsCellPosWithin(&wideMeasure, 0));
    EXPECT_FALSE(region.IsCellPosWithin(&wideStaff, 0));
}

TEST_F(FCMusicRegionTest, LastEndMeasureAndFullDocumentWidth) {
    EXPECT_TRUE(Make(Region(1, 1, 1, 6)).IsLastEndMeasure());
    EXPECT_FALSE(Make(Region(1, 1, 1, 5)).IsLastEndMeasure());
    EXPECT_FALSE(Make(Region(1, 1, 1, 7)).IsLastEndMeasure()) << "measure 7 does not load";
    EXPECT_FALSE(FCMusicRegion().IsLastEndMeasure());
    EXPECT_FALSE(Make(Region(1, 1, 1, -1)).IsLastEndMeasure());

    EXPECT_TRUE(Make(Region(1, 1, 1, 6)).IsFullDocumentWidth());
    EXPECT_FALSE(Make(Region(1, 1, 2, 6)).IsFullDocumentWidth());
    EXPECT_FALSE(Make(Region(1, 1, 1, 6, 1)).IsFullDocumentWidth());
    EXPECT_FALSE(Make(Region(1, 1, 1, 6, 0, 4095)).IsFullDocumentWidth());
    EXPECT_FALSE(Make(Region(1, 1, 1, 5)).IsFullDocumentWidth());

    // The measure records decide, not the music.
    doc().records.Erase(plovikhost::RecordId{plovikhost::TAG_MEASURE, 6, 0, 0});
    EXPECT_TRUE(Make(Region(1, 1, 1, 5)).IsLastEndMeasure());
}

// Remembers the transposition word of every staff it is handed; stops at `stopAt`.
class StaffVisitor : public FCIteratorHandler {
  public:
    explicit StaffVisitor(int stopAt = -1) : stopAt_(stopAt) {}
    bool Iterate(__FCBase* item) override {
        words.push_back(static_cast<FCStaff*>(item)->GetTranspositionWord());
        return static_cast<int>(words.size()) != stopAt_;
    }
    std::vector<int> words;

  private:
    int stopAt_;
};

TEST_F(FCMusicRegionTest, ForEachStaffCountsTheStaffThatStoppedTheWalk) {
    plovikhost::PutStaff(doc(), 5, 0x0040, 0);
    plovikhost::PutStaff(doc(), 6, 0x0041, 0);
    plovikhost::PutStaff(doc(), 7, 0x0042, 0);

    StaffVisitor all;
    EXPECT_EQ(Make(Region(1, 3, 1, 1)).ForEachStaff(&all), 3);
    EXPECT_EQ(all.words, (std::vector<int>{0x40, 0x41, 0x42}));

    StaffVisitor second(2);
    EXPECT_EQ(Make(Region(2, 3, 1, 1)).ForEachStaff(&second), 2);
    EXPECT_EQ(second.words, (std::vector<int>{0x41, 0x42}));
    StaffVisitor first(1);
    EXPECT_EQ(Make(Region(1, 3, 1, 1)).ForEachStaff(&first), 1);

    // A slot without a staff still hands over a staff, empty.
    StaffVisitor beyond;
    EXPECT_EQ(Make(Region(3, 4, 1, 1)).ForEachStaff(&beyond), 2);
    EXPECT_EQ(beyond.words, (std::vector<int>{0x42, 0}));
    StaffVisitor none;
    EXPECT_EQ(Make(Region(3, 2, 1, 1)).ForEachStaff(&none), 0);
    EXPECT_EQ(Make(Region(1, 3, 1, 1)).ForEachStaff(nullptr), 0);
}

}  // namespace
