#pragma once

#include "FCBrowserBase.h"

class __FCBaseData;

// Walks every record of one kind with a single record object, loaded again at each record.
class __FCBrowserBaseData : public __FCBrowserBase {
  public:
    const char* ClassName() override { return "__FCBrowserBaseData"; }
    // Asks the handler's PreProcess family around the walk; the count of Iterate calls that
    // answered true.
    int ForEach(FCIteratorHandler* handler) override;
    // The first record the handler matches, as a new object the caller owns; null when none.
    __FCBase* FindFirst(FCIteratorHandler* handler) override;
    // A new, empty record object of the browsed kind.
    virtual __FCBaseData* CreateAnObject() = 0;
};
