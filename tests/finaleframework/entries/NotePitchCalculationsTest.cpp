// A note's letter, alteration and staff position in the key of its measure, with the clef and
// the staff's transposition in force at its entry.
#include <cstdint>
#include <memory>

#include "FCNote.h"
#include "FCNoteEntryLayer.h"
#include "FCNotePitch.h"
#include "FXRecordAccess.h"
#include "RecordBuilders.h"
#include "ScoreTest.h"

using namespace plovikhost;

namespace {

constexpr int16_t kStaff = 6;

class NotePitchCalculationsTest : public ScoreTest {
  protected:
    void SetUp() override {
        ScoreTest::SetUp();
        Score().Staves({2, kStaff});
    }
    void TearDown() override {
        layer_.reset();  // its frames go back before the fixture counts them
        ScoreTest::TearDown();
    }
    // A measure in that key (built in C major when the notation cannot spell the key), then
    // a layer over it holding two quarter notes.
    FCNote* NoteIn(uint16_t key, int16_t displacement = 0, int16_t raiseLower = 0) {
        const int16_t measure = static_cast<int16_t>(doc().MeasureCount() + 1);
        const bool spelled = key < 0x0200 && (key & 0xFF) <= 7;
        Score().Measures(1, 4, 1024, spelled ? static_cast<int16_t>(key) : 0);
        if (!spelled) PutMeasureKey(doc(), measure, key);
        Score().Music(kStaff, measure, "C4/q C4");
        layer_.reset(new FCNoteEntryLayer(0, kStaff, measure, measure));
        EXPECT_TRUE(layer_->Load());
        FCNote* note = layer_->GetItemAt(0)->GetItemAt(0);
        note->SetDisplacement(displacement);
        note->SetRaiseLower(raiseLower);
        return note;
    }
    char Letter(uint16_t key, int16_t displacement) {
        return NoteIn(key, displacement)->CalcPitchChar();
    }
    int RaiseLower(uint16_t key, int16_t displacement, int16_t raiseLower = 0) {
        return NoteIn(key, displacement, raiseLower)->CalcPitchRaiseLower();
    }
    std::unique_ptr<FCNoteEntryLayer> layer_;
};

TEST_F(NotePitchCalculationsTest, LettersInTheKey) {
    EXPECT_EQ(Letter(0x0000, 0), 'C');
    EXPECT_EQ(Letter(0x0002, 2), 'F') << "D major";
    EXPECT_EQ(Letter(0x0100, 0), 'A') << "A minor";
    EXPECT_EQ(Letter(0x0101, 0), 'E') << "E minor";
    EXPECT_EQ(Letter(0x00FD, 3), 'A') << "E flat major";
}

TEST_F(NotePitchCalculationsTest, LettersBelowTheTonic) {
    EXPECT_EQ(Letter(0x0000, -1), 'B');
    EXPECT_EQ(Letter(0x0000, -7), 'C');
    EXPECT_EQ(Letter(0x0000, -8), 'B');
    EXPECT_EQ(Letter(0x0000, -9), 'A');
    EXPECT_EQ(Letter(0x0000, -15), 'B');
    EXPECT_EQ(Letter(0x0100, -1), 'G') << "A minor";
    EXPECT_EQ(Letter(0x0000, INT16_MIN), 'B');
    EXPECT_EQ(Letter(0x0000, INT16_MAX), 'C');
}

TEST_F(NotePitchCalculationsTest, RaiseLowerInTheKey) {
    EXPECT_EQ(RaiseLower(0x0000, 0, 0), 0);
    EXPECT_EQ(RaiseLower(0x0000, 3, -1), -1) << "C major adds nothing";
    // G major: F (six steps above G) is sharp, C is not.
    EXPECT_EQ(RaiseLower(0x0001, 6), 1);
    EXPECT_EQ(RaiseLower(0x0001, -1), 1);
    EXPECT_EQ(RaiseLower(0x0001, -1, -1), 0);
    EXPECT_EQ(RaiseLower(0x0001, 3), 0);
    // E flat major: A (three steps above E) is flat.
    EXPECT_EQ(RaiseLower(0x00FD, 3), -1);
    EXPECT_EQ(RaiseLower(0x00FD, 3, 1), 0);
    EXPECT_EQ(RaiseLower(0x00FD, 1), 0) << "G";
    EXPECT_EQ(RaiseLower(0x0100, 3), 0) << "A minor has no accidentals";
}

TEST_F(NotePitchCalculationsTest, PastSevenAccidentalsTheOrderComesRound) {
    // Eight sharps: the tonic is G (index 8 mod 7 of the major table); F gets a second sharp.
    EXPECT_EQ(Letter(0x0008, -1), 'F');
    EXPECT_EQ(RaiseLower(0x0008, -1), 2);
    EXPECT_EQ(RaiseLower(0x0008, 3), 1) << "C";
    EXPECT_EQ(RaiseLower(0x0008, 0, -2), -1) << "G";
    // Nine flats: the tonic is B; B and E get a second flat.
    EXPECT_EQ(Letter(0x00F7, 0), 'B');
    EXPECT_EQ(RaiseLower(0x00F7, 0), -2);
    EXPECT_EQ(RaiseLower(0x00F7, 3), -2) << "E";
    EXPECT_EQ(RaiseLower(0x00F7, -1), -1) << "A";
}

TEST_F(NotePitchCalculationsTest, KeysThatAreNeitherMajorNorMinor) {
    EXPECT_EQ(RaiseLower(0x0200, 0, 3), 0);
    EXPECT_EQ(RaiseLower(0x4001, 6, 3), 0);
}

TEST_F(NotePitchCalculationsTest, RestsHaveNoLetterAndNoAlteration) {
    FCNote* note = NoteIn(0x0001, -1, 1);
    FCNoteEntry* entry = note->GetEntry();
    entry->__FCBase::Set32BitFlag(FX_FIELD(entry->GetEntryRecord(), EXENTRY, flags),
                                  ENTRY_FLAG_NOTE, false);
    EXPECT_EQ(note->CalcPitchChar(), 0);
    EXPECT_EQ(note->CalcPitchRaiseLower(), 0);
    EXPECT_EQ(note->CalcActualDisplacement(), -1 + 4) << "not tested for a rest; G is 4 above C";

    NOTERECORD record{};
    record.displacement = 5;
    FCNotePitch pitch(record);
    EXPECT_EQ(pitch.CalcPitchChar(), 0) << "a pitch kept apart has no entry";
    EXPECT_EQ(pitch.CalcPitchRaiseLower(), 0);
    EXPECT_EQ(pitch.CalcActualDisplacement(), 5);
}

TEST_F(NotePitchCalculationsTest, ActualDisplacementWithClefAndTransposition) {
    PutClefDef(doc(), 0, 0);
    PutClefDef(doc(), 3, -6);
    FCNote* plain = NoteIn(0x0000, 0);
    EXPECT_EQ(plain->CalcActualDisplacement(), 0);

    // D major (tonic one step above C), clef 3, staff transposed down a seventh from the start.
    PutStaff(doc(), kStaff, 0x2FF9, 0);
    FCNote* note = NoteIn(0x0002, 2);
    note->GetEntry()->GetEntryRecord()->clef = 3;
    EXPECT_EQ(note->CalcActualDisplacement(), 2 - 6 - 7 + 1);
    const CallRecord* clefLoad = nullptr;
    for (const CallRecord& call : host().Calls())
        if (call.name == "FX_LoadEData" && call.args[0] == TAG_CLEF_DEF) clefLoad = &call;
    ASSERT_NE(clefLoad, nullptr);
    EXPECT_EQ(clefLoad->text, "3,0,0");

    // A staff style changes the transposition from the second beat on, for that entry only.
    PutStaffSpecFrom(doc(), kStaff, 3, 1024, 0x0040, 0);
    FCNote* first = NoteIn(0x0100, 0);
    FCNote* second = layer_->GetItemAt(1)->GetItemAt(0);
    second->SetDisplacement(0);
    EXPECT_EQ(first->CalcActualDisplacement(), 0 + 0 - 7 + 5) << "A minor: five above C";
    EXPECT_EQ(second->CalcActualDisplacement(), 0 + 0 + 1 + 5);
}

// A measure, clef or staff record that does not load must not lend its buffer's contents:
// the host here leaves junk in it.
TEST_F(NotePitchCalculationsTest, WhatDoesNotLoadCountsAsNothing) {
    FCNote* note = NoteIn(0x0002, -1, 1);  // D major, the note C sharp
    doc().records.Erase(RecordId{TAG_MEASURE, 1, 0, 0});
    note->GetEntry()->GetEntryRecord()->clef = 9;  // no such clef definition
    host().scribbleOnFailedLoads = true;
    host().ClearCalls();
    EXPECT_EQ(note->CalcPitchChar(), 'B') << "read in C major";
    EXPECT_EQ(note->CalcPitchRaiseLower(), 1);
    EXPECT_EQ(note->CalcActualDisplacement(), -1) << "no key, clef or transposition";
    EXPECT_EQ(host().Count("FX_LoadEData"), 1 + 2 + 3) << "measure, measure twice, all three";
}

}  // namespace
