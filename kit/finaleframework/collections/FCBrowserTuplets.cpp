#include "FCBrowserTuplets.h"

#include "FCIteratorHandler.h"
#include "FCNoteEntry.h"
#include "FCNoteEntryCell.h"
#include "FCTuplet.h"

bool FCBrowserTuplets::RegionIterateCellHandler(FCCell* cell, FCIteratorHandler* handler,
                                                FCMusicRegion* region) {
    FCNoteEntryCell entries(cell);
    entries.Load();  // a cell that does not load is walked as empty
    for (int i = 0; i < entries.GetCount(); ++i) {
        FCNoteEntry* entry = entries.GetRegionItemAt(i, region);
        if (!entry || !entry->GetEntryRecord() ||
            !(entry->GetEntryRecord()->flags & ENTRY_FLAG_TUPLETS))
            continue;
        FCTuplet tuplet;
        tuplet.SetOwningEntry(entry);
        if (!tuplet.Load(entry->GetEntryNumber(), 0)) continue;
        do {
            if (!handler->Iterate(&tuplet)) return false;
        } while (tuplet.LoadNext());
    }
    return true;
}
