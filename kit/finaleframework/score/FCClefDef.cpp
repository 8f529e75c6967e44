#include "FCClefDef.h"

#include "finalepdk.h"

int16_t FCClefDef::GetClefOffset() const {
    return FXRead<int16_t>(_record, 0);
}
