#include "FCBrowserRegionBase.h"

#include <vector>
#include "FCCell.h"

#include "FCMusicRegion.h"
#include "finalepdk.h"

int __FCBrowserRegionBase::ForEach(FCIteratorHandler* handler) {
    FCMusicRegion region(nullptr);
    region.SetFullDocument();
    return ForEachInRegion(handler, &region);
}

int __FCBrowserRegionBase::ForEachInRegion(FCIteratorHandler* handler, FCMusicRegion* region) {
    if (!handler || !region) return 0;
    const EREGION* r = region->GetEnigmaRegion();
    // The region's staves slot by slot: staff numbers need not follow the slots' order. A slot
    // without a staff, or whose staff the host places back in another slot, adds none.
    const uint16_t list = r->startInstrumentList;
    std::vector<int> staves;
    for (int slot = r->startSlot; slot <= r->endSlot; ++slot) {
        const int staff = FX_SlotToInst(static_cast<int16_t>(slot), list, FRAMEWORK_ENIGMA_VERSION);
        if (staff > 0 &&
            FX_InstToSlot(static_cast<int16_t>(staff), list, FRAMEWORK_ENIGMA_VERSION) == slot)
            staves.push_back(staff);
    }
    int count = 0;
    // Counted in int: an end of 32767 must not wrap round into an endless walk.
    for (int measure = r->startMeasure; measure <= r->endMeasure; ++measure) {
        for (int staff : staves) {
            FCCell cell(measure, staff);
            if (!RegionIterateCellHandler(&cell, handler, region)) return count;
            ++count;
        }
    }
    return count;
}
