#include "FCNoteEntryCollection.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "FXBinding.h"
#include "FXRecordAccess.h"

namespace {
// Entry flags a copy keeps; the others belong to the original's details.
constexpr uint32_t kCopiedEntryFlags = 0xFF85AB3F;

}  // namespace

void __FCNoteEntryCollection::_RequireFrameEntries(EXTGF2005a* const* frames, int frameCount) {
    int64_t total = 0;
    for (int i = 0; i < frameCount; ++i) total += FrameEntryCount(frames[i]);
    // A total no collection can count throws std::bad_alloc, as adding them one by one would.
    _RequireElement(static_cast<int>(std::min<int64_t>(total, INT32_MAX)));
}

FCNoteEntry* __FCNoteEntryCollection::_AddFrameEntries(EXTGF2005a* frame, FCNoteEntry* last) {
    const int count = FrameEntryCount(frame);
    for (int j = 0; j < count; ++j) {
        FCNoteEntry* entry = new FCNoteEntry(&frame->entries[j], frame);
        entry->_SetPrevious(last);
        if (last) last->_SetNext(entry);
        Add(entry);
        last = entry;
    }
    return last;
}

void __FCNoteEntryCollection::_CopyEntries(EXTGF2005a* source, EXTGF2005a* target) {
    if (!source || !target) return;
    const int sourceCount = FrameEntryCount(source);
    FX_DeleteEXENTRY(target, 0, static_cast<int16_t>(FrameEntryCount(target)),
                     FRAMEWORK_ENIGMA_VERSION);
    FX_InsertEXENTRY(target, 0, static_cast<int16_t>(sourceCount), FRAMEWORK_ENIGMA_VERSION);

    // The host has moved the target's array; only as many records as it now holds are copied.
    const int n = std::min(sourceCount, FrameEntryCount(target));
    EXENTRY* to = target->entries;
    const EXENTRY* from = source->entries;
    for (int i = 0; i < n; ++i) {
        const uint32_t number = to[i].entryNumber;
        std::memcpy(&to[i], &from[i], sizeof(EXENTRY));
        to[i].entryNumber = number;
        Set32BitFlag(FX_FIELD(&to[i], EXENTRY, flags), ~kCopiedEntryFlags, false);
        Set16BitFlag(FX_FIELD(&to[i], EXENTRY, flags2), ENTRY_FLAG2_COPY_CLEARED, false);
    }
}
