#pragma once

#include "FCCollectionData.h"

// Base of the collections of detail records (records under a cell, a pair of numbers or an entry).
class __FCCollectionDetail : public __FCCollectionData {
  public:
    const char* ClassName() override { return "__FCCollectionDetail"; }
};
