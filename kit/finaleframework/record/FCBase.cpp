#include "FCBase.h"

#include <cstring>

bool __FCBase::IsIdentical(__FCBase*) {
    return true;
}

void __FCBase::Set16BitFlag(uint16_t* word, uint16_t mask, bool state) {
    uint16_t value;
    std::memcpy(&value, word, sizeof value);
    value = state ? static_cast<uint16_t>(value | mask) : static_cast<uint16_t>(value & ~mask);
    std::memcpy(word, &value, sizeof value);
}

void __FCBase::Set32BitFlag(uint32_t* word, uint32_t mask, bool state) {
    uint32_t value;
    std::memcpy(&value, word, sizeof value);
    value = state ? (value | mask) : (value & ~mask);
    std::memcpy(word, &value, sizeof value);
}
