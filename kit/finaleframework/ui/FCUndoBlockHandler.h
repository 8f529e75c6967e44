#pragma once

#include "FCBase.h"

// The editing work that FCUndoBlock runs inside one host edit.
class __FCUndoBlockHandler : public __FCBase {
  public:
    const char* ClassName() override { return "__FCUndoBlockHandler"; }
    // True when the work succeeded and should stay; false takes the whole edit back.
    virtual bool Execute() = 0;
};
