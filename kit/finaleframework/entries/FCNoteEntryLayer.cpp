#include "FCNoteEntryLayer.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "FCBrowserMeasures.h"
#include "FCIteratorHandler.h"
#include "FCMusicRegion.h"
#include "FCNoteEntries.h"
#include "FCTuplet.h"
#include "FXBinding.h"

namespace {
constexpr uint32_t V = FRAMEWORK_ENIGMA_VERSION;

int16_t SlotOf(int16_t instrument) {
    return static_cast<int16_t>(FX_InstToSlot(instrument, 0, V));
}

// Stores a tuplet definition as the entry's tuplet record at that incidence: over the record
// there, or as a new one where there is none yet.
bool StoreTuplet(int32_t entryNumber, int16_t incidence, EDTTuplet2005& definition) {
    uint8_t key[8] = {};
    FXWrite<int32_t>(key, 0, entryNumber);
    FXWrite<int16_t>(key, 4, incidence);
    const int32_t size = sizeof definition;
    if (FX_SaveEData(FCTuplet::TAG, key, &definition, size, V)) return true;
    FXWrite<int32_t>(key, 0, entryNumber);
    FXWrite<int16_t>(key, 4, incidence);
    return FX_CreateEData(FCTuplet::TAG, key, &definition, size, V) != 0;
}
}  // namespace

FCNoteEntryLayer::FCNoteEntryLayer(int16_t layer, int16_t instrument, int16_t startMeasure,
                                   int16_t endMeasure)
    : _layerIndex(layer),
      _instrument(instrument),
      _startMeasure(startMeasure),
      _endMeasure(endMeasure) {
    // -1: to the document's last measure, as many as the host has measure records.
    if (endMeasure == -1)
        _endMeasure = static_cast<int16_t>(std::min(FCBrowserMeasures().GetCount(), INT16_MAX));
}

FCNoteEntryLayer::~FCNoteEntryLayer() {
    _FreeAll();
}

void FCNoteEntryLayer::_FreeAll() {
    _FreeElements();
    _count = 0;
    for (int32_t i = 0; i < _frameCount; ++i)
        if (_frames[i]) FX_FreeTGF(_frames[i], V);
    delete[] _frames;
    _frames = nullptr;
    _frameCount = 0;
}

bool FCNoteEntryLayer::_ShowsLayer(int16_t layer) const {
    return !_visibleLayersOnly || FX_GetShowLayer(layer, V) != 0;
}

EXTGF2005a* FCNoteEntryLayer::_GetFrame(int index) const {
    return index >= 0 && index < _frameCount ? _frames[index] : nullptr;
}

bool FCNoteEntryLayer::Load() {
    _FreeAll();
    const int n = int{_endMeasure} - _startMeasure + 1;
    if (n <= 0) return false;
    _frames = new EXTGF2005a*[static_cast<size_t>(n)]();
    _frameCount = n;
    // A layer is shown or hidden as a whole: asked once, so that a host whose answer changes
    // between measures cannot leave gaps in the chain that a tie would leap over.
    if (!_ShowsLayer(_layerIndex)) return true;
    for (int i = 0; i < n; ++i) {
        const int16_t measure = static_cast<int16_t>(_startMeasure + i);
        EXTGF2005a* frame = FX_LoadTGF(0, SlotOf(_instrument), measure, _layerIndex, 1, V);
        if (!frame) {
            _FreeAll();
            return false;
        }
        _frames[i] = frame;
    }
    _SetupEntries();
    return true;
}

void FCNoteEntryLayer::_SetupEntries() {
    // One chain across the measures; a measure without entries is passed over.
    _RequireFrameEntries(_frames, _frameCount);
    FCNoteEntry* last = nullptr;
    for (int32_t i = 0; i < _frameCount; ++i) last = _AddFrameEntries(_frames[i], last);
}

bool FCNoteEntryLayer::Save() {
    bool result = true;
    for (int32_t i = 0; i < _frameCount; ++i) {
        EXTGF2005a* frame = _frames[i];
        if (!frame) continue;
        bool unnumbered = false;
        const int count = FrameEntryCount(frame);
        for (int j = 0; j < count && !unnumbered; ++j)
            unnumbered = frame->entries[j].entryNumber == 0;
        if (FX_SaveTGF(frame, V) == 0) result = false;
        // Only a frame loaded afresh carries the numbers the host has just given.
        if (unnumbered) _frames[i] = _SilentTGFUpdate(frame);
    }
    return result;
}

