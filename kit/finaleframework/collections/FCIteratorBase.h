#pragma once

#include "FCBase.h"

class FCIteratorHandler;

// Base of everything that can be walked with a handler: collections and browsers.
class __FCIteratorBase : public __FCBase {
  public:
    const char* ClassName() override { return "__FCIteratorBase"; }
    virtual int ForEach(FCIteratorHandler* handler) = 0;
    virtual __FCBase* FindFirst(FCIteratorHandler* handler) = 0;
};
