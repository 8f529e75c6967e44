#include "FCMusicRegion.h"

#include <cstring>

#include "FCCell.h"
#include "FCIteratorHandler.h"
#include "FCMeasure.h"
#include "FCNoteEntry.h"
#include "FCStaff.h"
#include "FXBinding.h"

namespace {
constexpr uint32_t V = FRAMEWORK_ENIGMA_VERSION;
constexpr int32_t kCopy = 1;
constexpr int32_t kCut = 2;

int16_t CurrentDocument() {
    return static_cast<int16_t>(FX_GetCurrentEnigmaDocument(V));
}
}  // namespace

FCMusicRegion::FCMusicRegion(const EREGION* record) {
    if (record) SetEnigmaRegion(record);
}

void FCMusicRegion::SetEnigmaRegion(const EREGION* record) {
    if (record)
        std::memcpy(&_region, record, sizeof _region);
    else
        _region = EREGION{};
    _document = CurrentDocument();
}

bool FCMusicRegion::SetCurrentSelection() {
    uint8_t first[4] = {};
    EREGION selected{}, whole{};
    const bool result = FX_GetCurERegions(first, &selected, &whole, V) != 0;
    _region = selected;
    _document = CurrentDocument();
    return result;
}

bool FCMusicRegion::SetFullDocument() {
    uint8_t first[4] = {};
    EREGION selected{}, whole{};
    FX_GetCurERegions(first, &selected, &whole, V);
    _region = whole;
    _document = CurrentDocument();
    return true;
}

bool FCMusicRegion::SetFullMeasureStack() {
    if (IsEmpty()) return false;
    const uint16_t list = _region.startInstrumentList;
    if (FX_SlotToInst(1, list, V) <= 0) return false;
    _region.startSlot = 1;
    int slot = 1;
    while (slot < INT16_MAX && FX_SlotToInst(static_cast<int16_t>(slot + 1), list, V) > 0) ++slot;
    _region.endSlot = static_cast<int16_t>(slot);
    return true;
}

void FCMusicRegion::ConvertToGlobalInstrumentList() {
    const int16_t startInstrument =
        static_cast<int16_t>(FX_SlotToInst(_region.startSlot, _region.startInstrumentList, V));
    const int16_t endInstrument =
        static_cast<int16_t>(FX_SlotToInst(_region.endSlot, _region.endInstrumentList, V));
    _region.startInstrumentList = 0;
    _region.endInstrumentList = 0;
    _region.startSlot = static_cast<int16_t>(FX_InstToSlot(startInstrument, 0, V));
    _region.endSlot = static_cast<int16_t>(FX_InstToSlot(endInstrument, 0, V));
}

void FCMusicRegion::SetInDocument() {
    if (IsCurrentDocument()) FX_SetCurERegion(&_region, V);
}

bool FCMusicRegion::IsMeasureIncluded(int16_t measure) const {
    return _region.startMeasure <= measure && measure <= _region.endMeasure;
}

bool FCMusicRegion::IsStaffIncluded(int16_t instrument) const {
    const int slot =
        static_cast<int16_t>(FX_InstToSlot(instrument, _region.startInstrumentList, V));
    return slot > 0 && _region.startSlot <= slot && slot <= _region.endSlot;
}

bool FCMusicRegion::IsMeasurePosWithin(int measure, int32_t position) const {
    const int16_t m = static_cast<int16_t>(measure);
    if (m != measure || !IsMeasureIncluded(m)) return false;
    if (m == _region.startMeasure && position < _region.startPosition) return false;
    if (m == _region.endMeasure && position > _region.endPosition) return false;
    return true;
}

bool FCMusicRegion::IsCellPosWithin(FCCell* cell, int32_t position) const {
    if (!cell) return false;
    // A staff number beyond 16 bits names no staff; it must not pass for another one.
    const int16_t staff = static_cast<int16_t>(cell->GetStaff());
    if (staff != cell->GetStaff() || !IsStaffIncluded(staff)) return false;
    return IsMeasurePosWithin(cell->GetMeasure(), position);
}

