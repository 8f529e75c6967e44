#pragma once

#include "FCCollection.h"
#include "FCNotePitch.h"

// Detached pitches, owned.
class FCNotePitches : public __FCCollection {
  public:
    const char* ClassName() override { return "FCNotePitches"; }
    FCNotePitch* GetItemAt(int index) const {
        return static_cast<FCNotePitch*>(__FCCollection::GetItemAt(index));
    }
};
