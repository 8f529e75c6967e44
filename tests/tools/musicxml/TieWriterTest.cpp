// Tie and Untie on MusicXML scores, end to end: read into the host, the command through
// FinaleExtensionInvoke, written back. The expected scores are written as the input is, so a
// whole text compares: only the ties may differ.
#include <gtest/gtest.h>

#include "MusicXmlTest.h"

using plovikxml::TieWriter;

namespace {

class MusicXmlTieWriterTest : public MusicXmlTest {};

TEST_F(MusicXmlTieWriterTest, ReadingAndWritingWithoutACommandChangesNoByte) {
    const std::string xml = MusicXmlText()
                                .Part("P1", "Piano", 2)
                                .Measure("s1 C5~+E5:2 ~C5:2 <4 v2 g:D4 G4 r:1 G4:2 <4 s2 v5 C3:4")
                                .Measure("s1 C5 cue:D5 >1 C5 E5 <4 s2 v5 C3:4")
                                .Part("P2", "Flute")
                                .Measure("r:4")
                                .Measure("F#5 Bb4 B4:2")
                                .Str();
    Read(xml);
    EXPECT_TRUE(score.Changes(doc()).empty());
    EXPECT_EQ(score.Write(score.Changes(doc())), xml);
}

TEST_F(MusicXmlTieWriterTest, TieMarksTheStartAndTheStop) {
    EXPECT_EQ(Tie(OneStaff({"C4 C4 E4 F4"})), OneStaff({"C4~ ~C4 E4 F4"}));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].kind, TieWriter::Change::ADDED);
}

TEST_F(MusicXmlTieWriterTest, AChainTiesEveryLinkAndTyingAgainChangesNothing) {
    const std::string tied = OneStaff({"C4 C4 C4 D4"});
    EXPECT_EQ(Tie(tied), OneStaff({"C4~ ~C4~ ~C4 D4"}));
    EXPECT_EQ(Tie(OneStaff({"C4~ ~C4~ ~C4 D4"})), OneStaff({"C4~ ~C4~ ~C4 D4"}));
    EXPECT_TRUE(changes.empty());
}

TEST_F(MusicXmlTieWriterTest, ChordsTieOnlyTheNotesTheyShare) {
    EXPECT_EQ(Tie(OneStaff({"C4+E4+G4:2 C4+G4+C5:2"})), OneStaff({"C4~+E4+G4~:2 ~C4+~G4+C5:2"}));
}

TEST_F(MusicXmlTieWriterTest, TiesCrossBarlines) {
    EXPECT_EQ(Tie(OneStaff({"E4 D4 F4 G4", "G4 A4 B4 B4"})),
              OneStaff({"E4 D4 F4 G4~", "~G4 A4 B4~ ~B4"}));
}

TEST_F(MusicXmlTieWriterTest, TwoVoicesOnAStaffTieEachInItself) {
    EXPECT_EQ(Tie(OneStaff({"v1 C5:2 C5:2 <4 v2 E4 E4 D4 D4", "v1 E5:2 C5:2 <4 v2 D4:4"})),
              OneStaff({"v1 C5~:2 ~C5:2 <4 v2 E4~ ~E4 D4~ ~D4~", "v1 E5:2 C5:2 <4 v2 ~D4:4"}));
    // The end of one voice and the start of another never tie.
    EXPECT_EQ(Tie(OneStaff({"v1 E4:2 D4:2 <4 v2 D4:2 E4:2"})),
              OneStaff({"v1 E4:2 D4:2 <4 v2 D4:2 E4:2"}));
}

TEST_F(MusicXmlTieWriterTest, TwoStavesOfAPartAreTwoStaves) {
    const std::string piano =
        MusicXmlText().Part("P1", "Piano", 2).Measure("s1 C5 C5 D5 D5 <4 s2 C3:2 C3:2").Str();
    EXPECT_EQ(Tie(piano), MusicXmlText()
                              .Part("P1", "Piano", 2)
                              .Measure("s1 C5~ ~C5 D5~ ~D5 <4 s2 C3~:2 ~C3:2")
                              .Str());
    const EREGION leftHand = Region(2, 2, 1, 1);
    EXPECT_EQ(
        Tie(piano, &leftHand),
        MusicXmlText().Part("P1", "Piano", 2).Measure("s1 C5 C5 D5 D5 <4 s2 C3~:2 ~C3:2").Str());
}

