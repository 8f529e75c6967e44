#pragma once

#include <cstdint>

#include "FCCellDetail.h"
#include "finalepdk.h"

// A MIDI expression of one cell, walked with LoadFirst/LoadNext once its owning cell is set.
class FCMidiExpression : public __FCCellDetail {
  public:
    static constexpr uint32_t TAG = 0x64744D45;  // d t M E

    const char* ClassName() override { return "FCMidiExpression"; }
    uint32_t Tag() override { return TAG; }
    int32_t DataSizeLoad() override { return sizeof _record; }
    void* Allocate() override { return &_record; }
    __FCBaseData* CreateObject() override { return new FCMidiExpression; }

    // Position in the measure, in duration units.
    int32_t GetMeasurePos() const { return _record.position; }

  private:
    EDTMidiExpression _record{};
};
