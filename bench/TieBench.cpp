// The Tie command on large documents of the substitute host, built directly (no notation parser),
// against a hand-written loop over the same binding functions: the baseline a plug-in author
// would write without the framework. Two shapes, each at 64k, 256k and 1M entries:
//  - shape:0, many staves with short layers: 64 staves × 125 / 500 / 2,000 measures;
//  - shape:1, few staves with long layers: 8 staves × 1,000 / 4,000 / 16,000 measures;
// eight eighths a measure in layer 1 (the host's other three layers are empty): chords of two
// notes and single notes, each entry repeated once, so that half the notes tie.
//
// Heap allocations are counted by replacing the global allocation functions. The host's own
// are told apart by the binding's look-up filter: every service the binding finds is handed
// out as a wrapper that marks the time spent inside the host, and an allocation made while
// inside is the host's. `allocs_per_entry` is what the caller (the framework, or the loop)
// allocated beyond the host, `host_allocs_per_entry` the host's. Tie run again on a tied
// document does the same work, host calls included, so the document is built once per run.
//
// After the runs a table compares each shape and size: framework and loop times (CPU), their
// ratio, entries per second and allocations per entry.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "CountedAllocation.h"
#include "FXBinding.h"
#include "PlovikTie.h"
#include "ScoreBuilder.h"
#include "Services.h"
#include "SubstituteHost.h"

namespace {

size_t allocations = 0;      // every allocation
size_t hostAllocations = 0;  // those made inside a host service
int hostDepth = 0;

}  // namespace

void* BenchAllocate(size_t size) {
    ++allocations;
    if (hostDepth > 0) ++hostAllocations;
    return std::malloc(size ? size : 1);
}

// GCC sees an inlined operator new (malloc) meet this free and takes them for a mismatch.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void BenchFree(void* p) {
    std::free(p);
}
#pragma GCC diagnostic pop

