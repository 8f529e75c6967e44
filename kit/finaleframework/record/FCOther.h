#pragma once

#include "FCBaseData.h"

// Records addressed by an item number and an incidence.
// The item number is unsigned 16-bit at +0, the incidence signed 16-bit at +2.
class __FCOther : public __FCBaseData {
  public:
    const char* ClassName() override { return "__FCOther"; }

  protected:
    void _SetOtherKey(uint16_t item, int16_t incidence);
    uint16_t _GetKeyItem() const;
    int16_t _GetKeyIncidence() const;
    // Creates a new record from the buffer under the key; the host writes its numbers back.
    bool _CreateRecord(uint32_t version);
};
