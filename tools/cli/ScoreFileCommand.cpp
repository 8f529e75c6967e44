#include "ScoreFileCommand.h"

#include <cctype>
#include <map>
#include <string>

#include "CheckReport.h"
#include "Demo.h"
#include "MusicXmlScore.h"
#include "PluginModule.h"
#include "ScoreError.h"
#include "ScoreFiles.h"
#include "ScoreView.h"
#include "SubstituteHost.h"
#include "TieCheck.h"
#include "TieReport.h"

namespace plovikcli {

namespace {

constexpr int kPluginFailed = 1;
constexpr int kFoundErrors = 1;  // check
constexpr int kBadRegion = 2;
constexpr int kScoreFailed = 3;

std::string InputName(const Options& options) {
    return options.input == "-" ? "standard input" : options.input;
}

// Which part, staff and voices each slot holds.
std::string StaffLegend(const plovikxml::ImportedScore& score) {
    std::map<int, std::map<int16_t, std::string>> voices;  // slot: layer to voice
    for (const plovikxml::ImportedScore::Entry& entry : score.entries)
        if (entry.kind != plovikxml::ImportedScore::Entry::GAP)
            voices[entry.slot].emplace(entry.layer, entry.voice);
    std::string out;
    for (size_t i = 0; i < score.staves.size(); ++i) {
        const int slot = static_cast<int>(i + 1);
        out += "  " + score.staves[i].Label(slot) + ", part " + score.staves[i].partId;
        std::string layers;
        for (const auto& layer : voices[slot])
            layers += (layers.empty() ? "" : ", ") + std::string("voice ") + layer.second +
                      " in layer " + std::to_string(layer.first + 1);
        out += (layers.empty() ? ": no music" : ": " + layers) + "\n";
    }
    return out;
}

// The output's name decides its form: ".mxl" an archive, ".musicxml", ".xml" and standard
// output plain MusicXML, any other name the form the score was read in. A plain score made an
// archive holds it under the output's own name.
plovikxml::MusicXmlScore::Form OutputForm(const std::string& output, std::string& member) {
    using Form = plovikxml::MusicXmlScore::Form;
    const size_t slash = output.find_last_of('/');
    const std::string name = slash == std::string::npos ? output : output.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    std::string extension = dot == std::string::npos ? "" : name.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".mxl") {
        member = (dot > 0 ? name.substr(0, dot) : "score") + ".musicxml";
        return Form::COMPRESSED;
    }
    if (output == "-" || extension == ".musicxml" || extension == ".xml") return Form::PLAIN;
    return Form::AS_READ;
}

// What the host holds otherwise than the file says, on standard error unless the report,
// which lists it, goes there.
void Notices(const Options& options, const plovikxml::ImportedScore& score, std::FILE* err) {
    if (options.report && options.output == "-") return;
    for (const plovikxml::ImportedScore::Notice& notice : score.notices)
        std::fprintf(err, "plovik-host: note: %s\n", score.NoticeLine(notice).c_str());
}

// Writes the score with the changes, in the form the output's name asks for.
int WriteScore(const Options& options, const plovikxml::MusicXmlScore& score,
               const std::vector<plovikxml::TieWriter::Change>& changes, std::FILE* err) {
    try {
        std::string member = "score.musicxml";
        const plovikxml::MusicXmlScore::Form form = OutputForm(options.output, member);
        plovikxml::ScoreFiles::Write(options.output, score.Write(changes, form, member));
    } catch (const plovikxml::ScoreError& e) {
        std::fprintf(err, "plovik-host: %s\n", e.what());
        return kScoreFailed;
    }
    return 0;
}

int RunCheck(const Options& options, const plovikxml::MusicXmlScore& score, const EREGION& region,
             std::FILE* out) {
    const plovikxml::ImportedScore& imported = score.Imported();
    const plovikhost::Document& doc = plovikhost::Host::Get().CurrentDocument();
    const std::vector<plovikxml::TieCheck::Finding> findings =
        plovikxml::TieCheck(imported).Findings(&region, options.nearMisses);
    const std::string text =
        options.json ? plovikxml::CheckReport::Json(imported, doc, findings, options.nearMisses,
                                                    InputName(options), region)
                     : plovikxml::CheckReport::Text(imported, doc, findings, options.nearMisses);
    std::fputs(text.c_str(), out);
    return plovikxml::CheckReport::Count(findings, plovikxml::TieCheck::ERROR) > 0 ? kFoundErrors
                                                                                   : 0;
}

int RunRepair(const Options& options, const plovikxml::MusicXmlScore& score, const EREGION& region,
              std::FILE* out, std::FILE* err) {
    const plovikxml::ImportedScore& imported = score.Imported();
    const std::vector<plovikxml::TieWriter::Change> mends =
        plovikxml::TieWriter::Repair(imported, options.letRing, &region);
    if (const int status = WriteScore(options, score, mends, err)) return status;
    Notices(options, imported, err);
    if (options.report) {
        std::vector<plovikxml::TieCheck::Finding> left;
        for (const plovikxml::TieCheck::Finding& f :
             plovikxml::TieCheck(imported).Findings(&region, false))
            if (f.kind == plovikxml::TieCheck::OTHER_PITCH) left.push_back(f);
        const std::string text = plovikxml::CheckReport::RepairText(
            imported, plovikhost::Host::Get().CurrentDocument(), mends, left);
        std::fprintf(options.output == "-" ? err : out, "Repair on %s\n%s",
                     DescribeRegion(region).c_str(), text.c_str());
    }
    return 0;
}

int RunCommand(const Options& options, plovikxml::MusicXmlScore& score, std::FILE* out,
               std::FILE* err) {
    plovikhost::Host& host = plovikhost::Host::Get();
    plovikhost::Document& doc = host.CurrentDocument();
    EREGION region{};
    std::string error;
    if (!ResolveRegion(options, doc, region, error)) {
        std::fprintf(err, "plovik-host: bad region: %s\n", error.c_str());
        return kBadRegion;
    }
    if (options.command == Options::Command::CHECK) return RunCheck(options, score, region, out);
    if (options.command == Options::Command::REPAIR)
        return RunRepair(options, score, region, out, err);
    PluginModule plugin;
    if (!plugin.Load(options.pluginPath)) {
        std::fprintf(err, "plovik-host: %s\n", plugin.Error().c_str());
        return kPluginFailed;
    }
    plugin.version(FRAMEWORK_ENIGMA_VERSION);
    uint32_t flags = 0;
    plugin.init(0, &flags);
    const char* name =
        options.command == Options::Command::TIE ? "Plovik Tie Notes" : "Plovik Untie Notes";
    const int index = FindCommand(plugin, name);
    if (index < 0) {
        std::fprintf(err, "plovik-host: the plug-in offers no command \"%s\"\n", name);
        plugin.terminate(0);
        return kPluginFailed;
    }
    doc.selection = region;
    EREGION handed = region;  // the host's own record, as it passes it
    plugin.invoke(0, static_cast<uint32_t>(index), &handed, 0);
    plugin.terminate(0);
    if (HostWasMisused(err)) return kPluginFailed;

    plovikxml::TieCommand command;
    command.kind = options.command == Options::Command::TIE ? plovikxml::TieCommand::TIE
                                                            : plovikxml::TieCommand::UNTIE;
    command.region = region;
    const std::vector<plovikxml::TieWriter::Change> changes = score.Changes(doc, command);
    if (const int status = WriteScore(options, score, changes, err)) return status;
    Notices(options, score.Imported(), err);
    size_t notWritten = 0;
    for (const plovikxml::TieWriter::Change& change : changes)
        notWritten += change.kind == plovikxml::TieWriter::Change::NOT_WRITTEN;
    if (notWritten > 0 && !options.report)
        std::fprintf(err,
                     "plovik-host: %zu tie(s) the plug-in made could not be written (to another "
                     "pitch, or into a note another tie reaches); --report lists them\n",
                     notWritten);
    if (options.report) {
        std::FILE* to = options.output == "-" ? err : out;
        const std::string text = plovikxml::TieReport::Text(
            score.Imported(), doc, changes,
            plovikxml::TieReport::NearMisses(score.Imported(), region, changes));
        std::fprintf(to, "\"%s\" on %s\n%s", name, DescribeRegion(region).c_str(), text.c_str());
    }
    return 0;
}

}  // namespace

int RunScoreFile(const Options& options, std::FILE* out, std::FILE* err) {
    plovikhost::Host& host = plovikhost::Host::Get();
    host.Reset();
    host.Install("FINALE.EXE");
    plovikxml::MusicXmlScore score;
    try {
        score.Load(plovikxml::ScoreFiles::Read(options.input));
        score.Import(host.CurrentDocument());
    } catch (const plovikxml::ScoreError& e) {
        const std::string what = e.what();
        // Messages of the file system name the file already.
        if (what.rfind("cannot read", 0) == 0)
            std::fprintf(err, "plovik-host: %s\n", what.c_str());
        else
            std::fprintf(err, "plovik-host: %s: %s\n", InputName(options).c_str(), what.c_str());
        return kScoreFailed;
    }
    if (options.command == Options::Command::SHOW) {
        std::fprintf(out, "%s:\n%s\n%s", InputName(options).c_str(),
                     StaffLegend(score.Imported()).c_str(),
                     ScoreText(host.CurrentDocument()).c_str());
        return 0;
    }
    return RunCommand(options, score, out, err);
}

}  // namespace plovikcli
