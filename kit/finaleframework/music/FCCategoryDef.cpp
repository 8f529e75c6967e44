#include "FCCategoryDef.h"

uint16_t FCCategoryDef::GetValue(int index) const {
    return index >= 1 && index <= VALUE_COUNT ? _values[index - 1] : 0;
}

void FCCategoryDef::SetValue(int index, uint16_t value) {
    if (index >= 1 && index <= VALUE_COUNT) _values[index - 1] = value;
}
