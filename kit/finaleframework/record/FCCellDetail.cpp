#include "FCCellDetail.h"

#include "FCCell.h"
#include "finalepdk.h"

bool __FCCellDetail::LoadFirst() {
    if (!_cell) return false;
    FXWrite<uint16_t>(_recordKey, 0, static_cast<uint16_t>(_cell->GetStaff()));
    FXWrite<uint16_t>(_recordKey, 2, static_cast<uint16_t>(_cell->GetMeasure()));
    FXWrite<int16_t>(_recordKey, 4, 0);
    return LoadDataBlock();
}

bool __FCCellDetail::LoadNext() {
    const int16_t incidence = FXRead<int16_t>(_recordKey, 4);
    if (incidence == INT16_MAX) return false;
    FXWrite<int16_t>(_recordKey, 4, static_cast<int16_t>(incidence + 1));
    if (LoadDataBlock()) return true;
    FXWrite<int16_t>(_recordKey, 4, incidence);
    return false;
}