EXTGF2005a* FCNoteEntryLayer::_SilentTGFUpdate(EXTGF2005a* oldFrame) {
    if (!oldFrame) return oldFrame;
    EXTGF2005a* newFrame = FX_LoadTGF(oldFrame->instrumentList, oldFrame->slot, oldFrame->measure,
                                      oldFrame->layer, 0, V);
    // A frame the host cannot give again, or one that lacks a record an entry stands on, would
    // leave entries pointing into a freed frame: the old frame stays.
    if (!newFrame) return oldFrame;
    const int newCount = FrameEntryCount(newFrame);
    std::vector<std::pair<FCNoteEntry*, int>> moving;
    for (int i = 0; i < GetCount(); ++i) {
        FCNoteEntry* entry = GetItemAt(i);
        if (!entry || entry->GetFrame() != oldFrame) continue;
        const int index = entry->_CalcTGFIndex();
        if (index < 0 || index >= newCount) {
            FX_FreeTGF(newFrame, V);
            return oldFrame;
        }
        moving.emplace_back(entry, index);
    }
    for (auto& [entry, index] : moving) entry->_Repoint(&newFrame->entries[index], newFrame);
    FX_FreeTGF(oldFrame, V);
    return newFrame;
}

int32_t FCNoteEntryLayer::ForEachInRegion(FCIteratorHandler* handler, FCMusicRegion* region) {
    if (!handler || !region) return 0;
    int32_t n = 0;
    for (int i = 0; i < GetCount(); ++i) {
        FCNoteEntry* entry = GetItemAt(i);
        if (!entry || !region->IsEntryPosWithin(entry)) continue;
        if (!handler->Iterate(entry)) break;
        ++n;
    }
    return n;
}

int32_t FCNoteEntryLayer::CalcRegionCount(FCMusicRegion* region) {
    if (!region) return 0;
    int32_t n = 0;
    for (int i = 0; i < GetCount(); ++i) {
        FCNoteEntry* entry = GetItemAt(i);
        if (entry && region->IsEntryPosWithin(entry)) ++n;
    }
    return n;
}

FCNoteEntry* FCNoteEntryLayer::GetRegionItemAt(int index, FCMusicRegion* region) {
    if (!region || index < 0) return nullptr;
    for (int i = 0; i < GetCount(); ++i) {
        FCNoteEntry* entry = GetItemAt(i);
        if (!entry || !region->IsEntryPosWithin(entry)) continue;
        if (index-- == 0) return entry;
    }
    return nullptr;
}

FCNoteEntries* FCNoteEntryLayer::CreateRegionEntries(FCMusicRegion* region) {
    FCNoteEntries* clones = new FCNoteEntries;
    if (!region) return clones;
    FCNoteEntry* previous = nullptr;
    for (int i = 0; i < GetCount(); ++i) {
        FCNoteEntry* entry = GetItemAt(i);
        if (!entry || !region->IsEntryPosWithin(entry)) continue;
        FCNoteEntry* clone = entry->CreateShallowClone();
        clone->_SetPrevious(previous);
        if (previous) previous->_SetNext(clone);
        clones->Add(clone);
        previous = clone;
    }
    return clones;
}

FCNoteEntry* FCNoteEntryLayer::InsertEntriesAfter(FCNoteEntry* entry, int count) {
    if (!entry || count < 1 || GetIndexOf(entry) < 0) return nullptr;
    EXTGF2005a* frame = entry->GetFrame();
    const int k = entry->_CalcTGFIndex();
    const int before = FrameEntryCount(frame);
    if (!frame || k < 0 || count > INT16_MAX - before) return nullptr;

    // The host may move the frame's array: note where every entry of the frame stands now.
    std::vector<std::pair<FCNoteEntry*, int>> onFrame;
    for (int i = 0; i < GetCount(); ++i) {
        FCNoteEntry* other = GetItemAt(i);
        if (other && other->GetFrame() == frame)
            onFrame.emplace_back(other, other->_CalcTGFIndex());
    }
    FCNoteEntry* oldNext = entry->Next();
    FX_InsertEXENTRY(frame, static_cast<int16_t>(k + 1), static_cast<int16_t>(count), V);

    const int after = FrameEntryCount(frame);
    const bool inserted = after == before + count;
    for (auto& [other, index] : onFrame) {
        const int now = inserted && index > k ? index + count : index;
        // A record the host no longer has is not pointed at.
        other->_Repoint(index >= 0 && now < after ? &frame->entries[now] : nullptr, frame);
    }
    if (!inserted) return nullptr;

    const int at = GetIndexOf(entry);
    FCNoteEntry* previous = entry;
    FCNoteEntry* first = nullptr;
    for (int i = 0; i < count; ++i) {
        FCNoteEntry* added = new FCNoteEntry(&frame->entries[k + 1 + i], frame);
        added->_SetPrevious(previous);
        previous->_SetNext(added);
        InsertItemAt(added, at + 1 + i);
        if (!first) first = added;
        previous = added;
    }
    previous->_SetNext(oldNext);
    if (oldNext) oldNext->_SetPrevious(previous);
    return first;
}

