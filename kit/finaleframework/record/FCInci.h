#pragma once

#include "FCBaseData.h"

// Records addressed by an item and an incidence, loaded by both numbers.
class __FCInci : public __FCBaseData {
  public:
    bool Load(uint16_t item, int16_t incidence);
};
