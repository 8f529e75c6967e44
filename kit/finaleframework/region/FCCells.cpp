#include "FCCells.h"

#include "FCIteratorHandler.h"
#include "FCMusicRegion.h"
#include "FXBinding.h"

void FCCells::ApplyRegion(FCMusicRegion* region) {
    _FreeElements();
    _count = 0;
    if (!region) return;
    const uint16_t list = region->GetStartInstrumentList();
    for (int measure = region->GetStartMeasure(); measure <= region->GetEndMeasure(); ++measure) {
        for (int slot = region->GetStartSlot(); slot <= region->GetEndSlot(); ++slot) {
            const int32_t staff =
                FX_SlotToInst(static_cast<int16_t>(slot), list, FRAMEWORK_ENIGMA_VERSION);
            Add(new FCCell(measure, staff));
        }
    }
}

int32_t FCCells::ForEachAtMeasure(int measure, FCIteratorHandler* handler) {
    return _ForEachWhere(true, measure, handler);
}

int32_t FCCells::ForEachAtStaff(int staff, FCIteratorHandler* handler) {
    return _ForEachWhere(false, staff, handler);
}

int32_t FCCells::_ForEachWhere(bool byMeasure, int value, FCIteratorHandler* handler) {
    if (!handler) return 0;
    int32_t n = 0;
    for (int i = 0; i < GetCount(); ++i) {
        FCCell* cell = GetItemAt(i);
        if (!cell || (byMeasure ? cell->GetMeasure() : cell->GetStaff()) != value) continue;
        if (!handler->Iterate(cell)) break;
        ++n;
    }
    return n;
}
