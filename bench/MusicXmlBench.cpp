// Large scores read, tied and written through FinaleExtensionInvoke, and checked, each step
// timed on its own:
//  - 200 measures of 14 parts (16 staves);
//  - 400 measures of 16 parts (18 staves, about 7 MB), the size of a long orchestral score.
// Single-staff parts and, last, two pianos of two staves with two voices in the right hand;
// repeated notes, chords and a key change every 50 measures. Besides time, each benchmark gives
// bytes per second and the peak of live heap bytes it reached (counted by replacing the global
// allocation functions, pugixml's included), also as a multiple of the file's size.
//
//   bench_musicxml --score FILE   writes the 400-measure score to FILE and exits, so that the
//                                 whole command can be measured: plovik-host tie FILE -o OUT
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <pugixml.hpp>
#include <sstream>
#include <string>

#include "CountedAllocation.h"
#include "MusicXmlScore.h"
#include "PlovikTie.h"
#include "SubstituteHost.h"
#include "TieCheck.h"

namespace {

size_t liveBytes = 0;
size_t peakBytes = 0;

}  // namespace

void* BenchAllocate(size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (p) {
        liveBytes += malloc_usable_size(p);
        if (liveBytes > peakBytes) peakBytes = liveBytes;
    }
    return p;
}

void BenchFree(void* p) {
    if (!p) return;
    liveBytes -= malloc_usable_size(p);
    std::free(p);
}

namespace {

struct Shape {
    int parts;  // the last two are pianos
    int measures;
};
constexpr Shape kShapes[] = {{14, 200}, {16, 400}};

void Note(std::ostringstream& out, const char* step, int octave, int duration, int voice, int staff,
          bool chord) {
    out << "      <note>\n";
    if (chord) out << "        <chord/>\n";
    out << "        <pitch>\n          <step>" << step << "</step>\n          <octave>" << octave
        << "</octave>\n        </pitch>\n        <duration>" << duration
        << "</duration>\n        <voice>" << voice
        << "</voice>\n        <type>quarter</type>\n        <stem>up</stem>\n";
    if (staff) out << "        <staff>" << staff << "</staff>\n";
    out << "      </note>\n";
}

std::string LargeScore(const Shape& shape) {
    static const char* steps[] = {"C", "D", "E", "F", "G", "A", "B"};
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<score-partwise version=\"4.0\">\n"
        << "  <part-list>\n";
    for (int p = 1; p <= shape.parts; ++p)
        out << "    <score-part id=\"P" << p << "\">\n      <part-name>Part " << p
            << "</part-name>\n    </score-part>\n";
    out << "  </part-list>\n";
    for (int p = 1; p <= shape.parts; ++p) {
        const bool piano = p > shape.parts - 2;
        out << "  <part id=\"P" << p << "\">\n";
        for (int m = 1; m <= shape.measures; ++m) {
            out << "    <measure number=\"" << m << "\">\n";
            if (m == 1 || m % 50 == 1) {
                out << "      <attributes>";
                if (m == 1) out << "<divisions>2</divisions>";
                out << "<key><fifths>" << (m / 50) % 3 << "</fifths></key>";
                if (m == 1)
                    out << "<time><beats>4</beats><beat-type>4</beat-type></time>"
                        << (piano ? "<staves>2</staves>" : "");
                out << "</attributes>\n";
            }
            // Pairs of repeated notes, and a note that carries over the barline.
            const char* a = steps[(m + p) % 7];
            const char* b = steps[(m + p + 2) % 7];
            const int staff = piano ? 1 : 0;
            Note(out, a, 4, 2, 1, staff, false);
            Note(out, a, 4, 2, 1, staff, false);
            Note(out, b, 4, 2, 1, staff, false);
            if (piano) Note(out, a, 5, 2, 1, staff, true);
            Note(out, b, 4, 2, 1, staff, false);
            if (piano) {
                out << "      <backup>\n        <duration>8</duration>\n      </backup>\n";
                Note(out, b, 3, 4, 2, 1, false);
                Note(out, b, 3, 4, 2, 1, false);
                out << "      <backup>\n        <duration>8</duration>\n      </backup>\n";
                Note(out, a, 2, 8, 5, 2, false);
                Note(out, b, 2, 8, 5, 2, true);
            }
            out << "    </measure>\n";
        }
        out << "  </part>\n";
    }
    out << "</score-partwise>\n";
    return out.str();
}

const std::string& Score(int64_t shape) {
    static const std::string scores[] = {LargeScore(kShapes[0]), LargeScore(kShapes[1])};
    return scores[shape];
}

void Read(plovikxml::MusicXmlScore& score, const std::string& bytes) {
    plovikhost::Host& host = plovikhost::Host::Get();
    host.Reset();
    host.Install("FINALE.EXE");
    score.Load(bytes);
    score.Import(host.CurrentDocument());
}

void Tie() {
    EREGION region = plovikhost::Host::Get().CurrentDocument().WholeRegion();
    FinaleExtensionInvoke(0, 0, &region, 0);
}

// The peak of live heap bytes over the timed steps of each iteration, above what was live
// when the step began.
class HeapPeak {
  public:
    void Start() {
        base_ = liveBytes;
        peakBytes = liveBytes;
    }
    void Stop() {
        if (peakBytes - base_ > most_) most_ = peakBytes - base_;
    }
    void Report(benchmark::State& state, const std::string& bytes) const {
        state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
        state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
        state.counters["peak_MB"] = static_cast<double>(most_) / 1e6;
        state.counters["peak_x_file"] = static_cast<double>(most_) / bytes.size();
    }

