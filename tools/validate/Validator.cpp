#include "Validator.h"

#include <algorithm>
#include <chrono>
#include <set>

#include "DocumentDiff.h"
#include "ScoreBuilder.h"
#include "SubstituteHost.h"

namespace plovikvalidate {

using plovikhost::Cell;
using plovikhost::CellKey;
using plovikhost::Document;
using plovikhost::Host;

const std::vector<Check>& Checks() {
    static const std::vector<Check> checks = {
        {"load-unload", "1000 loads and unloads, a command in every tenth", &LoadAndUnload},
        {"residue", "loads and unloads leave no handle, TLS index, heap block or thread",
         &UnloadResidue},
        {"entry-order", "the six entry points in every order", &EntryPointsInEveryOrder},
        {"entry-arguments", "indices, versions, flag words and menu records", &EntryPointArguments},
        {"regions", "regions backwards, outside the score, in no list or document",
         &HostileRegions},
        {"hidden-services", "each service of the command's road hidden in turn", &HiddenServices},
        {"failing-frames", "FX_LoadTGF failing at every call, FX_SaveTGF refusing", &FailingFrames},
        {"damaged-frames", "odd note, entry and tuplet counts, null arrays", &DamagedFrames},
        {"lying-answers", "layers, slots, staves and shown layers answered wrongly", &LyingAnswers},
        {"combinations", "hostile answers in random combinations", &HostileCombinations},
    };
    return checks;
}

// ---- The host and its documents ----

void FreshHost() {
    Host& host = Host::Get();
    host.Reset();
    host.keepCalls = false;
    host.Install("FINALE.EXE");
}

void SmallScore(Document& doc) {
    plovikhost::ScoreBuilder(doc)
        .Staves({2, 5, 3})
        .Measures(4)
        .Music(2, 1, "C4/q C4 E4+G4 E4+C5")
        .Music(2, 2, "C5/h C5")
        .Music(2, 3, "D4/q r D4 D4")
        .Music(2, 4, "D4/w")
        .Music(2, 1, "G3/h G3", 1)
        .Music(2, 2, "G3/w", 1)
        .Music(5, 1, "A3/w")
        .Music(5, 2, "B3/h B3")
        .Music(5, 3, "A3/h C4")
        .Music(5, 4, "C4/w")
        .Music(3, 1, "E4/q E4 F#4 F#4")
        .Music(3, 2, "F#4/h Bb3")
        .Music(3, 4, "Bb3/h Bb3");
}

void ExpectHostClean(Context& context, const std::string& when) {
    Host& host = Host::Get();
    context.Expect(host.Frames().Outstanding() == 0,
                   when + ": " + std::to_string(host.Frames().Outstanding()) +
                       " entry frames were never given back");
    for (const std::string& problem : host.Problems())
        context.Fail(when + ": host problem: " + problem);
    host.ClearProblems();
    host.Frames().Clear();
}

// ---- What a command may change ----

namespace {

// The command FinaleExtensionInvoke runs for an index: Tie for 0 in the low 16 bits, Untie else.
bool TiesFor(uint32_t index) {
    return static_cast<int16_t>(index & 0xFFFF) == 0;
}

int NoteCount(const EXENTRY& entry) {
    return std::clamp<int>(entry.noteCount, 0, EXENTRY_MAX_NOTES);
}

bool IsNoteEntry(const EXENTRY& entry) {
    return (entry.flags & ENTRY_FLAG_NOTE) != 0;
}

// The region's staves as the document lists them.
std::set<int16_t> RegionStaves(const Document& doc, const EREGION& region) {
    std::set<int16_t> staves;
    const auto list = doc.instrumentLists.find(region.startInstrumentList);
    if (list == doc.instrumentLists.end()) return staves;
    for (size_t i = 0; i < list->second.size(); ++i) {
        const int slot = static_cast<int>(i + 1);
        if (region.startSlot <= slot && slot <= region.endSlot) staves.insert(list->second[i]);
    }
    return staves;
}

// The entry after entries[index] of the cell in the document's own order: the next in the cell,
// else the first of the next measure with entries, up to the region's last measure.
const EXENTRY* NextEntry(const Document& doc, const CellKey& key, size_t index,
                         int16_t lastMeasure) {
    const Cell* cell = doc.FindCell(key.staff, key.measure, key.layer);
    if (cell && index + 1 < cell->entries.size()) return &cell->entries[index + 1];
    for (int m = key.measure + 1; m <= lastMeasure; ++m) {
        const Cell* next = doc.FindCell(key.staff, static_cast<int16_t>(m), key.layer);
        if (next && !next->entries.empty()) return &next->entries.front();
    }
    return nullptr;
}

bool HasPartner(const NOTERECORD& note, const EXENTRY* next) {
    if (!next || !IsNoteEntry(*next)) return false;
    for (int k = 0; k < NoteCount(*next); ++k)
        if (next->notes[k].displacement == note.displacement &&
            next->notes[k].raiseLower == note.raiseLower)
            return true;
    return false;
}

// The entry without the bits a command may change in it.
EXENTRY Masked(EXENTRY entry, bool inside) {
    entry.flags2 &= static_cast<uint16_t>(~ENTRY_FLAG2_TIE_CHANGED);
    if (inside)
        for (NOTERECORD& note : entry.notes) note.flags &= ~NOTE_FLAG_TIE;
    return entry;
}

// The first thing wrong with one entry, or "".
std::string EntryVerdict(const Document& before, const CellKey& key, size_t index,
                         const EXENTRY& after, const EREGION& region, bool tie,
                         const Judgement& judgement) {
    const EXENTRY& was = before.FindCell(key.staff, key.measure, key.layer)->entries[index];
    const bool inside = InsideRegion(region, key.measure, was.position);
    // What the entry may be compared with: as it was, or as the cleaning leaves it.
    EXENTRY base = was;
    const std::string difference =
        plovikhost::EntryDifference(Masked(after, inside), Masked(was, inside));
    if (!difference.empty()) {
        if (!judgement.cleaning) return difference;
        plovikhost::CleanEntry(base);
        if (!plovikhost::EntryDifference(Masked(after, inside), Masked(base, inside)).empty())
            return difference;
    }
    if (!inside) return {};
    for (int k = 0; k < EXENTRY_MAX_NOTES; ++k) {
        const bool had = (base.notes[k].flags & NOTE_FLAG_TIE) != 0;
        const bool has = (after.notes[k].flags & NOTE_FLAG_TIE) != 0;
        const std::string note = "note " + std::to_string(k);
        if (tie && had && !has) return note + ": Tie cleared a tie";
        if (!tie && !had && has) return note + ": Untie set a tie";
        if (!tie && has && IsNoteEntry(after) && k < NoteCount(after))
            return note + ": still tied after Untie";
        if (tie && !had && has && judgement.partners &&
            !HasPartner(after.notes[k], NextEntry(before, key, index, region.endMeasure)))
            return note + ": tied to no note of the same pitch in the next entry";
    }
    return {};
}

bool InRegionCells(const std::set<int16_t>& staves, const EREGION& region, const CellKey& key) {
    return staves.count(key.staff) && region.startMeasure <= key.measure &&
           key.measure <= region.endMeasure;
}

class TieRules : public Oracle {
  public:
    void Judge(Context& context, const Run& run) const override {
        const std::set<int16_t> staves = RegionStaves(run.before, run.region);
        for (const CellKey& key : plovikhost::CellKeys(run.before, run.after)) {
            if (!InRegionCells(staves, run.region, key)) continue;
            const Cell* was = run.before.FindCell(key.staff, key.measure, key.layer);
            const Cell* is = run.after.FindCell(key.staff, key.measure, key.layer);
            const size_t wasCount = was ? was->entries.size() : 0;
            const size_t isCount = is ? is->entries.size() : 0;
            if (wasCount != isCount) {
                context.Fail(plovikhost::Where(key) + ": " + std::to_string(isCount) +
                             " entries, there were " + std::to_string(wasCount));
                return;
            }
            for (size_t i = 0; i < isCount; ++i) {
                const std::string verdict =
                    EntryVerdict(run.before, key, i, is->entries[i], run.region, TiesFor(run.index),
                                 run.judgement);
                if (!verdict.empty()) {
                    context.Fail(plovikhost::Where(key) + " entry " + std::to_string(i) + ": " +
                                 verdict);
                    return;
                }
            }
        }
    }
    bool StoresFrames(uint32_t) const override { return true; }
};

bool SameCommands(const std::vector<Command>& a, const std::vector<Command>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].menuText != b[i].menuText || a[i].description != b[i].description ||
            a[i].shortName != b[i].shortName)
            return false;
    return true;
}

