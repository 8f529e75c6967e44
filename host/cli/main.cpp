// plovik-host: runs the plug-in the way the host does, through its six entry points, against
// the substitute host's in-memory document.
#include <cstdio>
#include <cstring>
#include <string>

#include "PluginModule.h"
#include "SubstituteHost.h"

namespace {

const char kUsage[] =
    "usage: plovik-host [--plugin PATH] [commands]\n"
    "\n"
    "Loads the Plovik Tie plug-in as the host application does and talks to it only through\n"
    "its entry points.\n"
    "\n"
    "  commands       list the commands the plug-in offers (the default)\n"
    "  --plugin PATH  the plug-in module to load (default: the one built with this program)\n"
    "  --help         this text\n";

int ListCommands(PluginModule& plugin) {
    std::printf("Plug-in commands, as FinaleExtensionEnumerate describes them:\n");
    for (uint32_t index = 0;; ++index) {
        char record[256] = {};
        if (!plugin.enumerate(0, index, record)) break;
        std::printf("  %u  %-20s %-8s %s\n", index, record, record + 128, record + 64);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string pluginPath = PLOVIK_DEFAULT_PLUGIN;
    std::string command = "commands";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--plugin" && i + 1 < argc) {
            pluginPath = argv[++i];
        } else if (arg == "commands") {
            command = arg;
        } else {
            std::fprintf(stderr, "plovik-host: unknown option or command '%s'\n\n%s", arg.c_str(),
                         kUsage);
            return 2;
        }
    }

    plovikhost::Host& host = plovikhost::Host::Get();
    host.Reset();
    host.Install("FINALE.EXE");

    PluginModule plugin;
    if (!plugin.Load(pluginPath)) {
        std::fprintf(stderr, "plovik-host: %s\n", plugin.Error().c_str());
        return 1;
    }
    plugin.version(FRAMEWORK_ENIGMA_VERSION);
    uint32_t flags = 0;
    plugin.init(0, &flags);
    int status = 0;
    if (command == "commands") status = ListCommands(plugin);
    plugin.terminate(0);
    return status;
}
