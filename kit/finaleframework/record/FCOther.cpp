#include "FCOther.h"

#include "finalepdk.h"

void __FCOther::_SetOtherKey(uint16_t item, int16_t incidence) {
    FXWrite<uint16_t>(_recordKey, 0, item);
    FXWrite<int16_t>(_recordKey, 2, incidence);
}

uint16_t __FCOther::_GetKeyItem() const {
    return FXRead<uint16_t>(_recordKey, 0);
}

int16_t __FCOther::_GetKeyIncidence() const {
    return FXRead<int16_t>(_recordKey, 2);
}

bool __FCOther::_CreateRecord(uint32_t version) {
    return FX_CreateEData(Tag(), _recordKey, _dataBuffer, DataSizeSave(), version) != 0;
}
