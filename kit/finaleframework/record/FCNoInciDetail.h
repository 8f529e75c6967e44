#pragma once

#include "FCBaseData.h"

// Records under a pair of numbers (unsigned 16-bit at +0 and +2), incidence 0 at +4.
class __FCNoInciDetail : public __FCBaseData {
  public:
    bool Load(uint16_t first, uint16_t second);
    // Creates a new record under the first number; the host chooses the second.
    bool SaveNew(uint16_t first);

  protected:
    void _SetDetailKey(uint16_t first, uint16_t second, int16_t incidence);
};
