#pragma once

#include "FCBrowserRegionBase.h"

// Browses the MIDI expressions of each cell inside a region.
class FCBrowserMidiExpressions : public __FCBrowserRegionBase {
  public:
    __FCBase* FindFirst(FCIteratorHandler*) override { return nullptr; }
    bool RegionIterateCellHandler(FCCell* cell, FCIteratorHandler* handler,
                                  FCMusicRegion* region) override;
};
