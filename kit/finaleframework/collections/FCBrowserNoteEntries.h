#pragma once

#include <cstdint>

#include "FCBrowserRegionBase.h"

// Browses the note entries inside a region, cell by cell.
// With the handler's save-changes flag each cell is stored after its entries were handed over.
class FCBrowserNoteEntries : public __FCBrowserRegionBase {
  public:
    __FCBase* FindFirst(FCIteratorHandler*) override { return nullptr; }
    bool RegionIterateCellHandler(FCCell* cell, FCIteratorHandler* handler,
                                  FCMusicRegion* region) override;

    // Whether entries without content are removed from a cell before it is saved.
    bool GetDeleteNullEntries() const { return _deleteNullEntries; }
    void SetDeleteNullEntries(bool state) { _deleteNullEntries = state; }
    // Which layers each cell loads: 0 the shown ones, -1 all, 1 to 4 that one, else none.
    int32_t GetLayerSelectionMode() const { return _layerMode; }
    void SetLayerSelectionMode(int32_t mode) { _layerMode = mode; }

  private:
    bool _deleteNullEntries = false;
    int32_t _layerMode = 0;
};
