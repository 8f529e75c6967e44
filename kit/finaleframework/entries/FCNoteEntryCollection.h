#pragma once

#include "FCCollection.h"
#include "FCNoteEntry.h"

// Common base of the entry layer and the entry cell.
// An owning collection of FCNoteEntry objects; it keeps the collection's class name.
class __FCNoteEntryCollection : public __FCCollection {
  public:
    ~__FCNoteEntryCollection() override = default;

    FCNoteEntry* GetItemAt(int index) const {
        return static_cast<FCNoteEntry*>(__FCCollection::GetItemAt(index));
    }

    // Makes one entry per record of the frame, each linked behind the one before it (the first
    // behind `last`), adds them, and answers the last one made (`last` when the frame is empty).
    FCNoteEntry* _AddFrameEntries(EXTGF2005a* frame, FCNoteEntry* last);
    // Makes room at once for the entries of these frames (null ones hold none).
    void _RequireFrameEntries(EXTGF2005a* const* frames, int frameCount);

    // Replaces the entries of the target frame with copies of those of the source: the copies
    // are unnumbered, and lose their note details, articulations, tuplets and special
    // alterations.
    void _CopyEntries(EXTGF2005a* source, EXTGF2005a* target);
};
