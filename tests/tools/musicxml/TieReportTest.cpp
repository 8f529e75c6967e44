// The lines of --report: ties added, removed and not written, and the near misses.
#include <gtest/gtest.h>

#include "MusicXmlTest.h"
#include "TieReport.h"

using plovikxml::TieReport;

namespace {

class MusicXmlTieReportTest : public MusicXmlTest {
  protected:
    std::string Report(const EREGION* region = nullptr) {
        const EREGION whole = region ? *region : doc().WholeRegion();
        return TieReport::Text(score.Imported(), doc(), changes,
                               TieReport::NearMisses(score.Imported(), whole, changes));
    }
};

TEST_F(MusicXmlTieReportTest, ListsEachTieAddedWithWhereItGoes) {
    Tie(MusicXmlText()
            .Part("P1", "Flute")
            .Measure("D5 E5 E5 G5")
            .Measure("G5:2 r C5")
            .Part("P2", "Piano", 2)
            .Measure("s1 C4+E4:4 <4 s2 v5 C3:2 C3:2")
            .Measure("s1 C4+G4:4 <4 s2 v5 C3:4")
            .Str());
    EXPECT_EQ(Report(),
              "Ties added: 5\n"
              "  staff 1 (Flute), measure 1, beat 2, voice 1: E5 to measure 1, beat 3\n"
              "  staff 1 (Flute), measure 1, beat 4, voice 1: G5 to measure 2, beat 1\n"
              "  staff 2 (Piano, staff 1), measure 1, beat 1, voice 1: C4 to measure 2, beat 1\n"
              "  staff 3 (Piano, staff 2), measure 1, beat 1, voice 5: C3 to measure 1, beat 3\n"
              "  staff 3 (Piano, staff 2), measure 1, beat 3, voice 5: C3 to measure 2, beat 1\n"
              "Ties removed: 0\n"
              "Near misses: 0\n");
}

TEST_F(MusicXmlTieReportTest, ListsEachTieRemoved) {
    const EREGION secondBar = Region(1, 1, 2, 2);
    Untie(OneStaff({"C4~ ~C4 E4:2", "A4~:3 ~A4~", "~A4:4"}), &secondBar);
    EXPECT_EQ(Report(&secondBar),
              "Ties added: 0\n"
              "Ties removed: 2\n"
              "  staff 1 (Flute), measure 2, beat 1, voice 1: A4 to measure 2, beat 4\n"
              "  staff 1 (Flute), measure 2, beat 4, voice 1: A4 to measure 3, beat 1\n"
              "Near misses: 0\n");
}

TEST_F(MusicXmlTieReportTest, NamesTheNearMissesAMusicianWouldWantToKnowOf) {
    // F4 (natural) after the change to G major is the same written pitch: tied.
    Tie(MusicXmlText()
            .Part("P1", "Violin")
            .Measure("C5 C#5 r E4", "")
            .Measure("E4:2 F4:2 <4 v2 D4:2 F4:2")
            .Measure("F4:4", "<key><fifths>1</fifths></key>")
            .Str());
    EXPECT_EQ(Report(),
              "Ties added: 2\n"
              "  staff 1 (Violin), measure 1, beat 4, voice 1: E4 to measure 2, beat 1\n"
              "  staff 1 (Violin), measure 2, beat 3, voice 1: F4 to measure 3, beat 1\n"
              "Ties removed: 0\n"
              "Near misses: 2\n"
              "  staff 1 (Violin), measure 1, beat 1, voice 1: C5; the next note is C#5, the same "
              "letter with another alteration\n"
              "  staff 1 (Violin), measure 2, beat 3, voice 2: F4; F4 follows in voice 1, another "
              "layer\n");
    Tie(OneStaff({"G4 r G4 A4"}));
    EXPECT_EQ(Report(),
              "Ties added: 0\nTies removed: 0\nNear misses: 1\n"
              "  staff 1 (Flute), measure 1, beat 1, voice 1: G4; G4 follows after a rest "
              "(measure 1, beat 3)\n");
}

TEST_F(MusicXmlTieReportTest, NearMissesAreLookedForInTheRegionOnly) {
    const EREGION lastBeats = Region(1, 1, 1, 1, 2048);
    Tie(OneStaff({"C5 C#5 D5 Eb5"}), &lastBeats);
    EXPECT_EQ(Report(&lastBeats), "Ties added: 0\nTies removed: 0\nNear misses: 0\n");
}

TEST_F(MusicXmlTieReportTest, ListsTheTiesItCouldNotWrite) {
    // Tie bits set in the host as a plug-in comparing stored values alone across the key
    // change would set them: on C4, stored as G4 of G major is, and on D4, stored like no note.
    Read(MusicXmlText()
             .Part("P1", "Flute")
             .Measure("E4 F4 D4 C4")
             .Measure("G4:4", "<key><fifths>1</fifths></key>")
             .Str());
    for (size_t entry : {2, 3})
        doc().CellAt(1, 1, 0).entries.at(entry).notes[0].flags |= NOTE_FLAG_TIE;
    changes = score.Changes(doc());
    EXPECT_EQ(Report(),
              "Ties added: 0\nTies removed: 0\nTies not written: 2\n"
              "  staff 1 (Flute), measure 1, beat 3, voice 1: D4; the plug-in tied it to the next "
              "entry, another pitch\n"
              "  staff 1 (Flute), measure 1, beat 4, voice 1: C4; the plug-in tied it to G4 "
              "(measure 2, beat 1), another pitch\n"
              "Near misses: 0\n");
}

TEST_F(MusicXmlTieReportTest, BeatsCountInTheMeasuresOwnBeats) {
    std::string xml = MusicXmlText()
                          .Part("P1", "Flute")
                          .Measure("C5:3 C5:3",
                                   "<divisions>2</divisions><time><beats>6</beats>"
                                   "<beat-type>8</beat-type></time>")
                          .Str();
    Tie(xml);
    const auto& entries = score.Imported().entries;
    EXPECT_EQ(TieReport::Beat(doc(), entries.at(1)), "beat 4");
    Read(OneStaff({"C5:1 C5:1 C5:1 C5:1"}));
    plovikxml::ImportedScore::Entry offBeat = score.Imported().entries.at(1);
    offBeat.start = plovikxml::Fraction(3, 2);
    EXPECT_EQ(TieReport::Beat(doc(), offBeat), "beat 2.5");
    offBeat.start = plovikxml::Fraction(1, 3);
    EXPECT_EQ(TieReport::Beat(doc(), offBeat), "beat 1+1/3");
}

}  // namespace