namespace {

namespace svc = plovikhost::svc;

// A host service called through a wrapper that marks the time inside it.
template <auto Fn>
struct InHost;
template <typename R, typename... A, R(FX_STDCALL* Fn)(A...)>
struct InHost<Fn> {
    static R FX_STDCALL Call(A... args) {
        ++hostDepth;
        struct Leave {
            ~Leave() { --hostDepth; }
        } leave;
        return Fn(args...);
    }
};

// clang-format off
#define WRAPPED(name, function) \
    {#name, reinterpret_cast<FARPROC>(static_cast<FX_HOST_FN(name)>(&InHost<&function>::Call))}
// clang-format on

const std::map<std::string, FARPROC>& Wrappers() {
    static const std::map<std::string, FARPROC> wrappers = {
        WRAPPED(FX_GetMaxLayers, svc::GetMaxLayers),
        WRAPPED(FX_AlertMessage, svc::AlertMessage),
        WRAPPED(FX_LoadEData, svc::LoadEData),
        WRAPPED(FX_SaveEData, svc::SaveEData),
        WRAPPED(FX_CreateEData, svc::CreateEData),
        WRAPPED(FX_DeleteEData, svc::DeleteEData),
        WRAPPED(FX_PreviousEData, svc::PreviousEData),
        WRAPPED(FX_NextEData, svc::NextEData),
        WRAPPED(FX_SlotToInst, svc::SlotToInst),
        WRAPPED(FX_InstToSlot, svc::InstToSlot),
        WRAPPED(FX_SetCurrentEnigmaDocument, svc::SetCurrentEnigmaDocument),
        WRAPPED(FX_GetCurrentEnigmaDocument, svc::GetCurrentEnigmaDocument),
        WRAPPED(FX_GetNextEnigmaDocument, svc::GetNextEnigmaDocument),
        WRAPPED(FX_StartFinaleEdit, svc::StartFinaleEdit),
        WRAPPED(FX_EndFinaleEdit, svc::EndFinaleEdit),
        WRAPPED(FX_CancelFinaleEdit, svc::CancelFinaleEdit),
        WRAPPED(FX_GetDocumentPath, svc::GetDocumentPath),
        WRAPPED(FX_GetCurrentPartID, svc::GetCurrentPartID),
        WRAPPED(FX_SetCurrentPartID, svc::SetCurrentPartID),
        WRAPPED(FX_GetNextPartID, svc::GetNextPartID),
        WRAPPED(FX_GetPartName, svc::GetPartName),
        WRAPPED(FX_GetCurrentWindowInfo, svc::GetCurrentWindowInfo),
        WRAPPED(FX_ScrollTo, svc::ScrollTo),
        WRAPPED(FX_ExecuteMenuItem, svc::ExecuteMenuItem),
        WRAPPED(FX_RedrawMusic, svc::RedrawMusic),
        WRAPPED(FX_AnalyzeChord, svc::AnalyzeChord),
        WRAPPED(FX_GetDlgCntl, svc::GetDlgCntl),
        WRAPPED(FX_ShowHideDlgItem, svc::ShowHideDlgItem),
        WRAPPED(FX_FontNumToName, svc::FontNumToName),
        WRAPPED(FX_FontNameToNum, svc::FontNameToNum),
        WRAPPED(FX_GetShowLayer, svc::GetShowLayer),
        WRAPPED(FX_LoadTGF, svc::LoadTGF),
        WRAPPED(FX_SaveTGF, svc::SaveTGF),
        WRAPPED(FX_FreeTGF, svc::FreeTGF),
        WRAPPED(FX_InsertEXENTRY, svc::InsertEXENTRY),
        WRAPPED(FX_DeleteEXENTRY, svc::DeleteEXENTRY),
        WRAPPED(FX_GetTGFDuration, svc::GetTGFDuration),
        WRAPPED(FX_GetMeasureDuration, svc::GetMeasureDuration),
        WRAPPED(FX_GetCurERegions, svc::GetCurERegions),
        WRAPPED(FX_SetCurERegion, svc::SetCurERegion),
        WRAPPED(FX_CopyCutMusic, svc::CopyCutMusic),
        WRAPPED(FX_InsertMergeMusic, svc::InsertMergeMusic),
        WRAPPED(FX_DisposeFinClipFileToken, svc::DisposeFinClipFileToken),
    };
    return wrappers;
}
#undef WRAPPED

FARPROC WrapService(HINSTANCE, const char* name, FARPROC found) {
    if (!found) return nullptr;
    auto it = Wrappers().find(name);
    if (it != Wrappers().end()) return it->second;
    // A service the host has and the table lacks would count as the caller's.
    std::fprintf(stderr, "bench_tie: no wrapper for %s\n", name);
    std::abort();
}
const FXLookupFilter kWrapServices{nullptr, WrapService};

constexpr uint32_t V = FRAMEWORK_ENIGMA_VERSION;
constexpr int kEntriesPerMeasure = 8;

struct Shape {
    int staves;
    int measures[3];  // at 64k, 256k and 1M entries
};
constexpr Shape kShapes[] = {{64, {125, 500, 2000}}, {8, {1000, 4000, 16000}}};

int Staves(const benchmark::State& state) {
    return kShapes[state.range(0)].staves;
}
int Measures(const benchmark::State& state) {
    return kShapes[state.range(0)].measures[state.range(1)];
}

// An entry of one or two notes (steps above middle C, in C major), numbered as the host does.
EXENTRY Entry(plovikhost::Document& doc, int16_t low, bool chord) {
    EXENTRY entry{};
    entry.entryNumber = doc.TakeEntryNumber();
    entry.duration = 512;
    entry.flags = ENTRY_FLAG_NOTE;
    entry.noteCount = chord ? 2 : 1;
    for (int16_t k = 0; k < entry.noteCount; ++k) {
        NOTERECORD& note = entry.notes[k];
        note.displacement = static_cast<int16_t>(low + 2 * k);
        note.noteID = static_cast<int16_t>(k + 1);
        note.flags = NOTE_FLAG_CREATED | (static_cast<uint32_t>(note.noteID) << 16);
    }
    return entry;
}

// The document: staves 1..n, measures of 4/4, and in layer 1 of each cell four pairs of
// identical entries (a chord, a note, a chord, a note), each pair a third above the one before.
// The first of each pair ties to the second; nothing ties across a barline.
void BuildDocument(int staves, int measures) {
    plovikhost::Host& host = plovikhost::Host::Get();
    host.Reset();
    host.Install("FINALE.EXE");
    _ResetFinaleBinding();
    _SetFinaleLookupFilter(&kWrapServices);
    plovikhost::Document& doc = host.CurrentDocument();
    for (int s = 1; s <= staves; ++s) doc.instrumentLists[0].push_back(static_cast<int16_t>(s));
    plovikhost::ScoreBuilder(doc).Measures(measures);
    for (int s = 1; s <= staves; ++s) {
        for (int m = 1; m <= measures; ++m) {
            const int16_t base = static_cast<int16_t>((m + s) % 5 - 7);
            std::vector<EXENTRY> entries;
            entries.reserve(kEntriesPerMeasure);
            for (int pair = 0; pair < kEntriesPerMeasure / 2; ++pair) {
                const int16_t low = static_cast<int16_t>(base + 3 * pair);
                for (int twice = 0; twice < 2; ++twice)
                    entries.push_back(Entry(doc, low, pair % 2 == 0));
            }
            plovikhost::LayOutPositions(entries);
            doc.cells[{static_cast<int16_t>(s), static_cast<int16_t>(m), 0}].entries =
                std::move(entries);
        }
    }
}

size_t TiedNotes() {
    size_t tied = 0;
    for (const auto& [key, cell] : plovikhost::Host::Get().CurrentDocument().cells)
        for (const EXENTRY& entry : cell.entries)
            for (int k = 0; k < EntryNoteCount(&entry); ++k)
                if (entry.notes[k].flags & NOTE_FLAG_TIE) ++tied;
    return tied;
}

void TieThroughFramework() {
    EREGION region = plovikhost::Host::Get().CurrentDocument().WholeRegion();
    FinaleExtensionInvoke(0, 0, &region, 0);
}

// Ties each note of an entry to the same pitch in the next entry of the layer, and marks both.
void TieEntries(EXENTRY& entry, EXENTRY& next) {
    if (!(entry.flags & ENTRY_FLAG_NOTE) || !(next.flags & ENTRY_FLAG_NOTE)) return;
    const int n = EntryNoteCount(&entry), m = EntryNoteCount(&next);
    for (int i = 0; i < n; ++i) {
        NOTERECORD& note = entry.notes[i];
        for (int j = 0; j < m; ++j) {
            if (next.notes[j].displacement != note.displacement ||
                next.notes[j].raiseLower != note.raiseLower)
                continue;
            note.flags |= NOTE_FLAG_TIE;
            entry.flags2 |= ENTRY_FLAG2_TIE_CHANGED;
            next.flags2 |= ENTRY_FLAG2_TIE_CHANGED;
            break;
        }
    }
}

void SaveAndFree(EXTGF2005a* frame) {
    if (!frame) return;
    FX_SaveTGF(frame, V);
    FX_FreeTGF(frame, V);
}

// What a plug-in author writes without the framework: every layer of every staff, measure by
// measure, two frames held at a time so that the last entry of a measure meets the first of the
// next. The document is in one key, so pitches compare as stored.
void TieByHand() {
    const plovikhost::Document& doc = plovikhost::Host::Get().CurrentDocument();
    const int16_t staves = static_cast<int16_t>(doc.Staves().size());
    const int16_t measures = doc.MeasureCount();
    const int16_t layers = static_cast<int16_t>(FX_GetMaxLayers(V));
    for (int16_t slot = 1; slot <= staves; ++slot) {
        for (int16_t layer = 0; layer < layers; ++layer) {
            EXTGF2005a* previous = nullptr;
            for (int16_t measure = 1; measure <= measures; ++measure) {
                EXTGF2005a* frame = FX_LoadTGF(0, slot, measure, layer, 1, V);
                if (!frame) continue;
                const int count = FrameEntryCount(frame);
                if (previous && FrameEntryCount(previous) > 0 && count > 0)
                    TieEntries(previous->entries[FrameEntryCount(previous) - 1], frame->entries[0]);
                SaveAndFree(previous);
                for (int j = 0; j + 1 < count; ++j)
                    TieEntries(frame->entries[j], frame->entries[j + 1]);
                previous = frame;
            }
            SaveAndFree(previous);
        }
    }
}

// The same loop with the host calls in the framework's order: every frame of a layer loaded,
// then tied, then every frame saved, then every frame freed. What it costs beyond the loop above
// is the host's price for holding a whole layer at once, which the framework's design asks for.
void TieByHandWholeLayers() {
    const plovikhost::Document& doc = plovikhost::Host::Get().CurrentDocument();
    const int16_t staves = static_cast<int16_t>(doc.Staves().size());
    const int16_t measures = doc.MeasureCount();
    const int16_t layers = static_cast<int16_t>(FX_GetMaxLayers(V));
    std::vector<EXTGF2005a*> frames;
    for (int16_t slot = 1; slot <= staves; ++slot) {
        for (int16_t layer = 0; layer < layers; ++layer) {
            frames.clear();
            for (int16_t measure = 1; measure <= measures; ++measure)
                frames.push_back(FX_LoadTGF(0, slot, measure, layer, 1, V));
            EXTGF2005a* previous = nullptr;
            for (EXTGF2005a* frame : frames) {
                const int count = FrameEntryCount(frame);
                if (previous && FrameEntryCount(previous) > 0 && count > 0)
                    TieEntries(previous->entries[FrameEntryCount(previous) - 1], frame->entries[0]);
                for (int j = 0; j + 1 < count; ++j)
                    TieEntries(frame->entries[j], frame->entries[j + 1]);
                previous = frame;
            }
            for (EXTGF2005a* frame : frames) FX_SaveTGF(frame, V);
            for (EXTGF2005a* frame : frames) FX_FreeTGF(frame, V);
        }
    }
}

void BM_Tie(benchmark::State& state, void (*tie)(), const char* path) {
    BuildDocument(Staves(state), Measures(state));
    const double entries = double{1} * Staves(state) * Measures(state) * kEntriesPerMeasure;
    size_t caller = 0, host = 0;
    plovikhost::Host& h = plovikhost::Host::Get();
    h.ClearCalls();
    for (auto _ : state) {
        const size_t all = allocations, inHost = hostAllocations;
        tie();
        host += hostAllocations - inHost;
        caller += (allocations - all) - (hostAllocations - inHost);
    }
    double calls = 0;
    const bool listCalls = std::getenv("BENCH_TIE_CALLS") != nullptr;
    for (const plovikhost::ServiceExport& service : plovikhost::ServiceTable()) {
        calls += h.Count(service.name);
        if (listCalls && h.Count(service.name) > 0)
            std::fprintf(stderr, "%s, shape %d, size %d: %s %.0f a run\n", path,
                         static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                         service.name,
                         h.Count(service.name) / static_cast<double>(state.iterations()));
    }
    if (!h.Problems().empty() || h.Frames().Outstanding() != 0)
        state.SkipWithError("the host saw a problem, or frames were left out");
    const double runs = static_cast<double>(state.iterations());
    state.SetItemsProcessed(static_cast<int64_t>(entries) * state.iterations());
    state.counters["shape"] = static_cast<double>(state.range(0));
    state.counters["entries"] = entries;
    state.counters["allocs_per_entry"] = static_cast<double>(caller) / runs / entries;
    state.counters["host_allocs_per_entry"] = static_cast<double>(host) / runs / entries;
    state.counters["host_calls_per_entry"] = calls / runs / entries;
    state.counters["tied_notes"] = static_cast<double>(TiedNotes());
    _SetFinaleLookupFilter(nullptr);
    _ResetFinaleBinding();
    h.Reset();
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"shape", "size"});
    for (int shape = 0; shape < 2; ++shape)
        for (int size = 0; size < 3; ++size) b->Args({shape, size});
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(BM_Tie, framework, TieThroughFramework, "framework")->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Tie, loop, TieByHand, "loop")->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Tie, whole_layers, TieByHandWholeLayers, "whole layers")->Apply(Sizes);

