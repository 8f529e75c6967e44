#include "ScoreView.h"

#include "ScoreBuilder.h"

namespace plovikcli {

namespace {

using plovikhost::Document;
using plovikhost::MeasureSpec;

std::string TimeText(const MeasureSpec& spec) {
    if (spec.beatDuration > 0 && 4096 % spec.beatDuration == 0)
        return std::to_string(spec.beats) + "/" + std::to_string(4096 / spec.beatDuration);
    return std::to_string(spec.beats) + " x " + std::to_string(spec.beatDuration) + " units";
}

bool LayerHasMusic(const Document& doc, int16_t staff, int16_t layer) {
    for (int16_t m = 1; m <= doc.MeasureCount(); ++m) {
        const plovikhost::Cell* cell = doc.FindCell(staff, m, layer);
        if (cell && !cell->entries.empty()) return true;
    }
    return false;
}

}  // namespace

std::string ScoreText(const Document& doc) {
    const std::vector<int16_t>& staves = doc.Staves();
    std::string out = std::to_string(staves.size()) + " staves, " +
                      std::to_string(doc.MeasureCount()) + " measures";
    bool sameTime = !doc.measures.empty();
    for (const MeasureSpec& spec : doc.measures)
        sameTime = sameTime && spec.beats == doc.measures[0].beats &&
                   spec.beatDuration == doc.measures[0].beatDuration;
    if (sameTime) out += " of " + TimeText(doc.measures[0]);
    out += "\n";

    for (size_t s = 0; s < staves.size(); ++s) {
        const int16_t staff = staves[s];
        const std::string name =
            "Staff " + std::to_string(staff) + " (slot " + std::to_string(s + 1) + ")";
        bool any = false;
        for (int16_t layer = 0; layer < plovikhost::kDocumentLayers; ++layer) {
            if (!LayerHasMusic(doc, staff, layer)) continue;
            any = true;
            out += name + ", layer " + std::to_string(layer + 1);
            if (doc.hiddenLayers.count(layer)) out += " (hidden)";
            out += "\n";
            for (int16_t m = 1; m <= doc.MeasureCount(); ++m) {
                const std::string music = plovikhost::CellNotation(doc, staff, m, layer);
                out += "  m" + std::to_string(m) + "  " + (music.empty() ? "-" : music) + "\n";
            }
        }
        if (!any) out += name + ": no music\n";
    }
    return out;
}

}  // namespace plovikcli
