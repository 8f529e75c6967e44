#pragma once

#include <cstdint>

#include "FCBase.h"

class FCKeySignature;

// One staff in one measure: the unit in which the host keeps a staff's music.
class FCCell : public __FCBase {
  public:
    FCCell(int32_t measure, int32_t staff) : _measure(measure), _staff(staff) {}
    ~FCCell() override;

    const char* ClassName() override { return "FCCell"; }

    int32_t GetMeasure() const { return _measure; }
    // The staff as an instrument number, not a slot.
    int32_t GetStaff() const { return _staff; }

    // The key in force in the cell, when a user of the cell has given it one; the cell owns it.
    FCKeySignature* GetKeySignature() const { return _keySignature; }
    // Takes the key signature over, destroying the one the cell had.
    void _SetKeySignature(FCKeySignature* key);

    // Duration units of the fullest selected layer: -1 every layer, 0 the layers the host
    // shows, n only layer n (1 is the first). 0 when no selected layer holds music or loads.
    int32_t CalcEntryDuration(int layers);

  private:
    int32_t _measure;
    int32_t _staff;
    FCKeySignature* _keySignature = nullptr;  // owned
};
