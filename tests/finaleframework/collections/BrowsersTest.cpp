// Browsers: walks over the document's measures with the handler's PreProcess family, and
// region walks cell by cell over entries, tuplets, expressions and MIDI expressions.
#include <string>
#include <vector>

#include "FCBrowserExpressions.h"
#include "FCBrowserMeasures.h"
#include "FCBrowserMidiExpressions.h"
#include "FCBrowserNoteEntries.h"
#include "FCBrowserTuplets.h"
#include "FCCell.h"
#include "FCExpression.h"
#include "FCIteratorHandler.h"
#include "FCMeasure.h"
#include "FCMidiExpression.h"
#include "FCMusicRegion.h"
#include "FCNote.h"
#include "FCNoteEntry.h"
#include "FCNoteEntryLayer.h"
#include "FCTuplet.h"
#include "RecordBuilders.h"
#include "ScoreTest.h"

namespace {

// Records every call of the handler protocol, and which items it was handed.
struct Recorder : FCIteratorHandler {
    std::vector<std::string> calls;
    std::vector<int> items;
    bool preProcess = true;
    int stopAt = -1;  // Iterate answers false on this call (0-based)
    int match = -1;   // Match answers true for this measure

    bool PreProcess() override {
        calls.push_back("PreProcess");
        return preProcess;
    }
    bool PreProcessIfExist() override {
        calls.push_back("PreProcessIfExist");
        return true;
    }
    void PostProcess() override { calls.push_back("PostProcess"); }
    void PostProcessIfExist() override { calls.push_back("PostProcessIfExist"); }
    bool Iterate(__FCBase* item) override {
        items.push_back(Number(item));
        return static_cast<int>(items.size()) - 1 != stopAt;
    }
    bool Match(__FCBase* item) override { return Number(item) == match; }

    static int Number(__FCBase* item) {
        if (auto* measure = dynamic_cast<FCMeasure*>(item)) return measure->GetItemNo();
        if (auto* entry = dynamic_cast<FCNoteEntry*>(item)) return entry->GetMeasurePos();
        if (auto* expression = dynamic_cast<FCExpression*>(item))
            return expression->GetMeasurePos();
        if (auto* midi = dynamic_cast<FCMidiExpression*>(item)) return midi->GetMeasurePos();
        if (auto* tuplet = dynamic_cast<FCTuplet*>(item)) return tuplet->GetIncidence();
        return -1;
    }
};

class BrowsersTest : public ScoreTest {
  protected:
    FCMusicRegion RegionOf(int16_t startSlot, int16_t endSlot, int16_t startMeasure,
                           int16_t endMeasure, int32_t startPosition = 0,
                           int32_t endPosition = EREGION_END_OF_MEASURE) {
        const EREGION r =
            Region(startSlot, endSlot, startMeasure, endMeasure, startPosition, endPosition);
        return FCMusicRegion(&r);
    }
};

}  // namespace

TEST_F(BrowsersTest, PreProcessRefusalCancelsTheWholeWalk) {
    Score().Staves({1}).Measures(3);
    Recorder handler;
    handler.preProcess = false;
    FCBrowserMeasures measures;
    host().ClearCalls();
    EXPECT_EQ(measures.ForEach(&handler), 0);
    EXPECT_EQ(handler.calls, (std::vector<std::string>{"PreProcess"}));
    EXPECT_EQ(host().Count("FX_LoadEData"), 0);
    EXPECT_EQ(measures.FindFirst(&handler), nullptr);
}

TEST_F(BrowsersTest, ADocumentWithoutMeasuresIsNeverWalked) {
    Recorder handler;
    FCBrowserMeasures measures;
    EXPECT_EQ(measures.ForEach(&handler), 0);
    EXPECT_EQ(handler.calls, (std::vector<std::string>{"PreProcess", "PostProcess"}));
    EXPECT_EQ(measures.GetCount(), 0);
}