bool FCMusicRegion::IsEntryPosWithin(FCNoteEntry* entry) const {
    if (!entry || !entry->GetEntryRecord()) return false;
    return IsMeasureIncluded(entry->GetMeasure()) && IsStaffIncluded(entry->GetStaff()) &&
           IsMeasurePosWithin(entry->GetMeasure(), entry->GetMeasurePos());
}

bool FCMusicRegion::IsPartial() const {
    return _region.startPosition != 0 || _region.endPosition != EREGION_END_OF_MEASURE;
}

bool FCMusicRegion::IsOverlapping(FCMusicRegion* other) const {
    if (!other) return false;
    const EREGION& a = _region;
    const EREGION& b = other->_region;
    if (a.endMeasure < b.startMeasure || a.startMeasure > b.endMeasure) return false;
    if (a.endMeasure == b.startMeasure && a.endPosition < b.startPosition) return false;
    if (a.startMeasure == b.endMeasure && a.startPosition > b.endPosition) return false;
    for (int sa = a.startSlot; sa <= a.endSlot; ++sa) {
        const int32_t staff = FX_SlotToInst(static_cast<int16_t>(sa), a.startInstrumentList, V);
        if (staff <= 0) continue;  // a slot without a staff shares nothing
        for (int sb = b.startSlot; sb <= b.endSlot; ++sb)
            if (staff == FX_SlotToInst(static_cast<int16_t>(sb), b.startInstrumentList, V))
                return true;
    }
    return false;
}

bool FCMusicRegion::IsCurrentDocument() const {
    return _document == CurrentDocument();
}

bool FCMusicRegion::IsLastEndMeasure() const {
    const int end = _region.endMeasure;
    if (end < 1) return false;  // measures are numbered from 1
    FCMeasure last;
    if (!last.Load(static_cast<uint16_t>(end))) return false;
    FCMeasure next;
    return !next.Load(static_cast<uint16_t>(end + 1));
}

bool FCMusicRegion::IsFullDocumentWidth() const {
    return !IsPartial() && _region.startMeasure == 1 && IsLastEndMeasure();
}

int32_t FCMusicRegion::CalcDuration() const {
    if (IsEmpty()) return 0;
    const int16_t instrument =
        static_cast<int16_t>(FX_SlotToInst(_region.startSlot, _region.startInstrumentList, V));
    int64_t total = 0;
    for (int m = _region.startMeasure; m <= _region.endMeasure; ++m) {
        int64_t last = int64_t{FX_GetMeasureDuration(instrument, static_cast<int16_t>(m), V)} - 1;
        if (m == _region.endMeasure && _region.endPosition != EREGION_END_OF_MEASURE)
            last = _region.endPosition;
        const int64_t first = m == _region.startMeasure ? _region.startPosition : 0;
        total += last - first + 1;
    }
    return static_cast<int32_t>(total);
}

int32_t FCMusicRegion::ForEachStaff(FCIteratorHandler* handler) {
    if (!handler) return 0;
    int32_t count = 0;
    for (int slot = _region.startSlot; slot <= _region.endSlot; ++slot) {
        FCStaff staff;
        staff.Load(static_cast<uint16_t>(
            FX_SlotToInst(static_cast<int16_t>(slot), _region.startInstrumentList, V)));
        ++count;
        if (!handler->Iterate(&staff)) break;
    }
    return count;
}

bool FCMusicRegion::_Transfer(int32_t mode) {
    if (_clipToken != 0 || IsEmpty()) return false;
    EREGIONTRANSFER transfer{_region, 1, 1};
    _clipToken = FX_CopyCutMusic(&transfer, mode, V);
    return _clipToken != 0;
}

bool FCMusicRegion::CopyMusic() {
    return _Transfer(kCopy);
}

bool FCMusicRegion::CutMusic() {
    return _Transfer(kCut);
}

bool FCMusicRegion::PasteMusic() {
    if (_clipToken == 0 || IsEmpty()) return false;
    EREGIONTRANSFER transfer{_region, 1, 1};
    return FX_InsertMergeMusic(_clipToken, &transfer, 1, V) != 0;
}

bool FCMusicRegion::ReleaseMusic() {
    if (_clipToken == 0) return false;
    if (FX_DisposeFinClipFileToken(_clipToken, V) == 0) return false;
    _clipToken = 0;
    return true;
}
