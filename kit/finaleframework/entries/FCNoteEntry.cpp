#include "FCNoteEntry.h"

#include <algorithm>
#include <cstring>

#include "FCArticulation.h"
#include "FCNotePitches.h"
#include "FXBinding.h"
#include "FXRecordAccess.h"

namespace {
// Displacements are taken to lie strictly between these.
constexpr int kDisplacementBound = 10000;
}  // namespace

FCNoteEntry::FCNoteEntry(EXENTRY* record, EXTGF2005a* frame) : _entryRecord(record), _frame(frame) {
    _UseInlineSlots(_noteSlots);
    if (frame) {
        _measure = frame->measure;
        _instrument = static_cast<int16_t>(
            FX_SlotToInst(frame->slot, frame->instrumentList, FRAMEWORK_ENIGMA_VERSION));
    }
    _UpdateNoteCollection();
}

FCNoteEntry::~FCNoteEntry() {
    // The notes go while the slots they stand in are still the entry's.
    _FreeElements();
    _count = 0;
    delete _cachedArticulations;
}

int FCNoteEntry::_RecordNoteCount() const {
    return EntryNoteCount(_entryRecord);
}

uint32_t FCNoteEntry::_Flags() const {
    return _entryRecord ? _entryRecord->flags : 0;
}

void FCNoteEntry::_SetEntryFlag(uint32_t mask, bool state) {
    if (_entryRecord) Set32BitFlag(FX_FIELD(_entryRecord, EXENTRY, flags), mask, state);
}

int32_t FCNoteEntry::GetEntryNumber() const {
    return _entryRecord ? static_cast<int32_t>(_entryRecord->entryNumber) : 0;
}

int32_t FCNoteEntry::GetMeasurePos() const {
    return _entryRecord ? _entryRecord->position : 0;
}

int16_t FCNoteEntry::GetDuration() const {
    return _entryRecord ? _entryRecord->duration : 0;
}

bool FCNoteEntry::IsNote() const {
    return (_Flags() & ENTRY_FLAG_NOTE) != 0;
}

bool FCNoteEntry::IsRest() const {
    return _entryRecord && !IsNote();
}

void FCNoteEntry::_Repoint(EXENTRY* record, EXTGF2005a* frame) {
    _entryRecord = record;
    _frame = frame;
    if (_RecordNoteCount() != GetCount()) {
        _UpdateNoteCollection();
        return;
    }
    for (int i = 0; i < GetCount(); ++i) {
        FCNote* note = GetItemAt(i);
        if (note) note->_SetNoteRecord(&record->notes[note->GetNoteIndex()]);
    }
}

void FCNoteEntry::_UpdateNoteCollection() {
    _FreeElements();
    _count = 0;
    const int n = _RecordNoteCount();
    _RequireElement(n);
    for (int i = 0; i < n; ++i) Add(new FCNote(i, &_entryRecord->notes[i], this));
}

void FCNoteEntry::_PackEXENTRYNotes() {
    if (!_entryRecord) return;
    NOTERECORD kept[EXENTRY_MAX_NOTES];
    int keptCount = 0;
    int dropped = 0;
    for (int i = 0; i < GetCount(); ++i) {
        FCNote* note = GetItemAt(i);
        if (!note) continue;
        if (note->_IsDeleted())
            ++dropped;
        else if (keptCount < EXENTRY_MAX_NOTES)
            kept[keptCount++] = *note->_GetNoteRecord();
    }
    if (dropped == 0) return;
    if (keptCount > 0) {
        for (int k = 0; k < keptCount; ++k) _entryRecord->notes[k] = kept[k];
        _entryRecord->noteCount = static_cast<int16_t>(keptCount);
    } else {
        _SetEntryFlag(ENTRY_FLAG_NOTE, false);
        _entryRecord->noteCount = 0;
    }
    _UpdateNoteCollection();
}

