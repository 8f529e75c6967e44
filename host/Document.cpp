#include "Document.h"

#include <algorithm>
#include <cstring>

namespace plovikhost {

int16_t Document::SlotToInstrument(int16_t slot, uint16_t list) const {
    auto it = instrumentLists.find(list);
    if (it == instrumentLists.end() || slot < 1 || static_cast<size_t>(slot) > it->second.size())
        return 0;
    return it->second[static_cast<size_t>(slot - 1)];
}

int16_t Document::InstrumentToSlot(int16_t instrument, uint16_t list) const {
    auto it = instrumentLists.find(list);
    if (it == instrumentLists.end()) return 0;
    const std::vector<int16_t>& slots = it->second;
    if (slotHint.list == list && slotHint.instrument == instrument &&
        slotHint.index < slots.size() && slots[slotHint.index] == instrument)
        return static_cast<int16_t>(slotHint.index + 1);
    for (size_t i = 0; i < slots.size(); ++i) {
        if (slots[i] != instrument) continue;
        slotHint = {list, instrument, i};
        return static_cast<int16_t>(i + 1);
    }
    return 0;
}

int16_t Document::FontNumber(const std::string& name) {
    for (const auto& font : fonts)
        if (font.second == name) return font.first;
    for (int16_t added = 1; added < INT16_MAX; ++added) {
        if (fonts.count(added)) continue;
        fonts[added] = name;
        return added;
    }
    return 0;  // a full table
}

const std::vector<int16_t>& Document::Staves() const {
    static const std::vector<int16_t> none;
    auto it = instrumentLists.find(0);
    return it == instrumentLists.end() ? none : it->second;
}

bool Document::HasStaff(int16_t instrument) const {
    return instrument > 0 && InstrumentToSlot(instrument, 0) > 0;
}

const MeasureSpec* Document::FindMeasure(int16_t measure) const {
    if (measure < 1 || static_cast<size_t>(measure) > measures.size()) return nullptr;
    return &measures[static_cast<size_t>(measure - 1)];
}

const Cell* Document::FindCell(int16_t staff, int16_t measure, int16_t layer) const {
    auto it = cells.find({staff, measure, layer});
    return it == cells.end() ? nullptr : &it->second;
}

Cell& Document::CellAt(int16_t staff, int16_t measure, int16_t layer) {
    return cells[{staff, measure, layer}];
}

bool Document::HasEntry(uint32_t entryNumber) const {
    if (entryNumber == 0) return false;
    for (const auto& stored : cells)
        for (const EXENTRY& entry : stored.second.entries)
            if (entry.entryNumber == entryNumber) return true;
    return false;
}

EREGION Document::WholeRegion() const {
    EREGION region{};
    if (measures.empty() || Staves().empty()) return region;
    region.startSlot = 1;
    region.startMeasure = 1;
    region.startPosition = 0;
    region.endSlot = static_cast<int16_t>(Staves().size());
    region.endMeasure = MeasureCount();
    region.endPosition = EREGION_END_OF_MEASURE;
    return region;
}

std::vector<TGFTUPLETITEM> Document::TupletItemsOf(const std::vector<EXENTRY>& entries) const {
    std::vector<TGFTUPLETITEM> items;
    const size_t n = std::min<size_t>(entries.size(), INT16_MAX);
    for (size_t i = 0; i < n; ++i) {
        const int32_t entry = static_cast<int32_t>(entries[i].entryNumber);
        if (entry == 0) continue;
        for (int32_t k = 0; k <= INT16_MAX && items.size() < INT16_MAX; ++k) {
            const RecordStore::Bytes* bytes = records.Find(RecordId{TAG_TUPLET, entry, k, 0});
            if (!bytes) break;
            TGFTUPLETITEM item{};
            item.entryIndex = static_cast<int16_t>(i);
            item.incidence = static_cast<int16_t>(k);
            std::memcpy(item.definition, bytes->data(),
                        std::min(bytes->size(), sizeof item.definition));
            items.push_back(item);
        }
    }
    return items;
}

void Document::PutTupletRecords(const std::vector<EXENTRY>& entries,
                                const std::vector<TGFTUPLETITEM>& items) {
    for (const TGFTUPLETITEM& item : items) {
        if (item.entryIndex < 0 || static_cast<size_t>(item.entryIndex) >= entries.size()) continue;
        const int32_t entry = static_cast<int32_t>(entries[item.entryIndex].entryNumber);
        if (entry == 0 || item.incidence < 0) continue;
        records.Put(RecordId{TAG_TUPLET, entry, item.incidence, 0},
                    RecordStore::Bytes(item.definition, item.definition + sizeof item.definition));
    }
}

void Document::EraseTupletRecords(uint32_t entryNumber) {
    const RecordId first{TAG_TUPLET, static_cast<int32_t>(entryNumber), 0, 0};
    while (records.Erase(first)) {
    }
}

void LayOutPositions(std::vector<EXENTRY>& entries) {
    int32_t position = 0;
    for (EXENTRY& entry : entries) {
        entry.position = position;
        if (entry.duration > 0) position += entry.duration;
    }
}

}  // namespace plovikhost
