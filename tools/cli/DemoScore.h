#pragma once

#include "Document.h"

namespace plovikcli {

// The score the demo runs on: ties to make within measures and across barlines, a chord that
// matches its neighbour only in part, rests, C against C#, a tie already there, and a hidden
// layer that the commands leave alone.
void BuildDemoScore(plovikhost::Document& doc);

}  // namespace plovikcli
