#pragma once

#include <cstdint>

#include "FCBase.h"

// One staff in one measure: the unit in which the host keeps a staff's music.
class FCCell : public __FCBase {
  public:
    FCCell(int32_t measure, int32_t staff) : _measure(measure), _staff(staff) {}

    const char* ClassName() override { return "FCCell"; }

    int32_t GetMeasure() const { return _measure; }
    // The staff as an instrument number, not a slot.
    int32_t GetStaff() const { return _staff; }

  private:
    int32_t _measure;
    int32_t _staff;
};