TEST_F(MusicXmlTieWriterTest, PartialRegionsTieFromTheirStartToTheirEnd) {
    const std::string xml = OneStaff({"C4 C4 C4 C4", "C4 C4 C4 C4"});
    const EREGION middle = Region(1, 1, 1, 1, 1024, 2048);
    EXPECT_EQ(Tie(xml, &middle), OneStaff({"C4 C4~ ~C4~ ~C4", "C4 C4 C4 C4"}));
    const EREGION acrossTheBar = Region(1, 1, 1, 2, 3072, 0);
    EXPECT_EQ(Tie(xml, &acrossTheBar), OneStaff({"C4 C4 C4 C4~", "~C4~ ~C4 C4 C4"}));
    // The last entry of the region's last measure has no next entry to tie to.
    const EREGION firstBar = Region(1, 1, 1, 1);
    EXPECT_EQ(Tie(xml, &firstBar), OneStaff({"C4~ ~C4~ ~C4~ ~C4", "C4 C4 C4 C4"}));
}

TEST_F(MusicXmlTieWriterTest, UntieTakesAwayStartAndStop) {
    EXPECT_EQ(Untie(OneStaff({"C4~ ~C4~ ~C4 D4"})), OneStaff({"C4 C4 C4 D4"}));
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].kind, TieWriter::Change::REMOVED);
    // Both ties of the second note go, the one arriving included.
    const EREGION second = Region(1, 1, 1, 1, 1024, 1024);
    EXPECT_EQ(Untie(OneStaff({"C4~ ~C4~ ~C4 D4"}), &second), OneStaff({"C4 C4 C4 D4"}));
    // A stop in the region takes its start before the region with it; a stop with no start
    // goes on its own.
    const EREGION secondBar = Region(1, 1, 2, 2);
    EXPECT_EQ(Untie(OneStaff({"C4 D4 E4 F4~", "~F4 E4 ~D4 C4"}), &secondBar),
              OneStaff({"C4 D4 E4 F4", "F4 E4 D4 C4"}));
}

TEST_F(MusicXmlTieWriterTest, UntieTakesTheStopBeyondTheRegionToo) {
    const EREGION firstBar = Region(1, 1, 1, 1);
    EXPECT_EQ(Untie(OneStaff({"C4 D4 E4 F4~", "~F4 E4 D4 C4"}), &firstBar),
              OneStaff({"C4 D4 E4 F4", "F4 E4 D4 C4"}));
}

TEST_F(MusicXmlTieWriterTest, TieGoesOverGraceNotesOfOtherPitchesOnly) {
    EXPECT_EQ(Tie(OneStaff({"C4 g:D4 C4 g:E4~ ~E4 E4"})),
              OneStaff({"C4~ g:D4 ~C4 g:E4~ ~E4~ ~E4"}));
    // Over a grace note of the same pitch the file would read another tie: not written.
    EXPECT_EQ(Tie(OneStaff({"C4 g:C4 C4 D4"})), OneStaff({"C4 g:C4 C4 D4"}));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].kind, TieWriter::Change::NOT_WRITTEN);
    // A tie not written keeps the stop of the one that arrives.
    EXPECT_EQ(Tie(OneStaff({"C4 C4 g:C4 C4"})), OneStaff({"C4~ ~C4 g:C4 C4"}));
    // A chord's unison tied twice into one note: one stop, so one tie.
    EXPECT_EQ(Tie(OneStaff({"C4+E4+E4:2 E4:2"})), OneStaff({"C4+E4~+E4:2 ~E4:2"}));
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1].kind, TieWriter::Change::NOT_WRITTEN);
    EXPECT_EQ(Tie(OneStaff({"C4+E4+E4:2 E4+E4:2"})), OneStaff({"C4+E4~+E4~:2 ~E4+~E4:2"}));
}

TEST_F(MusicXmlTieWriterTest, UntieTakesAwayTheTiesOfGraceNotesAndEveryOtherEnd) {
    EXPECT_EQ(Untie(OneStaff({"C4~:2 g:C4~ ~C4:2"})), OneStaff({"C4:2 g:C4 C4:2"}));
    // C5 tied over a grace E5 that has its own tie start into C5.
    EXPECT_EQ(Untie(OneStaff({"C5~:2 g:E5~ ~C5:2"})), OneStaff({"C5:2 g:E5 C5:2"}));
    // Only the region's grace note: its tie goes, with the stop it reaches.
    const EREGION lastBeats = Region(1, 1, 1, 1, 2048);
    EXPECT_EQ(Untie(OneStaff({"C5~:2 g:E5~ ~E5~:2", "~E5:4"}), &lastBeats),
              OneStaff({"C5~:2 g:E5 E5:2", "E5:4"}));
}

