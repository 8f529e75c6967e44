#include "FCTieHandler.h"

#include "FCMeasure.h"
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
    // Pitches are stored relative to the key of their measure.
    const FCKeySignature* key = nullptr;
    const FCKeySignature* nextKey = nullptr;
    if (next->GetMeasure() != entry->GetMeasure() && next->IsNote() && entry->GetNoteCount() > 0) {
        key = _KeyOf(entry->GetMeasure());
        nextKey = _KeyOf(next->GetMeasure());
    }
    for (int i = 0; i < entry->GetNoteCount(); ++i) {
        FCNote* note = entry->GetItemAt(i);
        if (!note || !next->FindPitch(note, key, nextKey)) continue;
        Set32BitFlag(FX_FIELD(note->_GetNoteRecord(), NOTERECORD, flags), NOTE_FLAG_TIE, true);
        MarkTouched(*this, entry);
        MarkTouched(*this, next);
    }
    return true;
}

const FCKeySignature* FCTieHandler::_KeyOf(int16_t measure) {
    auto found = _keys.find(measure);
    if (found != _keys.end()) return found->second.get();
    // A record that does not load says nothing of the key: its notes compare as stored.
    std::unique_ptr<FCKeySignature> key;
    FCMeasure record;
    if (record.Load(static_cast<uint16_t>(measure))) {
        key = std::make_unique<FCKeySignature>();
        key->SetKeyValue(record.GetKeyValue());
    }
    return _keys.emplace(measure, std::move(key)).first->second.get();
}