// A text field of the menu record: up to its first zero byte, at most 64 bytes.
std::string Field(const uint8_t* record, size_t offset) {
    const char* text = reinterpret_cast<const char*>(record + offset);
    size_t n = 0;
    while (n < 64 && text[n]) ++n;
    return std::string(text, n);
}

}  // namespace

bool InsideRegion(const EREGION& region, int16_t measure, int32_t position) {
    if (measure < region.startMeasure || measure > region.endMeasure) return false;
    if (measure == region.startMeasure && position < region.startPosition) return false;
    if (measure == region.endMeasure && position > region.endPosition) return false;
    return true;
}

bool ExpectRules(Context& context, uint32_t index, const Document& before, const Document& after,
                 const EREGION& region, const Judgement& judgement) {
    const std::set<int16_t> staves = RegionStaves(before, region);
    const std::string difference = plovikhost::CellDifference(
        after, before, [&](const CellKey& key) { return !InRegionCells(staves, region, key); });
    if (!difference.empty())
        return context.Expect(false, "changed outside the region: " + difference);
    if (!context.GetOracle()) return true;
    const int failures = context.Failures();
    context.GetOracle()->Judge(context, Run{index, region, before, after, judgement});
    return context.Failures() == failures;
}

const Oracle& TieOracle() {
    static const TieRules oracle;
    return oracle;
}

