#pragma once

#include "FCCollection.h"
#include "FCString.h"

// An owning collection of FCString objects; the tag-splitting operations of FCString return one.
class FCStrings : public __FCCollection {
  public:
    const char* ClassName() override { return "FCStrings"; }
    ~FCStrings() override = default;  // the collection destroys its strings
};
