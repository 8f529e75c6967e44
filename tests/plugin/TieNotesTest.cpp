// The two commands from the host's call to the stored music, through FinaleExtensionInvoke.
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "PlovikTie.h"
#include "RecordBuilders.h"
#include "ScoreTest.h"

namespace {

constexpr uint32_t kTie = 0;
constexpr uint32_t kUntie = 1;

class TieNotesTest : public ScoreTest {
  protected:
    uint32_t Invoke(uint32_t index, EREGION region) {
        return FinaleExtensionInvoke(0, index, &region, 0);
    }
    uint16_t Flags2(int16_t staff, int16_t measure, size_t index, int16_t layer = 0) {
        return Stored(staff, measure, index, layer).flags2;
    }
    bool Tied(int16_t staff, int16_t measure, size_t index) {
        return (Stored(staff, measure, index).notes[0].flags & NOTE_FLAG_TIE) != 0;
    }
    // Measures appended in these keys, one each.
    void Keys(std::initializer_list<int16_t> keys) {
        for (int16_t key : keys) Score().Measures(1, 4, 1024, key);
    }
};

TEST_F(TieNotesTest, TiesAPairAndMarksBothEntriesChangingNoOtherBit) {
    Score().Staves({1}).Measures(1).Music(1, 1, "C4/q C4");
    Stored(1, 1, 0).flags2 = 0x0021;
    Stored(1, 1, 0).notes[0].flags |= NOTE_FLAG_CREATED;
    Stored(1, 1, 1).notes[0].flags |= NOTE_FLAG_CREATED;
    const uint32_t noteFlags = Stored(1, 1, 0).notes[0].flags;
    EXPECT_EQ(Invoke(kTie, Region(1, 1, 1, 1)), 1u);
    EXPECT_EQ(Music(1, 1), "C4~/q C4/q");
    EXPECT_EQ(Flags2(1, 1, 0), 0x0021 | ENTRY_FLAG2_TIE_CHANGED);
    EXPECT_EQ(Flags2(1, 1, 1), ENTRY_FLAG2_TIE_CHANGED);
    EXPECT_EQ(Copy(Stored(1, 1, 0).notes[0].flags), noteFlags | NOTE_FLAG_TIE);
    EXPECT_EQ(Copy(Stored(1, 1, 1).notes[0].flags), noteFlags) << "the tie is the first note's";
}

TEST_F(TieNotesTest, TheCommandIndexChoosesByItsLow16Bits) {
    Score().Staves({1}).Measures(1).Music(1, 1, "C4~/q C4");
    EXPECT_EQ(Invoke(5, Region(1, 1, 1, 1)), 1u);
    EXPECT_EQ(Music(1, 1), "C4/q C4/q") << "every index but 0 unties";
    EXPECT_EQ(Invoke(0x10000, Region(1, 1, 1, 1)), 1u);
    EXPECT_EQ(Music(1, 1), "C4~/q C4/q") << "65536 is 0 in its low 16 bits";
    EXPECT_EQ(Invoke(0x10001, Region(1, 1, 1, 1)), 1u);
    EXPECT_EQ(Music(1, 1), "C4/q C4/q");
}

TEST_F(TieNotesTest, ANullRegionDoesNothingAndStillAnswersOne) {
    Score().Staves({1}).Measures(1).Music(1, 1, "C4/q C4");
    EXPECT_EQ(FinaleExtensionInvoke(0, kTie, nullptr, 0), 1u);
    EXPECT_EQ(Music(1, 1), "C4/q C4/q");
    EXPECT_EQ(host().Count("FX_SaveTGF"), 0);
}

TEST_F(TieNotesTest, ChordsTieOnlyTheNotesTheyShare) {
    Score().Staves({1}).Measures(1).Music(1, 1, "C4+E4/h C4+G4");
    Invoke(kTie, Region(1, 1, 1, 1));
    EXPECT_EQ(Music(1, 1), "C4~+E4/h C4+G4/h");
}

TEST_F(TieNotesTest, NothingTiesToARestAndTheRestIsNotTouched) {
    Score().Staves({1}).Measures(1).Music(1, 1, "D4/q r D4 E4");
    const EXENTRY rest = Stored(1, 1, 1);
    Invoke(kTie, Region(1, 1, 1, 1));
    EXPECT_EQ(Music(1, 1), "D4/q r/q D4/q E4/q");
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(Flags2(1, 1, i), 0) << i;
    EXPECT_EQ(std::memcmp(&Stored(1, 1, 1), &rest, sizeof(EXENTRY)), 0);
}

TEST_F(TieNotesTest, ARestsOwnNoteRecordIsNeverTied) {
    // The rest's record holds displacement 0, C4's values, but it is no note.
    Score().Staves({1}).Measures(1).Music(1, 1, "C4/q r C4");
    const EXENTRY rest = Stored(1, 1, 1);
    Invoke(kTie, Region(1, 1, 1, 1));
    EXPECT_EQ(std::memcmp(&Stored(1, 1, 1), &rest, sizeof(EXENTRY)), 0);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(Flags2(1, 1, i), 0) << i;
    EXPECT_EQ(Music(1, 1), "C4/q r/q C4/q");
}

TEST_F(TieNotesTest, TiesAcrossABarlineInsideTheRegionOnly) {
    Score().Staves({1}).Measures(4).Music(1, 3, "D4/h C4").Music(1, 4, "C4/w");
    Invoke(kTie, Region(1, 1, 3, 3));
    EXPECT_EQ(Music(1, 3), "D4/h C4/h") << "the next measure is not loaded: nothing follows";
    Invoke(kTie, Region(1, 1, 3, 4));
    EXPECT_EQ(Music(1, 3), "D4/h C4~/h");
    EXPECT_EQ(Flags2(1, 4, 0), ENTRY_FLAG2_TIE_CHANGED);
}

TEST_F(TieNotesTest, MeasuresWithoutEntriesArePassedOver) {
    Score().Staves({1}).Measures(3).Music(1, 1, "C4/w").Music(1, 3, "C4/w");
    Invoke(kTie, Region(1, 1, 1, 3));
    EXPECT_EQ(Music(1, 1), "C4~/w");
}

TEST_F(TieNotesTest, SharpAndNaturalAreDifferentPitches) {
    Score().Staves({1}).Measures(1).Music(1, 1, "C4/q C#4 C#4 Db4");
    Invoke(kTie, Region(1, 1, 1, 1));
    EXPECT_EQ(Music(1, 1), "C4/q C#4~/q C#4/q Db4/q");
}

// Each note is stored relative to the key of its measure, and read in it across a barline.
TEST_F(TieNotesTest, AcrossAKeyChangeTheWrittenPitchesCompare) {
    Score().Staves({1});
    Keys({0x0000, 0x0001, 0x0002, 0x00FF, 0x0000});  // C, G, D, F and C major
    Score().Music(1, 1, "C4/h G4").Music(1, 2, "G4/h B4").Music(1, 3, "F#4/h D4");
    Score().Music(1, 4, "D4/h Bb4").Music(1, 5, "Bb4/w");
    // B4 in G major and F#4 in D major are stored alike; the two Bb4s are not.
    EXPECT_EQ(Copy(Stored(1, 2, 1).notes[0].displacement),
              Copy(Stored(1, 3, 0).notes[0].displacement));
    EXPECT_EQ(Copy(Stored(1, 2, 1).notes[0].raiseLower), Copy(Stored(1, 3, 0).notes[0].raiseLower));
    EXPECT_EQ(Copy(Stored(1, 4, 1).notes[0].raiseLower), 0);
    EXPECT_EQ(Copy(Stored(1, 5, 0).notes[0].raiseLower), -1);
    Invoke(kTie, Region(1, 1, 1, 5));
    EXPECT_EQ(Music(1, 1), "C4/h G4~/h");
    EXPECT_EQ(Music(1, 2), "G4/h B4/h");
    EXPECT_EQ(Music(1, 3), "F#4/h D4~/h");
    EXPECT_EQ(Music(1, 4), "D4/h Bb4~/h");
    EXPECT_EQ(Flags2(1, 2, 1), 0);
    EXPECT_EQ(Flags2(1, 5, 0), ENTRY_FLAG2_TIE_CHANGED);
}

TEST_F(TieNotesTest, InsideOneKeyOrUnderAKeyNotKnownTheStoredValuesCompare) {
    Score().Staves({1});
    Keys({0x0001, 0x0001, 0x0000, 0x0001, 0x0001, 0x0000});
    // One key across the barline: B4 to B4 ties, B4 to C5 does not.
    Score().Music(1, 1, "E4/h B4").Music(1, 2, "B4/h C5");
    // Key value 0x0200 is neither major nor minor: C4 (written in C major) ties to G4 of G
    // major, which is stored alike.
    Score().Music(1, 3, "E4/h C4").Music(1, 4, "G4/w");
    PutMeasureKey(doc(), 3, 0x0200);
    // Measure 6 has no measure record: G4 of G major does not tie to G4 of C major, which is
    // stored otherwise.
    Score().Music(1, 5, "D4/h G4").Music(1, 6, "G4/w");
    doc().records.Erase(plovikhost::RecordId{plovikhost::TAG_MEASURE, 6, 0, 0});
    Invoke(kTie, Region(1, 1, 1, 6));
    EXPECT_EQ(Music(1, 1), "E4/h B4~/h");
    EXPECT_EQ(Music(1, 2), "B4/h C5/h");
    EXPECT_TRUE(Tied(1, 3, 1)) << "C4 in 0x0200 to G4 in G major";
    EXPECT_FALSE(Tied(1, 5, 1)) << "G4 to a measure without a key";
    EXPECT_EQ(Music(1, 5), "D4/h G4/h");
}

TEST_F(TieNotesTest, EachMeasuresKeyIsReadOncePerCommandAndNothingElseIsAsked) {
    Score().Staves({1, 2});
    Keys({0x0000, 0x0001, 0x0001});
    for (int16_t staff : {1, 2})
        for (int16_t layer : {0, 1})
            Score().Music(staff, 1, "C4/h G4", layer).Music(staff, 2, "G4/h G4", layer);
    Score().Music(1, 3, "G4/w").Music(2, 3, "G4/w");
    const auto names = [this](bool withMeasures) {
        std::vector<std::string> out;
        for (const plovikhost::CallRecord& call : host().Calls())
            if (withMeasures ==
                (call.name == "FX_LoadEData" && call.args.at(0) == plovikhost::TAG_MEASURE))
                out.push_back(call.name + " " + call.text);
        return out;
    };
    Invoke(kUntie, Region(1, 2, 1, 3));
    const std::vector<std::string> untie = names(false);
    host().ClearCalls();
    Invoke(kTie, Region(1, 2, 1, 3));
    EXPECT_EQ(Music(2, 1, 1), "C4/h G4~/h");
    EXPECT_EQ(Music(2, 2, 0), "G4~/h G4~/h");
    EXPECT_EQ(names(true), (std::vector<std::string>{"FX_LoadEData 1,0,0", "FX_LoadEData 2,0,0",
                                                     "FX_LoadEData 3,0,0"}));
    EXPECT_EQ(names(false), untie) << "the calls of untying, which reads no key";
}

TEST_F(TieNotesTest, TyingNeverClearsATie) {
    Score().Staves({1}).Measures(1).Music(1, 1, "C4~/q D4 E4~+G4 E4");
    Invoke(kTie, Region(1, 1, 1, 1));
    EXPECT_EQ(Music(1, 1), "C4~/q D4/q E4~+G4/q E4/q");
    EXPECT_EQ(Flags2(1, 1, 0), 0) << "no partner: the entry was not touched";
}

TEST_F(TieNotesTest, UntieClearsEveryTieAndMarksEveryEntryRestsIncluded) {
    Score().Staves({1}).Measures(1).Music(1, 1, "C4~+E4~/q C4+E4 r D4");
    const EXENTRY rest = Stored(1, 1, 2);
    Invoke(kUntie, Region(1, 1, 1, 1));
    EXPECT_EQ(Music(1, 1), "C4+E4/q C4+E4/q r/q D4/q");
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(Flags2(1, 1, i), ENTRY_FLAG2_TIE_CHANGED) << i;
    EXPECT_EQ(std::memcmp(&Stored(1, 1, 2).notes, &rest.notes, sizeof rest.notes), 0);
}

TEST_F(TieNotesTest, TyingTwiceIsTyingOnce) {
    Score().Staves({1, 2}).Measures(2).Music(1, 1, "C4/h C4+E4").Music(1, 2, "E4/h E4");
    Score().Music(2, 1, "G3/w").Music(2, 2, "G3/w");
    Invoke(kTie, Region(1, 2, 1, 2));
    const std::map<plovikhost::CellKey, plovikhost::Cell> once = doc().cells;
    Invoke(kTie, Region(1, 2, 1, 2));
    ASSERT_EQ(doc().cells.size(), once.size());
    for (const auto& [key, cell] : once) {
        const plovikhost::Cell* again = doc().FindCell(key.staff, key.measure, key.layer);
        ASSERT_TRUE(again);
        ASSERT_EQ(again->entries.size(), cell.entries.size());
        EXPECT_EQ(std::memcmp(again->entries.data(), cell.entries.data(),
                              cell.entries.size() * sizeof(EXENTRY)),
                  0);
    }
    EXPECT_EQ(Music(1, 1), "C4~/h C4+E4~/h");
}

TEST_F(TieNotesTest, AnEndSlotBelowTheStartSlotChangesNothing) {
    Score().Staves({1, 2}).Measures(1).Music(1, 1, "C4/h C4").Music(2, 1, "C4/h C4");
    Invoke(kTie, Region(2, 1, 1, 1));
    EXPECT_EQ(Music(1, 1), "C4/h C4/h");
    EXPECT_EQ(Music(2, 1), "C4/h C4/h");
    EXPECT_EQ(host().Count("FX_LoadTGF"), 0);
}

TEST_F(TieNotesTest, SlotsAreMappedToStavesInTheRegionsList) {
    // Staff 9 sits in slot 1, staff 4 in slot 2; instrument list 1 has them the other way round.
    Score().Staves({9, 4}).Measures(1).Music(9, 1, "C4/h C4").Music(4, 1, "D4/h D4");
    doc().instrumentLists[1] = {4, 9};
    Invoke(kTie, Region(2, 2, 1, 1));
    EXPECT_EQ(Music(9, 1), "C4/h C4/h");
    EXPECT_EQ(Music(4, 1), "D4~/h D4/h");

    EREGION inList1 = Region(2, 2, 1, 1);
    inList1.startInstrumentList = inList1.endInstrumentList = 1;
    Invoke(kTie, inList1);
    EXPECT_EQ(Music(9, 1), "C4~/h C4/h");
}

TEST_F(TieNotesTest, AHiddenLayerIsNeitherTiedNorUntied) {
    Score().Staves({1}).Measures(1).Music(1, 1, "C4/h C4").Music(1, 1, "E4~/h E4", 1);
    Score().Music(1, 1, "G4/h G4", 2).HideLayer(1);
    Invoke(kTie, Region(1, 1, 1, 1));
    EXPECT_EQ(Music(1, 1, 0), "C4~/h C4/h");
    EXPECT_EQ(Music(1, 1, 2), "G4~/h G4/h");
    Invoke(kUntie, Region(1, 1, 1, 1));
    EXPECT_EQ(Music(1, 1, 0), "C4/h C4/h");
    EXPECT_EQ(Music(1, 1, 1), "E4~/h E4/h");
    EXPECT_EQ(Flags2(1, 1, 0, 1), 0);
}

TEST_F(TieNotesTest, EntriesBeforeTheStartPositionAreNotVisited) {
    Score().Staves({1}).Measures(1).Music(1, 1, "C4/q C4 C4 C4");
    Invoke(kTie, Region(1, 1, 1, 1, 1024));
    EXPECT_EQ(Music(1, 1), "C4/q C4~/q C4~/q C4/q");
    EXPECT_EQ(Flags2(1, 1, 0), 0);

    Stored(1, 1, 0).notes[0].flags |= NOTE_FLAG_TIE;
    Invoke(kUntie, Region(1, 1, 1, 1, 1024));
    EXPECT_EQ(Music(1, 1), "C4~/q C4/q C4/q C4/q");
}

TEST_F(TieNotesTest, TheEntryAfterTheEndPositionIsStillMarked) {
    Score().Staves({1}).Measures(2).Music(1, 1, "C4/q C4 C4/h").Music(1, 2, "C4/w");
    Invoke(kTie, Region(1, 1, 1, 1, 0, 1023));
    EXPECT_EQ(Music(1, 1), "C4~/q C4/q C4/h");
    EXPECT_EQ(Flags2(1, 1, 1), ENTRY_FLAG2_TIE_CHANGED);
    EXPECT_EQ(Flags2(1, 1, 2), 0);
}

TEST_F(TieNotesTest, AnEndPositionOfZeroAdmitsOnlyTheFirstInstant) {
    Score().Staves({1}).Measures(2).Music(1, 1, "C4/w").Music(1, 2, "C4/h C4 ");
    Invoke(kTie, Region(1, 1, 1, 2, 0, 0));
    EXPECT_EQ(Music(1, 1), "C4~/w");
    EXPECT_EQ(Music(1, 2), "C4~/h C4/h");
}

TEST_F(TieNotesTest, WithoutFX_GetMaxLayersFourLayersAreWorked) {
    Score().Staves({1}).Measures(1).Music(1, 1, "C4/h C4", 3);
    host().maxLayers = 1;
    host().Hide("FX_GetMaxLayers");
    Relookup();
    Invoke(kTie, Region(1, 1, 1, 1));
    EXPECT_EQ(Music(1, 1, 3), "C4~/h C4/h");
}

TEST_F(TieNotesTest, TheHostsLayerCountIsAskedBeforeEveryLayer) {
    Score().Staves({1}).Measures(1).Music(1, 1, "C4/h C4", 1).Music(1, 1, "D4/h D4", 2);
    host().maxLayers = 2;
    Invoke(kTie, Region(1, 1, 1, 1));
    EXPECT_EQ(Music(1, 1, 1), "C4~/h C4/h");
    EXPECT_EQ(Music(1, 1, 2), "D4/h D4/h");
    EXPECT_EQ(host().Count("FX_GetMaxLayers"), 3);
}

TEST_F(TieNotesTest, EveryLoadedFrameIsSavedAndGivenBackWithoutReloading) {
    Score().Staves({1, 2}).Measures(3).Music(1, 1, "C4/h C4");
    Invoke(kTie, Region(1, 2, 1, 3));
    // 2 staves x 4 layers x 3 measures; nothing unnumbered, so nothing reloaded.
    EXPECT_EQ(host().Count("FX_LoadTGF"), 24);
    EXPECT_EQ(host().Count("FX_SaveTGF"), 24);
    EXPECT_EQ(host().Count("FX_FreeTGF"), 24);
    EXPECT_EQ(host().Count("FX_StartFinaleEdit"), 0) << "the commands open no edit";
}

TEST_F(TieNotesTest, ALayerWithAFrameTheHostCannotLoadIsLeftAlone) {
    Score().Staves({1}).Measures(2).Music(1, 1, "C4/h C4").Music(1, 2, "C4/w");
    Score().Music(1, 1, "E4/h E4", 1);
    host().refuseLoadTGF = [](const plovikhost::FrameRequest& r) {
        return r.layer == 0 && r.measure == 2;
    };
    Invoke(kTie, Region(1, 1, 1, 2));
    EXPECT_EQ(Music(1, 1, 0), "C4/h C4/h");
    EXPECT_EQ(Music(1, 1, 1), "E4~/h E4/h");
}

TEST_F(TieNotesTest, AFrameTheHostRefusesToStoreDoesNotStopTheOthers) {
    Score().Staves({1}).Measures(2).Music(1, 1, "C4/h C4").Music(1, 2, "D4/h D4");
    host().refuseSaveTGF = [](const EXTGF2005a* frame) { return frame->measure == 1; };
    Invoke(kTie, Region(1, 1, 1, 2));
    EXPECT_EQ(Music(1, 1), "C4/h C4/h");
    EXPECT_EQ(Music(1, 2), "D4~/h D4/h");
}

// Host data is not trusted: damaged frames and records change nothing outside the records.
TEST_F(TieNotesTest, ANegativeEntryCountMeansNoEntries) {
    Score().Staves({1}).Measures(1).Music(1, 1, "C4/h C4");
    host().alterLoadedTGF = [](EXTGF2005a* frame) { frame->entryCount = -3; };
    Invoke(kTie, Region(1, 1, 1, 1));
    host().alterLoadedTGF = nullptr;
    EXPECT_EQ(Music(1, 1), "C4/h C4/h");
}

TEST_F(TieNotesTest, AFrameWithoutAnEntryArrayHasNoEntries) {
    Score().Staves({1}).Measures(1).Music(1, 1, "C4/h C4");
    host().alterLoadedTGF = [](EXTGF2005a* frame) {
        frame->entries = nullptr;
        frame->tuplets = nullptr;
        frame->tupletCount = 5;
    };
    Invoke(kTie, Region(1, 1, 1, 1));
    EXPECT_EQ(Music(1, 1), "C4/h C4/h");
}

TEST_F(TieNotesTest, NoteCountsOutOfRangeAreClamped) {
    Score().Staves({1}).Measures(1).Music(1, 1, "C4/q C4 D4 D4 E4");
    Stored(1, 1, 0).noteCount = 40;  // read as 12: records 1..11 are zero, displacement 0 = C4
    Stored(1, 1, 2).noteCount = -5;  // read as no notes
    Invoke(kTie, Region(1, 1, 1, 1));
    EXPECT_NE(Stored(1, 1, 0).notes[0].flags & NOTE_FLAG_TIE, 0u);
    EXPECT_NE(Stored(1, 1, 0).notes[11].flags & NOTE_FLAG_TIE, 0u);
    EXPECT_EQ(Stored(1, 1, 1).notes[0].flags & NOTE_FLAG_TIE, 0u) << "its follower has no notes";
    EXPECT_EQ(Copy(Stored(1, 1, 2).flags2), 0) << "nothing of it matched";

    Invoke(kUntie, Region(1, 1, 1, 1));
    for (int i = 0; i < EXENTRY_MAX_NOTES; ++i)
        EXPECT_EQ(Stored(1, 1, 0).notes[i].flags & NOTE_FLAG_TIE, 0u) << i;
}

}  // namespace
