#include "FCInciOther.h"

bool __FCInciOther::Load(uint16_t item, int16_t incidence) {
    _SetOtherKey(item, incidence);
    return LoadDataBlock();
}

bool __FCInciOther::SaveNew(uint16_t item) {
    if (_dataSize <= 0) return false;
    _SetOtherKey(item, -1);
    return _CreateRecord(EnigmaVersion());
}
