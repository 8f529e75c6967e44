// Reading MusicXML into the host's document: staves, measures, keys and times, voices and
// layers, time, pitches, and every refusal.
#include <gtest/gtest.h>

#include <algorithm>

#include "HostFields.h"

#include "MusicXmlScore.h"
#include "MusicXmlText.h"
#include "ScoreBuilder.h"
#include "ScoreError.h"

using plovikhost::CellNotation;
using plovikhost::Document;
using plovikxml::ImportedScore;
using plovikxml::MusicXmlScore;
using plovikxml::ScoreError;

namespace {

struct Imported {
    Document doc;
    MusicXmlScore score;
    explicit Imported(const std::string& xml) {
        score.Load(xml);
        score.Import(doc);
    }
    std::string Music(int16_t slot, int16_t measure, int16_t layer = 0) const {
        return CellNotation(doc, slot, measure, layer);
    }
    const ImportedScore& Score() const { return score.Imported(); }
};

// The message of the refusal to read the score.
std::string Refusal(const std::string& xml) {
    try {
        Imported imported(xml);
    } catch (const ScoreError& e) {
        return e.what();
    }
    return "(read)";
}

std::string Flute(std::initializer_list<const char*> measures) {
    MusicXmlText text;
    text.Part("P1", "Flute");
    for (const char* music : measures) text.Measure(music);
    return text.Str();
}

TEST(MusicXmlReaderTest, EveryStaffOfEveryPartIsAStaffInScoreOrder) {
    const Imported imported(MusicXmlText()
                                .Part("P1", "Flute")
                                .Measure("C5:4")
                                .Part("P2", "Piano", 2)
                                .Measure("s1 E4:4 <4 s2 C3:4")
                                .Str());
    EXPECT_EQ(imported.doc.Staves(), (std::vector<int16_t>{1, 2, 3}));
    EXPECT_EQ(imported.Music(1, 1), "C5/w");
    EXPECT_EQ(imported.Music(2, 1), "E4/w");
    EXPECT_EQ(imported.Music(3, 1), "C3/w");
    const ImportedScore& score = imported.Score();
    ASSERT_EQ(score.staves.size(), 3u);
    EXPECT_EQ(score.staves[0].Label(1), "staff 1 (Flute)");
    EXPECT_EQ(score.staves[2].Label(3), "staff 3 (Piano, staff 2)");
}

TEST(MusicXmlReaderTest, ThePartListGivesTheOrderOfParts) {
    std::string xml =
        MusicXmlText().Part("A", "Alto").Measure("G4:4").Part("B", "Bass").Measure("G2:4").Str();
    // The same parts, listed the other way round.
    const std::string a =
        "<score-part id=\"A\">\n      <part-name>Alto</part-name>\n    </score-part>\n";
    const size_t at = xml.find(a);
    xml.erase(at, a.size());
    xml.insert(xml.find("  </part-list>"), "    " + a.substr(0, a.size()));
    const Imported imported(xml);
    EXPECT_EQ(imported.Music(1, 1), "G2/w");
    EXPECT_EQ(imported.Music(2, 1), "G4/w");
}

TEST(MusicXmlReaderTest, MeasuresTakeTheFirstPartsKeyAndTimeWhichCarryOver) {
    const Imported imported(
        MusicXmlText()
            .Part("P1", "Oboe")
            .Measure("C5:4")
            .Measure("D5:3",
                     "<key><fifths>-3</fifths><mode>minor</mode></key>"
                     "<time><beats>3</beats><beat-type>4</beat-type></time>")
            .Measure("D5:3")
            // A key change within the measure counts for the whole measure.
            .Measure("D5 <attributes><key><fifths>2</fifths></key></attributes> D5 D5")
            .Part("P2", "Clarinet")
            .Measure("D5:4", "<key><fifths>2</fifths></key>")
            .Measure("E5:3")
            .Measure("E5:3")
            .Measure("E5:3")
            .Str());
    ASSERT_EQ(imported.doc.MeasureCount(), 4);
    const auto key = [&](int16_t m) { return Copy(imported.doc.FindMeasure(m)->key); };
    EXPECT_EQ(key(1), 0);
    EXPECT_EQ(key(2), 0x01FD);
    EXPECT_EQ(key(3), 0x01FD);
    EXPECT_EQ(key(4), 0x0002);
    EXPECT_EQ(imported.doc.FindMeasure(1)->Duration(), 4096);
    EXPECT_EQ(imported.doc.FindMeasure(3)->Duration(), 3072);
    EXPECT_EQ(imported.Music(1, 4), "D5/q D5/q D5/q");
    // Every staff is spelled in the measure's key: E5 in C minor holds E as the minor third.
    const ImportedScore::Note& e5 = imported.Score().entries.back().notes.at(0);
    EXPECT_EQ(e5.Name(), "E5");
}

TEST(MusicXmlReaderTest, PitchesAreHeldRelativeToTheKey) {
    const Imported imported(
        MusicXmlText()
            .Part("P1", "Violin")
            .Measure("G4 F#4 F4 C#5~", "<key><fifths>1</fifths></key>")
            .Measure("~C#5 A4 B#4 Ebb5", "<key><fifths>0</fifths><mode>minor</mode></key>")
            .Str());
    const auto& entries = imported.Score().entries;
    auto pitch = [&](size_t i) {
        const ImportedScore::Note& n = entries.at(i).notes.at(0);
        return std::make_pair(int{n.displacement}, int{n.raiseLower});
    };
    EXPECT_EQ(pitch(0), std::make_pair(0, 0));    // G: the tonic
    EXPECT_EQ(pitch(1), std::make_pair(-1, 0));   // F# is in the key
    EXPECT_EQ(pitch(2), std::make_pair(-1, -1));  // F is lowered from it
    EXPECT_EQ(pitch(4), std::make_pair(2, 1));    // C#5 in A minor: two steps above A4
    EXPECT_EQ(pitch(5), std::make_pair(0, 0));
    EXPECT_EQ(pitch(7), std::make_pair(4, -2));
    EXPECT_TRUE(entries.at(3).notes.at(0).tied);
    EXPECT_FALSE(entries.at(4).notes.at(0).tied);
    EXPECT_EQ(imported.Music(1, 1), "G4/q F#4/q F4/q C#5~/q");
    EXPECT_EQ(imported.Music(1, 2), "C#5/q A4/q B#4/q Ebb5/q");
}

TEST(MusicXmlReaderTest, VoicesBecomeLayersInAscendingOrder) {
    const Imported imported(Flute({"v3 C5:4 <4 v1 E4:4 <4 v12 C4:4", "v2 G4:4"}));
    EXPECT_EQ(imported.Music(1, 1, 0), "E4/w");
    EXPECT_EQ(imported.Music(1, 2, 1), "G4/w");
    EXPECT_EQ(imported.Music(1, 1, 2), "C5/w");
    EXPECT_EQ(imported.Music(1, 1, 3), "C4/w");
}

TEST(MusicXmlReaderTest, TimeComesFromDivisionsBackupsForwardsAndDurations) {
    const std::string xml = Flute({"E4+G4:2 <2 v2 C4 >1 v1 F4 C5", "v2 C4:4"});
    Imported imported(xml);
    // Voice 2 falls silent after its first beat: a rest stands in the gap.
    EXPECT_EQ(imported.Music(1, 1, 0), "E4+G4/h F4/q C5/q");
    EXPECT_EQ(imported.Music(1, 1, 1), "C4/q r/h.");
    const auto& cell = imported.doc.FindCell(1, 1, 1)->entries;
    EXPECT_EQ(Copy(cell[1].position), 1024);
    EXPECT_EQ(Copy(cell[1].duration), 3072);
    EXPECT_EQ(imported.Score().entries.at(4).kind, ImportedScore::Entry::GAP);
    // Divisions of 3 per quarter: triplet eighths fall on exact thirds.
    std::string triplets = Flute({"D5 D5 D5 D5:3"});
    triplets.replace(triplets.find("<divisions>1"), 12, "<divisions>3");
    const Imported thirds(triplets);
    const auto& third = thirds.doc.FindCell(1, 1, 0)->entries;
    EXPECT_EQ(Copy(third[1].position), 341);
    EXPECT_EQ(Copy(third[2].position), 683);
    EXPECT_EQ(Copy(third[3].position), 1024);
    EXPECT_EQ(Copy(third[2].duration), 341);
}

TEST(MusicXmlReaderTest, RestsHaveNoNoteRecordAndGraceAndCueNotesAreNotImported) {
    const Imported imported(Flute({"g:D5 C5 r:1 cue:A4:1 B4"}));
    const auto& cell = imported.doc.FindCell(1, 1, 0)->entries;
    ASSERT_EQ(cell.size(), 4u);
    EXPECT_EQ(Copy(cell[1].noteCount), 0);
    EXPECT_EQ(Copy(cell[1].flags) & ENTRY_FLAG_NOTE, 0u);
    // The cue note takes its time; the voice is silent there.
    EXPECT_EQ(imported.Music(1, 1), "C5/q r/q r/q B4/q");
    EXPECT_EQ(imported.Score().entries.at(2).kind, ImportedScore::Entry::GAP);
}

TEST(MusicXmlReaderTest, ATimewiseScoreReadsAsThePartwiseOne) {
    const std::string timewise =
        "<?xml version=\"1.0\"?>\n<score-timewise><part-list><score-part id=\"P1\">"
        "<part-name>Horn</part-name></score-part><score-part id=\"P2\"><part-name>Tuba</part-name>"
        "</score-part></part-list>"
        "<measure number=\"1\"><part id=\"P1\"><attributes><divisions>1</divisions></attributes>"
        "<note><pitch><step>F</step><octave>4</octave></pitch><duration>4</duration></note></part>"
        "<part id=\"P2\"><attributes><divisions>2</divisions></attributes>"
        "<note><pitch><step>F</step><octave>2</octave></pitch><duration>8</duration></note></part>"
        "</measure><measure number=\"2\"><part id=\"P2\"><note><rest/><duration>8</duration></note>"
        "</part></measure></score-timewise>";
    const Imported imported(timewise);
    EXPECT_EQ(imported.doc.MeasureCount(), 2);
    EXPECT_EQ(imported.Music(1, 1), "F4/w");
    EXPECT_EQ(imported.Music(2, 1), "F2/w");
    EXPECT_EQ(imported.Music(2, 2), "r/w");
    // Lacking most of the score is refused: filled in, a few bytes would be a staff of nothing.
    const size_t second = timewise.find("<measure number=\"2\"");
    const std::string third = timewise.substr(second, timewise.find("</score-timewise>") - second);
    EXPECT_EQ(
        Refusal(timewise.substr(0, second) + third + third + "</score-timewise>"),
        "part \"P1\" has 1 of the 3 measures of the score; a part lacks at most half of them");
}

TEST(MusicXmlReaderTest, WhatTheHostCannotHoldIsLeftOutWithANoteNotRefused) {
    // Five voices on the second staff: the four with the most notes are its layers, voice 9
    // (one note, the last to appear) is left out, and nothing ties over it.
    const Imported five(MusicXmlText()
                            .Part("P1", "Piano", 2)
                            .Measure("s1 v1 C5:4 <4 v2 C4:4 <4 s2 v5 C3:4")
                            .Measure("s2 v5 C3:4 <4 v6 C2:4 <4 v7 G2:4 <4 v8 E2:4 <4 v9 G3:4")
                            .Str());
    EXPECT_EQ(five.Music(2, 2, 0), "C3/w");
    EXPECT_EQ(five.Music(2, 2, 3), "E2/w");
    ASSERT_EQ(five.Score().notices.size(), 1u);
    EXPECT_EQ(five.Score().NoticeLine(five.Score().notices[0]),
              "staff 2 (Piano, staff 2), measure 2: voice 9 is left out (the host holds four "
              "voices on a staff)");
    ASSERT_EQ(five.Score().others.size(), 1u);
    EXPECT_EQ(five.Score().others[0].kind, ImportedScore::Entry::LEFT_OUT);
    EXPECT_EQ(five.Score().others[0].notes.at(0).Name(), "G3");

    // A note of more than eight whole notes: a rest stands in for it, so that the notes
    // around it do not tie over it.
    std::string longNote =
        MusicXmlText()
            .Part("P1", "Cantus")
            .Measure("D4:4")
            .Measure("D4:40", "<time><beats>40</beats><beat-type>4</beat-type></time>")
            .Measure("D4:40")
            .Str();
    const Imported gloria(longNote);
    EXPECT_EQ(gloria.Music(1, 1), "D4/w");
    EXPECT_EQ(gloria.Music(1, 2), "r/8192");
    ASSERT_EQ(gloria.Score().notices.size(), 2u);
    EXPECT_EQ(gloria.Score().NoticeLine(gloria.Score().notices[0]),
              "staff 1 (Cantus), measure 2: a note of 10 whole notes is left out (the host holds "
              "at most eight)");

    // A key the host cannot spell is held as C major: its notes as written.
    const Imported flats(MusicXmlText()
                             .Part("P1", "Flute")
                             .Measure("Bb4:4", "<key><fifths>-11</fifths></key>")
                             .Str());
    EXPECT_EQ(Copy(flats.doc.FindMeasure(1)->key), 0);
    EXPECT_EQ(flats.Music(1, 1), "Bb4/w");
    ASSERT_EQ(flats.Score().notices.size(), 1u);
    EXPECT_EQ(flats.Score().NoticeLine(flats.Score().notices[0]),
              "measure 1: a key of 11 flats is held as C major (the host spells at most seven); "
              "its notes are tied as written");
}

TEST(MusicXmlReaderTest, AChordNoteWithoutAVoiceIsInItsChordsVoice) {
    // The head in voice 3, its second note naming no voice: one entry, not a voice 1 of its own.
    std::string xml = Flute({"v3 A2+F#3:4"});
    const size_t second = xml.find("<voice>3</voice>", xml.find("<chord/>"));
    xml.erase(second, std::string("<voice>3</voice>").size());
    const Imported imported(xml);
    EXPECT_EQ(imported.Music(1, 1, 0), "A2+F#3/w");
    EXPECT_EQ(imported.Music(1, 1, 1), "");
    EXPECT_EQ(imported.Score().entries.size(), 1u);
}

TEST(MusicXmlReaderTest, WhatIsNotAScoreTheHostCanHoldIsRefused) {
    // Not well-formed: refused at the first error, by line and column, whatever comes later.
    EXPECT_EQ(Refusal("not xml at all"),
              "not MusicXML: not well-formed XML at line 1, column 1: syntax error");
    std::string broken = Flute({"C4:4"});
    broken.replace(broken.find("</step>"), 7, "</stop>");
    EXPECT_EQ(Refusal(broken).rfind("not MusicXML: not well-formed XML at line ", 0), 0u);
    EXPECT_NE(Refusal(broken).find(": mismatched tag"), std::string::npos);
    std::string badBytes = Flute({"C4:4"});
    badBytes.replace(badBytes.find("Flute"), 5, "Fl\xFBte");  // Latin-1 in a UTF-8 score
    const size_t line = static_cast<size_t>(
        std::count(badBytes.begin(), badBytes.begin() + badBytes.find("Fl\xFB"), '\n') + 1);
    const size_t column = badBytes.find("Fl\xFB") - badBytes.rfind('\n', badBytes.find("Fl\xFB"));
    EXPECT_EQ(Refusal(badBytes),
              "not MusicXML: not well-formed XML at line " + std::to_string(line) + ", column " +
                  std::to_string(column + 2) + ": not well-formed (invalid token)");
    EXPECT_EQ(
        Refusal("<score-partwise/><score-partwise/>")
            .rfind("not MusicXML: not well-formed XML at line 1, column 18: junk after document",
                   0),
        0u);
    EXPECT_EQ(Refusal("<html><body/></html>"), "not a MusicXML score: its root element is <html>");
    EXPECT_EQ(Refusal("<score-partwise><part-list/></score-partwise>"),
              "the score has no music: no part has a measure");
    EXPECT_EQ(Refusal(Flute({"C4:4"}).replace(Flute({"C4:4"}).find("<duration>"), 22, "")),
              "a note without a duration in part \"P1\" (Flute), measure 1");
    EXPECT_EQ(Refusal(Flute({"C4+D4+E4+F4+G4+A4+B4+C5+D5+E5+F5+G5+A5:4"})),
              "a chord of more than 12 notes (the host's most) in part \"P1\" (Flute), measure 1");
    std::string badDivisions = Flute({"C4:4"});
    badDivisions.replace(badDivisions.find("<divisions>1"), 12, "<divisions>0");
    EXPECT_EQ(Refusal(badDivisions),
              "divisions that are not a positive number in part \"P1\" (Flute), measure 1");
    std::string badPitch = Flute({"C4:4"});
    badPitch.replace(badPitch.find("<step>C"), 7, "<step>H");
    EXPECT_EQ(Refusal(badPitch), "a note with no step in part \"P1\" (Flute), measure 1");
}

TEST(MusicXmlReaderTest, AMeasureIsNamedByItsPlaceAndByItsNumberInTheFile) {
    std::string xml = Flute({"C4:1", "C4:4", "C4:4 C4+D4+E4+F4+G4+A4+B4+C5+D5+E5+F5+G5+A5:4"});
    xml.replace(xml.find("number=\"1\""), 10, "number=\"0\"");
    xml.replace(xml.find("number=\"2\""), 10, "number=\"1\"");
    xml.replace(xml.find("number=\"3\""), 10, "number=\"2\"");
    EXPECT_EQ(Refusal(xml),
              "a chord of more than 12 notes (the host's most) in part \"P1\" (Flute), measure 3 "
              "(numbered 2)");
}

}  // namespace
