#pragma once

#include "FCOther.h"

// Several records per item number, told apart by incidence.
// There is no first record without an item: collections load them with LoadAllForItem.
class __FCInciOther : public __FCOther {
  public:
    bool LoadFirst() override { return false; }
    virtual bool Load(uint16_t item, int16_t incidence);
    // Appends a new record as the item's next incidence; the key then names it.
    virtual bool SaveNew(uint16_t item);
};