  private:
    size_t base_ = 0;
    size_t most_ = 0;
};

void BM_Read(benchmark::State& state) {
    const std::string& bytes = Score(state.range(0));
    HeapPeak heap;
    for (auto _ : state) {
        heap.Start();
        auto score = std::make_unique<plovikxml::MusicXmlScore>();
        Read(*score, bytes);
        heap.Stop();
        state.PauseTiming();
        score.reset();
        state.ResumeTiming();
    }
    heap.Report(state, bytes);
}

void BM_Tie(benchmark::State& state) {
    const std::string& bytes = Score(state.range(0));
    HeapPeak heap;
    for (auto _ : state) {
        state.PauseTiming();
        plovikxml::MusicXmlScore score;
        Read(score, bytes);
        state.ResumeTiming();
        heap.Start();
        Tie();
        heap.Stop();
    }
    heap.Report(state, bytes);
}

void BM_Write(benchmark::State& state) {
    const std::string& bytes = Score(state.range(0));
    HeapPeak heap;
    size_t ties = 0;
    for (auto _ : state) {
        state.PauseTiming();
        plovikxml::MusicXmlScore score;
        Read(score, bytes);
        Tie();
        state.ResumeTiming();
        heap.Start();
        const auto changes = score.Changes(plovikhost::Host::Get().CurrentDocument());
        benchmark::DoNotOptimize(score.Write(changes).size());
        heap.Stop();
        ties = changes.size();
    }
    heap.Report(state, bytes);
    state.counters["ties"] = static_cast<double>(ties);
}

// The tie check of the whole score, as plovik-host check runs it.
void BM_Check(benchmark::State& state) {
    const std::string& bytes = Score(state.range(0));
    HeapPeak heap;
    plovikxml::MusicXmlScore score;
    Read(score, bytes);
    size_t findings = 0;
    for (auto _ : state) {
        heap.Start();
        findings = plovikxml::TieCheck(score.Imported()).Findings(nullptr, false).size();
        heap.Stop();
    }
    heap.Report(state, bytes);
    state.counters["findings"] = static_cast<double>(findings);
}

void BM_ReadTieWrite(benchmark::State& state) {
    const std::string& bytes = Score(state.range(0));
    HeapPeak heap;
    for (auto _ : state) {
        heap.Start();
        {
            plovikxml::MusicXmlScore score;
            Read(score, bytes);
            Tie();
            benchmark::DoNotOptimize(
                score.Write(score.Changes(plovikhost::Host::Get().CurrentDocument())).size());
        }
        heap.Stop();
    }
    heap.Report(state, bytes);
    plovikxml::MusicXmlScore score;
    Read(score, bytes);
    size_t notes = 0;
    for (const auto& entry : score.Imported().entries) notes += entry.notes.size();
    state.counters["notes"] = static_cast<double>(notes);
}

void Shapes(benchmark::internal::Benchmark* b) {
    b->ArgName("score")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Read)->Apply(Shapes);
BENCHMARK(BM_Tie)->Apply(Shapes);
BENCHMARK(BM_Write)->Apply(Shapes);
BENCHMARK(BM_Check)->Apply(Shapes);
BENCHMARK(BM_ReadTieWrite)->Apply(Shapes);

}  // namespace

int main(int argc, char** argv) {
    pugi::set_memory_management_functions(BenchAllocate, BenchFree);
    if (argc == 3 && std::strcmp(argv[1], "--score") == 0) {
        const std::string& bytes = Score(1);
        std::FILE* file = std::fopen(argv[2], "wb");
        bool ok = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        if (file) ok = std::fclose(file) == 0 && ok;
        if (!ok) std::fprintf(stderr, "bench_musicxml: cannot write %s\n", argv[2]);
        return ok ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