TEST_F(BrowsersTest, MeasuresAreWalkedFromTheFirst) {
    Score().Staves({1}).Measures(12);
    FCBrowserMeasures measures;
    EXPECT_EQ(measures.GetCount(), 12);
    Recorder all;
    EXPECT_EQ(measures.ForEach(&all), 12);
    EXPECT_EQ(all.items.front(), 1);
    EXPECT_EQ(all.calls, (std::vector<std::string>{"PreProcess", "PreProcessIfExist",
                                                   "PostProcessIfExist", "PostProcess"}));
    Recorder stop;
    stop.stopAt = 2;
    EXPECT_EQ(measures.ForEach(&stop), 2);

    Recorder fromFive;
    EXPECT_EQ(measures.ToEndFrom(5, &fromFive), 8);
    EXPECT_EQ(fromFive.items.front(), 5);
    EXPECT_TRUE(fromFive.calls.empty());  // no PreProcess family
    EXPECT_EQ(measures.ToEndFrom(13, &fromFive), 0);
    EXPECT_EQ(measures.LoadAnElement(13), nullptr);
}

TEST_F(BrowsersTest, FindFirstHandsTheMatchToTheCaller) {
    Score().Staves({1}).Measures(4);
    Recorder handler;
    handler.match = 3;
    FCBrowserMeasures measures;
    __FCBase* found = measures.FindFirst(&handler);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(static_cast<FCMeasure*>(found)->GetItemNo(), 3);
    EXPECT_EQ(handler.calls,
              (std::vector<std::string>{"PreProcess", "PreProcessIfExist", "PostProcessIfExist"}));
    delete found;
    handler.match = 9;
    handler.calls.clear();
    EXPECT_EQ(measures.FindFirst(&handler), nullptr);
    EXPECT_EQ(handler.calls.back(), "PostProcess");
}

TEST_F(BrowsersTest, RegionWalkCountsCellsAndStopsOnARefusal) {
    Score().Staves({1, 2, 3}).Measures(3);
    for (int16_t staff = 1; staff <= 3; ++staff)
        for (int16_t measure = 1; measure <= 3; ++measure) Score().Music(staff, measure, "C4/w");
    FCMusicRegion region = RegionOf(1, 3, 2, 3);
    FCBrowserNoteEntries entries;
    Recorder all;
    EXPECT_EQ(entries.ForEachInRegion(&all, &region), 6);
    EXPECT_EQ(all.items.size(), 6u);
    EXPECT_TRUE(all.calls.empty());
    Recorder refuse;
    refuse.stopAt = 0;
    EXPECT_EQ(entries.ForEachInRegion(&refuse, &region), 0);
    EXPECT_EQ(entries.FindFirst(&all), nullptr);
    Recorder whole;
    EXPECT_EQ(entries.ForEach(&whole), 9);  // the whole document
}

TEST_F(BrowsersTest, RegionWalkTakesTheStavesItsSlotsHold) {
    // Staff numbers out of slot order: slots 1 and 2 hold staves 2 and 5, not 3 and 4.
    Score().Staves({2, 5, 3}).Measures(1);
    Score().Music(2, 1, "C4/w").Music(5, 1, "C4/h C4").Music(3, 1, "C4/q C4 C4 C4");
    FCMusicRegion region = RegionOf(1, 2, 1, 1);
    FCBrowserNoteEntries entries;
    Recorder walked;
    EXPECT_EQ(entries.ForEachInRegion(&walked, &region), 2);
    EXPECT_EQ(walked.items, (std::vector<int>{0, 0, 2048}));
    // A slot whose staff the host places back in another slot is none of the region's.
    host().answers["FX_InstToSlot"] = [](const std::vector<int64_t>&, int32_t) { return 3; };
    Relookup();
    Recorder none;
    EXPECT_EQ(entries.ForEachInRegion(&none, &region), 0);
    EXPECT_TRUE(none.items.empty());
}

