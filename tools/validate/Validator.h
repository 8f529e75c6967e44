// plovik-validate: named checks that load a plug-in module as the host does and attack it only
// through its six entry points and the substitute host's answers, on each of its commands. What
// every check shares: the context a check reports to, one load of the module, the documents it
// runs on, the judgement of what a command may change, and the runner.
#pragma once

#include <cstdint>
#include <cstdio>
#include <set>
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

// How a run is judged where the host misbehaved.
struct Judgement {
    // A command may follow the entries it was shown rather than those of the document: a new
    // tie joins a note to the same pitch in the entry that follows it in the document (measures
    // without entries are passed over) only where the host hid no entries (damaged frames).
    bool partners = true;
    // An entry may also come back as the cleaning leaves it (odd note counts in the document).
    bool cleaning = false;
};

// One run of a command: FinaleExtensionInvoke with the index on the region, and the current
// document before and after it.
struct Run {
    uint32_t index;
    const EREGION& region;
    const plovikhost::Document& before;
    const plovikhost::Document& after;
    const Judgement& judgement;
};

// A command's own oracle: what the commands of a plug-in may change inside the region, beyond
// the rules for every command. A plug-in's tests provide their own (Options::oracle).
class Oracle {
  public:
    virtual ~Oracle() = default;
    // Records a failure naming the first thing the run changed that its command may not.
    virtual void Judge(Context& context, const Run& run) const = 0;
    // Whether the command of the index stores entry frames when run on the whole small score:
    // a check that never saw it store one did not reach its work.
    virtual bool StoresFrames(uint32_t index) const = 0;
};

// Whether an entry at the position of the measure lies inside the region.
bool InsideRegion(const EREGION& region, int16_t measure, int32_t position);

// The rules for every command: nothing outside the region's staves and measures changed (no
// region: nothing anywhere); then the context's oracle, if any. Records a failure naming the
// first difference; true when there was none.
bool ExpectRules(Context& context, uint32_t index, const plovikhost::Document& before,
                 const plovikhost::Document& after, const EREGION& region,
                 const Judgement& judgement = {});

// The oracle of the Tie plug-in's commands: inside the region only the note tie bits of entries
// inside the region change, set by Tie (to a partner) or cleared by Untie, and the entries'
// tie-changed flags. Tie runs for 0 in the low 16 bits of the index, Untie for any other.
const Oracle& TieOracle();
// The oracle the validator knows for these commands: the Tie plug-in's, or none.
const Oracle* KnownOracle(const std::vector<Command>& commands);

// The commands a loaded module lists, from index 0 to the first FinaleExtensionEnumerate that
// answers 0 (at most kMaxCommands).
constexpr uint32_t kMaxCommands = 1000;
std::vector<Command> Enumerate(PluginModule& module);
// Records a failure unless the loaded module lists the context's commands.
bool ExpectCommands(Context& context, PluginModule& module);
// The command's short name (else its menu text) for labels; "index N" for one outside the table.
std::string CommandName(const Context& context, uint32_t index);
// The indices every check runs: each command's.
std::vector<uint32_t> CommandIndices(const Context& context);

// What plovik-validate runs.
struct Options {
    std::string plugin;  // the module
    uint32_t seed = 20261209;
    std::set<std::string> only;     // checks to run (none named: all)
    std::set<std::string> skipped;  // checks to leave out
    // The commands' oracle; null: the one the validator knows for the module's commands.
    const Oracle* oracle = nullptr;
};
// Loads the module, lists its commands and runs the checks, one line each to out: PASS or FAIL,
// cases run, time, and under a failure its first messages. 0 when every check passed, else 1.
int RunChecks(const Options& options, std::FILE* out);

}  // namespace plovikvalidate
