// Regions a host should never pass, each to every command on the small score: ends before
// starts (slots, measures, positions), slots 0 and below, measures 0, -1, 32767 and past the
// document, positions -1 and 0x7FFFFFFF, an instrument list that does not exist, no region at
// all, and a region laid out for another open document than the current one. Each answers 1,
// leaves no frame out and changes nothing but what the tie rules allow.
#include <cstdint>
#include <string>
#include <vector>

#include "ScoreBuilder.h"
#include "SubstituteHost.h"
#include "Validator.h"

namespace plovikvalidate {

namespace {

struct RegionCase {
    const char* name;
    EREGION region;
};

EREGION R(int16_t startSlot, int16_t endSlot, int16_t startMeasure, int16_t endMeasure,
          int32_t startPosition = 0, int32_t endPosition = EREGION_END_OF_MEASURE,
          uint16_t list = 0) {
    EREGION r = plovikhost::ScoreBuilder::Region(startSlot, endSlot, startMeasure, endMeasure,
                                                 startPosition, endPosition);
    r.startInstrumentList = r.endInstrumentList = list;
    return r;
}

const std::vector<RegionCase>& Cases() {
    static const std::vector<RegionCase> cases = {
        {"the whole score", R(1, 3, 1, 4)},
        {"slots backwards", R(3, 1, 1, 4)},
        {"measures backwards", R(1, 3, 3, 1)},
        {"positions backwards in one measure", R(1, 3, 2, 2, 2048, 1024)},
        {"positions backwards across measures", R(1, 3, 1, 2, 3072, 0)},
        {"slot 0", R(0, 2, 1, 4)},
        {"slot 0 alone", R(0, 0, 1, 4)},
        {"slot -1", R(-1, 1, 1, 4)},
        {"negative slots", R(-5, -2, 1, 4)},
        {"the lowest slots", R(INT16_MIN, INT16_MIN + 2, 1, 4)},
        {"slots past the score", R(2, 40, 1, 4)},
        {"measure 0", R(1, 3, 0, 2)},
        {"measure 0 alone", R(1, 3, 0, 0)},
        {"measure -1 first", R(1, 3, -1, 2)},
        {"measure -1 last", R(1, 3, 1, -1)},
        {"measures -1", R(1, 3, -1, -1)},
        {"measure 32767", R(1, 3, 32767, 32767)},
        {"measures 1 to 32767", R(1, 3, 1, 32767)},
        {"the lowest measures", R(1, 3, INT16_MIN, INT16_MIN + 1)},
        {"measures past the score", R(1, 3, 5, 6)},
        {"measures into the void", R(1, 3, 3, 5)},
        {"start position -1", R(1, 3, 1, 4, -1)},
        {"end position -1", R(1, 3, 1, 4, 0, -1)},
        {"start position 0x7FFFFFFF", R(1, 3, 1, 4, EREGION_END_OF_MEASURE)},
        {"positions 0x7FFFFFFF", R(1, 3, 2, 2, EREGION_END_OF_MEASURE, EREGION_END_OF_MEASURE)},
        {"lowest positions", R(1, 3, 1, 4, INT32_MIN, INT32_MIN)},
        {"part of a measure", R(1, 3, 1, 1, 1024, 2048)},
        {"an instrument list that does not exist", R(1, 3, 1, 4, 0, EREGION_END_OF_MEASURE, 7)},
        {"the highest instrument list", R(1, 3, 1, 4, 0, EREGION_END_OF_MEASURE, 0xFFFF)},
    };
    return cases;
}

// Runs the command on the region and judges the current document, and every other document,
// which must not change at all.
void RunCase(Context& context, Session& session, uint32_t index, const EREGION* region) {
    plovikhost::Host& host = plovikhost::Host::Get();
    const plovikhost::Document before = host.CurrentDocument();
    plovikhost::Document* other = host.FindDocument(2);
    const plovikhost::Document otherBefore = other ? *other : plovikhost::Document{};
    session.Invoke(index, region);
    // No region: nothing may change anywhere.
    const EREGION nothing = R(1, 0, 1, 0);
    ExpectRules(context, index, before, host.CurrentDocument(), region ? *region : nothing);
    if (other) {
        Context quiet(context.Plugin(), 0);
        if (!ExpectRules(quiet, index, otherBefore, *other, nothing))
            context.Fail("the document that is not current changed: " + quiet.Messages().front());
    }
    ExpectHostClean(context, "after the command");
}

}  // namespace

void HostileRegions(Context& context) {
    plovikhost::Host& host = plovikhost::Host::Get();
    FreshHost();
    Session session(context);
    if (!session.Loaded()) return;
    session.Start();
    for (uint32_t index : CommandIndices(context)) {
        const std::string command = CommandName(context, index) + ", ";
        for (const RegionCase& c : Cases()) {
            context.Label(command + c.name);
            context.Case();
            SmallScore(host.AddDocument(1));
            RunCase(context, session, index, &c.region);
        }
        context.Label(command + "no region");
        context.Case();
        SmallScore(host.AddDocument(1));
        RunCase(context, session, index, nullptr);

        // Document 2, not current, is laid out as the region says; document 1, current, holds
        // the small score.
        context.Label(command + "a region of a document that is not current");
        context.Case();
        plovikhost::Document& other = host.AddDocument(2);
        plovikhost::ScoreBuilder(other).Staves({1, 2, 3, 4, 5, 6}).Measures(8);
        for (int16_t staff = 1; staff <= 6; ++staff)
            for (int16_t measure = 1; measure <= 8; ++measure)
                plovikhost::ScoreBuilder(other).Music(staff, measure, "G4/h G4");
        SmallScore(host.AddDocument(1));
        const EREGION otherRegion = R(1, 6, 1, 8);
        RunCase(context, session, index, &otherRegion);
        FreshHost();
    }
    context.Label("");
    session.Unload();
}

}  // namespace plovikvalidate
