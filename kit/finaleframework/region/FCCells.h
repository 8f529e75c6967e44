#pragma once

#include <cstdint>

#include "FCCell.h"
#include "FCCollection.h"

class FCIteratorHandler;
class FCMusicRegion;

// An owning collection of cells, filled from a region and walked by measure or by staff.
class FCCells : public __FCCollection {
  public:
    ~FCCells() override = default;

    const char* ClassName() override { return "FCCells"; }

    FCCell* GetItemAt(int index) const {
        return static_cast<FCCell*>(__FCCollection::GetItemAt(index));
    }

    // Replaces the cells by one per measure and slot of the region: measure by measure, in slot
    // order within a measure. A null region leaves the collection empty.
    void ApplyRegion(FCMusicRegion* region);
    // Hands the cells of that measure (staff, as an instrument number) to the handler until it
    // answers false; the number of cells it answered true for.
    int32_t ForEachAtMeasure(int measure, FCIteratorHandler* handler);
    int32_t ForEachAtStaff(int staff, FCIteratorHandler* handler);

  private:
    int32_t _ForEachWhere(bool byMeasure, int value, FCIteratorHandler* handler);
};