TEST_F(MusicXmlTieWriterTest, NoTieLeapsOverTheSilenceOfAVoice) {
    // Voice 2 is silent from beat 3 of the first measure: its G4s are not neighbours.
    EXPECT_EQ(Tie(OneStaff({"v1 C5:4 <4 v2 G4:2", "v1 C5:4 <4 v2 G4:2"})),
              OneStaff({"v1 C5~:4 <4 v2 G4:2", "v1 ~C5:4 <4 v2 G4:2"}));
    // Nor over a forward.
    EXPECT_EQ(Tie(OneStaff({"A4 >1 A4 A4"})), OneStaff({"A4 >1 A4~ ~A4"}));
}

TEST_F(MusicXmlTieWriterTest, AKeyTheHostCannotSpellTiesByWrittenPitch) {
    const std::string eleven = "<key><fifths>-11</fifths></key>";
    const std::string toF = "<key><fifths>-1</fifths></key>";
    const auto flute = [&](const char* a, const char* b, const char* c) {
        return MusicXmlText()
            .Part("P1", "Flute")
            .Measure(a, eleven)
            .Measure(b)
            .Measure(c, toF)
            .Str();
    };
    EXPECT_EQ(Tie(flute("Bb4:2 B4:2", "B4:4", "Bb4:4")), flute("Bb4:2 B4~:2", "~B4:4", "Bb4:4"));
    EXPECT_EQ(Tie(flute("D4:4", "Bb4:4", "Bb4:4")), flute("D4:4", "Bb4~:4", "~Bb4:4"));
}

TEST_F(MusicXmlTieWriterTest, WhatTheHostLeavesOutKeepsItsTiesAndIsNotTiedOver) {
    // A fifth voice's tie is the file's own; the long note is not tied over.
    const std::string crowded = MusicXmlText()
                                    .Part("P1", "Organ")
                                    .Measure("v1 C5:4 <4 v2 C4:4 <4 v3 E4:4 <4 v4 G3:4 <4 v5 C3~:4")
                                    .Measure("v1 C5:4 <4 v2 C4:4 <4 v3 E4:4 <4 v4 G3:4 <4 v5 ~C3:4")
                                    .Str();
    EXPECT_EQ(Tie(crowded), MusicXmlText()
                                .Part("P1", "Organ")
                                .Measure("v1 C5~:4 <4 v2 C4~:4 <4 v3 E4~:4 <4 v4 G3~:4 <4 v5 C3~:4")
                                .Measure("v1 ~C5:4 <4 v2 ~C4:4 <4 v3 ~E4:4 <4 v4 ~G3:4 <4 v5 ~C3:4")
                                .Str());
    const std::string time40 = "<time><beats>40</beats><beat-type>4</beat-type></time>";
    const std::string gloria =
        MusicXmlText().Part("P1", "Cantus").Measure("D4:40 D4:4 D4:4", time40).Str();
    EXPECT_EQ(Tie(gloria),
              MusicXmlText().Part("P1", "Cantus").Measure("D4:40 D4~:4 ~D4:4", time40).Str());
}

TEST_F(MusicXmlTieWriterTest, TieWritesWhatATieItMakesLacks) {
    // The next note has <tie type="stop"/> but no <tied>: both halves are there afterwards.
    std::string halfStop = OneStaff({"C4 ~C4 D4 D4"});
    const std::string tiedStop = "          <tied type=\"stop\"/>\n";
    const size_t at = halfStop.find(tiedStop);
    halfStop.erase(at, tiedStop.size());
    EXPECT_EQ(Tie(halfStop), OneStaff({"C4~ ~C4 D4~ ~D4"}));
}

