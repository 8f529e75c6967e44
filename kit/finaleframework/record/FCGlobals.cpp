#include "FCGlobals.h"

#include "finalepdk.h"

bool __FCGlobals::Load(int16_t item) {
    FXWrite<int16_t>(_recordKey, 0, item);  // the rest of the key is the host's
    return LoadDataBlock();
}
