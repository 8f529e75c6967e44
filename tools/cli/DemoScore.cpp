#include "DemoScore.h"

#include "ScoreBuilder.h"

namespace plovikcli {

void BuildDemoScore(plovikhost::Document& doc) {
    // Staves 3 and 7 sit in slots 1 and 2: the region counts slots, the music staves.
    plovikhost::ScoreBuilder(doc)
        .Staves({3, 7})
        .Measures(4)
        .Music(3, 1, "C4/q C4 E4+G4 E4+C5")
        .Music(3, 2, "C5/h D5/q C#5")
        .Music(3, 3, "C#5/q r G4 G4")
        .Music(3, 4, "G4~/h G4")
        .Music(7, 1, "C3/h C3")
        .Music(7, 2, "E3/q F3 F#3/h")
        .Music(7, 3, "G2/w")
        .Music(7, 4, "G2/h C3")
        .Music(7, 1, "G3/h G3", 1)
        .Music(7, 2, "A3/w", 1)
        .Music(7, 1, "E3/w", 2)
        .Music(7, 2, "E3/w", 2)
        .HideLayer(2);
}

}  // namespace plovikcli
