// The plug-in's commands, in the order of the host's menu: a row for each, with the function the
// host's index runs on the selected region.
#include "PlovikPlugin.h"
#include "StepUpNotes.h"

namespace {

const PlovikCommand kCommands[] = {
    {"Step Up Notes", "Moves the notes of the region one step up.", "Step Up", &StepUpNotes},
};

}  // namespace

const PlovikCommandTable kPlovikPluginCommands(kCommands);
