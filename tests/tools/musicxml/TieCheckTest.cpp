// check and repair on scores of their own, one for each finding; and the promise of every
// command: what check finds in its output it found in its input, less what the command mended.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "CheckReport.h"
#include "MusicXmlTest.h"
#include "TieCheck.h"

using plovikxml::CheckReport;
using plovikxml::TieCheck;
using plovikxml::TieWriter;

namespace {

// The score with the n-th (from 0) occurrence of `mark` taken away, or written twice.
std::string Without(std::string xml, const std::string& mark, int n = 0) {
    size_t at = xml.find(mark);
    for (int i = 0; i < n; ++i) at = xml.find(mark, at + 1);
    const size_t line = xml.rfind('\n', at) + 1;
    return xml.erase(line, xml.find('\n', at) + 1 - line);
}
std::string Twice(std::string xml, const std::string& mark) {
    const size_t line = xml.rfind('\n', xml.find(mark)) + 1;
    const std::string text = xml.substr(line, xml.find('\n', line) + 1 - line);
    return xml.insert(line, text);
}
const std::string kTieStart = "<tie type=\"start\"/>";
const std::string kTiedStart = "<tied type=\"start\"/>";
const std::string kTieStop = "<tie type=\"stop\"/>";

class MusicXmlTieCheckTest : public MusicXmlTest {
  protected:
    std::string Check(const std::string& xml, bool nearMisses = false) {
        Read(xml);
        return CheckReport::Text(score.Imported(), doc(),
                                 TieCheck(score.Imported()).Findings(nullptr, nearMisses),
                                 nearMisses);
    }
    std::string Repair(const std::string& xml, bool letRing = false) {
        Read(xml);
        changes = TieWriter::Repair(score.Imported(), letRing);
        return score.Write(changes);
    }
    // The errors check finds, by what and where: what a command's output must not add to.
    std::multiset<std::string> Errors(const std::string& xml) {
        Read(xml);
        std::multiset<std::string> errors;
        for (const TieCheck::Finding& f : TieCheck(score.Imported()).Findings(nullptr, false))
            if (TieCheck::SeverityOf(f.kind) == TieCheck::ERROR)
                errors.insert(CheckReport::Line(score.Imported(), doc(), f));
        return errors;
    }
};

// One score per finding: the line check writes for it, at its place.
TEST_F(MusicXmlTieCheckTest, FindsEachProblemWhereItIs) {
    const std::string error = "error: staff 1 (Flute), measure 1, beat ";
    const std::string warning = "warning: staff 1 (Flute), measure 1, beat 1, voice 1: ";
    const std::string oneError = "\n1 error, 0 warnings\n", oneWarning = "\n0 errors, 1 warning\n";
    const std::pair<std::string, std::string> cases[] = {
        {OneStaff({"C4~ D4 E4 F4"}),
         error + "1, voice 1: C4: a tie starts and no C4 follows in the voice" + oneError},
        {OneStaff({"D4 C4~ C4 E4"}),
         error + "2, voice 1: C4: a tie starts and the next C4 (measure 1, beat 3) has no stop" +
             oneError},
        {OneStaff({"C4 ~D4 E4 F4"}),
         error + "2, voice 1: D4: a tie stops with no start" + oneError},
        {Without(OneStaff({"C4~ ~C4 E4 F4"}), kTiedStart),
         error +
             "1, voice 1: C4: <tie type=\"start\"/> without <tied type=\"start\"/> (held, not "
             "drawn)" +
             oneError},
        {Without(OneStaff({"C4~ ~C4 E4 F4"}), kTieStop),
         error +
             "2, voice 1: C4: <tied type=\"stop\"/> without <tie type=\"stop\"/> (drawn, not "
             "held)" +
             oneError},
        {Twice(OneStaff({"C4~ ~C4 E4 F4"}), kTieStart),
         error + "1, voice 1: C4: two tie starts on one note" + oneError},
        {OneStaff({"r~ C4 E4 F4"}), error + "1, voice 1: a tie on a rest" + oneError},
        {OneStaff({"C4~ ~D4 E4 F4"}),
         error + "1, voice 1: C4 tied to D4 (measure 1, beat 2): two different pitches" + oneError},
        {OneStaff({"F#4~ ~Gb4 E4 F4"}),
         warning + "F#4 tied to Gb4 (measure 1, beat 2): the same sound spelled otherwise" +
             oneWarning},
        {OneStaff({"C4~ E4 ~C4 D4"}),
         warning + "C4 tied to C4 (measure 1, beat 3): not the next note of the voice" +
             oneWarning},
        {OneStaff({"v1 C4~:2 D4:2 <4 v2 r:2 ~C4:2"}),
         warning + "C4 tied to C4 in staff 1 (Flute), measure 1, beat 3, voice 2: another voice" +
             oneWarning},
    };
    for (const auto& [xml, line] : cases) EXPECT_EQ(Check(xml), line);
    // Errors come first; near misses only when asked for.
    EXPECT_EQ(Check(OneStaff({"C4~ ~C4 C#4 E4~", "~Eb4 r G4 G4"}), true),
              "error: staff 1 (Flute), measure 1, beat 4, voice 1: E4 tied to Eb4 (measure 2, "
              "beat 1): two different pitches\n"
              "near miss: staff 1 (Flute), measure 1, beat 2, voice 1: C4; the next note is C#4, "
              "the same letter with another alteration\n"
              "1 error, 0 warnings, 1 near miss\n");
}

TEST_F(MusicXmlTieCheckTest, TheJsonDocumentHoldsEveryFindingWithItsPlaces) {
    Read(OneStaff({"C4~ ~D4 E4 F4"}));
    const EREGION whole = doc().WholeRegion();
    EXPECT_EQ(
        CheckReport::Json(score.Imported(), doc(),
                          TieCheck(score.Imported()).Findings(&whole, false), false, "a.xml",
                          whole),
        "{\n  \"schema\": \"plovik-check/1\",\n  \"score\": \"a.xml\",\n"
        "  \"region\": {\"staves\": [1, 1], \"measures\": [1, 1], \"startPosition\": 0, "
        "\"endPosition\": null},\n"
        "  \"summary\": {\"errors\": 1, \"warnings\": 0, \"nearMisses\": null},\n"
        "  \"findings\": [\n"
        "    {\"severity\": \"error\", \"kind\": \"different-pitches\", \"mark\": \"start\",\n"
        "     \"at\": {\"staff\": 1, \"part\": \"P1\", \"partName\": \"Flute\", \"staffInPart\": "
        "1, "
        "\"measure\": 1, \"measureNumber\": \"1\", \"beat\": \"1\", \"voice\": \"1\", \"pitch\": "
        "\"C4\"},\n"
        "     \"partner\": {\"staff\": 1, \"part\": \"P1\", \"partName\": \"Flute\", "
        "\"staffInPart\": 1, \"measure\": 1, \"measureNumber\": \"1\", \"beat\": \"2\", "
        "\"voice\": \"1\", \"pitch\": \"D4\"},\n"
        "     \"message\": \"C4 tied to D4 (measure 1, beat 2): two different pitches\"}\n"
        "  ],\n  \"notes\": []\n}\n");
}

TEST_F(MusicXmlTieCheckTest, RepairMendsWhatIsUnambiguousOnceAndForAll) {
    // Half-written, a missing stop, a start with nothing to go to, a stop with no start, a
    // duplicate, a rest's tie, and a tie between two pitches, which stays.
    const std::string broken =
        Twice(Without(OneStaff({"C4~ ~C4 D4~ D4", "E4~ F4 ~G4 r~", "A4~ ~B4 B4 B4"}), kTiedStart),
              kTieStart);
    EXPECT_EQ(Check(broken),
              "error: staff 1 (Flute), measure 1, beat 1, voice 1: C4: <tie type=\"start\"/> "
              "without <tied type=\"start\"/> (held, not drawn)\n"
              "error: staff 1 (Flute), measure 1, beat 1, voice 1: C4: two tie starts on one note\n"
              "error: staff 1 (Flute), measure 1, beat 3, voice 1: D4: a tie starts and the next "
              "D4 (measure 1, beat 4) has no stop\n"
              "error: staff 1 (Flute), measure 2, beat 1, voice 1: E4: a tie starts and no E4 "
              "follows in the voice\n"
              "error: staff 1 (Flute), measure 2, beat 3, voice 1: G4: a tie stops with no start\n"
              "error: staff 1 (Flute), measure 2, beat 4, voice 1: a tie on a rest\n"
              "error: staff 1 (Flute), measure 3, beat 1, voice 1: A4 tied to B4 (measure 3, "
              "beat 2): two different pitches\n"
              "7 errors, 0 warnings\n");
    const std::string mended = Repair(broken);
    EXPECT_EQ(mended, OneStaff({"C4~ ~C4 D4~ ~D4", "E4 F4 G4 r", "A4~ ~B4 B4 B4"}));
    EXPECT_EQ(Check(mended),
              "error: staff 1 (Flute), measure 3, beat 1, voice 1: A4 tied to B4 (measure 3, "
              "beat 2): two different pitches\n1 error, 0 warnings\n");
    EXPECT_EQ(Repair(mended), mended);
    EXPECT_TRUE(changes.empty());
    // --let-ring keeps a start that goes nowhere as one that rings on.
    std::string ringing = Repair(OneStaff({"E4~ F4 G4 A4"}), true);
    EXPECT_EQ(Check(ringing), "0 errors, 0 warnings\n");
    EXPECT_NE(ringing.find("<tied type=\"let-ring\"/>"), std::string::npos);
    EXPECT_EQ(ringing.find(kTieStart), std::string::npos);
    EXPECT_EQ(Repair(ringing, true), ringing);
}

// A tie into a first ending is played on into the second: the second's stop has its start.
TEST_F(MusicXmlTieCheckTest, ATieIntoAFirstEndingPlaysOnIntoTheSecond) {
    const std::string plain =
        OneStaff({"C4 D4 E4 F4~", "~F4 E4 D4 C4", "~F4 G4 A4 B4", "~F4 C5 C5 C5"});
    std::string xml = plain;
    const auto barline = [&](int measure, const char* ending, bool left) {
        const std::string open = "<measure number=\"" + std::to_string(measure) + "\">\n";
        const size_t at =
            left ? xml.find(open) + open.size() : xml.find("    </measure>", xml.find(open));
        xml.insert(at, std::string("      <barline location=\"") + (left ? "left" : "right") +
                           "\">" + ending + "</barline>\n");
    };
    barline(2, "<ending number=\"1\" type=\"start\"/>", true);
    barline(2, "<ending number=\"1\" type=\"stop\"/>", false);
    barline(3, "<ending number=\"2\" type=\"start\"/>", true);
    barline(3, "<ending number=\"2\" type=\"discontinue\"/>", false);
    const std::string lone = "measure 4, beat 1, voice 1: F4: a tie stops with no start\n";
    EXPECT_EQ(Check(xml), "error: staff 1 (Flute), " + lone + "1 error, 0 warnings\n");
    EXPECT_NE(Check(plain).find("measure 3, beat 1, voice 1: F4: a tie stops with no start\n"),
              std::string::npos);
    // Repair takes away only the stop after the endings; untie from either end, the whole tie.
    std::string mended = Repair(xml);
    EXPECT_EQ(Check(mended), "0 errors, 0 warnings\n");
    size_t stops = 0;
    for (size_t at = mended.find(kTieStop); at != std::string::npos;
         at = mended.find(kTieStop, at + 1))
        ++stops;
    EXPECT_EQ(stops, 2u);
    for (const EREGION& region : {Region(1, 1, 1, 1), Region(1, 1, 3, 3)}) {
        const std::string untied = Untie(mended, &region);
        EXPECT_EQ(untied.find("<tie"), std::string::npos) << untied;
    }
}

TEST_F(MusicXmlTieCheckTest, NoCommandAddsAnErrorCheckFinds) {
    const std::vector<std::string> scores = {
        Twice(Without(OneStaff({"C4~ C4 D4~ D4", "E4~ F4 ~G4 r~", "A4~ ~B4 B4 B4"}), kTiedStart),
              kTieStart),
        OneStaff({"C4 g:C4~ C4 C4", "~C4 g:E4~ ~C4~ ~C4"}),
        OneStaff({"v1 C4~:2 C4:2 <4 v2 r:2 ~C4~:2", "v1 ~C4:4 <4 v2 C4:4"}),
        OneStaff({"F#4~ ~Gb4 Gb4 Gb4", "C4~ E4 ~C4 C4"}),
        Without(OneStaff({"C4~ ~C4~ ~C4~ ~C4", "C4 ~C4 C4 C4"}), kTieStop, 1),
    };
    const EREGION regions[] = {Region(1, 1, 1, 2), Region(1, 1, 2, 2), Region(1, 1, 1, 1, 1024),
                               Region(1, 1, 1, 2, 2048, 1024)};
    for (const std::string& xml : scores) {
        const std::multiset<std::string> before = Errors(xml);
        auto noNewError = [&](const std::string& written, const char* what) {
            for (const std::string& error : Errors(written))
                EXPECT_TRUE(before.count(error)) << what << " added: " << error << "\n" << xml;
        };
        for (const EREGION& region : regions) {
            noNewError(Tie(xml, &region), "tie");
            noNewError(Untie(xml, &region), "untie");
        }
        // Repair leaves no error but ties between two pitches.
        for (const std::string& error : Errors(Repair(xml)))
            EXPECT_NE(error.find("two different pitches"), std::string::npos) << error;
    }
}

}  // namespace
