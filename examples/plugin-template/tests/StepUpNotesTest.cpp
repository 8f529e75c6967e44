// Step Up Notes on the substitute host: the command on a score, and the module as the host meets
// it, attacked by the validator's checks and judged by the command's own oracle.
#include <string>

#include "DocumentDiff.h"
#include "FCMusicRegion.h"
#include "ScoreTest.h"
#include "StepUpNotes.h"
#include "Validator.h"

class StepUpNotesTest : public ScoreTest {};

TEST_F(StepUpNotesTest, StepsTheRegionsNotesUp) {
    Score().Staves({1, 2}).Measures(2).Music(1, 1, "C4/h E4+G4/h").Music(1, 2, "B4/w");
    Score().Music(2, 1, "C3/w");
    const EREGION selected = Region(1, 1, 1, 1);
    FCMusicRegion region(&selected);
    StepUpNotes(&region);
    EXPECT_EQ(Music(1, 1), "D4/h F4+A4/h");
    EXPECT_EQ(Music(1, 2), "B4/w");  // outside the region
    EXPECT_EQ(Music(2, 1), "C3/w");
}

namespace {

// What Step Up Notes may change: a note of an entry inside the region may come back one step up,
// and nothing else. (That nothing outside the region's staves and measures changed is the rule
// for every command, which the validator checks before it asks the oracle.)
class StepUpOracle : public plovikvalidate::Oracle {
  public:
    // How the entry came back differs from the entry as it was, apart from notes one step up
    // inside the region: the first difference, or "".
    static std::string Difference(const EXENTRY& after, EXENTRY was, const EREGION& region,
                                  int16_t measure) {
        if (plovikvalidate::InsideRegion(region, measure, was.position))
            for (int k = 0; k < EXENTRY_MAX_NOTES; ++k)
                if (after.notes[k].displacement == was.notes[k].displacement + 1)
                    was.notes[k].displacement = after.notes[k].displacement;
        return plovikhost::EntryDifference(after, was);
    }

    void Judge(plovikvalidate::Context& context, const plovikvalidate::Run& run) const override {
        for (const plovikhost::CellKey& key : plovikhost::CellKeys(run.before, run.after)) {
            const plovikhost::Cell* was = run.before.FindCell(key.staff, key.measure, key.layer);
            const plovikhost::Cell* is = run.after.FindCell(key.staff, key.measure, key.layer);
            if (!was || !is || was->entries.size() != is->entries.size()) {
                context.Fail(plovikhost::Where(key) + ": entries came or went");
                return;
            }
            for (size_t i = 0; i < is->entries.size(); ++i) {
                const EXENTRY& after = is->entries[i];
                std::string difference =
                    Difference(after, was->entries[i], run.region, key.measure);
                // A stored entry may also come back as the framework's cleaning leaves it.
                EXENTRY cleaned = was->entries[i];
                plovikhost::CleanEntry(cleaned);
                if (run.judgement.cleaning &&
                    Difference(after, cleaned, run.region, key.measure).empty())
                    difference.clear();
                if (!difference.empty()) {
                    context.Fail(plovikhost::Where(key) + " entry " + std::to_string(i) + ": " +
                                 difference);
                    return;
                }
            }
        }
    }
    bool StoresFrames(uint32_t) const override { return true; }
};

}  // namespace

TEST(StepUpNotesModule, PassesTheValidatorsChecks) {
    const StepUpOracle oracle;
    plovikvalidate::Options options;
    options.plugin = PLOVIK_PLUGIN_FILE;
    options.oracle = &oracle;
    // The checks whose hosts change what a command finds; step_up_validate runs every check.
    options.only = {"regions", "failing-frames", "damaged-frames", "lying-answers", "combinations"};
    EXPECT_EQ(plovikvalidate::RunChecks(options, stdout), 0);
}
