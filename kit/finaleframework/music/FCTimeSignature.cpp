#include "FCTimeSignature.h"

#include "FCString.h"

void FCTimeSignature::MakeString(FCString* out) const {
    if (!out) return;
    out->SetCString("");
    int beats = _beats;
    int duration = _beatDuration;
    // A dotted beat is written as three beats of a third of its length (2 x 1536 is 6/8).
    if (duration % 3 == 0) {
        duration /= 3;
        beats *= 3;
    }
    if (beats == 0 || duration == 0) {
        out->SetCString("???");
        return;
    }
    out->AppendInteger(beats);
    out->Append("/");
    out->AppendInteger(4096 / duration);
}
