// plovik-host on a MusicXML score: tie and untie (read, run the plug-in's command on the
// region through its entry points, write the score back with only its ties changed, report),
// show (print the score as the host holds it), check (list the tie problems) and repair (mend
// what is unambiguous). Linux only.
#pragma once

#include <cstdio>

#include "Options.h"

namespace plovikcli {

// The exit status: 0 done, 1 the plug-in could not be run or misused the host (check: an error
// found), 2 a region outside the score, 3 the score cannot be read or written. Nothing is
// written on failure.
int RunScoreFile(const Options& options, std::FILE* out, std::FILE* err);

}  // namespace plovikcli
