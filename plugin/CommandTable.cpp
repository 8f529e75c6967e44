// The Tie plug-in's commands, in the order of the host's menu.
#include "PlovikTie.h"
#include "TieNotes.h"

namespace {

const PlovikCommand kTieCommands[] = {
    {"Plovik Tie Notes", "Ties notes of identical pitch in the region.", "Tie",
     [](FCMusicRegion* region) { TieNotes(region, true); }},
    {"Plovik Untie Notes", "Unties the notes in the region.", "Untie",
     [](FCMusicRegion* region) { TieNotes(region, false); }},
};

}  // namespace

// Every index but the first command's unties: one outside the table runs Untie.
const PlovikCommandTable kPlovikPluginCommands(kTieCommands, 1);
