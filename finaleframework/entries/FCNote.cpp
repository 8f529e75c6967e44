#include "FCNote.h"

#include "FCNoteEntry.h"
#include "FXRecordAccess.h"

void FCNote::SetTie(bool state) {
    Set32BitFlag(FX_FIELD(_noteRecord, NOTERECORD, flags), NOTE_FLAG_TIE, state);
}

void FCNote::SetAccidental(bool state) {
    Set32BitFlag(FX_FIELD(_noteRecord, NOTERECORD, flags), NOTE_FLAG_ACCIDENTAL, state);
}

int32_t FCNote::_GetEntryNumber() const {
    return _entry ? _entry->GetEntryNumber() : 0;
}

void FCNote::_SetEntryFlag(uint32_t mask, bool state) {
    EXENTRY* record = _entry ? _entry->GetEntryRecord() : nullptr;
    if (record) Set32BitFlag(FX_FIELD(record, EXENTRY, flags), mask, state);
}

void FCNote::_SetNoteDetailEntryFlag(bool state) {
    _SetEntryFlag(ENTRY_FLAG_NOTE_DETAILS, state);
}

void FCNote::_SetSpecialAltsEntryFlag(bool state) {
    _SetEntryFlag(ENTRY_FLAG_SPECIAL_ALTS, state);
}

void FCNote::_SetArticulationEntryFlag(bool state) {
    _SetEntryFlag(ENTRY_FLAG_ARTICULATIONS, state);
}

bool FCNote::IsIdenticalPitch(FCNote* other) const {
    return other && GetDisplacement() == other->GetDisplacement() &&
           GetRaiseLower() == other->GetRaiseLower();
}

bool FCNote::IsLowerPitchThan(FCNote* other) const {
    if (!other) return false;
    if (GetDisplacement() != other->GetDisplacement())
        return GetDisplacement() < other->GetDisplacement();
    return GetRaiseLower() < other->GetRaiseLower();
}
