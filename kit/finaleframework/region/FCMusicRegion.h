#pragma once

#include <cstdint>

#include "FCBase.h"
#include "FXRecords.h"

class FCCell;
class FCIteratorHandler;
class FCNoteEntry;

// A rectangle of the score: staff slots crossed with measures.
// The slots are those of an instrument list, the measures cut at a position inside the first
// and the last measure. Every bound is inclusive; the start instrument list alone gives the
// slots their staves. A region whose start and end measures are both 0 is empty. It can hold
// the host's clip token for music copied or cut from it.
class FCMusicRegion : public __FCBase {
  public:
    // A copy of the host's record (with the current document), or all zeros for null.
    explicit FCMusicRegion(const EREGION* record = nullptr);
    // A token still held is not given back: that is ReleaseMusic's job.
    ~FCMusicRegion() override = default;

    const char* ClassName() override { return "FCMusicRegion"; }

    // Copies the record (all zeros for null) and takes the current document.
    void SetEnigmaRegion(const EREGION* record);
    bool SetCurrentSelection();
    bool SetFullDocument();
    bool SetFullMeasureStack();
    void ConvertToGlobalInstrumentList();
    void SetInDocument();

    bool IsEmpty() const { return _region.startMeasure == 0 && _region.endMeasure == 0; }
    bool IsMeasureIncluded(int16_t measure) const;
    bool IsStaffIncluded(int16_t instrument) const;
    bool IsMeasurePosWithin(int measure, int32_t position) const;
    bool IsCellPosWithin(FCCell* cell, int32_t position) const;
    bool IsEntryPosWithin(FCNoteEntry* entry) const;
    bool IsPartial() const;
    bool IsOverlapping(FCMusicRegion* other) const;
    bool IsCurrentDocument() const;
    // Whether the end measure is the document's last: it loads and the one after it does not.
    bool IsLastEndMeasure() const;
    bool IsFullDocumentWidth() const;

    int32_t CalcDuration() const;
    // Hands one FCStaff per slot to the handler, loaded or not, until it answers false; the
    // number of staves handed over, the one that stopped the walk included.
    int32_t ForEachStaff(FCIteratorHandler* handler);

    bool CopyMusic();
    bool CutMusic();
    bool PasteMusic();
    bool ReleaseMusic();

    EREGION* GetEnigmaRegion() { return &_region; }
    int16_t GetDocument() const { return _document; }
    uint32_t GetClipToken() const { return _clipToken; }

    uint16_t GetStartInstrumentList() const { return _region.startInstrumentList; }
    int16_t GetStartSlot() const { return _region.startSlot; }
    int16_t GetStartMeasure() const { return _region.startMeasure; }
    int32_t GetStartMeasurePos() const { return _region.startPosition; }
    uint16_t GetEndInstrumentList() const { return _region.endInstrumentList; }
    int16_t GetEndSlot() const { return _region.endSlot; }
    int16_t GetEndMeasure() const { return _region.endMeasure; }
    int32_t GetEndMeasurePos() const { return _region.endPosition; }

    void SetStartInstrumentList(uint16_t list) { _region.startInstrumentList = list; }
    void SetStartSlot(int16_t slot) { _region.startSlot = slot; }
    void SetStartMeasure(int16_t measure) { _region.startMeasure = measure; }
    void SetStartMeasurePos(int32_t position) { _region.startPosition = position; }
    void SetEndInstrumentList(uint16_t list) { _region.endInstrumentList = list; }
    void SetEndSlot(int16_t slot) { _region.endSlot = slot; }
    void SetEndMeasure(int16_t measure) { _region.endMeasure = measure; }
    void SetEndMeasurePos(int32_t position) { _region.endPosition = position; }

  private:
    bool _Transfer(int32_t mode);

    EREGION _region{};
    int16_t _document = 0;
    uint32_t _clipToken = 0;
};
