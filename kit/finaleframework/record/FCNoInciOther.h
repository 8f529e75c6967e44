#pragma once

#include "FCOther.h"

// One record per item number, incidence always 0; item numbers start at 1.
class __FCNoInciOther : public __FCOther {
  public:
    const char* ClassName() override { return "__FCNoInciOther"; }
    bool LoadFirst() override { return Load(1); }
    virtual bool Load(uint16_t item);
    virtual bool SaveAs(uint16_t item);
    // Creates a new record; the host chooses its item number (read it with GetItemNo).
    virtual bool SaveNew();
    virtual uint16_t GetItemNo() { return _GetKeyItem(); }
};
