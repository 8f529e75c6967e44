#include "DocumentDiff.h"

#include <algorithm>
#include <cstdio>

namespace plovikhost {

namespace {

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

}  // namespace

std::string Where(const CellKey& key) {
    return "staff " + std::to_string(key.staff) + " measure " + std::to_string(key.measure) +
           " layer " + std::to_string(key.layer);
}

std::string EntryDifference(const EXENTRY& got, const EXENTRY& want) {
    auto field = [](const std::string& name, int64_t a, int64_t b) {
        return name + " " + Hex(static_cast<uint32_t>(a)) + ", expected " +
               Hex(static_cast<uint32_t>(b));
    };
#define PLOVIK_FIELD(f) \
    if (got.f != want.f) return field(#f, got.f, want.f)
    PLOVIK_FIELD(entryNumber);
    PLOVIK_FIELD(duration);
    PLOVIK_FIELD(reserved6);
    PLOVIK_FIELD(flags);
    PLOVIK_FIELD(flags2);
    PLOVIK_FIELD(noteCount);
    PLOVIK_FIELD(position);
    PLOVIK_FIELD(reserved140);
    PLOVIK_FIELD(clef);
    for (int k = 0; k < EXENTRY_MAX_NOTES; ++k) {
        const NOTERECORD& a = got.notes[k];
        const NOTERECORD& b = want.notes[k];
        const std::string note = "note " + std::to_string(k) + " ";
        if (a.displacement != b.displacement)
            return field(note + "displacement", a.displacement, b.displacement);
        if (a.raiseLower != b.raiseLower)
            return field(note + "raise/lower", a.raiseLower, b.raiseLower);
        if (a.noteID != b.noteID) return field(note + "ID", a.noteID, b.noteID);
        if (a.flags != b.flags) return field(note + "flags", a.flags, b.flags);
    }
#undef PLOVIK_FIELD
    return {};
}

std::set<CellKey> CellKeys(const Document& a, const Document& b) {
    std::set<CellKey> keys;
    for (const auto& cell : a.cells) keys.insert(cell.first);
    for (const auto& cell : b.cells) keys.insert(cell.first);
    return keys;
}

std::string CellDifference(const Document& got, const Document& want,
                           const std::function<bool(const CellKey&)>& keep) {
    for (const CellKey& key : CellKeys(got, want)) {
        if (!keep(key)) continue;
        const Cell* a = got.FindCell(key.staff, key.measure, key.layer);
        const Cell* b = want.FindCell(key.staff, key.measure, key.layer);
        if (!a || !b) return Where(key) + (a ? " is there" : " is missing");
        if (a->entries.size() != b->entries.size())
            return Where(key) + ": " + std::to_string(a->entries.size()) + " entries, expected " +
                   std::to_string(b->entries.size());
        for (size_t i = 0; i < a->entries.size(); ++i) {
            const std::string difference = EntryDifference(a->entries[i], b->entries[i]);
            if (!difference.empty())
                return Where(key) + " entry " + std::to_string(i) + ": " + difference;
        }
    }
    return {};
}

void CleanEntry(EXENTRY& entry) {
    const int n = std::clamp<int>(entry.noteCount, 0, EXENTRY_MAX_NOTES);
    NOTERECORD* notes = entry.notes;
    int32_t highest = 0;
    for (int k = 0; k < n; ++k) highest = std::max<int32_t>(highest, notes[k].noteID);
    for (int k = 0; k < n; ++k) {
        bool renumber = notes[k].noteID == 0;
        for (int j = 0; j < n; ++j)
            if (j != k && notes[j].noteID == notes[k].noteID) renumber = true;
        if (!renumber) continue;
        if (highest < INT16_MAX) {
            notes[k].noteID = static_cast<int16_t>(++highest);
            continue;
        }
        int16_t free = 1;  // past the largest ID: the lowest one no note holds
        while (std::any_of(notes, notes + n, [&](const NOTERECORD& x) { return x.noteID == free; }))
            ++free;
        notes[k].noteID = free;
    }
    for (int k = 0; k < n; ++k)
        notes[k].flags = (notes[k].flags & ~NOTE_FLAG_ID_BITS) |
                         (static_cast<uint32_t>(notes[k].noteID & 0x1F) << 16);
    for (int k = n; k < EXENTRY_MAX_NOTES; ++k) notes[k] = NOTERECORD{};
    if (n == 0) {
        entry.flags |= ENTRY_FLAG_REST_RECORD;
        entry.noteCount = 1;
        notes[0].noteID = 1;
        notes[0].flags = NOTE_FLAG_CREATED | (1u << 16);
    }
}

}  // namespace plovikhost
