#pragma once

#include <cstdint>

#include "FCBrowserBaseData.h"

// Browses records numbered by item (one record per item), such as measures.
class __FCBrowserNoInciOther : public __FCBrowserBaseData {
  public:
    const char* ClassName() override { return "__FCBrowserNoInciOther"; }
    // The record of that item as a new object the caller owns, or null.
    __FCBaseData* LoadAnElement(uint16_t item);
    // Walks from that item to the last one, without the PreProcess family.
    int ToEndFrom(uint16_t item, FCIteratorHandler* handler);
    // The number of records from item 1 on.
    int GetCount();
};