int32_t FCNoteEntryLayer::CalcFrameDuration(int measure) {
    if (measure < _startMeasure || measure > _endMeasure) return 0;
    // A slot without a frame (a hidden layer, or nothing loaded) has no music to measure.
    EXTGF2005a* frame = _GetFrame(measure - _startMeasure);
    return frame ? FX_GetTGFDuration(frame, V) : 0;
}

FCNoteEntryLayer* FCNoteEntryLayer::CreateCloneEntries(int16_t layer, int16_t instrument,
                                                       int16_t startMeasure) {
    FCNoteEntryLayer* clone =
        new FCNoteEntryLayer(_layerIndex, _instrument, _startMeasure, _endMeasure);
    clone->_LoadRedir(layer, instrument, startMeasure);
    return clone;
}

bool FCNoteEntryLayer::_LoadRedir(int16_t newLayer, int16_t newInstrument,
                                  int16_t newStartMeasure) {
    _FreeAll();
    const int n = int{_endMeasure} - _startMeasure + 1;
    if (n <= 0) return false;
    // Target measures that do not exist as measure numbers cannot be loaded.
    if (int{newStartMeasure} + n - 1 > INT16_MAX) return false;
    _frames = new EXTGF2005a*[static_cast<size_t>(n)]();
    _frameCount = n;
    const bool shown = _ShowsLayer(_layerIndex);  // asked once, as in Load
    for (int i = 0; i < n; ++i) {
        if (!shown) continue;
        EXTGF2005a* target = FX_LoadTGF(0, SlotOf(newInstrument),
                                        static_cast<int16_t>(newStartMeasure + i), newLayer, 0, V);
        if (!target) {
            _FreeAll();
            return false;
        }
        _frames[i] = target;
        EXTGF2005a* source = FX_LoadTGF(0, SlotOf(_instrument),
                                        static_cast<int16_t>(_startMeasure + i), _layerIndex, 0, V);
        if (!source) {
            _FreeAll();
            return false;
        }
        _CopyEntries(source, target);
        FX_FreeTGF(source, V);
    }
    _instrument = newInstrument;
    _endMeasure = static_cast<int16_t>(newStartMeasure + (_endMeasure - _startMeasure));
    _startMeasure = newStartMeasure;
    _layerIndex = newLayer;
    _SetupEntries();
    return true;
}

bool FCNoteEntryLayer::CloneTuplets(FCNoteEntryLayer* source) {
    if (!source || source->GetCount() != GetCount()) return false;
    bool result = true;
    for (int i = 0; i < GetCount(); ++i) {
        FCNoteEntry* from = source->GetItemAt(i);
        FCNoteEntry* to = GetItemAt(i);
        if (!from || !to || !to->GetEntryRecord()) continue;
        if (!(from->GetEntryRecord() && (from->GetEntryRecord()->flags & ENTRY_FLAG_TUPLETS)))
            continue;
        bool stored = false;
        EDTTuplet2005 definition;
        for (int k = 0; k <= INT16_MAX; ++k) {
            const int16_t incidence = static_cast<int16_t>(k);
            if (!from->_GetTupletDef(incidence, &definition)) break;
            // Records under entry number 0 would belong to no entry.
            if (to->GetEntryNumber() == 0 ||
                !StoreTuplet(to->GetEntryNumber(), incidence, definition)) {
                result = false;
                break;
            }
            stored = true;
        }
        Set32BitFlag(FX_FIELD(to->GetEntryRecord(), EXENTRY, flags), ENTRY_FLAG_TUPLETS, stored);
    }
    return result;
}
