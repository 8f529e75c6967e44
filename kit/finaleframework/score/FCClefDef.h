#pragma once

#include <cstdint>

#include "FCGlobals.h"

// The host's record of one clef definition, numbered from 0.
class FCClefDef : public __FCGlobals {
  public:
    const char* ClassName() override { return "FCClefDef"; }
    uint32_t Tag() override { return 0x67626366; }
    int32_t DataSizeLoad() override { return sizeof _record; }
    void* Allocate() override { return _record; }
    __FCBaseData* CreateObject() override { return new FCClefDef; }

    // How far the clef moves notes on the staff; added to a note's displacement.
    int16_t GetClefOffset() const;

  private:
    uint8_t _record[18] = {};
};
