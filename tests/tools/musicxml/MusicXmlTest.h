// Fixture of the tests that read a MusicXML score into the substitute host, run the plug-in's
// commands on it through FinaleExtensionInvoke, and write it back.
#pragma once

#include <string>
#include <vector>

#include "HostTest.h"
#include "MusicXmlScore.h"
#include "MusicXmlText.h"
#include "PlovikTie.h"
#include "ScoreBuilder.h"

class MusicXmlTest : public HostTest {
  protected:
    static constexpr uint32_t kTie = 0;
    static constexpr uint32_t kUntie = 1;

    // Into a fresh document of the host.
    void Read(const std::string& bytes) {
        host().Reset();
        score = plovikxml::MusicXmlScore();
        score.Load(bytes);
        score.Import(doc());
    }
    // Runs the command on the region (the whole score by default) and writes the score.
    std::string Run(uint32_t command, const EREGION* region = nullptr) {
        EREGION handed = region ? *region : doc().WholeRegion();
        FinaleExtensionInvoke(0, command, &handed, 0);
        plovikxml::TieCommand what;
        what.kind = command == kTie ? plovikxml::TieCommand::TIE : plovikxml::TieCommand::UNTIE;
        what.region = region ? *region : doc().WholeRegion();
        changes = score.Changes(doc(), what);
        return score.Write(changes);
    }
    std::string Tie(const std::string& bytes, const EREGION* region = nullptr) {
        Read(bytes);
        return Run(kTie, region);
    }
    std::string Untie(const std::string& bytes, const EREGION* region = nullptr) {
        Read(bytes);
        return Run(kUntie, region);
    }
    // A score of one part and one staff, in 4/4.
    static std::string OneStaff(std::initializer_list<const char*> measures) {
        MusicXmlText text;
        text.Part("P1", "Flute");
        for (const char* music : measures) text.Measure(music);
        return text.Str();
    }
    static EREGION Region(int16_t startSlot, int16_t endSlot, int16_t startMeasure,
                          int16_t endMeasure, int32_t startPosition = 0,
                          int32_t endPosition = EREGION_END_OF_MEASURE) {
        return plovikhost::ScoreBuilder::Region(startSlot, endSlot, startMeasure, endMeasure,
                                                startPosition, endPosition);
    }

    plovikxml::MusicXmlScore score;
    std::vector<plovikxml::TieWriter::Change> changes;
};