int16_t FCNoteEntry::_FindUniqueNoteID() const {
    for (int16_t id = 1;; ++id) {
        bool taken = false;
        for (int i = 0; i < GetCount() && !taken; ++i) {
            FCNote* note = GetItemAt(i);
            taken = note && note->GetNoteID() == id;
        }
        if (!taken) return id;
    }
}

FCNote* FCNoteEntry::AddNewNote() {
    const int n = _RecordNoteCount();
    if (!_entryRecord || n > EXENTRY_MAX_NOTES - 1 || !IsNote()) return nullptr;
    _entryRecord->notes[n] = NOTERECORD{};
    FCNote* note = new FCNote(n, &_entryRecord->notes[n], this);
    Set32BitFlag(FX_FIELD(note->_GetNoteRecord(), NOTERECORD, flags), NOTE_FLAG_CREATED, true);
    note->SetNoteID(_FindUniqueNoteID());
    Add(note);
    _entryRecord->noteCount = static_cast<int16_t>(n + 1);
    return note;
}

bool FCNoteEntry::DeleteNote(FCNote* note) {
    if (!note || GetIndexOf(note) < 0) return false;
    note->_SetDeleted(true);
    bool anyKept = false;
    for (int i = 0; i < GetCount() && !anyKept; ++i) {
        FCNote* other = GetItemAt(i);
        anyKept = other && !other->_IsDeleted();
    }
    if (anyKept)
        _PackEXENTRYNotes();
    else
        MakeRest();
    return true;
}

void FCNoteEntry::TieAll(bool state) {
    if (!IsNote()) return;
    for (int i = 0; i < GetCount(); ++i)
        if (FCNote* note = GetItemAt(i)) note->SetTie(state);
}

bool FCNoteEntry::IsTied() const {
    if (!IsNote()) return false;
    for (int i = 0; i < GetCount(); ++i) {
        FCNote* note = GetItemAt(i);
        if (note && note->IsTied()) return true;
    }
    return false;
}

FCNote* FCNoteEntry::FindPitch(FCNote* pitch) const {
    return FindPitch(pitch, nullptr, nullptr);
}

FCNote* FCNoteEntry::FindPitch(FCNote* pitch, const FCKeySignature* pitchKey,
                               const FCKeySignature* ownKey) const {
    if (!pitch || !IsNote()) return nullptr;
    for (int i = 0; i < GetCount(); ++i) {
        FCNote* note = GetItemAt(i);
        if (note && note->IsIdenticalPitch(pitch, ownKey, pitchKey)) return note;
    }
    return nullptr;
}

FCNote* FCNoteEntry::FindHighestNote(FCNote* below) const {
    FCNote* best = nullptr;
    int bestDisplacement = -kDisplacementBound;
    for (int i = 0; i < GetCount(); ++i) {
        FCNote* note = GetItemAt(i);
        if (!note || (below && !note->IsLowerPitchThan(below))) continue;
        const int displacement = note->GetDisplacement();
        if (displacement > bestDisplacement || (best && displacement == bestDisplacement &&
                                                note->GetRaiseLower() > best->GetRaiseLower())) {
            best = note;
            bestDisplacement = displacement;
        }
    }
    return best;
}

FCNote* FCNoteEntry::FindLowestNote() const {
    FCNote* best = nullptr;
    int bestDisplacement = kDisplacementBound;
    for (int i = 0; i < GetCount(); ++i) {
        FCNote* note = GetItemAt(i);
        if (!note) continue;
        const int displacement = note->GetDisplacement();
        if (displacement < bestDisplacement || (best && displacement == bestDisplacement &&
                                                note->GetRaiseLower() < best->GetRaiseLower())) {
            best = note;
            bestDisplacement = displacement;
        }
    }
    return best;
}

int16_t FCNoteEntry::CalcHighestDisplacement() const {
    int highest = -kDisplacementBound;
    for (int i = 0; i < GetCount(); ++i)
        if (FCNote* note = GetItemAt(i)) highest = std::max<int>(highest, note->GetDisplacement());
    return static_cast<int16_t>(highest == -kDisplacementBound ? 0 : highest);
}

