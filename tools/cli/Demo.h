// What plovik-host does with a loaded plug-in: the demo and the list of commands, each only
// through the plug-in's entry points.
#pragma once

#include <cstdio>

#include "PluginModule.h"

namespace plovikcli {

// Tells the plug-in the host's version and initialises it, reporting both.
void StartPlugin(PluginModule& plugin, std::FILE* out);
int ListCommands(PluginModule& plugin, std::FILE* out);
// The index of the command of that menu text, or -1.
int FindCommand(PluginModule& plugin, const char* name);
// Prints what the host saw go wrong during a command, and the frames the plug-in kept; true
// when there was any.
bool HostWasMisused(std::FILE* out);
// Prints the current document, runs the Tie command and then the Untie command on the region,
// printing the document after each. 1 when the plug-in misused the host, else 0.
int RunDemo(PluginModule& plugin, const EREGION& region, std::FILE* out);

}  // namespace plovikcli
