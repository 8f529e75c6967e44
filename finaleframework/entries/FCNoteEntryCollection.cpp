#include "FCNoteEntryCollection.h"

#include <algorithm>
#include <cstring>

#include "FXBinding.h"
#include "FXRecordAccess.h"

namespace {
// Entry flags a copy keeps; the others belong to the original's details.
constexpr uint32_t kCopiedEntryFlags = 0xFF85AB3F;

int EntryCountOf(const EXTGF2005a* frame) {
    return frame->entries ? std::max<int>(frame->entryCount, 0) : 0;
}
}  // namespace

void __FCNoteEntryCollection::_CopyEntries(EXTGF2005a* source, EXTGF2005a* target) {
    if (!source || !target) return;
    const int sourceCount = EntryCountOf(source);
    FX_DeleteEXENTRY(target, 0, static_cast<int16_t>(EntryCountOf(target)),
                     FRAMEWORK_ENIGMA_VERSION);
    FX_InsertEXENTRY(target, 0, static_cast<int16_t>(sourceCount), FRAMEWORK_ENIGMA_VERSION);

    // The host has moved the target's array; only as many records as it now holds are copied.
    const int n = std::min(sourceCount, EntryCountOf(target));
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
