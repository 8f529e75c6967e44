#include "FCBrowserRegionBase.h"

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
    int count = 0;
    // Counted in int: an end of 32767 must not wrap round into an endless walk.
    for (int measure = r->startMeasure; measure <= r->endMeasure; ++measure) {
        const int first =
            FX_SlotToInst(r->startSlot, r->startInstrumentList, FRAMEWORK_ENIGMA_VERSION);
        for (int staff = first;
             staff <= FX_SlotToInst(r->endSlot, r->endInstrumentList, FRAMEWORK_ENIGMA_VERSION);
             ++staff) {
            FCCell cell(measure, staff);
            if (!RegionIterateCellHandler(&cell, handler, region)) return count;
            ++count;
        }
    }
    return count;
}
