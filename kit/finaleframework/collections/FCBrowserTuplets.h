#pragma once

#include "FCBrowserRegionBase.h"

// Browses the tuplets of the entries inside a region, in the layers the host shows.
class FCBrowserTuplets : public __FCBrowserRegionBase {
  public:
    __FCBase* FindFirst(FCIteratorHandler*) override { return nullptr; }
    bool RegionIterateCellHandler(FCCell* cell, FCIteratorHandler* handler,
                                  FCMusicRegion* region) override;
};
