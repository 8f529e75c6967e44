// plovik-validate: runs the named checks against a plug-in module and prints one line each;
// exits 1 when any check fails, 2 on a bad command line.
//
//   plovik-validate --plugin PATH [--check NAME]... [--skip NAME]... [--seed N] [--list]
#include <cstdio>
#include <cstdlib>
#include <string>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>

#include "Platform.h"
#include "UiCalls.h"
#endif

#include "Validator.h"

namespace {

const char kUsage[] =
    "usage: plovik-validate --plugin PATH [--check NAME]... [--skip NAME]... [--seed N] "
    "[--list]\n"
    "Loads the plug-in module as the host does, lists its commands and runs the checks on each\n"
    "(all checks by default), one line each: PASS or FAIL, cases run, time. Exit status 1 when\n"
    "any check fails.\n";

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);
    // The program's own message boxes are answered, never shown.
    platform::RedirectUiCalls(GetModuleHandleA(nullptr));
#endif
    plovikvalidate::Options options;
    auto known = [&](const std::string& name) {
        for (const plovikvalidate::Check& check : plovikvalidate::Checks())
            if (name == check.name) return true;
        return false;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--list") {
            for (const plovikvalidate::Check& check : plovikvalidate::Checks())
                std::printf("%-16s %s\n", check.name, check.what);
            return 0;
        } else if (arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--plugin" && hasValue) {
            options.plugin = argv[++i];
        } else if (arg == "--seed" && hasValue) {
            options.seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 0));
        } else if ((arg == "--check" || arg == "--skip") && hasValue && known(argv[i + 1])) {
            (arg == "--check" ? options.only : options.skipped).insert(argv[++i]);
        } else {
            std::fprintf(stderr, "plovik-validate: bad argument %s\n\n%s", arg.c_str(), kUsage);
            return 2;
        }
    }
    if (options.plugin.empty()) {
        std::fprintf(stderr, "plovik-validate: no --plugin\n\n%s", kUsage);
        return 2;
    }
    return plovikvalidate::RunChecks(options, stdout);
}
