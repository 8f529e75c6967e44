#pragma once

#include "FCCollectionData.h"
#include "FCMeasure.h"

class FCMusicRegion;

// Measure records loaded from the host, each an independent FCMeasure.
class FCMeasures : public __FCCollectionData {
  public:
    const char* ClassName() override { return "FCMeasures"; }
    __FCBaseData* CreateElement() override { return new FCMeasure; }

    FCMeasure* GetItemAt(int index) const {
        return static_cast<FCMeasure*>(__FCCollection::GetItemAt(index));
    }

    // Replaces the elements by the measures of the region's measure range that load, in
    // ascending order; a null region leaves the collection empty.
    void LoadRegion(FCMusicRegion* region);
};
