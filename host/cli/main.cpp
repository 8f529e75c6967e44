// plovik-host: runs the plug-in the way the host does, through its six entry points, against
// the substitute host's in-memory document.
#include <cstdio>
#include <string>
#include <vector>

#include "Demo.h"
#include "DemoScore.h"
#include "Options.h"
#include "PluginModule.h"
#include "SubstituteHost.h"

int main(int argc, char** argv) {
    plovikcli::Options options;
    options.pluginPath = PLOVIK_DEFAULT_PLUGIN;
    std::string error;
    if (!plovikcli::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "plovik-host: %s\n\n%s", error.c_str(), plovikcli::kUsage);
        return 2;
    }
    if (options.command == plovikcli::Options::Command::HELP) {
        std::fputs(plovikcli::kUsage, stdout);
        return 0;
    }

    plovikhost::Host& host = plovikhost::Host::Get();
    host.Reset();
    host.Install("FINALE.EXE");
    plovikcli::BuildDemoScore(host.CurrentDocument());
    EREGION region{};
    if (options.command == plovikcli::Options::Command::DEMO &&
        !plovikcli::ResolveRegion(options, host.CurrentDocument(), region, error)) {
        std::fprintf(stderr, "plovik-host: bad region: %s\n", error.c_str());
        return 2;
    }

    PluginModule plugin;
    if (!plugin.Load(options.pluginPath)) {
        std::fprintf(stderr, "plovik-host: %s\n", plugin.Error().c_str());
        return 1;
    }
    int status = 0;
    if (options.command == plovikcli::Options::Command::COMMANDS) {
        plugin.version(FRAMEWORK_ENIGMA_VERSION);
        uint32_t flags = 0;
        plugin.init(0, &flags);
        status = plovikcli::ListCommands(plugin, stdout);
    } else {
        plovikcli::StartPlugin(plugin, stdout);
        status = plovikcli::RunDemo(plugin, region, stdout);
    }
    plugin.terminate(0);
    return status;
}
