#pragma once

#include <cstdint>

#include "FCCollectionDetail.h"

// Records under a pair of numbers, loaded for one first number from a given second number on.
class __FCCollectionNoInciDetail : public __FCCollectionDetail {
  public:
    const char* ClassName() override { return "__FCCollectionNoInciDetail"; }
    // Stops at the first missing second number.
    virtual void LoadAllForItem(uint16_t first, uint16_t start);
};