TEST_F(MusicXmlTieWriterTest, AcrossAKeyChangeTheSameWrittenPitchTies) {
    const std::string toG = "<key><fifths>1</fifths></key>";
    const std::string toD = "<key><fifths>2</fifths></key>";
    // C4 in C major and G4 in G major are both the tonic, stored alike: no tie.
    const std::string xml =
        MusicXmlText().Part("P1", "Flute").Measure("E4 F4 E4 C4").Measure("G4 D4 C4 C4", toG).Str();
    EXPECT_EQ(Tie(xml), MusicXmlText()
                            .Part("P1", "Flute")
                            .Measure("E4 F4 E4 C4")
                            .Measure("G4 D4 C4~ ~C4", toG)
                            .Str());
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].kind, TieWriter::Change::ADDED);
    // The same written pitch, stored otherwise under each key, ties: C4 from C to G major, B4
    // from G to D major (where F#4 is stored as B4 is in G major).
    EXPECT_EQ(Tie(MusicXmlText()
                      .Part("P1", "Flute")
                      .Measure("C4:4")
                      .Measure("C4:2 B4:2", toG)
                      .Measure("F#4:2 B4:2", toD)
                      .Str()),
              MusicXmlText()
                  .Part("P1", "Flute")
                  .Measure("C4~:4")
                  .Measure("~C4:2 B4:2", toG)
                  .Measure("F#4:2 B4:2", toD)
                  .Str());
    EXPECT_EQ(
        Tie(MusicXmlText().Part("P1", "Flute").Measure("B4:4", toG).Measure("B4:4", toD).Str()),
        MusicXmlText().Part("P1", "Flute").Measure("B4~:4", toG).Measure("~B4:4", toD).Str());
}

// Should the plug-in tie two different written pitches, the tie is not written.
TEST_F(MusicXmlTieWriterTest, ATieBetweenTwoWrittenPitchesIsNotWritten) {
    const std::string xml = MusicXmlText()
                                .Part("P1", "Flute")
                                .Measure("C4:4")
                                .Measure("G4:4", "<key><fifths>1</fifths></key>")
                                .Str();
    Read(xml);
    // Stored alike: what a plug-in comparing stored values alone across the key change ties.
    EXPECT_EQ(Copy(doc().CellAt(1, 1, 0).entries.at(0).notes[0].displacement),
              Copy(doc().CellAt(1, 2, 0).entries.at(0).notes[0].displacement));
    doc().CellAt(1, 1, 0).entries.at(0).notes[0].flags |= NOTE_FLAG_TIE;
    changes = score.Changes(doc());
    EXPECT_EQ(score.Write(changes), xml);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].kind, TieWriter::Change::NOT_WRITTEN);
    EXPECT_EQ(changes[0].note->Name(), "C4");
    EXPECT_EQ(changes[0].partner->Name(), "G4");
}

TEST_F(MusicXmlTieWriterTest, UntieTakesAwayATieWrittenAcrossAKeyChange) {
    const std::string toD = "<key><fifths>2</fifths></key>";
    EXPECT_EQ(
        Untie(MusicXmlText().Part("P1", "Flute").Measure("B4~:4").Measure("~B4:4", toD).Str()),
        MusicXmlText().Part("P1", "Flute").Measure("B4:4").Measure("B4:4", toD).Str());
}

TEST_F(MusicXmlTieWriterTest, ARestsOwnNoteRecordCarriesNoTieIntoTheFile) {
    Read(OneStaff({"r C4 C4 D4"}));
    Run(kTie);
    // Stored once, the rest has the note record the host's cleaning gives every rest (middle
    // C in C major). The plug-in never ties it; a tie bit a host left there is no tie either.
    doc().CellAt(1, 1, 0).entries.at(0).notes[0].flags |= NOTE_FLAG_TIE;
    EXPECT_EQ(Run(kTie), OneStaff({"r C4~ ~C4 D4"}));
}

// The alteration of the n-th note (from 0) of a score.
std::string Altered(std::string xml, int n, const char* alter) {
    size_t at = 0;
    for (int i = 0; i <= n; ++i) at = xml.find("<octave>", at + 1);
    return xml.insert(at, std::string("<alter>") + alter + "</alter>\n          ");
}

TEST_F(MusicXmlTieWriterTest, MicrotonesTieOnlyToTheSameMicrotone) {
    const std::string halfSharps = Altered(Altered(OneStaff({"E4 E4 C4 C4"}), 0, "0.5"), 1, "0.5");
    EXPECT_EQ(Tie(halfSharps), Altered(Altered(OneStaff({"E4~ ~E4 C4~ ~C4"}), 0, "0.5"), 1, "0.5"));
    // E half sharp against E, and against F half flat: no tie.
    const std::string againstE = Altered(OneStaff({"E4 E4:3"}), 0, "0.5");
    EXPECT_EQ(Tie(againstE), againstE);
    const std::string againstF = Altered(Altered(OneStaff({"E4 F4:3"}), 0, "0.5"), 1, "-0.5");
    EXPECT_EQ(Tie(againstF), againstF);
    // F half sharp ties across a change to G major, which sharpens F.
    const std::string toG = "<key><fifths>1</fifths></key>";
    const auto acrossToG = [&](const char* first, const char* second) {
        return Altered(Altered(MusicXmlText()
                                   .Part("P1", "Flute")
                                   .Measure(std::string(first) + ":4")
                                   .Measure(std::string(second) + ":4", toG)
                                   .Str(),
                               0, "0.5"),
                       1, "0.5");
    };
    EXPECT_EQ(Tie(acrossToG("F4", "F4")), acrossToG("F4~", "~F4"));
}