int16_t FCNoteEntry::CalcDisplacementRange() const {
    int highest = -kDisplacementBound, lowest = kDisplacementBound;
    for (int i = 0; i < GetCount(); ++i) {
        if (FCNote* note = GetItemAt(i)) {
            highest = std::max<int>(highest, note->GetDisplacement());
            lowest = std::min<int>(lowest, note->GetDisplacement());
        }
    }
    if (highest == -kDisplacementBound) return 0;
    return static_cast<int16_t>(highest - lowest);
}

bool FCNoteEntry::CalcFlippable() const {
    if (!IsNote()) return false;
    if (_Flags() & ENTRY_FLAG_FLIP_FORCED) return true;
    if (!_previous) return true;
    if (_next && _next->GetMeasure() == GetMeasure()) return false;
    if (GetDuration() == _previous->GetDuration()) return false;
    return _previous->GetDuration() > 1023;
}

bool FCNoteEntry::CalcStemUp() const {
    if (CalcFlippable()) return (_Flags() & ENTRY_FLAG_STEM_UP) != 0;
    for (const FCNoteEntry* entry = _previous; entry; entry = entry->_previous)
        if (entry->_Flags() & ENTRY_FLAG_FLIP_FORCED)
            return (entry->_Flags() & ENTRY_FLAG_STEM_UP) != 0;
    return (_Flags() & ENTRY_FLAG_STEM_UP) != 0;
}

void FCNoteEntry::SetAccidentals(bool state) {
    if (!IsNote()) return;
    for (int i = 0; i < GetCount(); ++i)
        if (FCNote* note = GetItemAt(i)) note->SetAccidental(state);
}

void FCNoteEntry::CopyNotes(FCNoteEntry* source) {
    if (!_entryRecord || !source) return;
    const int n = source->_RecordNoteCount();
    if (n > 0)
        std::memmove(_entryRecord->notes, source->_entryRecord->notes, n * sizeof(NOTERECORD));
    _entryRecord->noteCount = static_cast<int16_t>(n);
    _UpdateNoteCollection();
}

void FCNoteEntry::CopyNote(FCNote* note) {
    if (!_entryRecord || !note || !note->_GetNoteRecord()) return;
    const NOTERECORD copy = *note->_GetNoteRecord();
    _entryRecord->notes[0] = copy;
    _entryRecord->notes[0].noteID = 1;
    _entryRecord->noteCount = 1;
    _UpdateNoteCollection();
}

int32_t FCNoteEntry::AddPitches(FCNoteEntry* source) {
    if (!source || !IsNote() || !source->IsNote()) return 0;
    int32_t added = 0;
    const int n = source->GetCount();  // the source may be this entry, which grows
    for (int i = 0; i < n; ++i) {
        FCNote* from = source->GetItemAt(i);
        if (!from) continue;
        FCNote* note = AddNewNote();
        if (!note) break;
        note->SetDisplacement(from->GetDisplacement());
        note->SetRaiseLower(from->GetRaiseLower());
        ++added;
    }
    return added;
}

bool FCNoteEntry::AddPitch(FCNote* pitch) {
    if (!pitch || !IsNote()) return false;
    FCNote* note = AddNewNote();
    if (!note) return false;
    note->SetDisplacement(pitch->GetDisplacement());
    note->SetRaiseLower(pitch->GetRaiseLower());
    return true;
}

void FCNoteEntry::MakeRest() {
    if (!_entryRecord) return;
    _entryRecord->noteCount = 0;
    _UpdateNoteCollection();
    _SetEntryFlag(ENTRY_FLAG_NOTE | ENTRY_FLAG_NOTE_DETAILS | ENTRY_FLAG_SPECIAL_ALTS |
                      ENTRY_FLAG_ARTICULATIONS,
                  false);
}

