// plovik-host: runs the plug-in the way the host does, through its six entry points, against
// the substitute host's in-memory document.
#include <cstdio>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "Demo.h"
#include "DemoScore.h"
#include "Options.h"
#include "Platform.h"
#include "PluginModule.h"
#include "SubstituteHost.h"
#if defined(PLOVIK_MUSICXML)
#include "ScoreFileCommand.h"
#endif

namespace {

// The plug-in built with this program: on Windows the DLL in the program's own folder, as a
// plug-in sits in the host's folder.
std::string DefaultPlugin() {
#if defined(_WIN32)
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return "PlovikTie.dll";
    const std::string program(path, n);
    const size_t slash = program.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : program.substr(0, slash + 1)) +
           "PlovikTie.dll";
#else
    return PLOVIK_DEFAULT_PLUGIN;
#endif
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
    // The same bytes as on Linux: no line ends turned into CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    plovikcli::Options options;
    options.pluginPath = DefaultPlugin();
    std::string error;
    if (!plovikcli::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "plovik-host: %s\n\n%s", error.c_str(), plovikcli::kUsage);
        return 2;
    }
    if (options.command == plovikcli::Options::Command::HELP) {
        std::fputs(plovikcli::kUsage, stdout);
        return 0;
    }

    if (options.command == plovikcli::Options::Command::TIE ||
        options.command == plovikcli::Options::Command::UNTIE ||
        options.command == plovikcli::Options::Command::SHOW ||
        options.command == plovikcli::Options::Command::CHECK ||
        options.command == plovikcli::Options::Command::REPAIR) {
#if defined(PLOVIK_MUSICXML)
        return plovikcli::RunScoreFile(options, stdout, stderr);
#else
        std::fprintf(stderr,
                     "plovik-host: this build runs the built-in demo only; tie, untie, show, "
                     "check and repair on MusicXML scores need the Linux build\n");
        return 2;
#endif
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
