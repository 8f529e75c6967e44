#include "FCBrowserNoteEntries.h"

#include "FCIteratorHandler.h"
#include "FCNoteEntry.h"
#include "FCNoteEntryCell.h"

bool FCBrowserNoteEntries::RegionIterateCellHandler(FCCell* cell, FCIteratorHandler* handler,
                                                    FCMusicRegion* region) {
    FCNoteEntryCell entries(cell);
    entries.SetLayerSelectionMode(_layerMode);
    entries.Load();  // a cell that does not load is walked as empty
    bool result = true;
    for (int i = 0; i < entries.GetCount(); ++i) {
        FCNoteEntry* entry = entries.GetRegionItemAt(i, region);
        if (!entry) continue;
        const bool goOn = handler->Iterate(entry);
        entry->_PackEXENTRYNotes();  // drops the notes the handler deleted
        if (!goOn) {
            result = false;
            break;
        }
    }
    if (handler->GetSaveChanges()) {
        if (_deleteNullEntries) entries.DeleteAllNullEntries();
        entries.Save();
    }
    return result;
}
