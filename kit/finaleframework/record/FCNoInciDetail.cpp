#include "FCNoInciDetail.h"

#include "finalepdk.h"

void __FCNoInciDetail::_SetDetailKey(uint16_t first, uint16_t second, int16_t incidence) {
    FXWrite<uint16_t>(_recordKey, 0, first);
    FXWrite<uint16_t>(_recordKey, 2, second);
    FXWrite<int16_t>(_recordKey, 4, incidence);
}

bool __FCNoInciDetail::Load(uint16_t first, uint16_t second) {
    _SetDetailKey(first, second, 0);
    return LoadDataBlock();
}

bool __FCNoInciDetail::SaveNew(uint16_t first) {
    if (_dataSize <= 0) return false;
    _SetDetailKey(first, 0xFFFF, 0);
    return FX_CreateEData(Tag(), _recordKey, _dataBuffer, DataSizeSave(), EnigmaVersion()) != 0;
}