TEST_F(BrowsersTest, NoteEntriesOutsideAPartialRegionAreSkipped) {
    Score().Staves({1}).Measures(2).Music(1, 1, "C4/q D4 E4 F4").Music(1, 2, "G4/q A4 B4 C5");
    FCMusicRegion region = RegionOf(1, 1, 1, 2, 1024, 2048);
    FCBrowserNoteEntries entries;
    Recorder handler;
    EXPECT_EQ(entries.ForEachInRegion(&handler, &region), 2);
    EXPECT_EQ(handler.items, (std::vector<int>{1024, 2048, 3072, 0, 1024, 2048}));
}

TEST_F(BrowsersTest, NoteEntryCellsAreSavedOnlyWhenTheHandlerAsks) {
    Score().Staves({1}).Measures(2).Music(1, 1, "C4/q C4 D4+E4/h").Music(1, 2, "G4/q G4 G4 G4");
    struct TieAndDropTop : FCIteratorHandler {
        bool Iterate(__FCBase* item) override {
            FCNoteEntry* entry = static_cast<FCNoteEntry*>(item);
            entry->TieAll(true);
            if (entry->GetNoteCount() == 2) entry->DeleteNote(entry->GetItemAt(1));
            return ++seen != refuseAt;
        }
        int seen = 0;
        int refuseAt = -1;
    } handler;
    FCMusicRegion region = RegionOf(1, 1, 1, 1);
    FCBrowserNoteEntries entries;
    entries.ForEachInRegion(&handler, &region);
    EXPECT_EQ(Music(1, 1), "C4/q C4/q D4+E4/h");
    handler.SetSaveChanges(true);
    entries.ForEachInRegion(&handler, &region);
    EXPECT_EQ(Music(1, 1), "C4~/q C4~/q D4~/h");

    // A handler that refuses still has its cell saved, with what it changed before.
    handler.seen = 0;
    handler.refuseAt = 2;
    FCMusicRegion second = RegionOf(1, 1, 2, 2);
    EXPECT_EQ(entries.ForEachInRegion(&handler, &second), 0);
    EXPECT_EQ(Music(1, 2), "G4~/q G4~/q G4/q G4/q");
}

TEST_F(BrowsersTest, NullEntriesAreDroppedBeforeSavingWhenAsked) {
    Score().Staves({1}).Measures(1).Music(1, 1, "C4/q D4 E4 F4");
    struct EmptySecond : FCIteratorHandler {
        int seen = 0;
        bool Iterate(__FCBase* item) override {
            if (seen++ == 1) static_cast<FCNoteEntry*>(item)->GetEntryRecord()->duration = 0;
            return true;
        }
    } handler;
    handler.SetSaveChanges(true);
    FCMusicRegion region = RegionOf(1, 1, 1, 1);
    FCBrowserNoteEntries entries;
    entries.SetDeleteNullEntries(true);
    entries.ForEachInRegion(&handler, &region);
    EXPECT_EQ(Music(1, 1), "C4/q E4/q F4/q");
}

TEST_F(BrowsersTest, NoteEntryLayersFollowTheBrowsersSelection) {
    Score().Staves({1}).Measures(1).Music(1, 1, "C4/w").Music(1, 1, "E4/w", 1).HideLayer(1);
    FCMusicRegion region = RegionOf(1, 1, 1, 1);
    FCBrowserNoteEntries entries;
    Recorder shown;
    entries.ForEachInRegion(&shown, &region);
    EXPECT_EQ(shown.items.size(), 1u);
    entries.SetLayerSelectionMode(-1);
    Recorder every;
    entries.ForEachInRegion(&every, &region);
    EXPECT_EQ(every.items.size(), 2u);
    entries.SetLayerSelectionMode(7);
    Recorder none;
    EXPECT_EQ(entries.ForEachInRegion(&none, &region), 1);  // the cell, with nothing in it
    EXPECT_TRUE(none.items.empty());
}

