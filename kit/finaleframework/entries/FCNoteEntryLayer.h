#pragma once

#include <cstdint>

#include "FCNoteEntryCollection.h"

class FCIteratorHandler;
class FCMusicRegion;
class FCNoteEntries;

// One layer of one staff over a run of measures.
// One entry frame per measure, every entry of them wrapped in an FCNoteEntry and chained
// across the measures. Entries change the frames in place; Save hands the frames back to the
// host. The layer owns its frames and entries.
class FCNoteEntryLayer : public __FCNoteEntryCollection {
  public:
    // An end measure of -1 stands for the document's last measure.
    FCNoteEntryLayer(int16_t layer, int16_t instrument, int16_t startMeasure, int16_t endMeasure);
    ~FCNoteEntryLayer() override;

    const char* ClassName() override { return "FCNoteEntryLayer"; }

    bool Load();
    bool Save();
    int32_t ForEachInRegion(FCIteratorHandler* handler, FCMusicRegion* region);
    int32_t CalcRegionCount(FCMusicRegion* region);
    FCNoteEntry* GetRegionItemAt(int index, FCMusicRegion* region);
    // Clones (over this layer's frames) of the entries inside the region; the layer must stay
    // loaded, and unchanged in shape, while they are used.
    FCNoteEntries* CreateRegionEntries(FCMusicRegion* region);
    FCNoteEntry* InsertEntriesAfter(FCNoteEntry* entry, int count);
    int32_t CalcFrameDuration(int measure);
    FCNoteEntryLayer* CreateCloneEntries(int16_t layer, int16_t instrument, int16_t startMeasure);
    // Stores the tuplets of each of the source's entries under the entry of this layer at the
    // same index, and sets that entry's tuplet flag when any was stored. This layer's entries
    // must be numbered (saved and loaded again after a copy). False when the layers differ in
    // length (nothing changes) or when a tuplet could not be stored.
    bool CloneTuplets(FCNoteEntryLayer* source);

    void _SetupEntries();
    bool _LoadRedir(int16_t layer, int16_t instrument, int16_t startMeasure);
    EXTGF2005a* _SilentTGFUpdate(EXTGF2005a* frame);

    int16_t GetLayerIndex() const { return _layerIndex; }
    int16_t GetStaff() const { return _instrument; }
    int16_t GetStartMeasure() const { return _startMeasure; }
    int16_t GetEndMeasure() const { return _endMeasure; }
    bool GetVisibleLayersOnly() const { return _visibleLayersOnly; }
    void SetVisibleLayersOnly(bool state) { _visibleLayersOnly = state; }
    int32_t GetFrameCount() const { return _frameCount; }
    // The frame of slot i (measure start + i); null when not loaded.
    EXTGF2005a* _GetFrame(int index) const;

  private:
    // Destroys the entries and gives every frame back.
    void _FreeAll();
    bool _ShowsLayer(int16_t layer) const;

    int16_t _layerIndex;
    int16_t _instrument;
    int16_t _startMeasure;
    int16_t _endMeasure;
    bool _visibleLayersOnly = true;
    int32_t _frameCount = 0;
    EXTGF2005a** _frames = nullptr;
};