void FCNoteEntry::MakeMovableRest() {
    if (!_entryRecord) return;
    if (_RecordNoteCount() == 0) {
        _entryRecord->notes[0] = NOTERECORD{};
        _FreeElements();
        _count = 0;
        FCNote* note = new FCNote(0, &_entryRecord->notes[0], this);
        Set32BitFlag(FX_FIELD(note->_GetNoteRecord(), NOTERECORD, flags), NOTE_FLAG_CREATED, true);
        Add(note);
        _entryRecord->noteCount = 1;
    }
    FCNote* first = GetItemAt(0);
    if (!first) return;
    first->SetNoteID(31);
    _SetEntryFlag(ENTRY_FLAG_REST_RECORD, false);
    first->SetDisplacement(1500);
}

FCNoteEntry* FCNoteEntry::CreateShallowClone() const {
    FCNoteEntry* clone = new FCNoteEntry(_entryRecord, _frame);
    if (!_frame) {
        clone->_measure = _measure;
        clone->_instrument = _instrument;
    }
    return clone;
}

FCNotePitches* FCNoteEntry::CreateNotePitches() const {
    FCNotePitches* pitches = new FCNotePitches;
    if (!IsNote()) return pitches;  // a stored rest keeps a note record, but has no pitch
    for (int i = 0; i < GetCount(); ++i)
        if (FCNote* note = GetItemAt(i)) pitches->Add(new FCNotePitch(*note->_GetNoteRecord()));
    return pitches;
}

bool FCNoteEntry::_GetTupletDef(int16_t incidence, EDTTuplet2005* out) const {
    if (!_frame || !out) return false;
    const EXENTRY* entries = _frame->entries;
    const int entryCount = FrameEntryCount(_frame);
    const TGFTUPLETITEM* tuplets = _frame->tuplets;
    const int tupletCount = tuplets ? std::max<int>(_frame->tupletCount, 0) : 0;
    const uint32_t number = static_cast<uint32_t>(GetEntryNumber());
    for (int t = 0; t < tupletCount; ++t) {
        const TGFTUPLETITEM& item = tuplets[t];
        if (item.entryIndex < 0 || item.entryIndex >= entryCount) continue;
        if (entries[item.entryIndex].entryNumber != number || item.incidence != incidence) continue;
        std::memcpy(out->bytes, item.definition, sizeof out->bytes);
        return true;
    }
    return false;
}

int32_t FCNoteEntry::_CalcTGFIndex() const {
    if (!_frame || !_entryRecord) return -1;
    EXENTRY* entries = _frame->entries;
    const int count = FrameEntryCount(_frame);
    for (int i = 0; i < count; ++i)
        if (&entries[i] == _entryRecord) return i;
    return -1;
}

int32_t FCNoteEntry::AddArticulations(FCNoteEntry* source, bool skip) {
    if (!source || GetEntryNumber() == 0) return 0;
    FCArticulations own;
    if (skip) {
        own.SetOwningEntry(this);
        own.LoadAll();
    }
    FCArticulations loaded;
    FCArticulations* from = source->_cachedArticulations;
    if (!from) {
        loaded.SetOwningEntry(source);
        loaded.LoadAll();
        from = &loaded;
    }
    // Each is appended after this entry's records, so that the stored ones follow each other
    // without a gap whatever is skipped. Copies are stored: the source's objects (its cache)
    // keep naming the source's records.
    int32_t stored = 0;
    const int count = from->GetCount();
    for (int i = 0; i < count; ++i) {
        FCArticulation* articulation = from->GetItemAt(i);
        if (!articulation) continue;
        if (skip && own.ContainsID(static_cast<int16_t>(articulation->GetID()))) continue;
        FCArticulation copy;
        copy.CloneFrom(articulation);
        copy._SetEntry(this);
        if (copy.SaveNew()) ++stored;
    }
    if (stored > 0) _SetEntryFlag(ENTRY_FLAG_ARTICULATIONS, true);
    return stored;
}

void FCNoteEntry::CacheArticulations() {
    FCArticulations* loaded = new FCArticulations;
    loaded->SetOwningEntry(this);
    loaded->LoadAll();
    if (loaded->GetCount() == 0) {
        delete loaded;
        return;
    }
    delete _cachedArticulations;
    _cachedArticulations = loaded;
}