TEST_F(MusicXmlTieWriterTest, MarksGoWhereTheNoteHasRoomForThem) {
    // A note on one line, notations with something else in them, an empty <notations/>, a
    // lyric after the notations, and line ends of another system.
    const std::string before =
        "<score-partwise><part-list><score-part id=\"P\"><part-name>A</part-name></score-part>"
        "</part-list><part id=\"P\"><measure number=\"1\">\r\n"
        "<attributes><divisions>1</divisions></attributes>\r\n"
        "<note><pitch><step>G</step><octave>4</octave></pitch><duration>1</duration></note>\r\n"
        "<note>\r\n\t<pitch><step>G</step><octave>4</octave></pitch>\r\n"
        "\t<duration>1</duration>\r\n\t<notations>\r\n\t\t<fermata/>\r\n\t</notations>\r\n"
        "</note>\r\n"
        "<note>\r\n\t<pitch><step>G</step><octave>4</octave></pitch>\r\n"
        "\t<duration>1</duration>\r\n\t<notations/>\r\n\t<lyric><text>la</text></lyric>\r\n"
        "</note>\r\n"
        "<note>\r\n\t<pitch><step>G</step><octave>4</octave></pitch>\r\n"
        "\t<duration>1</duration>\r\n\t<lyric><text>la</text></lyric>\r\n</note>\r\n"
        "</measure></part></score-partwise>";
    const std::string after =
        "<score-partwise><part-list><score-part id=\"P\"><part-name>A</part-name></score-part>"
        "</part-list><part id=\"P\"><measure number=\"1\">\r\n"
        "<attributes><divisions>1</divisions></attributes>\r\n"
        "<note><pitch><step>G</step><octave>4</octave></pitch><duration>1</duration>"
        "<tie type=\"start\"/><notations><tied type=\"start\"/></notations></note>\r\n"
        "<note>\r\n\t<pitch><step>G</step><octave>4</octave></pitch>\r\n"
        "\t<duration>1</duration>\r\n\t<tie type=\"stop\"/>\r\n\t<tie type=\"start\"/>\r\n"
        "\t<notations>\r\n\t\t<tied type=\"stop\"/>\r\n\t\t<tied type=\"start\"/>\r\n"
        "\t\t<fermata/>\r\n\t</notations>\r\n"
        "</note>\r\n"
        "<note>\r\n\t<pitch><step>G</step><octave>4</octave></pitch>\r\n"
        "\t<duration>1</duration>\r\n\t<tie type=\"stop\"/>\r\n\t<tie type=\"start\"/>\r\n"
        "\t<notations>\r\n\t\t<tied type=\"stop\"/>\r\n\t\t<tied type=\"start\"/>\r\n"
        "\t</notations>\r\n\t<lyric><text>la</text></lyric>\r\n"
        "</note>\r\n"
        "<note>\r\n\t<pitch><step>G</step><octave>4</octave></pitch>\r\n"
        "\t<duration>1</duration>\r\n\t<tie type=\"stop\"/>\r\n"
        "\t<notations>\r\n\t\t<tied type=\"stop\"/>\r\n\t</notations>\r\n"
        "\t<lyric><text>la</text></lyric>\r\n</note>\r\n"
        "</measure></part></score-partwise>";
    EXPECT_EQ(Tie(before), after);
    // Untie takes the marks away again, and a <notations> left empty with them; one that
    // keeps a fermata stays.
    std::string untied = Untie(after);
    const std::string emptied = "\t<notations/>\r\n";
    std::string expected = before;
    expected.erase(expected.find(emptied), emptied.size());
    EXPECT_EQ(untied, expected);
}

TEST_F(MusicXmlTieWriterTest, WrittenTiesReadBackAsTheHostHadThem) {
    const std::string written = Tie(OneStaff({"C4+E4:2 C4+E4:2", "E4 F4 F4 F4"}));
    plovikhost::Document again;
    plovikxml::MusicXmlScore reread;
    reread.Load(written);
    reread.Import(again);
    for (int16_t m = 1; m <= 2; ++m)
        EXPECT_EQ(plovikhost::CellNotation(again, 1, m, 0),
                  plovikhost::CellNotation(doc(), 1, m, 0))
            << m;
}

}  // namespace
