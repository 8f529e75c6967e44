#include "FCNoteEntryCell.h"

#include <algorithm>

#include "FCCell.h"
#include "FCMusicRegion.h"
#include "FXBinding.h"

namespace {
constexpr uint32_t V = FRAMEWORK_ENIGMA_VERSION;
// Entries this far from a position or farther are never the closest.
constexpr int64_t kClosestBound = 20000;

// The host's layer count, within what a cell holds.
int LayerCount() {
    return std::clamp<int>(FX_GetMaxLayers(V), 0, FCNoteEntryCell::MAX_LAYERS);
}
}  // namespace

FCNoteEntryCell::FCNoteEntryCell(FCCell* cell) {
    if (cell) {
        _measure = cell->GetMeasure();
        _instrument = cell->GetStaff();
    }
}

FCNoteEntryCell::~FCNoteEntryCell() {
    _FreeAll();
}

// Every slot is looked at, not only the host's current layer count: a host that now answers
// fewer layers still gets back every frame it gave.
void FCNoteEntryCell::_FreeAll() {
    _FreeElements();
    _count = 0;
    for (EXTGF2005a*& frame : _frames) {
        if (frame) FX_FreeTGF(frame, V);
        frame = nullptr;
    }
}

EXTGF2005a* FCNoteEntryCell::_GetFrame(int layer) const {
    return layer >= 0 && layer < MAX_LAYERS ? _frames[layer] : nullptr;
}

bool FCNoteEntryCell::_IsLayerSelected(int layer) const {
    switch (_layerMode) {
        case 0:
            return FX_GetShowLayer(static_cast<int16_t>(layer), V) != 0;
        case -1:
            return true;
        case 1:
        case 2:
        case 3:
        case 4:
            return layer == _layerMode - 1;
        default:
            return false;
    }
}

bool FCNoteEntryCell::Load() {
    _FreeAll();
    for (int layer = 0; layer < LayerCount(); ++layer) {
        if (!_IsLayerSelected(layer)) continue;
        const int16_t slot =
            static_cast<int16_t>(FX_InstToSlot(static_cast<int16_t>(_instrument), 0, V));
        EXTGF2005a* frame =
            FX_LoadTGF(0, slot, static_cast<int16_t>(_measure), static_cast<int16_t>(layer), 1, V);
        if (!frame) {
            _FreeAll();
            return false;
        }
        _frames[layer] = frame;
    }
    _SetupEntries();
    return true;
}

void FCNoteEntryCell::_SetupEntries() {
    // Each layer's entries are linked among themselves only.
    _RequireFrameEntries(_frames, MAX_LAYERS);
    for (EXTGF2005a* frame : _frames) _AddFrameEntries(frame, nullptr);
}

bool FCNoteEntryCell::Save() {
    // Only the layers the host has now; the others are still given back when the cell goes.
    bool result = true;
    for (int layer = 0; layer < LayerCount(); ++layer)
        if (_frames[layer] && FX_SaveTGF(_frames[layer], V) == 0) result = false;
    return result;
}

void FCNoteEntryCell::DeleteAllNullEntries() {
    // Each deletion may move a frame's entry array, so no entry object may look at a record
    // once the first one is deleted: they go first, and are built anew at the end.
    _FreeElements();
    _count = 0;
    for (EXTGF2005a* frame : _frames) {
        int j = 0;
        while (j < FrameEntryCount(frame)) {
            if (frame->entries[j].duration != 0) {
                ++j;
                continue;
            }
            const int before = FrameEntryCount(frame);
            FX_DeleteEXENTRY(frame, static_cast<int16_t>(j), 1, V);
            // A deletion the host refused leaves the record where it is: pass over it.
            if (FrameEntryCount(frame) >= before) ++j;
        }
    }
    _SetupEntries();
}

FCNoteEntry* FCNoteEntryCell::FindClosestPos(int32_t position) {
    FCNoteEntry* result = nullptr;
    int64_t best = kClosestBound;
    for (int i = 0; i < GetCount(); ++i) {
        FCNoteEntry* entry = GetItemAt(i);
        if (!entry || !entry->GetEntryRecord()) continue;
        const int64_t distance = entry->GetMeasurePos() - int64_t{position};
        const int64_t d = distance < 0 ? -distance : distance;
        if (d < best) {
            best = d;
            result = entry;
        }
    }
    return result;
}

FCNoteEntry* FCNoteEntryCell::GetRegionItemAt(int index, FCMusicRegion* region) {
    FCNoteEntry* entry = GetItemAt(index);  // null outside the collection
    if (!entry || !region) return nullptr;
    const int32_t position = entry->GetMeasurePos();
    if (_measure == region->GetStartMeasure() && position < region->GetStartMeasurePos())
        return nullptr;
    if (_measure == region->GetEndMeasure() && position > region->GetEndMeasurePos())
        return nullptr;
    return entry;
}