// The console report, then a table of the paths side by side (with repetitions, their medians).
class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type != Run::RT_Iteration && !median) continue;
            const std::string name = run.run_name.function_name;
            Row& row = rows_[{Counter(run, "shape"), Counter(run, "entries")}];
            Side& side = name == "BM_Tie/framework" ? row.framework
                         : name == "BM_Tie/loop"    ? row.loop
                                                    : row.wholeLayers;
            if (side.median && !median) continue;
            side.median = median;
            side.ms = run.GetAdjustedCPUTime();  // in the benchmark's unit, milliseconds
            side.allocs = Counter(run, "allocs_per_entry");
            side.tied = Counter(run, "tied_notes");
            row.entries = Counter(run, "entries");
            row.hostAllocs = Counter(run, "host_allocs_per_entry");
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-20s %10s %8s %7s %12s %12s %9s %9s %9s %12s\n", "shape, entries",
                    "framework", "loop", "ratio", "fw entry/s", "loop entry/s", "fw alloc",
                    "loop alloc", "host alloc", "whole layers");
        for (const auto& [key, row] : rows_) {
            const double fw = row.framework.ms, loop = row.loop.ms;
            const std::string name = std::string(key.first == 0 ? "short layers" : "long layers") +
                                     ", " + std::to_string(static_cast<int>(key.second / 1000)) +
                                     "k";
            // Every path that ran must leave as many tied notes as the others.
            double tied = -1;
            bool agree = true;
            for (const Side* side : {&row.framework, &row.loop, &row.wholeLayers}) {
                if (side->tied < 0) continue;
                agree = agree && (tied < 0 || side->tied == tied);
                tied = side->tied;
            }
            std::printf("%-20s %8.0fms %6.0fms %6.2fx %12.3g %12.3g %9.2f %9.2f %9.2f %10.0fms%s\n",
                        name.c_str(), fw, loop, loop > 0 ? fw / loop : 0.0,
                        fw > 0 ? row.entries / fw * 1e3 : 0.0,
                        loop > 0 ? row.entries / loop * 1e3 : 0.0, row.framework.allocs,
                        row.loop.allocs, row.hostAllocs, row.wholeLayers.ms,
                        agree ? "" : "  (tied notes differ!)");
        }
        std::printf(
            "CPU time of one Tie; ratio: framework / loop; allocations per entry, the caller's\n"
            "beyond the host's own, and the host's; whole layers: the loop in the framework's\n"
            "order of host calls (every frame of a layer loaded before any is saved).\n");
    }

  private:
    struct Side {
        double ms = 0, allocs = 0, tied = -1;
        bool median = false;
    };
    struct Row {
        Side framework, loop, wholeLayers;
        double entries = 0, hostAllocs = 0;
    };
    static double Counter(const Run& run, const char* name) {
        auto it = run.counters.find(name);
        return it == run.counters.end() ? 0.0 : static_cast<double>(it->second);
    }
    std::map<std::pair<double, double>, Row> rows_;  // by shape and entries
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
