// The score builder's notation: pitches relative to the key, durations, and the round trip
// between entry records and text.
#include <gtest/gtest.h>

#include "HostFields.h"

#include <stdexcept>

#include "Notation.h"
#include "ScoreBuilder.h"

using namespace plovikhost;

namespace {

std::pair<int, int> Note(const char* name, int16_t key = 0) {
    Pitch pitch;
    EXPECT_TRUE(ParsePitchName(name, pitch)) << name;
    int16_t displacement = 0, raiseLower = 0;
    EXPECT_TRUE(PitchToNote(pitch, key, displacement, raiseLower)) << name;
    return {displacement, raiseLower};
}

TEST(NotationTest, PitchesInCMajor) {
    EXPECT_EQ(Note("C4"), std::make_pair(0, 0));
    EXPECT_EQ(Note("D4"), std::make_pair(1, 0));
    EXPECT_EQ(Note("B3"), std::make_pair(-1, 0));
    EXPECT_EQ(Note("C#4"), std::make_pair(0, 1));
    EXPECT_EQ(Note("Db4"), std::make_pair(1, -1));
    EXPECT_EQ(Note("Eb5"), std::make_pair(9, -1));
    EXPECT_EQ(Note("F##2"), std::make_pair(-11, 2));
}

TEST(NotationTest, PitchesInOtherKeys) {
    // G major (one sharp): G4 is the tonic, F#4 needs no alteration of its own.
    EXPECT_EQ(Note("G4", 1), std::make_pair(0, 0));
    EXPECT_EQ(Note("F#4", 1), std::make_pair(-1, 0));
    EXPECT_EQ(Note("F4", 1), std::make_pair(-1, -1));
    // A minor (0x0100): tonic A.
    EXPECT_EQ(Note("A4", 0x0100), std::make_pair(0, 0));
    // E flat major (three flats): Bb is in the key.
    EXPECT_EQ(Note("Bb4", 0x00FD), std::make_pair(4, 0));
    EXPECT_EQ(Note("B4", 0x00FD), std::make_pair(4, 1));
    for (int16_t key : {0x0000, 0x0001, 0x00FD, 0x0007, 0x00F9, 0x0100, 0x0102}) {
        for (const char* name : {"C4", "F#3", "Bb5", "E##2", "Cb4"}) {
            Pitch in, out;
            ASSERT_TRUE(ParsePitchName(name, in));
            int16_t d, r;
            ASSERT_TRUE(PitchToNote(in, key, d, r));
            ASSERT_TRUE(NoteToPitch(d, r, key, out));
            EXPECT_EQ(PitchName(out), name) << "key " << key;
        }
    }
}

TEST(NotationTest, KeysTheBuilderCannotSpell) {
    Pitch pitch;
    int16_t d, r;
    ASSERT_TRUE(ParsePitchName("C4", pitch));
    EXPECT_FALSE(PitchToNote(pitch, 8, d, r));
    EXPECT_FALSE(PitchToNote(pitch, 0x0200, d, r));
    EXPECT_FALSE(PitchToNote(pitch, static_cast<int16_t>(0x4000), d, r));
}

TEST(NotationTest, PitchNamesThatAreNot) {
    Pitch pitch;
    for (const char* bad : {"", "H4", "C", "C#", "C4x", "C####4", "C123"})
        EXPECT_FALSE(ParsePitchName(bad, pitch)) << bad;
    EXPECT_TRUE(ParsePitchName("c-1", pitch));
    EXPECT_EQ(pitch.octave, -1);
}

TEST(NotationTest, Durations) {
    EXPECT_EQ(ParseDuration("q"), 1024);
    EXPECT_EQ(ParseDuration("h."), 3072);
    EXPECT_EQ(ParseDuration("q.."), 1792);
    EXPECT_EQ(ParseDuration("768"), 768);
    EXPECT_EQ(ParseDuration("x"), -1);
    EXPECT_EQ(ParseDuration("99999"), -1);
    EXPECT_EQ(DurationName(3072), "h.");
    EXPECT_EQ(DurationName(768), "e.");
    EXPECT_EQ(DurationName(1000), "1000");
}

TEST(NotationTest, EntriesRoundTrip) {
    const std::string text = "C4~/q E4+G4~+C5/h. r/e Bb2/1000 F#3/1000";
    const std::vector<EXENTRY> entries = ParseEntries(text, 0);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[1].noteCount, 3);
    EXPECT_EQ(entries[1].notes[2].noteID, 3);
    EXPECT_NE(entries[1].notes[1].flags & NOTE_FLAG_TIE, 0u);
    EXPECT_EQ(entries[2].flags & ENTRY_FLAG_NOTE, 0u);
    EXPECT_EQ(FormatEntries(entries, 0), text);
    EXPECT_EQ(FormatEntries(ParseEntries("C4 D4/h E4", 0), 0), "C4/q D4/h E4/h");
}

TEST(NotationTest, UnreadableNotation) {
    EXPECT_THROW(ParseEntries("C4/z", 0), std::invalid_argument);
    EXPECT_THROW(ParseEntries("X4/q", 0), std::invalid_argument);
    EXPECT_THROW(ParseEntries("C4++D4/q", 0), std::invalid_argument);
    EXPECT_THROW(ParseEntries("C4+D4+E4+F4+G4+A4+B4+C5+D5+E5+F5+G5+A5/q", 0),
                 std::invalid_argument);
}

TEST(ScoreBuilderTest, RefusesWhatTheScoreDoesNotHave) {
    Document doc;
    ScoreBuilder builder(doc);
    builder.Staves({2}).Measures(1);
    EXPECT_THROW(builder.Staves({2}), std::invalid_argument);
    EXPECT_THROW(builder.Music(3, 1, "C4"), std::invalid_argument);
    EXPECT_THROW(builder.Music(2, 2, "C4"), std::invalid_argument);
    EXPECT_THROW(builder.Music(2, 1, "C4", 4), std::invalid_argument);
    EXPECT_THROW(builder.Measures(1, 4, 1024, 9), std::invalid_argument);
}

TEST(ScoreBuilderTest, MeasuresHaveTheirRecords) {
    Document doc;
    ScoreBuilder(doc).Measures(1).Measures(1, 3, 512, 0x0102);
    const RecordStore::Bytes* second = doc.records.Find(RecordId{0x534F4D53, 2, 0, 0});
    ASSERT_TRUE(second);
    ASSERT_EQ(second->size(), 26u);
    EXPECT_EQ((*second)[2], 0x02);
    EXPECT_EQ((*second)[3], 0x01);
    EXPECT_EQ((*second)[4], 3);
    EXPECT_EQ(doc.FindMeasure(2)->Duration(), 1536);
    EXPECT_FALSE(doc.records.Find(RecordId{0x534F4D53, 3, 0, 0}));
}

TEST(ScoreBuilderTest, AppendsNumberedEntriesAtTheirPositions) {
    Document doc;
    ScoreBuilder(doc).Staves({2}).Measures(1).Music(2, 1, "C4/h").Music(2, 1, "D4/q E4");
    const Cell* cell = doc.FindCell(2, 1, 0);
    ASSERT_TRUE(cell);
    ASSERT_EQ(cell->entries.size(), 3u);
    EXPECT_EQ(Copy(cell->entries[2].position), 3072);
    EXPECT_EQ(Copy(cell->entries[2].entryNumber), 3u);
    EXPECT_EQ(CellNotation(doc, 2, 1, 0), "C4/h D4/q E4/q");
}

}  // namespace
