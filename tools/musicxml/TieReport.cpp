#include "TieReport.h"

#include <algorithm>
#include <unordered_map>

namespace plovikxml {

namespace {

using Entry = ImportedScore::Entry;
using Note = ImportedScore::Note;
using Change = TieWriter::Change;
using NearMiss = TieReport::NearMiss;

const Note* SameLetter(const Entry* entry, const Note& note) {
    if (!entry || entry->kind != Entry::NOTES) return nullptr;
    for (const Note& other : entry->notes)
        if (other.step == note.step && other.octave == note.octave && other.alter != note.alter)
            return &other;
    return nullptr;
}

// Orders report lines as a reader goes through the score: by staff, then in time.
template <typename Item>
void SortByPlace(std::vector<Item>& items) {
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        if (a.entry->slot != b.entry->slot) return a.entry->slot < b.entry->slot;
        return a.entry->at < b.entry->at;
    });
}

std::string Decimal(const Fraction& value) {
    if (value.IsInteger()) return std::to_string(value.Numerator());
    // A fraction whose denominator divides 1000 has at most three decimals.
    if (1000 % value.Denominator() != 0) {
        const int64_t whole = value.Numerator() / value.Denominator();
        const Fraction rest = value - whole;
        return std::to_string(whole) + "+" + rest.ToString();
    }
    const int64_t thousandths = (value * 1000).Round();
    std::string text = std::to_string(thousandths / 1000) + "." +
                       std::to_string(1000 + thousandths % 1000).substr(1);
    while (text.back() == '0') text.pop_back();
    return text;
}

}  // namespace

std::vector<NearMiss> TieReport::NearMisses(const ImportedScore& score, const EREGION& region,
                                            const std::vector<Change>& changes) {
    std::vector<NearMiss> misses;
    std::unordered_map<const Note*, bool> tiedAfter;  // where the changes decide otherwise
    for (const Change& change : changes)
        if (const int effect = TieWriter::Effect(change)) tiedAfter[change.note] = effect > 0;
    for (const Entry& entry : score.entries) {
        if (entry.kind != Entry::NOTES || !ImportedScore::InRegion(entry, region)) continue;
        const Entry* next = score.Next(entry);
        for (const Note& note : entry.notes) {
            const auto changed = tiedAfter.find(&note);
            if (changed != tiedAfter.end() ? changed->second : note.tied) continue;
            if (const Note* other = SameLetter(next, note);
                other && !ImportedScore::OfWrittenPitch(next, note))
                misses.push_back({NearMiss::OTHER_ALTERATION, &entry, &note, next, other});
            if (next && next->kind != Entry::NOTES) {
                const Entry* after = next;
                while (after && after->kind != Entry::NOTES) after = score.Next(*after);
                if (const Note* other = ImportedScore::OfWrittenPitch(after, note))
                    misses.push_back({NearMiss::AFTER_REST, &entry, &note, after, other});
            }
            if (!ImportedScore::OfWrittenPitch(next, note)) {
                for (int16_t layer = 0; layer < plovikhost::kDocumentLayers; ++layer) {
                    if (layer == entry.layer) continue;
                    const Entry* beside = score.EntryAt(entry.slot, layer, entry.at + entry.length);
                    if (const Note* other = ImportedScore::OfWrittenPitch(beside, note))
                        misses.push_back({NearMiss::OTHER_LAYER, &entry, &note, beside, other});
                }
            }
        }
    }
    SortByPlace(misses);
    return misses;
}

std::string TieReport::Beat(const plovikhost::Document& doc, const Entry& entry) {
    const plovikhost::MeasureSpec* spec = doc.FindMeasure(entry.measure);
    const int64_t beatDuration = spec && spec->beatDuration > 0 ? spec->beatDuration : 1024;
    return "beat " + Decimal(Fraction(1) + entry.start * Fraction(1024, beatDuration));
}

std::string TieReport::Text(const ImportedScore& score, const plovikhost::Document& doc,
                            const std::vector<Change>& changes,
                            const std::vector<NearMiss>& nearMisses) {
    auto place = [&](const Entry& entry) {
        return score.staves[static_cast<size_t>(entry.slot - 1)].Label(entry.slot) + ", " +
               score.MeasureLabel(entry.measure) + ", " + Beat(doc, entry) + ", voice " +
               entry.voice;
    };
    auto when = [&](const Entry* entry) {
        return score.MeasureLabel(entry->measure) + ", " + Beat(doc, *entry);
    };

    std::vector<Change> sorted = changes;
    SortByPlace(sorted);
    std::string out;
    for (Change::Kind kind : {Change::ADDED, Change::REMOVED, Change::NOT_WRITTEN}) {
        std::string lines;
        int count = 0;
        for (const Change& change : sorted) {
            if (change.kind != kind) continue;
            ++count;
            lines += "  " + place(*change.entry) + ": " + change.note->Name();
            if (kind == Change::NOT_WRITTEN) {
                lines += "; the plug-in tied it to ";
                lines += change.partner
                             ? change.partner->Name() + " (" + when(change.partnerEntry) + ")"
                             : "the next entry";
                lines += change.partner && change.partner->SameWrittenPitch(*change.note)
                             ? ", which another note or tie of that pitch reaches first"
                             : ", another pitch";
            } else if (change.stopOnly) {
                lines += ", a tie stop with no start";
            } else if (change.partner) {
                lines += " to " + when(change.partnerEntry);
            }
            lines += "\n";
        }
        if (kind == Change::NOT_WRITTEN && count == 0) continue;
        out += std::string(kind == Change::ADDED     ? "Ties added: "
                           : kind == Change::REMOVED ? "Ties removed: "
                                                     : "Ties not written: ") +
               std::to_string(count) + "\n" + lines;
    }
    out += "Near misses: " + std::to_string(nearMisses.size()) + "\n";
    for (const NearMiss& miss : nearMisses) {
        out += "  " + place(*miss.entry) + ": " + miss.note->Name() + "; ";
        const std::string partner = miss.partner->Name();
        switch (miss.kind) {
            case NearMiss::OTHER_ALTERATION:
                out += "the next note is " + partner + ", the same letter with another alteration";
                break;
            case NearMiss::OTHER_LAYER:
                out +=
                    partner + " follows in voice " + miss.partnerEntry->voice + ", another layer";
                break;
            case NearMiss::AFTER_REST:
                out += partner + " follows after a rest (" + when(miss.partnerEntry) + ")";
                break;
        }
        out += "\n";
    }
    if (!score.notices.empty()) {
        out += "Notes: " + std::to_string(score.notices.size()) + "\n";
        for (const ImportedScore::Notice& notice : score.notices)
            out += "  " + score.NoticeLine(notice) + "\n";
    }
    return out;
}

}  // namespace plovikxml
