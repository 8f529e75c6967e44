#pragma once

#include "FCNoteEntryCollection.h"

// A plain collection of entries, for detached entries such as the clones of a region's entries.
class FCNoteEntries : public __FCNoteEntryCollection {
  public:
    const char* ClassName() override { return "FCNoteEntries"; }
};
