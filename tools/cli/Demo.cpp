#include "Demo.h"

#include <string>

#include "Options.h"
#include "ScoreView.h"
#include "SubstituteHost.h"

namespace plovikcli {

namespace {

std::string MenuText(PluginModule& plugin, uint32_t index) {
    char record[256] = {};
    if (!plugin.enumerate(0, index, record)) return "";
    record[63] = '\0';
    return record;
}

}  // namespace

bool HostWasMisused(std::FILE* out) {
    plovikhost::Host& host = plovikhost::Host::Get();
    bool misused = false;
    for (const std::string& problem : host.Problems()) {
        std::fprintf(out, "host problem: %s\n", problem.c_str());
        misused = true;
    }
    if (host.Frames().Outstanding() > 0) {
        std::fprintf(out, "host problem: %d entry frames were never freed\n",
                     host.Frames().Outstanding());
        misused = true;
    }
    return misused;
}

int FindCommand(PluginModule& plugin, const char* name) {
    // A plug-in offers a handful of commands; one that never stops enumerating is not believed.
    for (uint32_t index = 0; index < 256; ++index) {
        char record[256] = {};
        if (!plugin.enumerate(0, index, record)) break;
        record[63] = '\0';
        if (std::string(record) == name) return static_cast<int>(index);
    }
    return -1;
}

void StartPlugin(PluginModule& plugin, std::FILE* out) {
    const uint32_t version = plugin.version(FRAMEWORK_ENIGMA_VERSION);
    uint32_t flags = 0;
    const uint32_t init = plugin.init(0, &flags);
    std::fprintf(out, "FinaleExtensionVersion(0x%08X) answered 0x%08X\n",
                 static_cast<unsigned>(FRAMEWORK_ENIGMA_VERSION), static_cast<unsigned>(version));
    std::fprintf(out, "FinaleExtensionInit answered %u, flags 0x%X\n", static_cast<unsigned>(init),
                 static_cast<unsigned>(flags));
}

int ListCommands(PluginModule& plugin, std::FILE* out) {
    std::fprintf(out, "Plug-in commands, as FinaleExtensionEnumerate describes them:\n");
    for (uint32_t index = 0;; ++index) {
        char record[256] = {};
        if (!plugin.enumerate(0, index, record)) break;
        std::fprintf(out, "  %u  %-20s %-8s %s\n", static_cast<unsigned>(index), record,
                     record + 128, record + 64);
    }
    return 0;
}

int RunDemo(PluginModule& plugin, const EREGION& region, std::FILE* out) {
    plovikhost::Host& host = plovikhost::Host::Get();
    plovikhost::Document& doc = host.CurrentDocument();
    std::fprintf(out, "\nThe score:\n%s", ScoreText(doc).c_str());
    std::fprintf(out,
                 "(~ tied to the next entry, + notes of a chord, r rest; w h q e: whole to "
                 "eighth, a dot lengthens by half)\n");
    std::fprintf(out, "\nRegion: %s\n", DescribeRegion(region).c_str());
    doc.selection = region;

    for (uint32_t index : {0u, 1u}) {
        const std::string name = MenuText(plugin, index);
        EREGION handed = region;  // the host's own record, as it passes it
        const int before = host.Frames().HandedOut();
        const uint32_t result = plugin.invoke(0, index, &handed, 0);
        std::fprintf(out,
                     "\nFinaleExtensionInvoke(command %u, \"%s\") answered %u; %d entry "
                     "frames loaded and given back\n",
                     static_cast<unsigned>(index), name.c_str(), static_cast<unsigned>(result),
                     host.Frames().HandedOut() - before);
        if (HostWasMisused(stderr)) return 1;
        std::fprintf(out, "The score after \"%s\":\n%s", name.c_str(), ScoreText(doc).c_str());
    }
    return 0;
}

}  // namespace plovikcli
