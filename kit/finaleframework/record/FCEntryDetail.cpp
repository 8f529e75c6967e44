#include "FCEntryDetail.h"

#include <algorithm>

#include "FCNote.h"
#include "FCNoteEntry.h"
#include "finalepdk.h"

void __FCEntryDetail::_SetEntryKey(int32_t entryNumber, int16_t incidence) {
    FXWrite<int32_t>(_recordKey, 0, entryNumber);
    FXWrite<int16_t>(_recordKey, 4, incidence);
}

int32_t __FCEntryDetail::GetEntryNumber() const {
    return FXRead<int32_t>(_recordKey, 0);
}

int16_t __FCEntryDetail::GetIncidence() const {
    return FXRead<int16_t>(_recordKey, 4);
}

bool __FCEntryDetail::Load(int32_t entryNumber, int16_t incidence) {
    _SetEntryKey(entryNumber, incidence);
    return LoadDataBlock();
}

bool __FCEntryDetail::LoadFirst() {
    if (!_entry) return false;
    return Load(_entry->GetEntryNumber(), 0);
}

bool __FCEntryDetail::LoadNext() {
    const int16_t incidence = GetIncidence();
    if (incidence == INT16_MAX) return false;
    FXWrite<int16_t>(_recordKey, 4, static_cast<int16_t>(incidence + 1));
    if (LoadDataBlock()) return true;
    FXWrite<int16_t>(_recordKey, 4, incidence);
    return false;
}

bool __FCEntryDetail::SaveAs(int32_t entryNumber, int16_t incidence) {
    _SetEntryKey(entryNumber, incidence);
    return Save();
}

int32_t __FCEntryDetail::_PrepareSave() {
    if (_dataSize > 0) return DataSizeSave();
    // A record set up without a load is saved whole, never as an empty record.
    if (IsDynamicSize()) return 0;
    if (!_dataBuffer) _dataBuffer = Allocate();
    return DataSizeLoad();
}

void __FCEntryDetail::_Stored(int32_t size) {
    // Only now is there a record behind the bytes for a later Save.
    if (_dataSize <= 0) _dataSize = size;
}

bool __FCEntryDetail::SaveNew() {
    if (!_entry) return false;
    int32_t entryNumber = GetEntryNumber();
    if (entryNumber == 0) entryNumber = _entry->GetEntryNumber();
    if (entryNumber == 0) return false;  // no entry the host could keep the record under
    const int32_t size = _PrepareSave();
    if (size <= 0) return false;
    uint8_t key[8];
    std::copy(_recordKey, _recordKey + 8, key);
    FXWrite<int32_t>(key, 0, entryNumber);
    FXWrite<int16_t>(key, 4, -1);
    if (!FX_CreateEData(Tag(), key, _dataBuffer, size, FRAMEWORK_ENIGMA_VERSION)) return false;
    std::copy(key, key + 8, _recordKey);
    _Stored(size);
    _SetEntryFlag(_entry, true);
    return true;
}

void __FCEntryDetail::_SetEntryFlag(FCNoteEntry* entry, bool state) {
    if (!entry || !entry->GetEntryRecord()) return;
    Set32BitFlag(FX_FIELD(entry->GetEntryRecord(), EXENTRY, flags), _EntryFlagBit(), state);
}

bool __FCEntryDetail::_HasAnyMod(FCNote* note) {
    if (!note) return false;
    uint8_t key[8] = {};
    FXWrite<int32_t>(key, 0, note->_GetEntryNumber());
    uint8_t scratch[kScratchSize];
    int32_t size = std::clamp<int32_t>(DataSizeLoad(), 0, kScratchSize);
    return FX_LoadEData(Tag(), key, scratch, &size, FRAMEWORK_ENIGMA_VERSION) != 0;
}
