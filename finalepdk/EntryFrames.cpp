// Entry frame cleaning, and the frame services that clean a frame before the host sees it.
#include <algorithm>
#include <cstdint>

#include "FXBinding.h"

bool CanAddNoteRecordToRests = true;

namespace {

bool HoldsID(const NOTERECORD* notes, int n, int32_t id) {
    for (int k = 0; k < n; ++k)
        if (notes[k].noteID == id) return true;
    return false;
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
        if (!renumber) continue;
        if (highest < INT16_MAX) {
            notes[k].noteID = static_cast<int16_t>(++highest);
        } else {
            // Past the top of the range a new ID would wrap onto another: take the smallest
            // free one (twelve notes leave one among 1 to 13).
            int32_t unused = 1;
            while (HoldsID(notes, n, unused)) ++unused;
            notes[k].noteID = static_cast<int16_t>(unused);
        }
    }

    for (int k = 0; k < n; ++k) {
        const uint32_t idBits =
            (static_cast<uint32_t>(static_cast<uint16_t>(notes[k].noteID)) & 0x1Fu) << 16;
        notes[k].flags = (notes[k].flags & ~NOTE_FLAG_ID_BITS) | idBits;
    }

    for (int k = n; k < EXENTRY_MAX_NOTES; ++k) notes[k] = NOTERECORD{};

    if (n == 0 && CanAddNoteRecordToRests) {
        entry->flags |= ENTRY_FLAG_REST_RECORD;
        entry->noteCount = 1;
        notes[0].flags = NOTE_FLAG_CREATED;
    }
}

}  // namespace

void CleanTGF(const EXTGF2005a* frame, bool) {
    const int count = FrameEntryCount(frame);
    for (int i = 0; i < count; ++i) CleanEntry(&frame->entries[i]);
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
