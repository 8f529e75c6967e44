#include "Options.h"

#include <cctype>

namespace plovikcli {

const char kUsage[] =
    "usage: plovik-host [options] [demo | commands]\n"
    "\n"
    "Loads the Plovik Tie plug-in as the host application does and talks to it only through\n"
    "its six entry points, against an in-memory score.\n"
    "\n"
    "  demo              (the default) print the built-in score, run \"Plovik Tie Notes\" on\n"
    "                    the region and print the score, then run \"Plovik Untie Notes\" and\n"
    "                    print it again\n"
    "  commands          list the commands the plug-in offers\n"
    "\n"
    "The region (default: the whole score):\n"
    "  --measures M[-N]  the measures, from 1\n"
    "  --staves S[-T]    the staves, by slot from the top, from 1\n"
    "  --start-pos P     where the region starts in its first measure, in duration units\n"
    "                    (a quarter note is 1024; default 0)\n"
    "  --end-pos P|end   where it ends in its last measure (default: end of the measure)\n"
    "\n"
    "  --plugin PATH     the plug-in module to load (default: the one built with this program)\n"
    "  --help            this text\n"
    "\n"
    "Exit status: 0 done, 1 the plug-in could not be run or misused the host, 2 bad usage.\n";

namespace {

bool ParseNumber(const std::string& text, int32_t max, int32_t& value) {
    if (text.empty() || text.size() > 10) return false;
    int64_t v = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        v = v * 10 + (c - '0');
    }
    if (v > max) return false;
    value = static_cast<int32_t>(v);
    return true;
}

bool ParseRange(const std::string& text, Range& range) {
    const size_t dash = text.find('-');
    int32_t first, last;
    if (!ParseNumber(text.substr(0, dash), INT16_MAX, first)) return false;
    last = first;
    if (dash != std::string::npos && !ParseNumber(text.substr(dash + 1), INT16_MAX, last))
        return false;
    range = {true, first, last};
    return true;
}

std::string EndOf(const EREGION& region) {
    if (region.endPosition == EREGION_END_OF_MEASURE)
        return "the end of measure " + std::to_string(region.endMeasure);
    return "position " + std::to_string(region.endPosition) + " of measure " +
           std::to_string(region.endMeasure);
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        auto value = [&]() -> const std::string& { return args[++i]; };
        if (arg == "--help" || arg == "-h") {
            options.command = Options::Command::HELP;
        } else if (arg == "demo") {
            options.command = Options::Command::DEMO;
        } else if (arg == "commands") {
            options.command = Options::Command::COMMANDS;
        } else if (arg == "--plugin" || arg == "--measures" || arg == "--staves" ||
                   arg == "--start-pos" || arg == "--end-pos") {
            if (!hasValue) {
                error = arg + " needs a value";
                return false;
            }
            const std::string& v = value();
            bool ok = true;
            if (arg == "--plugin")
                options.pluginPath = v;
            else if (arg == "--measures")
                ok = ParseRange(v, options.measures);
            else if (arg == "--staves")
                ok = ParseRange(v, options.slots);
            else if (arg == "--start-pos")
                ok = ParseNumber(v, INT32_MAX - 1, options.startPosition);
            else if (v == "end")
                options.endPosition = EREGION_END_OF_MEASURE;
            else
                ok = ParseNumber(v, INT32_MAX - 1, options.endPosition);
            if (!ok) {
                error = "'" + v + "' is not a valid value for " + arg;
                return false;
            }
        } else {
            error = "unknown option or command '" + arg + "'";
            return false;
        }
    }
    return true;
}

bool ResolveRegion(const Options& options, const plovikhost::Document& doc, EREGION& region,
                   std::string& error) {
    const int measureCount = doc.MeasureCount();
    const int staffCount = static_cast<int>(doc.Staves().size());
    const Range measures = options.measures.given ? options.measures : Range{true, 1, measureCount};
    const Range slots = options.slots.given ? options.slots : Range{true, 1, staffCount};
    const std::string score = "the score has measures 1-" + std::to_string(measureCount) +
                              " and staves 1-" + std::to_string(staffCount);
    if (measures.first < 1 || measures.last > measureCount || measures.first > measures.last) {
        error = "measures " + std::to_string(measures.first) + "-" + std::to_string(measures.last) +
                " are not a range of the score: " + score;
        return false;
    }
    if (slots.first < 1 || slots.last > staffCount || slots.first > slots.last) {
        error = "staves " + std::to_string(slots.first) + "-" + std::to_string(slots.last) +
                " are not a range of the score: " + score;
        return false;
    }
    const int32_t firstLength = doc.FindMeasure(static_cast<int16_t>(measures.first))->Duration();
    const int32_t lastLength = doc.FindMeasure(static_cast<int16_t>(measures.last))->Duration();
    if (options.startPosition >= firstLength) {
        error = "start position " + std::to_string(options.startPosition) +
                " lies beyond measure " + std::to_string(measures.first) + ", which is " +
                std::to_string(firstLength) + " units long";
        return false;
    }
    if (options.endPosition != EREGION_END_OF_MEASURE && options.endPosition >= lastLength) {
        error = "end position " + std::to_string(options.endPosition) + " lies beyond measure " +
                std::to_string(measures.last) + ", which is " + std::to_string(lastLength) +
                " units long";
        return false;
    }
    if (measures.first == measures.last && options.startPosition > options.endPosition) {
        error = "the start position lies after the end position";
        return false;
    }
    region = EREGION{};
    region.startSlot = static_cast<int16_t>(slots.first);
    region.endSlot = static_cast<int16_t>(slots.last);
    region.startMeasure = static_cast<int16_t>(measures.first);
    region.endMeasure = static_cast<int16_t>(measures.last);
    region.startPosition = options.startPosition;
    region.endPosition = options.endPosition;
    return true;
}

std::string DescribeRegion(const EREGION& region) {
    auto span = [](const char* one, const char* many, int first, int last) {
        if (first == last) return std::string(one) + " " + std::to_string(first);
        return std::string(many) + " " + std::to_string(first) + "-" + std::to_string(last);
    };
    return span("staff", "staves", region.startSlot, region.endSlot) + ", " +
           span("measure", "measures", region.startMeasure, region.endMeasure) +
           ", from position " + std::to_string(region.startPosition) + " of measure " +
           std::to_string(region.startMeasure) + " to " + EndOf(region);
}

}  // namespace plovikcli
