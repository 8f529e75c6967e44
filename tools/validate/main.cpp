// plovik-validate: runs the named checks against the plug-in module and prints one line each;
// exits 1 when any check fails, 2 on a bad command line.
//
//   plovik-validate [--plugin PATH] [--check NAME]... [--skip NAME]... [--seed N] [--list]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>

#include "Platform.h"
#include "UiCalls.h"
#endif

#include "Validator.h"

namespace {

constexpr uint32_t kDefaultSeed = 20261209;

const char kUsage[] =
    "usage: plovik-validate [--plugin PATH] [--check NAME]... [--skip NAME]... [--seed N] "
    "[--list]\n"
    "Loads the plug-in module as the host does and runs the checks (all by default), one line\n"
    "each: PASS or FAIL, cases run, time. Exit status 1 when any check fails.\n";

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);
    // The program's own message boxes are answered, never shown.
    platform::RedirectUiCalls(GetModuleHandleA(nullptr));
#endif
    std::string plugin = PLOVIK_DEFAULT_PLUGIN;  // the module built with this program
    uint32_t seed = kDefaultSeed;
    std::set<std::string> only, skipped;
    const std::vector<plovikvalidate::Check>& checks = plovikvalidate::Checks();
    auto known = [&](const std::string& name) {
        for (const plovikvalidate::Check& check : checks)
            if (name == check.name) return true;
        return false;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--list") {
            for (const plovikvalidate::Check& check : checks)
                std::printf("%-16s %s\n", check.name, check.what);
            return 0;
        } else if (arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--plugin" && hasValue) {
            plugin = argv[++i];
        } else if (arg == "--seed" && hasValue) {
            seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 0));
        } else if ((arg == "--check" || arg == "--skip") && hasValue && known(argv[i + 1])) {
            (arg == "--check" ? only : skipped).insert(argv[++i]);
        } else {
            std::fprintf(stderr, "plovik-validate: bad argument %s\n\n%s", arg.c_str(), kUsage);
            return 2;
        }
    }

    std::printf("plovik-validate: %s, seed %u\n", plugin.c_str(), static_cast<unsigned>(seed));
    int failed = 0, passed = 0;
    for (const plovikvalidate::Check& check : checks) {
        if ((!only.empty() && !only.count(check.name)) || skipped.count(check.name)) continue;
        plovikvalidate::Context context(plugin, seed);
        const auto start = std::chrono::steady_clock::now();
        check.run(context);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const bool ok = context.Failures() == 0 && context.Cases() > 0;
        std::printf("%s  %-16s %6d cases %8.2f s  %s\n", ok ? "PASS" : "FAIL", check.name,
                    context.Cases(), seconds, check.what);
        for (const std::string& message : context.Messages())
            std::printf("      %s\n", message.c_str());
        if (context.Failures() > static_cast<int>(context.Messages().size()))
            std::printf("      ... %d failures in all\n", context.Failures());
        if (context.Cases() == 0) std::printf("      no case ran\n");
        std::fflush(stdout);
        (ok ? passed : failed) += 1;
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}
