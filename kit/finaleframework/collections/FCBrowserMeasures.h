#pragma once

#include "FCBrowserNoInciOther.h"

// Browses the document's measures, from measure 1 on.
class FCBrowserMeasures : public __FCBrowserNoInciOther {
  public:
    const char* ClassName() override { return "FCBrowserMeasures"; }
    __FCBaseData* CreateAnObject() override;
};
