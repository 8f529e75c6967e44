// Entries and notes over entry records of a frame the test owns.
#include <cstring>
#include <memory>
#include <vector>

#include "FCNoteEntry.h"
#include "FCNotePitches.h"
#include "Notation.h"
#include "ScoreTest.h"

namespace {

// A frame of the test's own, laid out as the host's, over entries written in notation.
struct LocalFrame {
    explicit LocalFrame(const std::string& music) : entries(plovikhost::ParseEntries(music, 0)) {
        frame.slot = 1;
        frame.measure = 7;
        frame.entries = entries.data();
        frame.entryCount = static_cast<int16_t>(entries.size());
    }
    EXTGF2005a frame{};
    std::vector<EXENTRY> entries;
};

class FCNoteEntryTest : public ScoreTest {
  protected:
    void SetUp() override {
        ScoreTest::SetUp();
        Score().Staves({4});
    }
    // Entries over every record of the frame, linked in order.
    std::vector<std::unique_ptr<FCNoteEntry>> Entries(LocalFrame& local) {
        std::vector<std::unique_ptr<FCNoteEntry>> out;
        for (EXENTRY& record : local.entries) {
            out.emplace_back(new FCNoteEntry(&record, &local.frame));
            if (out.size() > 1) {
                out[out.size() - 2]->_SetNext(out.back().get());
                out.back()->_SetPrevious(out[out.size() - 2].get());
            }
        }
        return out;
    }
    static std::vector<int> Displacements(const FCNoteEntry& entry) {
        std::vector<int> out;
        for (int i = 0; i < entry.GetNoteCount(); ++i)
            out.push_back(entry.GetItemAt(i)->GetDisplacement());
        return out;
    }
};

TEST_F(FCNoteEntryTest, AnEntryIsAViewOfItsRecord) {
    LocalFrame local("C4+E4+G4/h r/q");
    auto entries = Entries(local);
    FCNoteEntry& chord = *entries[0];
    EXPECT_STREQ(chord.ClassName(), "FCNoteEntry");
    EXPECT_EQ(chord.GetMeasure(), 7);
    EXPECT_EQ(chord.GetStaff(), 4) << "slot 1 of the global list";
    EXPECT_EQ(chord.GetNoteCount(), 3);
    EXPECT_TRUE(chord.IsNote());
    EXPECT_TRUE(entries[1]->IsRest());
    EXPECT_EQ(entries[1]->GetNoteCount(), 1) << "a stored rest keeps its own note record";
    EXPECT_EQ(entries[1]->GetMeasurePos(), 0);

    FCNote* e = chord.GetItemAt(1);
    EXPECT_EQ(e->GetEntry(), &chord);
    e->SetDisplacement(3);
    e->SetTie(true);
    EXPECT_EQ(Copy(local.entries[0].notes[1].displacement), 3);
    EXPECT_NE(local.entries[0].notes[1].flags & NOTE_FLAG_TIE, 0u);
    EXPECT_EQ(e->_GetEntryNumber(), 0);
    local.entries[0].entryNumber = 77;
    EXPECT_EQ(e->_GetEntryNumber(), 77);
    e->_SetNoteDetailEntryFlag(true);
    e->_SetArticulationEntryFlag(true);
    e->_SetSpecialAltsEntryFlag(true);
    EXPECT_EQ(local.entries[0].flags & 0x00601000u, 0x00601000u);
    EXPECT_EQ(chord._CalcTGFIndex(), 0);
    EXPECT_EQ(entries[1]->_CalcTGFIndex(), 1);
}

TEST_F(FCNoteEntryTest, NoteCountsFromTheHostAreClamped) {
    LocalFrame local("C4/q D4");
    local.entries[0].noteCount = 40;
    local.entries[1].noteCount = -5;
    auto entries = Entries(local);
    EXPECT_EQ(entries[0]->GetNoteCount(), 12);
    EXPECT_EQ(entries[1]->GetNoteCount(), 0);
    EXPECT_EQ(entries[0]->AddNewNote(), nullptr);
    FCNote* added = entries[1]->AddNewNote();
    ASSERT_TRUE(added);
    EXPECT_EQ(added->GetNoteIndex(), 0);
    EXPECT_EQ(Copy(local.entries[1].noteCount), 1);
}

// Nine notes sit in the entry's own slots; the tenth still fits, the eleventh moves them all to
// the heap (the capacity reads as the collection's rule has it either way).
TEST_F(FCNoteEntryTest, AddNewNote) {
    LocalFrame local("C4+D4+E4+F4+G4+A4+B4+C5+D5/q r/q C4/q C4+D4+E4+F4+G4+A4+B4+C5+D5+E5/q");
    local.entries[2].notes[0].noteID = 2;
    auto entries = Entries(local);
    FCNoteEntry& nine = *entries[0];
    EXPECT_EQ(nine.GetCapacity(), 10);
    EXPECT_EQ(entries[3]->GetCapacity(), 20) << "ten at once: the step after ten";
    std::vector<FCNote*> before;
    for (int i = 0; i < 9; ++i) before.push_back(nine.GetItemAt(i));
    ASSERT_TRUE(nine.AddNewNote());
    EXPECT_EQ(nine.GetCapacity(), 10);
    ASSERT_TRUE(nine.AddNewNote());
    EXPECT_EQ(nine.GetCapacity(), 20);
    FCNote* twelfth = nine.AddNewNote();
    ASSERT_TRUE(twelfth);
    EXPECT_EQ(twelfth->GetNoteID(), 12);
    EXPECT_EQ(twelfth->GetDisplacement(), 0);
    EXPECT_NE(local.entries[0].notes[11].flags & NOTE_FLAG_CREATED, 0u);
    EXPECT_EQ(nine.AddNewNote(), nullptr) << "twelve is the most";
    EXPECT_EQ(Copy(local.entries[0].noteCount), 12);
    for (int i = 0; i < 12; ++i) {
        if (i < 9) {
            EXPECT_EQ(nine.GetItemAt(i), before[static_cast<size_t>(i)]) << i;
        }
        EXPECT_EQ(nine.GetItemAt(i)->_GetNoteRecord(), &local.entries[0].notes[i]) << i;
    }
    EXPECT_EQ(entries[1]->AddNewNote(), nullptr) << "a rest takes no notes";
    EXPECT_EQ(entries[2]->AddNewNote()->GetNoteID(), 1);
    nine.CopyNotes(entries[3].get());
    EXPECT_EQ(Displacements(nine), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(FCNoteEntryTest, FindUniqueNoteID) {
    LocalFrame local("C4+D4+E4/q C4+D4/q C4/q");
    local.entries[0].notes[2].noteID = 4;
    local.entries[1].notes[0].noteID = 2;
    local.entries[1].notes[1].noteID = 3;
    local.entries[2].noteCount = 0;
    auto entries = Entries(local);
    EXPECT_EQ(entries[0]->_FindUniqueNoteID(), 3);
    EXPECT_EQ(entries[1]->_FindUniqueNoteID(), 1);
    EXPECT_EQ(entries[2]->_FindUniqueNoteID(), 1);
}

TEST_F(FCNoteEntryTest, DeleteNote) {
    LocalFrame local("C4+E4+G4/q C4/q D4+F4/q");
    local.entries[1].flags |=
        ENTRY_FLAG_NOTE_DETAILS | ENTRY_FLAG_ARTICULATIONS | ENTRY_FLAG_SPECIAL_ALTS;
    local.entries[2].flags |= ENTRY_FLAG_NOTE_DETAILS | ENTRY_FLAG_ARTICULATIONS;
    auto entries = Entries(local);
    EXPECT_FALSE(entries[0]->DeleteNote(entries[1]->GetItemAt(0))) << "not its note";
    EXPECT_TRUE(entries[0]->DeleteNote(entries[0]->GetItemAt(1)));
    EXPECT_EQ(Displacements(*entries[0]), (std::vector<int>{0, 4}));
    EXPECT_EQ(Copy(local.entries[0].noteCount), 2);

    EXPECT_TRUE(entries[1]->DeleteNote(entries[1]->GetItemAt(0)));
    EXPECT_EQ(Copy(local.entries[1].noteCount), 0);
    EXPECT_EQ(local.entries[1].flags & (ENTRY_FLAG_NOTE | 0x00601000u), 0u) << "MakeRest";
    EXPECT_TRUE(entries[1]->IsRest());

    // A pack that drops every note makes a rest of the entry but keeps its other flags.
    for (int i = 0; i < 2; ++i) entries[2]->GetItemAt(i)->_SetDeleted(true);
    entries[2]->_PackEXENTRYNotes();
    EXPECT_EQ(Copy(local.entries[2].noteCount), 0);
    EXPECT_EQ(entries[2]->GetNoteCount(), 0);
    EXPECT_EQ(Copy(local.entries[2].flags) & (ENTRY_FLAG_NOTE | 0x00600000u), 0x00600000u);
}

TEST_F(FCNoteEntryTest, HighestAndLowestNotes) {
    LocalFrame local("C4+C4+C4/q C4/q");
    int16_t d[3] = {3, 5, 5}, r[3] = {0, -1, 1};
    for (int i = 0; i < 3; ++i) {
        local.entries[0].notes[i].displacement = d[i];
        local.entries[0].notes[i].raiseLower = r[i];
    }
    local.entries[1].noteCount = 0;
    auto entries = Entries(local);
    FCNoteEntry& chord = *entries[0];
    FCNote* highest = chord.FindHighestNote(nullptr);
    EXPECT_EQ(highest, chord.GetItemAt(2));
    EXPECT_EQ(chord.FindHighestNote(highest), chord.GetItemAt(1));
    EXPECT_EQ(chord.FindHighestNote(chord.GetItemAt(0)), nullptr);
    EXPECT_EQ(chord.FindLowestNote(), chord.GetItemAt(0));
    EXPECT_EQ(chord.CalcHighestDisplacement(), 5);
    EXPECT_EQ(chord.CalcDisplacementRange(), 2);
    EXPECT_EQ(entries[1]->FindLowestNote(), nullptr);
    EXPECT_EQ(entries[1]->CalcDisplacementRange(), 0);
    EXPECT_EQ(entries[1]->CalcHighestDisplacement(), 0);
}

TEST_F(FCNoteEntryTest, DisplacementRange) {
    LocalFrame local("D4/q B2+C5/q");
    auto entries = Entries(local);
    EXPECT_EQ(entries[0]->CalcDisplacementRange(), 0);
    EXPECT_EQ(entries[1]->CalcDisplacementRange(), 15) << "B2 is -8, C5 is 7";
}

TEST_F(FCNoteEntryTest, FindPitchAndTies) {
    LocalFrame local("C4+E4/q E4+C4/q r/q");
    auto entries = Entries(local);
    FCNote* c = entries[0]->GetItemAt(0);
    EXPECT_EQ(entries[1]->FindPitch(c), entries[1]->GetItemAt(1));
    EXPECT_EQ(entries[2]->FindPitch(c), nullptr) << "the rest's record holds C4, but it is a rest";
    EXPECT_EQ(entries[1]->FindPitch(nullptr), nullptr);
    EXPECT_FALSE(entries[0]->IsTied());
    entries[0]->TieAll(true);
    EXPECT_TRUE(entries[0]->IsTied());
    entries[2]->TieAll(true);
    EXPECT_EQ(local.entries[2].notes[0].flags & NOTE_FLAG_TIE, 0u) << "rests are left alone";
    entries[0]->TieAll(false);
    EXPECT_FALSE(entries[0]->IsTied());
    entries[0]->SetAccidentals(true);
    EXPECT_TRUE(entries[0]->GetItemAt(1)->GetAccidental());
}

TEST_F(FCNoteEntryTest, PitchComparisons) {
    LocalFrame local("C4+C#4+D4+Cb4/q");
    auto entries = Entries(local);
    FCNoteEntry& e = *entries[0];
    EXPECT_FALSE(e.GetItemAt(0)->IsIdenticalPitch(e.GetItemAt(1)));
    EXPECT_TRUE(e.GetItemAt(0)->IsLowerPitchThan(e.GetItemAt(1)));
    EXPECT_TRUE(e.GetItemAt(1)->IsLowerPitchThan(e.GetItemAt(2)));
    EXPECT_TRUE(e.GetItemAt(3)->IsLowerPitchThan(e.GetItemAt(0)));
    EXPECT_FALSE(e.GetItemAt(0)->IsLowerPitchThan(e.GetItemAt(0)));
}

TEST_F(FCNoteEntryTest, Flippable) {
    LocalFrame local("C4/h D4/h E4/q F4/q G4/1023 A4/1024 r/q");
    auto entries = Entries(local);
    EXPECT_TRUE(entries[0]->CalcFlippable()) << "no previous entry";
    EXPECT_FALSE(entries[1]->CalcFlippable()) << "the next entry is in the same measure";
    FCNoteEntry& quarter = *entries[3];
    quarter._SetNext(nullptr);
    quarter._SetPrevious(entries[1].get());
    EXPECT_TRUE(quarter.CalcFlippable()) << "previous half note, different duration";
    quarter._SetPrevious(entries[2].get());
    EXPECT_FALSE(quarter.CalcFlippable()) << "same duration as the previous entry";
    local.entries[3].flags |= ENTRY_FLAG_FLIP_FORCED;
    EXPECT_TRUE(quarter.CalcFlippable());

    FCNoteEntry& half = *entries[0];
    half._SetNext(nullptr);
    half._SetPrevious(entries[4].get());
    EXPECT_FALSE(half.CalcFlippable()) << "a previous entry of 1023 units or less";
    half._SetPrevious(entries[5].get());
    EXPECT_TRUE(half.CalcFlippable()) << "one of 1024";

    local.entries[6].flags |= ENTRY_FLAG_FLIP_FORCED;
    entries[6]->_SetPrevious(nullptr);
    EXPECT_FALSE(entries[6]->CalcFlippable()) << "a rest, forced or not";
}

TEST_F(FCNoteEntryTest, StemDirectionComesFromTheLastForcedEntry) {
    LocalFrame local("C4/q D4 E4 F4");
    local.entries[0].flags |= ENTRY_FLAG_FLIP_FORCED | ENTRY_FLAG_STEM_UP;
    local.entries[1].flags |= ENTRY_FLAG_STEM_UP;  // not forced: never asked
    auto entries = Entries(local);
    EXPECT_TRUE(entries[0]->CalcStemUp());
    EXPECT_TRUE(entries[2]->CalcStemUp()) << "from the first entry";
    local.entries[0].flags &= ~ENTRY_FLAG_STEM_UP;
    EXPECT_FALSE(entries[2]->CalcStemUp());

    local.entries[0].flags &= ~ENTRY_FLAG_FLIP_FORCED;
    EXPECT_FALSE(entries[2]->CalcStemUp()) << "no forced entry before it: its own bit";
    local.entries[2].flags |= ENTRY_FLAG_STEM_UP;
    EXPECT_TRUE(entries[2]->CalcStemUp());
}

TEST_F(FCNoteEntryTest, CopyingNotes) {
    LocalFrame local("C4+E4+G4/q D4/q F4/q r/q");
    auto entries = Entries(local);
    entries[1]->CopyNotes(entries[0].get());
    EXPECT_EQ(Displacements(*entries[1]), (std::vector<int>{0, 2, 4}));
    entries[2]->CopyNote(entries[0]->GetItemAt(2));
    EXPECT_EQ(Displacements(*entries[2]), (std::vector<int>{4}));
    EXPECT_EQ(entries[2]->GetItemAt(0)->GetNoteID(), 1);
    EXPECT_EQ(entries[0]->AddPitches(entries[3].get()), 0) << "a rest has no pitches";
    EXPECT_EQ(entries[2]->AddPitches(entries[0].get()), 3);
    EXPECT_EQ(Displacements(*entries[2]), (std::vector<int>{4, 0, 2, 4}));
    EXPECT_EQ(entries[0]->AddPitches(entries[0].get()), 3) << "from itself, as it was";
    EXPECT_EQ(entries[0]->GetNoteCount(), 6);
    EXPECT_FALSE(entries[3]->AddPitch(entries[0]->GetItemAt(0)));
    EXPECT_TRUE(entries[1]->AddPitch(entries[2]->GetItemAt(0)));
    EXPECT_EQ(Displacements(*entries[1]), (std::vector<int>{0, 2, 4, 4}));
}

TEST_F(FCNoteEntryTest, MovableRests) {
    LocalFrame local("C4/q C4/q");
    local.entries[0].flags = ENTRY_FLAG_REST_RECORD;
    local.entries[0].noteCount = 0;
    local.entries[1].flags |= ENTRY_FLAG_REST_RECORD;
    auto entries = Entries(local);
    entries[0]->MakeMovableRest();
    ASSERT_EQ(entries[0]->GetNoteCount(), 1);
    EXPECT_EQ(Copy(local.entries[0].notes[0].noteID), 31);
    EXPECT_EQ(Copy(local.entries[0].notes[0].displacement), 1500);
    EXPECT_NE(local.entries[0].notes[0].flags & NOTE_FLAG_CREATED, 0u);
    EXPECT_EQ(local.entries[0].flags & ENTRY_FLAG_REST_RECORD, 0u);
    entries[1]->MakeMovableRest();
    EXPECT_EQ(entries[1]->GetNoteCount(), 1);
    EXPECT_TRUE(entries[1]->IsNote()) << "the note flag is not touched";
}

TEST_F(FCNoteEntryTest, PitchesAreDetachedCopies) {
    LocalFrame local("C4+E4+G4/q r/q");
    auto entries = Entries(local);
    std::unique_ptr<FCNotePitches> pitches(entries[0]->CreateNotePitches());
    ASSERT_EQ(pitches->GetCount(), 3);
    EXPECT_STREQ(pitches->GetItemAt(0)->ClassName(), "FCNotePitch");
    entries[0]->GetItemAt(1)->SetDisplacement(9);
    EXPECT_EQ(pitches->GetItemAt(1)->GetDisplacement(), 2);
    EXPECT_EQ(pitches->GetItemAt(1)->GetEntry(), nullptr);
    EXPECT_EQ(pitches->GetItemAt(1)->_GetEntryNumber(), 0);
    ASSERT_EQ(entries[1]->GetNoteCount(), 1) << "the rest keeps its note record";
    std::unique_ptr<FCNotePitches> none(entries[1]->CreateNotePitches());
    EXPECT_EQ(none->GetCount(), 0) << "a rest has no pitches";
    FCNoteEntry unrecorded(nullptr, nullptr);
    EXPECT_EQ(std::unique_ptr<FCNotePitches>(unrecorded.CreateNotePitches())->GetCount(), 0);
}

TEST_F(FCNoteEntryTest, AShallowCloneChangesTheSameRecord) {
    LocalFrame local("C4/q");
    auto entries = Entries(local);
    std::unique_ptr<FCNoteEntry> clone(entries[0]->CreateShallowClone());
    EXPECT_EQ(clone->GetEntryRecord(), entries[0]->GetEntryRecord());
    EXPECT_EQ(clone->GetStaff(), 4);
    EXPECT_EQ(clone->Next(), nullptr);
    clone->TieAll(true);
    EXPECT_TRUE(entries[0]->IsTied());
}

TEST_F(FCNoteEntryTest, TupletDefinitionsAreFoundByEntryNumberAndIncidence) {
    LocalFrame local("C4/q D4/q");
    local.entries[0].entryNumber = 10;
    local.entries[1].entryNumber = 11;
    TGFTUPLETITEM items[4] = {};
    items[0].entryIndex = 1;
    items[0].definition[0] = 0xA0;
    items[1].entryIndex = 1;
    items[1].incidence = 1;
    items[1].definition[0] = 0xA1;
    items[2].entryIndex = 9;  // no such record: skipped
    items[3].entryIndex = -1;
    local.frame.tuplets = items;
    local.frame.tupletCount = 4;
    auto entries = Entries(local);
    EDTTuplet2005 def{};
    EXPECT_FALSE(entries[0]->_GetTupletDef(0, &def));
    ASSERT_TRUE(entries[1]->_GetTupletDef(1, &def));
    EXPECT_EQ(def.bytes[0], 0xA1);
    EXPECT_FALSE(entries[1]->_GetTupletDef(2, &def));
    local.frame.tupletCount = -2;
    EXPECT_FALSE(entries[1]->_GetTupletDef(0, &def));
    local.frame.tupletCount = 1;
    local.frame.tuplets = nullptr;
    EXPECT_FALSE(entries[1]->_GetTupletDef(0, &def));
}

TEST_F(FCNoteEntryTest, AnEntryWithoutARecordHasNoNotesAndChangesNothing) {
    FCNoteEntry entry(nullptr, nullptr);
    EXPECT_EQ(entry.GetNoteCount(), 0);
    EXPECT_FALSE(entry.IsNote());
    EXPECT_FALSE(entry.IsRest());
    EXPECT_EQ(entry.AddNewNote(), nullptr);
    entry.MakeRest();
    entry.MakeMovableRest();
    entry.CopyNotes(&entry);
    EXPECT_EQ(entry._CalcTGFIndex(), -1);
    EXPECT_EQ(entry.GetEntryNumber(), 0);
}

}  // namespace
