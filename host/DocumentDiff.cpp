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
    if (n == 0) {
        // A rest is given a record without an ID, which then gets one like any other note.
        entry.flags |= ENTRY_FLAG_REST_RECORD;
        entry.noteCount = 1;
        for (int k = 0; k < EXENTRY_MAX_NOTES; ++k) notes[k] = NOTERECORD{};
        notes[0].flags = NOTE_FLAG_CREATED;
        CleanEntry(entry);
        return;
    }

    // A note keeps its ID when it has one and no later note holds the same.
    int held[EXENTRY_MAX_NOTES];
    int heldCount = 0;
    auto holds = [&](int id) { return std::find(held, held + heldCount, id) != held + heldCount; };
    bool keeps[EXENTRY_MAX_NOTES] = {};
    for (int k = n - 1; k >= 0; --k) {
        keeps[k] = notes[k].noteID != 0 && !holds(notes[k].noteID);
        if (keeps[k]) held[heldCount++] = notes[k].noteID;
    }
    // The others, in order, count on from the highest ID there was (0 at least), round from the
    // largest ID to 1, each taking the next that no note holds.
    int next = std::max(0, heldCount ? *std::max_element(held, held + heldCount) : 0);
    for (int k = 0; k < n; ++k) {
        if (keeps[k]) continue;
        do next = next == INT16_MAX ? 1 : next + 1;
        while (holds(next));
        held[heldCount++] = next;
        notes[k].noteID = static_cast<int16_t>(next);
    }

    for (int k = 0; k < n; ++k) {
        const uint32_t low = static_cast<uint32_t>((notes[k].noteID % 32 + 32) % 32);
        notes[k].flags = (notes[k].flags & ~NOTE_FLAG_ID_BITS) | low << 16;
    }
    for (int k = n; k < EXENTRY_MAX_NOTES; ++k) notes[k] = NOTERECORD{};
}

}  // namespace plovikhost
