#include "FCInci.h"

#include "finalepdk.h"

bool __FCInci::Load(uint16_t item, int16_t incidence) {
    FXWrite<uint16_t>(_recordKey, 0, item);
    FXWrite<int16_t>(_recordKey, 2, incidence);
    return LoadDataBlock();
}
