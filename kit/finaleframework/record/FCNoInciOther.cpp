#include "FCNoInciOther.h"

bool __FCNoInciOther::Load(uint16_t item) {
    _SetOtherKey(item, 0);
    return LoadDataBlock();
}

bool __FCNoInciOther::SaveAs(uint16_t item) {
    _SetOtherKey(item, 0);
    return Save();
}

bool __FCNoInciOther::SaveNew() {
    if (_dataSize <= 0) return false;
    _SetOtherKey(0xFFFF, -1);
    return _CreateRecord(EnigmaVersion());
}