const Oracle* KnownOracle(const std::vector<Command>& commands) {
    static const std::vector<Command> tie = {
        {0, "Plovik Tie Notes", "Ties notes of identical pitch in the region.", "Tie"},
        {1, "Plovik Untie Notes", "Unties the notes in the region.", "Untie"},
    };
    return SameCommands(commands, tie) ? &TieOracle() : nullptr;
}

std::vector<Command> Enumerate(PluginModule& module) {
    std::vector<Command> commands;
    for (uint32_t index = 0; index < kMaxCommands; ++index) {
        uint8_t record[256] = {};
        if (module.enumerate(0, index, record) == 0) break;
        commands.push_back({index, Field(record, 0), Field(record, 64), Field(record, 128)});
    }
    return commands;
}

bool ExpectCommands(Context& context, PluginModule& module) {
    return context.Expect(SameCommands(Enumerate(module), context.Commands()),
                          "FinaleExtensionEnumerate listed other commands than at first");
}

std::string CommandName(const Context& context, uint32_t index) {
    for (const Command& command : context.Commands())
        if (command.index == index)
            return !command.shortName.empty() ? command.shortName : command.menuText;
    return "index " + std::to_string(index);
}

std::vector<uint32_t> CommandIndices(const Context& context) {
    std::vector<uint32_t> indices;
    for (const Command& command : context.Commands()) indices.push_back(command.index);
    return indices;
}

// ---- The runner ----

int RunChecks(const Options& options, std::FILE* out) {
    std::vector<Command> commands;
    {
        Context listing(options.plugin, options.seed);
        FreshHost();
        Session session(listing);
        if (session.Loaded()) {
            session.Start();
            commands = Enumerate(session.Module());
            session.Unload();
        }
        for (const std::string& message : listing.Messages())
            std::fprintf(out, "plovik-validate: %s\n", message.c_str());
        if (listing.Failures()) return 1;
    }
    const Oracle* oracle = options.oracle ? options.oracle : KnownOracle(commands);
    std::fprintf(
        out, "plovik-validate: %s, seed %u, %u commands%s\n", options.plugin.c_str(),
        static_cast<unsigned>(options.seed), static_cast<unsigned>(commands.size()),
        oracle ? (options.oracle ? ", the plug-in's oracle" : ", the Tie plug-in's rules") : "");
    for (const Command& command : commands)
        std::fprintf(out, "  %u  %s\n", static_cast<unsigned>(command.index),
                     command.menuText.c_str());
    int failed = 0, passed = 0;
    for (const Check& check : Checks()) {
        if ((!options.only.empty() && !options.only.count(check.name)) ||
            options.skipped.count(check.name))
            continue;
        Context context(options.plugin, options.seed, commands, oracle);
        const auto start = std::chrono::steady_clock::now();
        check.run(context);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const bool ok = context.Failures() == 0 && context.Cases() > 0;
        std::fprintf(out, "%s  %-16s %6d cases %8.2f s  %s\n", ok ? "PASS" : "FAIL", check.name,
                     context.Cases(), seconds, check.what);
        for (const std::string& message : context.Messages())
            std::fprintf(out, "      %s\n", message.c_str());
        if (context.Failures() > static_cast<int>(context.Messages().size()))
            std::fprintf(out, "      ... %d failures in all\n", context.Failures());
        if (context.Cases() == 0) std::fprintf(out, "      no case ran\n");
        std::fflush(out);
        (ok ? passed : failed) += 1;
    }
    std::fprintf(out, "%d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}

}  // namespace plovikvalidate
