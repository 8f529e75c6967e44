#include "FCEntryDetailNoteID.h"

#include <algorithm>

#include "FCNote.h"
#include "finalepdk.h"

int __FCEntryDetailNoteID::_ScanForNoteID(FCNote* note) {
    if (!note) return -1;
    uint8_t key[8] = {};
    FXWrite<int32_t>(key, 0, note->_GetEntryNumber());
    const int32_t capacity = std::clamp<int32_t>(DataSizeLoad(), 0, kScratchSize);
    uint8_t scratch[kScratchSize];
    for (int32_t incidence = 0; incidence <= INT16_MAX; ++incidence) {
        FXWrite<int16_t>(key, 4, static_cast<int16_t>(incidence));
        int32_t size = capacity;
        if (!FX_LoadEData(Tag(), key, scratch, &size, FRAMEWORK_ENIGMA_VERSION)) break;
        if (_MatchesNoteID(scratch, note->GetNoteID())) return incidence;
    }
    return -1;
}

bool __FCEntryDetailNoteID::SaveAt(FCNote* note) {
    if (!note) return false;
    const int32_t size = _PrepareSave();
    if (size <= 0) return false;
    const int incidence = _ScanForNoteID(note);
    uint8_t key[8] = {};
    FXWrite<int32_t>(key, 0, note->_GetEntryNumber());
    FXWrite<int16_t>(key, 4, static_cast<int16_t>(incidence));
    _SetNoteID(note->GetNoteID());
    const bool saved =
        incidence == -1
            ? FX_CreateEData(Tag(), key, _dataBuffer, size, FRAMEWORK_ENIGMA_VERSION) != 0
            : FX_SaveEData(Tag(), key, _dataBuffer, size, FRAMEWORK_ENIGMA_VERSION) != 0;
    if (!saved) return false;
    std::copy(key, key + 8, _recordKey);
    _Stored(size);
    _SetNoteFlag(note, true);
    return true;
}

bool __FCEntryDetailNoteID::EraseAt(FCNote* note) {
    if (!note) return false;
    uint8_t key[8] = {};
    FXWrite<int32_t>(key, 0, note->_GetEntryNumber());
    FXWrite<int16_t>(key, 4, static_cast<int16_t>(_ScanForNoteID(note)));
    if (!FX_DeleteEData(Tag(), key, FRAMEWORK_ENIGMA_VERSION)) return false;
    if (!_HasAnyMod(note)) _SetNoteFlag(note, false);
    FXWrite<int16_t>(key, 4, -1);
    std::copy(key, key + 8, _recordKey);
    return true;
}
