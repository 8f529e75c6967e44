#include "Options.h"

#include <algorithm>
#include <cctype>

namespace plovikcli {

const char kUsage[] =
#if defined(PLOVIK_MUSICXML)
    "usage: plovik-host [options] [demo | commands]\n"
    "       plovik-host tie IN -o OUT [--report] [options]\n"
    "       plovik-host untie IN -o OUT [--report] [options]\n"
    "       plovik-host show IN\n"
    "       plovik-host check IN [--json] [--near-misses] [options]\n"
    "       plovik-host repair IN -o OUT [--let-ring] [--report] [options]\n"
#else
    "usage: plovik-host [options] [demo | commands]\n"
#endif
    "\n"
    "Loads the Plovik Tie plug-in as the host application does and talks to it only through\n"
    "its six entry points, against an in-memory score.\n"
    "\n"
    "  demo              (the default) print the built-in score, run \"Plovik Tie Notes\" on\n"
    "                    the region and print the score, then run \"Plovik Untie Notes\" and\n"
    "                    print it again\n"
    "  commands          list the commands the plug-in offers\n"
#if defined(PLOVIK_MUSICXML)
    "  tie IN -o OUT     read the MusicXML score IN (.musicxml, .xml, or compressed .mxl), run\n"
    "                    \"Plovik Tie Notes\" on the region and write the score to OUT with its\n"
    "                    ties changed and nothing else; - reads standard input or writes\n"
    "                    standard output\n"
    "  untie IN -o OUT   the same with \"Plovik Untie Notes\"\n"
    "  show IN           print the score IN as the host holds it: each part's staff is a\n"
    "                    staff, each voice of a staff a layer\n"
    "  check IN          list every tie problem of the score IN, most serious first:\n"
    "                    errors (a start with no stop, a stop with no start, <tie> without\n"
    "                    <tied> or the reverse, two starts on a note, a tie on a rest, a tie\n"
    "                    between two pitches) and warnings (an enharmonic tie, a tie into\n"
    "                    another voice or staff or into a note that is not the next one)\n"
    "  --json            check: the findings as one JSON document (schema plovik-check/1)\n"
    "  --near-misses     check: the near misses too\n"
    "  repair IN -o OUT  mend what is unambiguous: complete half-written ties, add the\n"
    "                    missing stop on the next note of the pitch, take away marks written\n"
    "                    twice and marks that pair with nothing; ties between different\n"
    "                    pitches are only reported\n"
    "  --let-ring        repair: a start with no stop becomes <tied type=\"let-ring\"/>\n"
    "  --report          after tie, untie or repair, list each tie added, removed or mended\n"
    "                    and the near misses: the same letter with another alteration next,\n"
    "                    the same pitch next in another layer, or after a rest\n"
    "                    (on standard error when the score goes to standard output)\n"
#else
    "\n"
    "This build runs the built-in demo only: reading and writing MusicXML (tie, untie, show)\n"
    "needs libraries that only the Linux build has.\n"
#endif
    "\n"
    "The region (default: the whole score):\n"
    "  --measures M[-N]  the measures, from 1\n"
    "  --staves S[-T]    the staves, by slot from the top, from 1\n"
    "  --start-pos P     where the region starts in its first measure, in duration units\n"
    "                    (a quarter note is 1024; default 0)\n"
    "  --end-pos P|end   where it ends in its last measure (default: end of the measure)\n"
    "  --start-beat B    where it starts in its first measure, in beats of that measure from\n"
    "                    1: 3, 2.5, or 1+1/3\n"
    "  --end-beat B      where it ends in its last measure: notes starting there are in\n"
    "\n"
    "  --plugin PATH     the plug-in module to load (default: the one built with this program)\n"
    "  --help            this text\n"
    "\n"
    "Exit status: 0 done (check: no error found), 1 the plug-in could not be run or misused\n"
    "the host (check: an error found), 2 bad usage or a region outside the score, 3 the score\n"
    "cannot be read or written.\n";

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

bool ParseBeat(const std::string& text, BeatPlace& beat) {
    // A decimal number of beats, optionally with a fraction added: "2", "2.5", "1+1/3".
    const size_t plus = text.find('+');
    const std::string whole = text.substr(0, plus);
    const size_t point = whole.find('.');
    const std::string digits =
        point == std::string::npos ? whole : whole.substr(0, point) + whole.substr(point + 1);
    const size_t decimals = point == std::string::npos ? 0 : whole.size() - point - 1;
    int32_t value, numerator = 0, denominator = 1;
    if (digits.size() > 9 || decimals > 6 || !ParseNumber(digits, INT32_MAX - 1, value))
        return false;
    if (plus != std::string::npos) {
        const std::string fraction = text.substr(plus + 1);
        const size_t slash = fraction.find('/');
        if (slash == std::string::npos ||
            !ParseNumber(fraction.substr(0, slash), 9999, numerator) ||
            !ParseNumber(fraction.substr(slash + 1), 9999, denominator) || denominator == 0)
            return false;
    }
    int64_t scale = 1;
    for (size_t i = 0; i < decimals; ++i) scale *= 10;
    // value / scale + numerator / denominator
    beat.given = true;
    beat.numerator = int64_t{value} * denominator + int64_t{numerator} * scale;
    beat.denominator = scale * denominator;
    return beat.numerator >= beat.denominator;  // beats count from 1
}

// The position of a beat in a measure of this beat length, rounded to a duration unit.
int64_t BeatPosition(const BeatPlace& beat, int32_t beatDuration) {
    const int64_t units = (beat.numerator - beat.denominator) * beatDuration;
    return (2 * units + beat.denominator) / (2 * beat.denominator);
}

// The commands that write a score.
bool Needs(Options::Command command) {
    return command == Options::Command::TIE || command == Options::Command::UNTIE ||
           command == Options::Command::REPAIR;
}

const char* Name(Options::Command command) {
    switch (command) {
        case Options::Command::TIE:
            return "tie";
        case Options::Command::UNTIE:
            return "untie";
        case Options::Command::SHOW:
            return "show";
        case Options::Command::CHECK:
            return "check";
        case Options::Command::REPAIR:
            return "repair";
        default:
            return "demo";
    }
}

std::string EndOf(const EREGION& region) {
    if (region.endPosition == EREGION_END_OF_MEASURE)
        return "the end of measure " + std::to_string(region.endMeasure);
    return "position " + std::to_string(region.endPosition) + " of measure " +
           std::to_string(region.endMeasure);
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error) {
    bool startPosGiven = false, endPosGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        auto value = [&]() -> const std::string& { return args[++i]; };
        const bool readsScore = Needs(options.command) ||
                                options.command == Options::Command::SHOW ||
                                options.command == Options::Command::CHECK;
        if (arg == "--help" || arg == "-h") {
            options.command = Options::Command::HELP;
        } else if (arg == "demo") {
            options.command = Options::Command::DEMO;
        } else if (arg == "commands") {
            options.command = Options::Command::COMMANDS;
        } else if (arg == "tie" || arg == "untie" || arg == "show" || arg == "check" ||
                   arg == "repair") {
            options.command = arg == "tie"     ? Options::Command::TIE
                              : arg == "untie" ? Options::Command::UNTIE
                              : arg == "show"  ? Options::Command::SHOW
                              : arg == "check" ? Options::Command::CHECK
                                               : Options::Command::REPAIR;
        } else if (arg == "--report") {
            options.report = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--near-misses") {
            options.nearMisses = true;
        } else if (arg == "--let-ring") {
            options.letRing = true;
        } else if (readsScore && options.input.empty() && (arg == "-" || arg[0] != '-')) {
            options.input = arg;
        } else if (arg == "--plugin" || arg == "--measures" || arg == "--staves" ||
                   arg == "--start-pos" || arg == "--end-pos" || arg == "--start-beat" ||
                   arg == "--end-beat" || arg == "-o" || arg == "--output") {
            if (!hasValue) {
                error = arg + " needs a value";
                return false;
            }
            const std::string& v = value();
            bool ok = true;
            if (arg == "--plugin") {
                options.pluginPath = v;
            } else if (arg == "-o" || arg == "--output") {
                options.output = v;
                ok = !v.empty();
            } else if (arg == "--measures") {
                ok = ParseRange(v, options.measures);
            } else if (arg == "--staves") {
                ok = ParseRange(v, options.slots);
            } else if (arg == "--start-beat") {
                ok = ParseBeat(v, options.startBeat);
            } else if (arg == "--end-beat") {
                ok = ParseBeat(v, options.endBeat);
            } else if (arg == "--start-pos") {
                ok = ParseNumber(v, INT32_MAX - 1, options.startPosition);
                startPosGiven = true;
            } else if (v == "end") {
                options.endPosition = EREGION_END_OF_MEASURE;
                endPosGiven = true;
            } else {
                ok = ParseNumber(v, INT32_MAX - 1, options.endPosition);
                endPosGiven = true;
            }
            if (!ok) {
                error = "'" + v + "' is not a valid value for " + arg;
                return false;
            }
        } else {
            error = "unknown option or command '" + arg + "'";
            return false;
        }
    }
    if ((startPosGiven && options.startBeat.given) || (endPosGiven && options.endBeat.given)) {
        error = "give a place in the measure in beats or in duration units, not both";
        return false;
    }
    const Options::Command command = options.command;
    const bool readsScore =
        Needs(command) || command == Options::Command::SHOW || command == Options::Command::CHECK;
    if (command == Options::Command::HELP) return true;
    if (readsScore && options.input.empty()) {
        error = std::string(Name(command)) + " needs a score to read: plovik-host " +
                Name(command) + " IN" + (Needs(command) ? " -o OUT" : "");
        return false;
    }
    if (Needs(command) && options.output.empty()) {
        error = std::string(Name(command)) +
                " needs -o OUT, where the score goes (- for standard output)";
        return false;
    }
    if (!Needs(command) && (!options.output.empty() || options.report)) {
        error = "-o and --report go with tie, untie and repair";
        return false;
    }
    if (command != Options::Command::CHECK && (options.json || options.nearMisses)) {
        error = "--json and --near-misses go with check";
        return false;
    }
    if (command != Options::Command::REPAIR && options.letRing) {
        error = "--let-ring goes with repair";
        return false;
    }
    return true;
}

namespace {

bool Place(const Options& options, const Range& measures, const Range& slots, int32_t firstLength,
           int32_t lastLength, EREGION& region, std::string& error) {
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

}  // namespace

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
    const plovikhost::MeasureSpec& first = *doc.FindMeasure(static_cast<int16_t>(measures.first));
    const plovikhost::MeasureSpec& last = *doc.FindMeasure(static_cast<int16_t>(measures.last));
    const int32_t firstLength = first.Duration();
    const int32_t lastLength = last.Duration();
    Options placed = options;
    if (options.startBeat.given) {
        const int64_t position = BeatPosition(options.startBeat, first.beatDuration);
        placed.startPosition = static_cast<int32_t>(std::min<int64_t>(position, INT32_MAX - 1));
    }
    if (options.endBeat.given) {
        const int64_t position = BeatPosition(options.endBeat, last.beatDuration);
        placed.endPosition = static_cast<int32_t>(std::min<int64_t>(position, INT32_MAX - 1));
    }
    return Place(placed, measures, slots, firstLength, lastLength, region, error);
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
