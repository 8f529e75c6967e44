#include "FCCurrentStaffSpec.h"

#include "FCNoteEntry.h"

bool FCCurrentStaffSpec::_LoadAt(uint16_t staff, int16_t measure, int32_t position) {
    FXWrite<uint16_t>(_recordKey, 0, staff);
    FXWrite<int16_t>(_recordKey, 2, measure);
    FXWrite<int32_t>(_recordKey, 4, position);
    return LoadDataBlock();
}

bool FCCurrentStaffSpec::Load(FCNoteEntry* entry) {
    if (!entry) return false;
    return _LoadAt(static_cast<uint16_t>(entry->GetStaff()), entry->GetMeasure(),
                   entry->GetMeasurePos());
}
