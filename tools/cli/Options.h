// The command line of plovik-host, and the region it asks for in terms of the score.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Document.h"

namespace plovikcli {

struct Range {
    bool given = false;
    int first = 0;
    int last = 0;
};

// A place in a measure counted in beats from 1 (2.5 is halfway through the second beat).
struct BeatPlace {
    bool given = false;
    int64_t numerator = 1;
    int64_t denominator = 1;
};

struct Options {
    enum class Command {
        DEMO,
        COMMANDS,
        HELP,
        TIE,
        UNTIE,
        SHOW,
        CHECK,
        REPAIR
    } command = Command::DEMO;
    std::string pluginPath;
    std::string input;   // the score tie, untie and show read ("-": standard input)
    std::string output;  // where tie, untie and repair write it ("-": standard output)
    bool report = false;
    bool json = false;        // check: one JSON document
    bool nearMisses = false;  // check: the near misses too
    bool letRing = false;     // repair: a lone start becomes <tied type="let-ring"/>
    Range measures;           // none given: every measure
    Range slots;              // none given: every staff
    int32_t startPosition = 0;
    int32_t endPosition = EREGION_END_OF_MEASURE;
    BeatPlace startBeat;  // instead of the positions, in the first and last measure's beats
    BeatPlace endBeat;
};

extern const char kUsage[];

// False, with a message for the user, for an option or value it cannot take.
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error);

// The region the options describe in this score; false, with a message, when it does not lie
// inside the score.
bool ResolveRegion(const Options& options, const plovikhost::Document& doc, EREGION& region,
                   std::string& error);

// "slots 1-2, measures 1-4, from position 0 of measure 1 to the end of measure 4"
std::string DescribeRegion(const EREGION& region);

}  // namespace plovikcli