TEST_F(BrowsersTest, TupletsAreFoundThroughTheEntryFlag) {
    Score().Staves({1}).Measures(1).Music(1, 1, "C4/q D4 E4 F4");
    const uint32_t flagged = Stored(1, 1, 1).entryNumber;
    const uint32_t unflagged = Stored(1, 1, 2).entryNumber;
    plovikhost::PutTuplet(doc(), flagged, 0, 0);
    plovikhost::PutTuplet(doc(), flagged, 1, 0);
    plovikhost::PutTuplet(doc(), unflagged, 0, 0);  // no flag: never looked for
    Stored(1, 1, 1).flags |= ENTRY_FLAG_TUPLETS;
    Stored(1, 1, 3).flags |= ENTRY_FLAG_TUPLETS;  // flagged without a record: skipped
    FCMusicRegion region = RegionOf(1, 1, 1, 1);
    FCBrowserTuplets tuplets;
    Recorder handler;
    EXPECT_EQ(tuplets.ForEachInRegion(&handler, &region), 1);
    EXPECT_EQ(handler.items, (std::vector<int>{0, 1}));
    EXPECT_EQ(tuplets.FindFirst(&handler), nullptr);
}

TEST_F(BrowsersTest, ExpressionsInsideAPartialRegion) {
    Score().Staves({1, 2}).Measures(2);
    plovikhost::PutExpression(doc(), 1, {1, 1, 0, 100});
    plovikhost::PutExpression(doc(), 1, {1, 1, 0, 2000});
    plovikhost::PutExpression(doc(), 1, {1, 2, 0, 3000});  // another staff
    plovikhost::PutExpression(doc(), 2, {1, 1, 0, 0});
    plovikhost::PutExpression(doc(), 2, {1, 1, 0, 70000});  // past the region's end
    FCMusicRegion region = RegionOf(1, 1, 1, 2, 1024, 4096);
    FCBrowserExpressions expressions;
    Recorder handler;
    EXPECT_EQ(expressions.ForEachInRegion(&handler, &region), 2);
    EXPECT_EQ(handler.items, (std::vector<int>{2000, 0}));
}

TEST_F(BrowsersTest, MidiExpressionsInsideAPartialRegion) {
    Score().Staves({1}).Measures(2);
    plovikhost::PutMidiExpression(doc(), 1, 1, 512);
    plovikhost::PutMidiExpression(doc(), 1, 1, 2048);
    plovikhost::PutMidiExpression(doc(), 1, 2, 100);
    plovikhost::PutMidiExpression(doc(), 1, 2, 3000);
    FCMusicRegion region = RegionOf(1, 1, 1, 2, 1024, 1024);
    FCBrowserMidiExpressions midi;
    Recorder handler;
    EXPECT_EQ(midi.ForEachInRegion(&handler, &region), 2);
    EXPECT_EQ(handler.items, (std::vector<int>{2048, 100}));
    Recorder stop;
    stop.stopAt = 0;
    EXPECT_EQ(midi.ForEachInRegion(&stop, &region), 0);
}

TEST_F(BrowsersTest, LayerWithEndMeasureMinusOneCoversTheDocument) {
    Score().Staves({1}).Measures(5).Music(1, 1, "C4/w").Music(1, 5, "D4/w");
    FCNoteEntryLayer layer(0, 1, 1, -1);
    EXPECT_EQ(layer.GetEndMeasure(), 5);
    ASSERT_TRUE(layer.Load());
    EXPECT_EQ(layer.GetCount(), 2);
}

TEST_F(BrowsersTest, NullArgumentsWalkNothing) {
    Score().Staves({1}).Measures(1);
    FCBrowserMeasures measures;
    EXPECT_EQ(measures.ForEach(nullptr), 0);
    EXPECT_EQ(measures.FindFirst(nullptr), nullptr);
    EXPECT_EQ(measures.ToEndFrom(1, nullptr), 0);
    FCBrowserNoteEntries entries;
    Recorder handler;
    EXPECT_EQ(entries.ForEachInRegion(&handler, nullptr), 0);
    EXPECT_EQ(entries.ForEachInRegion(nullptr, nullptr), 0);
}
