#pragma once

#include "FCBrowserRegionBase.h"

// Browses the expressions attached to each cell's own staff inside a region.
class FCBrowserExpressions : public __FCBrowserRegionBase {
  public:
    __FCBase* FindFirst(FCIteratorHandler*) override { return nullptr; }
    bool RegionIterateCellHandler(FCCell* cell, FCIteratorHandler* handler,
                                  FCMusicRegion* region) override;
};
