// plovik-validate: named checks that load the plug-in module as the host does and attack it only
// through its six entry points and the substitute host's answers. What every check shares: the
// context a check reports to, one load of the module, the documents it runs on and the judgement
// of what a command may change.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Context.h"
#include "Document.h"
#include "Random.h"
#include "Session.h"

namespace plovikvalidate {

struct Check {
    const char* name;
    const char* what;  // one line
    void (*run)(Context&);
};
// Every check, in the order they run.
const std::vector<Check>& Checks();

// The checks, one source each.
void LoadAndUnload(Context& context);            // Lifecycle.cpp
void UnloadResidue(Context& context);            // Residue.cpp
void EntryPointsInEveryOrder(Context& context);  // EntryPoints.cpp
void EntryPointArguments(Context& context);      // EntryPoints.cpp
void HostileRegions(Context& context);           // Regions.cpp
void HiddenServices(Context& context);           // Hostile.cpp
void FailingFrames(Context& context);            // Hostile.cpp
void DamagedFrames(Context& context);            // Hostile.cpp
void LyingAnswers(Context& context);             // Hostile.cpp
void HostileCombinations(Context& context);      // Hostile.cpp

// A fresh substitute host installed as FINALE.EXE, its document 1 current and empty; nothing
// hidden, no misbehaviour, counts only.
void FreshHost();
// A small score in the current document: staves 2, 5 and 3 in slots 1 to 3, four measures of 4/4
// in C major, notes to tie within and across measures, chords, rests, a second layer.
void SmallScore(plovikhost::Document& doc);

// Records a failure for every frame still out and every problem the host saw.
void ExpectHostClean(Context& context, const std::string& when);

// How strictly a run is judged against the document before it.
struct Judgement {
    bool tie = true;  // the command run: Tie, or Untie
    // A new tie must join a note to the same pitch in the entry that follows it in the document
    // (measures without entries are passed over). Off where the host hid entries from the
    // command (damaged frames), since it then follows the entries it was shown.
    bool partners = true;
    // An entry may also come back as the cleaning leaves it (odd note counts in the document).
    bool cleaning = false;
};
// Nothing in the document changed but what the tie rules allow: outside the region's staves
// and measures nothing at all; inside, only the note tie bits of entries inside the region, set
// by Tie (to a partner) or cleared by Untie, and the entries' tie-changed flags. Records a failure
// naming the first difference; true when there was none.
bool ExpectTieRules(Context& context, const plovikhost::Document& before,
                    const plovikhost::Document& after, const EREGION& region,
                    const Judgement& judgement);

// The command FinaleExtensionInvoke runs for an index: Tie for 0 in the low 16 bits, Untie else.
bool TiesFor(uint32_t index);

}  // namespace plovikvalidate
