#pragma once

#include <cstdint>

#include "FCNoteEntryCollection.h"

class FCCell;
class FCMusicRegion;

// The entries of one cell (one staff in one measure) across its layers.
// One entry frame per selected layer, all their entries in one collection, layer by layer,
// each layer's entries chained among themselves. The cell owns its frames and entries and
// gives every frame back when it goes.
class FCNoteEntryCell : public __FCNoteEntryCollection {
  public:
    // The most layers a cell can hold, whatever number the host gives.
    static constexpr int MAX_LAYERS = 20;

    // Measure and staff are the cell's (0 without one); the host's shown layers are read.
    explicit FCNoteEntryCell(FCCell* cell);
    ~FCNoteEntryCell() override;

    const char* ClassName() override { return "FCNoteEntryCell"; }

    bool Load();
    // Stores the frames of the layers below the host's layer count as it answers now.
    bool Save();
    void _SetupEntries();
    // Removes every entry of duration 0 from the frames and builds the entries anew.
    void DeleteAllNullEntries();
    // The entry nearest to the position, the first met on a tie; null when none lies closer
    // than 20000 duration units.
    FCNoteEntry* FindClosestPos(int32_t position);
    // The entry at that index of the collection, unless its position lies before the region's
    // start (in the start measure) or after its end (in the end measure); null for an index
    // outside the collection.
    FCNoteEntry* GetRegionItemAt(int index, FCMusicRegion* region);

    int32_t GetMeasure() const { return _measure; }
    // The staff, as an instrument number.
    int32_t GetStaff() const { return _instrument; }
    // Which layers Load reads: 0 those the host shows, -1 every layer, 1 to 4 only that layer
    // (1 is the first), anything else none.
    int32_t GetLayerSelectionMode() const { return _layerMode; }
    void SetLayerSelectionMode(int32_t mode) { _layerMode = mode; }
    // The frame of that layer index; null when not loaded.
    EXTGF2005a* _GetFrame(int layer) const;

  private:
    bool _IsLayerSelected(int layer) const;
    // Destroys the entries and gives every frame back.
    void _FreeAll();

    EXTGF2005a* _frames[MAX_LAYERS] = {};
    int32_t _measure = 0;
    int32_t _instrument = 0;
    int32_t _layerMode = 0;
};
