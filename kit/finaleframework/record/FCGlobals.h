#pragma once

#include "FCBaseData.h"

// Records numbered from 0 by a signed 16-bit item at +0.
class __FCGlobals : public __FCBaseData {
  public:
    const char* ClassName() override { return "__FCGlobals"; }
    bool LoadFirst() override { return Load(0); }
    bool Load(int16_t item);
};
