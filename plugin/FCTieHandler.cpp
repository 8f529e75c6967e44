#include "FCTieHandler.h"

#include "FCNoteEntry.h"
#include "FXRecordAccess.h"

namespace {
void MarkTouched(__FCBase& flagger, FCNoteEntry* entry) {
    EXENTRY* record = entry->GetEntryRecord();
    if (record)
        flagger.Set16BitFlag(FX_FIELD(record, EXENTRY, flags2), ENTRY_FLAG2_TIE_CHANGED, true);
}
}  // namespace

bool FCTieHandler::Iterate(__FCBase* item) {
    FCNoteEntry* entry = dynamic_cast<FCNoteEntry*>(item);
    if (!entry) return true;

    if (!_tie) {
        entry->TieAll(false);
        MarkTouched(*this, entry);
        return true;
    }

    // Tying never clears: a note without a partner keeps whatever tie it had. A rest's record
    // (the cleaning gives every rest one) is no note to tie.
    FCNoteEntry* next = entry->Next();
    if (!next || !entry->IsNote()) return true;
    for (int i = 0; i < entry->GetNoteCount(); ++i) {
        FCNote* note = entry->GetItemAt(i);
        if (!note || !next->FindPitch(note)) continue;
        Set32BitFlag(FX_FIELD(note->_GetNoteRecord(), NOTERECORD, flags), NOTE_FLAG_TIE, true);
        MarkTouched(*this, entry);
        MarkTouched(*this, next);
    }
    return true;
}
