#pragma once

#include "FCBrowserBase.h"

class FCCell;
class FCMusicRegion;

// Browses a region cell by cell, measure by measure, without the handler's PreProcess family.
class __FCBrowserRegionBase : public __FCBrowserBase {
  public:
    // The whole document.
    int ForEach(FCIteratorHandler* handler) override;
    // The count of cells whose walk went on to the end. The region's staves are those its slots
    // hold, in slot order.
    int ForEachInRegion(FCIteratorHandler* handler, FCMusicRegion* region);
    // Walks what the cell holds inside the region; false stops the whole walk.
    virtual bool RegionIterateCellHandler(FCCell* cell, FCIteratorHandler* handler,
                                          FCMusicRegion* region) = 0;
};
