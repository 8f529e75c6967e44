#pragma once

#include <cstdint>

#include "FCBase.h"

// What a text expression takes from its category.
// The category's number and six values that the definition copies (C1 ... C6, in the order
// the category holds them).
class FCCategoryDef : public __FCBase {
  public:
    static constexpr int VALUE_COUNT = 6;

    const char* ClassName() override { return "FCCategoryDef"; }

    int32_t GetID() const { return _id; }
    void SetID(int32_t id) { _id = id; }
    // Value C1 ... C6 by its index 1 ... 6; 0 for any other index.
    uint16_t GetValue(int index) const;
    // Other indices are ignored.
    void SetValue(int index, uint16_t value);

  private:
    int32_t _id = 0;
    uint16_t _values[VALUE_COUNT] = {};
};
