#include "FCStaffListElement.h"

uint32_t FCStaffListElement::TagOfMode(STAFFLIST_MODES mode) {
    switch (mode) {
        case STAFFLIST_DC:
            return 0x6F744443;  // o t D C
        case STAFFLIST_DC_SMALL:
            return 0x6F746463;  // o t d c
        case STAFFLIST_IO:
            return 0x6F74494F;  // o t I O
        case STAFFLIST_IO_SMALL:
            return 0x6F74696F;  // o t i o
        default:
            return 0;
    }
}

void FCStaffListElement::SetStaff(int16_t staff) {
    _record.staff = staff;
    _dataBuffer = &_record;
    if (_dataSize <= 0) _dataSize = sizeof _record;
}

bool FCStaffListElements::ContainsStaff(int16_t staff) const {
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        const FCStaffListElement* element = GetItemAt(i);
        if (element && element->GetStaff() == staff) return true;
    }
    return false;
}
