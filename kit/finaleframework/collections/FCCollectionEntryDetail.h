#pragma once

#include "FCCollectionData.h"

class FCNoteEntry;

// The detail records of one note entry.
class __FCCollectionEntryDetail : public __FCCollectionData {
  public:
    const char* ClassName() override { return "__FCCollectionEntryDetail"; }
    // Does nothing (the old elements stay) without an owning entry with a numbered record.
    void LoadAll() override;
    // Deletes the element's record in the host and removes the element, lowering the
    // incidences of the later ones as the host closes the gap. The caller owns the removed
    // element. True while elements remain.
    bool DestroyItemAt(int index);

    FCNoteEntry* GetOwningEntry() const { return _entry; }
    void SetOwningEntry(FCNoteEntry* entry) { _entry = entry; }

  private:
    FCNoteEntry* _entry = nullptr;  // not owned
};
