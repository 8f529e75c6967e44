#include "FCNote.h"

#include "FCCell.h"
#include "FCClefDef.h"
#include "FCCurrentStaffSpec.h"
#include "FCKeySignature.h"
#include "FCMeasure.h"
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

bool FCNote::IsIdenticalPitch(FCNote* other, const FCKeySignature* key,
                              const FCKeySignature* otherKey) const {
    if (!key || !otherKey || key->GetKeyValue() == otherKey->GetKeyValue() || !key->IsStandard() ||
        !otherKey->IsStandard())
        return IsIdenticalPitch(other);
    return other && CalcWrittenPitch(*key) == other->CalcWrittenPitch(*otherKey);
}

bool FCNote::IsLowerPitchThan(FCNote* other) const {
    if (!other) return false;
    if (GetDisplacement() != other->GetDisplacement())
        return GetDisplacement() < other->GetDisplacement();
    return GetRaiseLower() < other->GetRaiseLower();
}

namespace {
// The key in force at an entry, as the key signature of the entry's cell: the key of the
// entry's measure record, or C major (key value 0) when that record does not load, since a
// failed load may leave anything in the record. The staff plays no part.
class KeyInForce {
  public:
    explicit KeyInForce(const FCNoteEntry* entry)
        : _cell(entry ? entry->GetMeasure() : 0, entry ? entry->GetStaff() : 0) {
        FCKeySignature* key = new FCKeySignature;
        _cell._SetKeySignature(key);
        if (!entry) return;
        FCMeasure measure;
        if (measure.Load(static_cast<uint16_t>(entry->GetMeasure())))
            key->SetKeyValue(measure.GetKeySignature()->GetKeyValue());
    }
    const FCKeySignature* operator->() const { return _cell.GetKeySignature(); }
    const FCKeySignature& operator*() const { return *_cell.GetKeySignature(); }

  private:
    FCCell _cell;
};

bool IsOnNoteEntry(const FCNoteEntry* entry) {
    return entry && entry->IsNote();
}

// The letter (from A) a displacement names under a key.
int LetterUnder(const FCKeySignature& key, int displacement) {
    const int letter = (key.CalcScaleRootIndex() + displacement) % 7;
    return letter < 0 ? letter + 7 : letter;
}
}  // namespace

char FCNote::CalcPitchChar() const {
    if (!IsOnNoteEntry(_entry)) return 0;
    const KeyInForce key(_entry);
    return static_cast<char>('A' + LetterUnder(*key, GetDisplacement()));
}

int16_t FCNote::CalcPitchRaiseLower() const {
    if (!IsOnNoteEntry(_entry)) return 0;
    const KeyInForce key(_entry);
    if (!key->IsStandard()) return 0;
    const char c = CalcPitchChar();
    if (c == 0) return 0;
    return static_cast<int16_t>(GetRaiseLower() + key->CalcLetterAlteration(c - 'A'));
}

FCNote::WrittenPitch FCNote::CalcWrittenPitch(const FCKeySignature& key) const {
    const int32_t displacement = GetDisplacement();
    return {displacement + key.CalcRootRelationAbsoluteIndex(),
            GetRaiseLower() + key.CalcLetterAlteration(LetterUnder(key, displacement))};
}

int16_t FCNote::CalcActualDisplacement() const {
    // What does not load moves nothing.
    int clefOffset = 0;
    int interval = 0;
    if (_entry) {
        if (const EXENTRY* record = _entry->GetEntryRecord()) {
            const int16_t clefNumber = record->clef;
            FCClefDef clef;
            if (clef.Load(clefNumber)) clefOffset = clef.GetClefOffset();
        }
        FCCurrentStaffSpec spec;
        if (spec.Load(_entry)) interval = spec.GetTransposeInterval();
    }
    const KeyInForce key(_entry);
    return static_cast<int16_t>(GetDisplacement() + clefOffset + interval +
                                key->CalcRootRelationAbsoluteIndex());
}
