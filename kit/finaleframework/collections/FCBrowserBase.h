#pragma once

#include "FCIteratorBase.h"

// Base of the browsers: walks of host records that keep none of them.
// A handler must not keep the object it is handed: the next record is loaded into it, and it
// is destroyed at the end.
class __FCBrowserBase : public __FCIteratorBase {
  public:
    const char* ClassName() override { return "__FCBrowserBase"; }
};
