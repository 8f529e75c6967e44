// Entry frame cleaning, and the frame services that clean a frame before the host sees it.
#include <algorithm>
#include <cstdint>

#include "FXBinding.h"

bool CanAddNoteRecordToRests = true;

namespace {

// The next ID above the highest; past the largest ID there is, the lowest that no note holds
// (twelve notes leave one free below 13).
int16_t NewNoteID(const NOTERECORD* notes, int n, int32_t& highest) {
    if (highest < INT16_MAX) return static_cast<int16_t>(++highest);
    for (int16_t id = 1;; ++id) {
        bool taken = false;
        for (int k = 0; k < n && !taken; ++k) taken = notes[k].noteID == id;
        if (!taken) return id;
    }
}

void CleanEntry(EXENTRY* entry) {
    const int n = EntryNoteCount(entry);
    NOTERECORD* notes = entry->notes;

    int32_t highest = 0;
    for (int k = 0; k < n; ++k) highest = std::max<int32_t>(highest, notes[k].noteID);

    for (int k = 0; k < n; ++k) {
        bool renumber = notes[k].noteID == 0;
        for (int j = 0; j < n && !renumber; ++j)
            renumber = j != k && notes[j].noteID == notes[k].noteID;
        if (renumber) notes[k].noteID = NewNoteID(notes, n, highest);
    }

    for (int k = 0; k < n; ++k) {
        const uint32_t idBits =
            (static_cast<uint32_t>(static_cast<uint16_t>(notes[k].noteID)) & 0x1Fu) << 16;
        notes[k].flags = (notes[k].flags & ~NOTE_FLAG_ID_BITS) | idBits;
    }

    for (int k = n; k < EXENTRY_MAX_NOTES; ++k) notes[k] = NOTERECORD{};

    // The rest's record comes out as a later cleaning would leave it, with ID 1: a cleaned
    // frame stays as it is when cleaned again.
    if (n == 0 && CanAddNoteRecordToRests) {
        entry->flags |= ENTRY_FLAG_REST_RECORD;
        entry->noteCount = 1;
        notes[0].noteID = 1;
        notes[0].flags = NOTE_FLAG_CREATED | (1u << 16);
    }
}

}  // namespace

void CleanTGF(const EXTGF2005a* frame, bool) {
    const int count = FrameEntryCount(frame);
    for (int i = 0; i < count; ++i) CleanEntry(&frame->entries[i]);
}

EXTGF2005a* FX_LoadTGF(uint16_t list, int16_t slot, int16_t measure, int16_t layer,
                       int16_t loadMode, uint32_t version) {
    if (!fxraw::FX_LoadTGF.Available() || !FX_FreeTGF.Available()) return nullptr;
    return fxraw::FX_LoadTGF(list, slot, measure, layer, loadMode, version);
}

int32_t FX_InsertEXENTRY(EXTGF2005a* frame, int16_t index, int16_t count, uint32_t version) {
    CleanTGF(frame, true);
    return fxraw::FX_InsertEXENTRY(frame, index, count, version);
}

int32_t FX_DeleteEXENTRY(EXTGF2005a* frame, int16_t index, int16_t count, uint32_t version) {
    CleanTGF(frame, true);
    return fxraw::FX_DeleteEXENTRY(frame, index, count, version);
}

int32_t FX_SaveTGF(EXTGF2005a* frame, uint32_t version) {
    CleanTGF(frame, true);
    return fxraw::FX_SaveTGF(frame, version);
}

int32_t FX_ReduceEntries(EXTGF2005a* frame, uint32_t version) {
    CleanTGF(frame, true);
    return fxraw::FX_ReduceEntries(frame, version);
}
