// A large score read, tied and written: 200 measures of 16 staves (twelve single-staff parts
// and two pianos of two staves, two voices in each right hand), with repeated notes, chords
// and a key change every 50 measures. The command runs through FinaleExtensionInvoke.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "MusicXmlScore.h"
#include "PlovikTie.h"
#include "SubstituteHost.h"

namespace {

constexpr int kMeasures = 200;

void Note(std::ostringstream& out, const char* step, int octave, int duration, int voice, int staff,
          bool chord) {
    out << "      <note>\n";
    if (chord) out << "        <chord/>\n";
    out << "        <pitch>\n          <step>" << step << "</step>\n          <octave>" << octave
        << "</octave>\n        </pitch>\n        <duration>" << duration
        << "</duration>\n        <voice>" << voice << "</voice>\n        <type>quarter</type>\n";
    if (staff) out << "        <staff>" << staff << "</staff>\n";
    out << "      </note>\n";
}

std::string LargeScore() {
    static const char* steps[] = {"C", "D", "E", "F", "G", "A", "B"};
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<score-partwise version=\"4.0\">\n"
        << "  <part-list>\n";
    const int parts = 14;
    for (int p = 1; p <= parts; ++p)
        out << "    <score-part id=\"P" << p << "\">\n      <part-name>Part " << p
            << "</part-name>\n    </score-part>\n";
    out << "  </part-list>\n";
    for (int p = 1; p <= parts; ++p) {
        const bool piano = p > 12;
        out << "  <part id=\"P" << p << "\">\n";
        for (int m = 1; m <= kMeasures; ++m) {
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

const std::string& Score() {
    static const std::string score = LargeScore();
    return score;
}

void Read(plovikxml::MusicXmlScore& score) {
    plovikhost::Host& host = plovikhost::Host::Get();
    host.Reset();
    host.Install("FINALE.EXE");
    score.Load(Score());
    score.Import(host.CurrentDocument());
}

void Tie() {
    EREGION region = plovikhost::Host::Get().CurrentDocument().WholeRegion();
    FinaleExtensionInvoke(0, 0, &region, 0);
}

void BM_Read(benchmark::State& state) {
    for (auto _ : state) {
        plovikxml::MusicXmlScore score;
        Read(score);
        benchmark::DoNotOptimize(score.Imported().entries.data());
    }
    state.counters["bytes"] = static_cast<double>(Score().size());
}

void BM_Tie(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        plovikxml::MusicXmlScore score;
        Read(score);
        state.ResumeTiming();
        Tie();
    }
}

void BM_Write(benchmark::State& state) {
    size_t ties = 0;
    for (auto _ : state) {
        state.PauseTiming();
        plovikxml::MusicXmlScore score;
        Read(score);
        Tie();
        state.ResumeTiming();
        const auto changes = score.Changes(plovikhost::Host::Get().CurrentDocument());
        benchmark::DoNotOptimize(score.Write(changes).size());
        ties = changes.size();
    }
    state.counters["ties"] = static_cast<double>(ties);
}

void BM_ReadTieWrite(benchmark::State& state) {
    for (auto _ : state) {
        plovikxml::MusicXmlScore score;
        Read(score);
        Tie();
        benchmark::DoNotOptimize(
            score.Write(score.Changes(plovikhost::Host::Get().CurrentDocument())).size());
    }
    state.counters["notes"] = 0;
    plovikxml::MusicXmlScore score;
    Read(score);
    size_t notes = 0;
    for (const auto& entry : score.Imported().entries) notes += entry.notes.size();
    state.counters["notes"] = static_cast<double>(notes);
}

BENCHMARK(BM_Read)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tie)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Write)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTieWrite)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
