#include "ImportedScore.h"

#include <algorithm>

#include "Document.h"
#include "Notation.h"
#include "TieReport.h"

namespace plovikxml {

std::string ImportedScore::Staff::Label(int slot) const {
    std::string label = "staff " + std::to_string(slot) + " (" + partName;
    if (stavesInPart > 1) label += ", staff " + std::to_string(staffInPart);
    return label + ")";
}

bool ImportedScore::Note::SameSound(const Note& o) const {
    static const int kSemitones[7] = {0, 2, 4, 5, 7, 9, 11};
    if (rest || o.rest) return false;
    return Fraction(12 * octave + kSemitones[step]) + alter ==
           Fraction(12 * o.octave + kSemitones[o.step]) + o.alter;
}

std::string ImportedScore::Note::Name() const {
    if (rest) return "rest";
    plovikhost::Pitch pitch;
    pitch.step = step;
    pitch.octave = octave;
    if (alter.IsInteger() && alter.Numerator() >= -3 && alter.Numerator() <= 3) {
        pitch.alteration = static_cast<int>(alter.Numerator());
        return plovikhost::PitchName(pitch);
    }
    const std::string value = alter.ToString();
    return plovikhost::PitchName(pitch) + (alter > 0 ? "+" : "") + value;
}

void ImportedScore::Index() {
    layers_.assign(staves.size() * plovikhost::kDocumentLayers, Range{});
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        const size_t layer = static_cast<size_t>(e.slot - 1) * plovikhost::kDocumentLayers +
                             static_cast<size_t>(e.layer);
        if (layers_[layer].end == 0) layers_[layer].begin = i;
        layers_[layer].end = i + 1;
    }
    firstNumber_ = entries.empty() ? 0 : entries.front().number;
}

size_t ImportedScore::IndexOf(const Entry& entry) const {
    return static_cast<size_t>(&entry - entries.data());
}

const ImportedScore::Note* ImportedScore::OfWrittenPitch(
    const Entry* entry, const Note& note, const std::unordered_set<const Note*>* taken) {
    if (!entry || entry->kind != Entry::NOTES) return nullptr;
    for (const Note& other : entry->notes)
        if (other.SameWrittenPitch(note) && !(taken && taken->count(&other))) return &other;
    return nullptr;
}

const ImportedScore::Entry* ImportedScore::FindEntry(uint32_t number) const {
    if (entries.empty() || number < firstNumber_) return nullptr;
    const size_t index = number - firstNumber_;
    return index < entries.size() && entries[index].number == number ? &entries[index] : nullptr;
}

const ImportedScore::Entry* ImportedScore::Next(const Entry& entry) const {
    const size_t next = IndexOf(entry) + 1;
    if (next >= entries.size()) return nullptr;
    const Entry& candidate = entries[next];
    return candidate.slot == entry.slot && candidate.layer == entry.layer ? &candidate : nullptr;
}

const ImportedScore::Entry* ImportedScore::EntryAt(int16_t slot, int16_t layer,
                                                   const Fraction& at) const {
    if (slot < 1 || static_cast<size_t>(slot) > staves.size() || layer < 0 ||
        layer >= plovikhost::kDocumentLayers)
        return nullptr;
    const Range& range = layers_[static_cast<size_t>(slot - 1) * plovikhost::kDocumentLayers +
                                 static_cast<size_t>(layer)];
    auto first = entries.begin() + static_cast<ptrdiff_t>(range.begin);
    auto last = entries.begin() + static_cast<ptrdiff_t>(range.end);
    auto it = std::lower_bound(first, last, at,
                               [](const Entry& e, const Fraction& t) { return e.at < t; });
    return it != last && it->at == at ? &*it : nullptr;
}

std::string ImportedScore::MeasureLabel(int16_t measure) const {
    std::string label = "measure " + std::to_string(measure);
    if (measure >= 1 && static_cast<size_t>(measure) <= measureNumbers.size()) {
        const std::string& number = measureNumbers[static_cast<size_t>(measure) - 1];
        if (!number.empty() && number != std::to_string(measure))
            label += " (numbered " + number + ")";
    }
    return label;
}

}  // namespace plovikxml

namespace plovikxml {

std::string ImportedScore::Place(const plovikhost::Document& doc, const Entry& entry) const {
    return staves[static_cast<size_t>(entry.slot - 1)].Label(entry.slot) + ", " +
           MeasureLabel(entry.measure) + ", " + TieReport::Beat(doc, entry) + ", voice " +
           entry.voice;
}

std::string ImportedScore::NoticeLine(const Notice& notice) const {
    std::string line;
    if (notice.slot >= 1 && static_cast<size_t>(notice.slot) <= staves.size())
        line = staves[static_cast<size_t>(notice.slot - 1)].Label(notice.slot) + ", ";
    return line + MeasureLabel(notice.measure) + ": " + notice.text;
}

bool ImportedScore::InRegion(const Entry& entry, const EREGION& region) {
    if (entry.slot < region.startSlot || entry.slot > region.endSlot) return false;
    if (entry.measure < region.startMeasure || entry.measure > region.endMeasure) return false;
    const int64_t position = (entry.start * 1024).Round();
    if (entry.measure == region.startMeasure && position < region.startPosition) return false;
    if (entry.measure == region.endMeasure && position > region.endPosition) return false;
    return true;
}

}  // namespace plovikxml
