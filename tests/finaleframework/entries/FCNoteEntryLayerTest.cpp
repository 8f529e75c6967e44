// One layer of one staff over a run of measures, loaded from the substitute host.
#include <memory>
#include <vector>

#include "FCIteratorHandler.h"
#include "FCMusicRegion.h"
#include "FCNoteEntries.h"
#include "FCNoteEntryLayer.h"
#include "FXBinding.h"
#include "ScoreTest.h"

namespace {

// Stops after a number of entries; remembers what it saw.
class Visitor : public FCIteratorHandler {
  public:
    explicit Visitor(int stopAt = -1) : stopAt_(stopAt) {}
    bool Iterate(__FCBase* item) override {
        seen.push_back(static_cast<FCNoteEntry*>(item));
        return static_cast<int>(seen.size()) != stopAt_;
    }
    std::vector<FCNoteEntry*> seen;

  private:
    int stopAt_;
};

class FCNoteEntryLayerTest : public ScoreTest {
  protected:
    void SetUp() override {
        ScoreTest::SetUp();
        Score().Staves({1, 2}).Measures(3);
    }
    // Every entry points at a record inside its own frame's array.
    static void ExpectPointingIntoFrames(const FCNoteEntryLayer& layer) {
        for (int i = 0; i < layer.GetCount(); ++i) {
            FCNoteEntry* entry = layer.GetItemAt(i);
            const EXTGF2005a* frame = entry->GetFrame();
            ASSERT_GE(entry->_CalcTGFIndex(), 0) << "entry " << i;
            EXPECT_EQ(entry->GetMeasure(), Copy(frame->measure));
            for (int n = 0; n < entry->GetNoteCount(); ++n)
                EXPECT_EQ(entry->GetItemAt(n)->_GetNoteRecord(),
                          &entry->GetEntryRecord()->notes[n]);
        }
    }
};

TEST_F(FCNoteEntryLayerTest, ClassNames) {
    FCNoteEntryLayer layer(0, 1, 1, 1);
    FCNoteEntries entries;
    EXPECT_STREQ(layer.ClassName(), "FCNoteEntryLayer");
    EXPECT_STREQ(entries.ClassName(), "FCNoteEntries");
    EXPECT_STREQ(static_cast<__FCNoteEntryCollection&>(entries).__FCCollection::ClassName(),
                 "__FCCollection");
}

TEST_F(FCNoteEntryLayerTest, LoadsOneChainAcrossMeasuresPassingOverEmptyOnes) {
    Score().Music(1, 1, "C4/h D4").Music(1, 3, "E4/w");
    FCNoteEntryLayer layer(0, 1, 1, 3);
    ASSERT_TRUE(layer.Load());
    EXPECT_EQ(layer.GetFrameCount(), 3);
    ASSERT_EQ(layer.GetCount(), 3);
    FCNoteEntry* last1 = layer.GetItemAt(1);
    FCNoteEntry* first3 = layer.GetItemAt(2);
    EXPECT_EQ(last1->Next(), first3);
    EXPECT_EQ(first3->Previous(), last1);
    EXPECT_EQ(layer.GetItemAt(0)->Previous(), nullptr);
    EXPECT_EQ(first3->Next(), nullptr);
    EXPECT_EQ(first3->GetMeasure(), 3);
    EXPECT_EQ(first3->GetStaff(), 1);
    ExpectPointingIntoFrames(layer);
    EXPECT_EQ(host().LastCall("FX_LoadTGF")->args[4], 1) << "load mode 1";
}

TEST_F(FCNoteEntryLayerTest, EndBelowStartLoadsNothing) {
    FCNoteEntryLayer layer(0, 1, 3, 2);
    EXPECT_FALSE(layer.Load());
    EXPECT_EQ(layer.GetFrameCount(), 0);
    EXPECT_EQ(host().Count("FX_LoadTGF"), 0);
    EXPECT_TRUE(layer.Save());
}

TEST_F(FCNoteEntryLayerTest, AHiddenLayerLoadsOnlyWhenAskedTo) {
    Score().Music(1, 1, "C4/w").HideLayer(0);
    FCNoteEntryLayer layer(0, 1, 1, 2);
    EXPECT_TRUE(layer.Load());
    EXPECT_EQ(layer.GetCount(), 0);
    EXPECT_EQ(layer._GetFrame(0), nullptr);
    EXPECT_TRUE(layer.Save());
    EXPECT_EQ(host().Count("FX_SaveTGF"), 0);
    layer.SetVisibleLayersOnly(false);
    EXPECT_TRUE(layer.Load());
    EXPECT_EQ(layer.GetCount(), 1);
}

TEST_F(FCNoteEntryLayerTest, AFrameTheHostCannotLoadFailsTheWholeLoad) {
    Score().Music(1, 1, "C4/w").Music(1, 2, "C4/w");
    host().refuseLoadTGF = [](const plovikhost::FrameRequest& r) { return r.measure == 3; };
    FCNoteEntryLayer layer(0, 1, 1, 3);
    EXPECT_FALSE(layer.Load());
    EXPECT_EQ(layer.GetCount(), 0);
    EXPECT_EQ(layer.GetFrameCount(), 0);
    EXPECT_EQ(host().Frames().Outstanding(), 0) << "the two loaded frames went back";
}

TEST_F(FCNoteEntryLayerTest, WalksInsideARegion) {
    Score().Music(1, 1, "C4/q D4 E4 F4").Music(1, 2, "G4/q A4 B4 C5");
    FCNoteEntryLayer layer(0, 1, 1, 2);
    ASSERT_TRUE(layer.Load());
    EREGION record = Region(1, 1, 1, 2, 1024, 1024);
    FCMusicRegion region(&record);
    EXPECT_EQ(layer.CalcRegionCount(&region), 5);
    EXPECT_EQ(layer.GetRegionItemAt(0, &region), layer.GetItemAt(1));
    EXPECT_EQ(layer.GetRegionItemAt(4, &region), layer.GetItemAt(5));
    EXPECT_EQ(layer.GetRegionItemAt(5, &region), nullptr);
    EXPECT_EQ(layer.GetRegionItemAt(-1, &region), nullptr);

    Visitor stopper(3);
    EXPECT_EQ(layer.ForEachInRegion(&stopper, &region), 2);
    ASSERT_EQ(stopper.seen.size(), 3u);
    EXPECT_EQ(stopper.seen[0], layer.GetItemAt(1));

    Visitor all;
    EXPECT_EQ(layer.ForEachInRegion(&all, &region), 5);
    EXPECT_EQ(layer.ForEachInRegion(&all, nullptr), 0);
}

TEST_F(FCNoteEntryLayerTest, RegionEntriesAreClonesLinkedAmongThemselves) {
    Score().Music(1, 1, "C4/q D4 E4 F4");
    FCNoteEntryLayer layer(0, 1, 1, 1);
    ASSERT_TRUE(layer.Load());
    EREGION record = Region(1, 1, 1, 1, 1024, 2048);
    FCMusicRegion region(&record);
    std::unique_ptr<FCNoteEntries> clones(layer.CreateRegionEntries(&region));
    ASSERT_EQ(clones->GetCount(), 2);
    FCNoteEntry* first = clones->GetItemAt(0);
    EXPECT_NE(first, layer.GetItemAt(1));
    EXPECT_EQ(first->GetEntryRecord(), layer.GetItemAt(1)->GetEntryRecord());
    EXPECT_EQ(first->Previous(), nullptr);
    EXPECT_EQ(first->Next(), clones->GetItemAt(1));
    EXPECT_EQ(clones->GetItemAt(1)->Next(), nullptr);
}

TEST_F(FCNoteEntryLayerTest, SavingReloadsNothingWithoutNewEntriesAndGoesOnAfterARefusal) {
    Score().Music(1, 1, "C4/h C4").Music(1, 2, "C4/w");
    FCNoteEntryLayer layer(0, 1, 1, 2);
    ASSERT_TRUE(layer.Load());
    layer.GetItemAt(0)->TieAll(true);
    EXPECT_TRUE(layer.Save());
    EXPECT_EQ(host().Count("FX_LoadTGF"), 2);
    EXPECT_EQ(Music(1, 1), "C4~/h C4/h");
    layer.GetItemAt(0)->TieAll(false);
    EXPECT_TRUE(layer.Save()) << "a layer saves again";
    EXPECT_EQ(Music(1, 1), "C4/h C4/h");

    // A frame the host refuses makes the answer false; the frames after it are still stored.
    layer.GetItemAt(0)->TieAll(true);
    layer.GetItemAt(2)->TieAll(true);
    host().refuseSaveTGF = [](const EXTGF2005a* frame) { return frame->measure == 1; };
    EXPECT_FALSE(layer.Save());
    EXPECT_EQ(Music(1, 1), "C4/h C4/h");
    EXPECT_EQ(Music(1, 2), "C4~/w");
}

TEST_F(FCNoteEntryLayerTest, InsertingRepointsEveryEntryOfTheFrame) {
    Score().Music(1, 1, "C4/e D4 E4 F4 G4").Music(1, 2, "A4/w");
    FCNoteEntryLayer layer(0, 1, 1, 2);
    ASSERT_TRUE(layer.Load());
    FCNoteEntry* third = layer.GetItemAt(2);
    FCNoteEntry* fourth = layer.GetItemAt(3);
    FCNoteEntry* first = layer.GetItemAt(0);
    const EXENTRY* oldArray = layer._GetFrame(0)->entries;

    FCNoteEntry* added = layer.InsertEntriesAfter(third, 2);
    ASSERT_TRUE(added);
    EXTGF2005a* frame = layer._GetFrame(0);
    EXPECT_NE(Copy(frame->entries), oldArray) << "the host moved the array";
    ASSERT_EQ(Copy(frame->entryCount), 7);
    ASSERT_EQ(layer.GetCount(), 8);
    EXPECT_EQ(layer.GetItemAt(3), added);
    EXPECT_EQ(third->Next(), added);
    EXPECT_EQ(added->Next(), layer.GetItemAt(4));
    EXPECT_EQ(layer.GetItemAt(4)->Next(), fourth);
    EXPECT_EQ(fourth->Previous(), layer.GetItemAt(4));
    EXPECT_EQ(fourth->GetEntryRecord(), &frame->entries[5]);
    EXPECT_EQ(layer.GetItemAt(6)->GetEntryRecord(), &frame->entries[6]);
    EXPECT_EQ(first->GetEntryRecord(), &frame->entries[0]) << "entries before it too";
    EXPECT_EQ(first->GetItemAt(0)->GetDisplacement(), 0);
    ExpectPointingIntoFrames(layer);

    // The new entries are unnumbered: saving reloads the frame, and the numbers show.
    added->GetEntryRecord()->duration = 512;
    EXPECT_TRUE(layer.Save());
    EXTGF2005a* reloaded = layer._GetFrame(0);
    EXPECT_NE(reloaded, frame);
    EXPECT_EQ(added->GetFrame(), reloaded);
    EXPECT_EQ(added->GetEntryRecord(), &reloaded->entries[3]);
    EXPECT_NE(added->GetEntryNumber(), 0);
    EXPECT_EQ(host().LastCall("FX_LoadTGF")->args[4], 0) << "reloaded with load mode 0";
    ExpectPointingIntoFrames(layer);
    EXPECT_EQ(host().Frames().Outstanding(), 2);
}

TEST_F(FCNoteEntryLayerTest, InsertingAfterAnEntryOfAnotherCollectionDoesNothing) {
    Score().Music(1, 1, "C4/w");
    FCNoteEntryLayer layer(0, 1, 1, 1), other(0, 1, 1, 1);
    ASSERT_TRUE(layer.Load());
    ASSERT_TRUE(other.Load());
    EXPECT_EQ(layer.InsertEntriesAfter(other.GetItemAt(0), 1), nullptr);
    EXPECT_EQ(layer.InsertEntriesAfter(layer.GetItemAt(0), 0), nullptr);
    EXPECT_EQ(layer.InsertEntriesAfter(nullptr, 1), nullptr);
    EXPECT_EQ(host().Count("FX_InsertEXENTRY"), 0);
}

TEST_F(FCNoteEntryLayerTest, AFrameTheHostCannotReloadIsKept) {
    Score().Music(1, 1, "C4/h D4");
    FCNoteEntryLayer layer(0, 1, 1, 1);
    ASSERT_TRUE(layer.Load());
    FCNoteEntry* added = layer.InsertEntriesAfter(layer.GetItemAt(1), 1);
    ASSERT_TRUE(added);
    EXTGF2005a* frame = layer._GetFrame(0);
    host().refuseLoadTGF = [](const plovikhost::FrameRequest& r) { return r.loadMode == 0; };
    layer.Save();
    EXPECT_EQ(layer._GetFrame(0), frame);
    EXPECT_EQ(added->GetFrame(), frame);
    EXPECT_EQ(added->GetEntryNumber(), 0) << "the frame is the old one";
    EXPECT_EQ(layer.GetItemAt(0)->GetItemAt(0)->GetDisplacement(), 0) << "still readable";
    EXPECT_EQ(Copy(Stored(1, 1, 2).entryNumber), 3u) << "the host stored it all the same";
}

TEST_F(FCNoteEntryLayerTest, AReloadedFrameWithoutAnEntrysRecordIsNotTaken) {
    Score().Music(1, 1, "C4/h D4");
    FCNoteEntryLayer layer(0, 1, 1, 1);
    ASSERT_TRUE(layer.Load());
    layer.InsertEntriesAfter(layer.GetItemAt(1), 1);
    EXTGF2005a* frame = layer._GetFrame(0);
    host().alterLoadedTGF = [](EXTGF2005a* f) { f->entryCount = 1; };
    layer.Save();
    host().alterLoadedTGF = nullptr;
    EXPECT_EQ(layer._GetFrame(0), frame);
    ExpectPointingIntoFrames(layer);
    EXPECT_EQ(host().Frames().Outstanding(), 1) << "the reloaded frame went back";
}

TEST_F(FCNoteEntryLayerTest, CloneEntriesCopyTheMusicToAnotherPlace) {
    Score().Music(1, 1, "C4~/h D4").Music(1, 2, "E4/w").Music(2, 2, "G3/w", 1);
    FCNoteEntryLayer layer(0, 1, 1, 2);
    ASSERT_TRUE(layer.Load());
    layer.GetItemAt(0)->GetEntryRecord()->flags |=
        ENTRY_FLAG_NOTE_DETAILS | ENTRY_FLAG_TUPLETS | ENTRY_FLAG_STEM_UP;
    layer.GetItemAt(0)->GetEntryRecord()->flags2 |= ENTRY_FLAG2_COPY_CLEARED | 0x0001;
    ASSERT_TRUE(layer.Save()) << "the copy is made from what the host holds";

    std::unique_ptr<FCNoteEntryLayer> clone(layer.CreateCloneEntries(1, 2, 2));
    EXPECT_EQ(clone->GetLayerIndex(), 1);
    EXPECT_EQ(clone->GetStaff(), 2);
    EXPECT_EQ(clone->GetStartMeasure(), 2);
    EXPECT_EQ(clone->GetEndMeasure(), 3);
    ASSERT_EQ(clone->GetCount(), 3);
    const EXENTRY* copied = clone->GetItemAt(0)->GetEntryRecord();
    EXPECT_EQ(Copy(copied->entryNumber), 0u);
    EXPECT_EQ(Copy(copied->flags), ENTRY_FLAG_NOTE | ENTRY_FLAG_STEM_UP);
    EXPECT_EQ(Copy(copied->flags2), 0x0001);
    EXPECT_EQ(clone->GetItemAt(2)->GetMeasure(), 3);
    EXPECT_EQ(host().LastCall("FX_LoadTGF")->args[4], 0) << "moving music loads with mode 0";

    EXPECT_TRUE(clone->Save());
    EXPECT_EQ(Music(2, 2, 1), "C4~/h D4/h");
    EXPECT_EQ(Music(2, 3, 1), "E4/w");
    EXPECT_NE(clone->GetItemAt(0)->GetEntryNumber(), 0) << "reloaded after saving";
    EXPECT_EQ(Music(1, 1), "C4~/h D4/h") << "the source is untouched";
}

TEST_F(FCNoteEntryLayerTest, CloneEntriesFailWhenASourceFrameCannotBeLoaded) {
    Score().Music(1, 1, "C4/w");
    FCNoteEntryLayer layer(0, 1, 1, 2);
    ASSERT_TRUE(layer.Load());
    host().refuseLoadTGF = [](const plovikhost::FrameRequest& r) {
        return r.loadMode == 0 && r.slot == 1 && r.measure == 2;
    };
    std::unique_ptr<FCNoteEntryLayer> clone(layer.CreateCloneEntries(0, 2, 1));
    EXPECT_EQ(clone->GetCount(), 0);
    EXPECT_EQ(clone->GetFrameCount(), 0);
    EXPECT_EQ(clone->GetStaff(), 1) << "a failed redirect stays where it was";
    EXPECT_EQ(host().Frames().Outstanding(), 2) << "only the source layer's own frames";
}

TEST_F(FCNoteEntryLayerTest, CloneEntriesFailWhenATargetFrameCannotBeLoaded) {
    FCNoteEntryLayer layer(0, 1, 2, 3);
    std::unique_ptr<FCNoteEntryLayer> clone(layer.CreateCloneEntries(0, 2, 3));
    EXPECT_EQ(clone->GetFrameCount(), 0) << "there is no measure 4";
    EXPECT_EQ(host().Frames().Outstanding(), 0);
}

TEST_F(FCNoteEntryLayerTest, CopyEntriesReplaceWhateverTheTargetHeld) {
    Score().Music(1, 1, "C4/q D4").Music(2, 1, "E3/e E3 E3 E3 E3");
    EXTGF2005a* source = FX_LoadTGF(0, 1, 1, 0, 0, FRAMEWORK_ENIGMA_VERSION);
    EXTGF2005a* target = FX_LoadTGF(0, 2, 1, 0, 0, FRAMEWORK_ENIGMA_VERSION);
    FCNoteEntries collection;
    collection._CopyEntries(source, target);
    ASSERT_EQ(Copy(target->entryCount), 2);
    EXPECT_EQ(Copy(target->entries[0].entryNumber), 0u);
    EXPECT_EQ(Copy(target->entries[1].entryNumber), 0u);
    EXPECT_EQ(Copy(target->entries[1].notes[0].displacement), 1);
    source->entryCount = -4;  // damaged: nothing to copy
    collection._CopyEntries(source, target);
    EXPECT_EQ(Copy(target->entryCount), 0);
    collection._CopyEntries(nullptr, target);
    FX_FreeTGF(source, FRAMEWORK_ENIGMA_VERSION);
    FX_FreeTGF(target, FRAMEWORK_ENIGMA_VERSION);
}

TEST_F(FCNoteEntryLayerTest, FrameDurations) {
    Score().Music(1, 1, "C4/h D4/q").HideLayer(1).Music(1, 1, "C4/w", 1);
    FCNoteEntryLayer layer(0, 1, 1, 2);
    EXPECT_EQ(layer.CalcFrameDuration(1), 0) << "nothing loaded yet";
    ASSERT_TRUE(layer.Load());
    EXPECT_EQ(layer.CalcFrameDuration(1), 3072);
    EXPECT_EQ(layer.CalcFrameDuration(2), 0);
    EXPECT_EQ(layer.CalcFrameDuration(3), 0);
    FCNoteEntryLayer hidden(1, 1, 1, 1);
    ASSERT_TRUE(hidden.Load());
    host().ClearCalls();
    EXPECT_EQ(hidden.CalcFrameDuration(1), 0);
    EXPECT_EQ(host().Count("FX_GetTGFDuration"), 0) << "a hidden layer has no frame to ask about";
}

TEST_F(FCNoteEntryLayerTest, DamagedFramesLoadAsEmpty) {
    Score().Music(1, 1, "C4/w").Music(1, 2, "D4/w").Music(1, 3, "E4/w");
    host().alterLoadedTGF = [](EXTGF2005a* frame) {
        if (frame->measure == 1) frame->entryCount = -1;
        if (frame->measure == 2) frame->entries = nullptr;
    };
    FCNoteEntryLayer layer(0, 1, 1, 3);
    ASSERT_TRUE(layer.Load());
    host().alterLoadedTGF = nullptr;
    ASSERT_EQ(layer.GetCount(), 1);
    EXPECT_EQ(layer.GetItemAt(0)->GetMeasure(), 3);
    EXPECT_TRUE(layer.Save());
}

}  // namespace
