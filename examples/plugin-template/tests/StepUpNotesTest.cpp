// The README's example command, compiled from the README itself, run on a score.
#include "FCMusicRegion.h"
#include "ScoreTest.h"

void StepUpNotes(FCMusicRegion* region);

class ReadmeExampleTest : public ScoreTest {};

TEST_F(ReadmeExampleTest, StepsTheRegionsNotesUp) {
    Score().Staves({1, 2}).Measures(2).Music(1, 1, "C4/h E4+G4/h").Music(1, 2, "B4/w");
    Score().Music(2, 1, "C3/w");
    const EREGION selected = Region(1, 1, 1, 1);
    FCMusicRegion region(&selected);
    StepUpNotes(&region);
    EXPECT_EQ(Music(1, 1), "D4/h F4+A4/h");
    EXPECT_EQ(Music(1, 2), "B4/w");  // outside the region
    EXPECT_EQ(Music(2, 1), "C3/w");
}
