#include "ScoreBuilder.h"

#include <cstring>
#include <stdexcept>

#include "Notation.h"

namespace plovikhost {

namespace {
constexpr uint32_t kMeasureTag = 0x534F4D53;
constexpr size_t kMeasureRecordSize = 26;
}  // namespace

ScoreBuilder& ScoreBuilder::Staves(std::initializer_list<int16_t> instruments) {
    for (int16_t instrument : instruments) {
        if (instrument <= 0 || doc_.HasStaff(instrument))
            throw std::invalid_argument("staff " + std::to_string(instrument) +
                                        " is not a new instrument number");
        doc_.instrumentLists[0].push_back(instrument);
    }
    return *this;
}

ScoreBuilder& ScoreBuilder::Measures(int count, int16_t beats, int16_t beatDuration, int16_t key) {
    if (count < 0 || doc_.measures.size() + static_cast<size_t>(count) > INT16_MAX)
        throw std::invalid_argument("too many measures");
    Pitch probe;
    if (!NoteToPitch(0, 0, key, probe))
        throw std::invalid_argument("key value " + std::to_string(key) + " is not supported");
    for (int i = 0; i < count; ++i) {
        doc_.measures.push_back({beats, beatDuration, key});
        // The measure's record says the same: its key at 2, its time signature at 4 and 6.
        RecordStore::Bytes record(kMeasureRecordSize, 0);
        std::memcpy(&record[2], &key, 2);
        std::memcpy(&record[4], &beats, 2);
        std::memcpy(&record[6], &beatDuration, 2);
        doc_.records.Put(RecordId{kMeasureTag, doc_.MeasureCount(), 0, 0}, std::move(record));
    }
    return *this;
}

ScoreBuilder& ScoreBuilder::Music(int16_t staff, int16_t measure, const std::string& notation,
                                  int16_t layer) {
    if (!doc_.HasStaff(staff))
        throw std::invalid_argument("staff " + std::to_string(staff) + " is not in the score");
    const MeasureSpec* spec = doc_.FindMeasure(measure);
    if (!spec)
        throw std::invalid_argument("measure " + std::to_string(measure) + " is not in the score");
    if (layer < 0 || layer >= kDocumentLayers)
        throw std::invalid_argument("layer " + std::to_string(layer) + " does not exist");
    std::vector<EXENTRY> entries = ParseEntries(notation, spec->key);
    Cell& cell = doc_.CellAt(staff, measure, layer);
    for (EXENTRY& entry : entries) {
        entry.entryNumber = doc_.TakeEntryNumber();
        cell.entries.push_back(entry);
    }
    LayOutPositions(cell.entries);
    return *this;
}

ScoreBuilder& ScoreBuilder::HideLayer(int16_t layer) {
    doc_.hiddenLayers.insert(layer);
    return *this;
}

ScoreBuilder& ScoreBuilder::Select(const EREGION& region) {
    doc_.selection = region;
    return *this;
}

EREGION ScoreBuilder::Region(int16_t startSlot, int16_t endSlot, int16_t startMeasure,
                             int16_t endMeasure, int32_t startPosition, int32_t endPosition) {
    EREGION region{};
    region.startSlot = startSlot;
    region.endSlot = endSlot;
    region.startMeasure = startMeasure;
    region.endMeasure = endMeasure;
    region.startPosition = startPosition;
    region.endPosition = endPosition;
    return region;
}

std::string CellNotation(const Document& doc, int16_t staff, int16_t measure, int16_t layer) {
    const Cell* cell = doc.FindCell(staff, measure, layer);
    const MeasureSpec* spec = doc.FindMeasure(measure);
    if (!cell || !spec) return "";
    return FormatEntries(cell->entries, spec->key);
}

}  // namespace plovikhost
