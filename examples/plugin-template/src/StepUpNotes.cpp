#include "finaleframework.h"

// Moves every note of each entry it is handed one step up the staff.
class StepUpHandler : public FCIteratorHandler {
  public:
    bool Iterate(__FCBase* item) override {
        FCNoteEntry* entry = static_cast<FCNoteEntry*>(item);
        for (int i = 0; i < entry->GetNoteCount(); ++i) {
            FCNote* note = entry->GetItemAt(i);
            note->SetDisplacement(static_cast<int16_t>(note->GetDisplacement() + 1));
        }
        return true;  // go on with the next entry
    }
};

// The command: every staff and shown layer of the region, one step up.
void StepUpNotes(FCMusicRegion* region) {
    StepUpHandler handler;
    handler.SetSaveChanges(true);  // store each cell once its entries were changed
    FCBrowserNoteEntries entries;
    entries.ForEachInRegion(&handler, region);
}
