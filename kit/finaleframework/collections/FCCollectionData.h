#pragma once

#include <cstdint>

#include "FCCollection.h"

class __FCBaseData;

// A collection of independent record objects loaded from the host.
// A temporary element walks the records and a clone of it is added at each one.
class __FCCollectionData : public __FCCollection {
  public:
    const char* ClassName() override { return "__FCCollectionData"; }
    // A new, empty element; the caller owns it.
    virtual __FCBaseData* CreateElement() = 0;
    // Replaces the elements by one clone per record of the element's kind, in the host's order.
    virtual void LoadAll();

    // Handed to every element the collection creates or saves.
    uint32_t GetCustomTag() const { return _customTag; }
    void SetCustomTag(uint32_t tag) { _customTag = tag; }

  protected:
    // Destroys the elements (the array and its capacity stay) and makes the temporary element.
    __FCBaseData* _StartLoad();
    // Adds a clone of the element, if it can be cloned.
    void _AddCloneOf(__FCBaseData* element);

    uint32_t _customTag = 0;
};
