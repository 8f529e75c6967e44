#include "KeySpelling.h"

namespace plovikhost {

int KeySpelling::TonicStep() const {
    if (!IsStandard()) return -1;
    const int alteration = Alteration();
    // Each sharp moves the tonic a fifth (four steps) up, each flat a fifth down.
    int step = alteration > 0 ? 4 * alteration % 7 : alteration < 0 ? 7 - 4 * -alteration % 7 : 0;
    // The minor tonic lies two steps below its relative major's.
    if (Mode() == 1) step -= 2;
    if (step < 0) step += 7;
    return step;
}

int KeySpelling::LetterAlteration(int step) const {
    if (!IsStandard() || step < 0 || step > 6) return 0;
    const int letter = (step + 2) % 7;  // counted from A
    const int alteration = Alteration();
    if (alteration > 0) {
        // Place in the order of sharps: F C G D A E B.
        int place = (2 * letter + 5) % 7;
        if (place == 0) place = 7;
        return alteration >= place ? 1 : 0;
    }
    if (alteration < 0) {
        // Place in the order of flats: B E A D G C F.
        int place = (2 * (6 - letter) + 5) % 7;
        if (place == 0) place = 7;
        return -alteration >= place ? -1 : 0;
    }
    return 0;
}

}  // namespace plovikhost
