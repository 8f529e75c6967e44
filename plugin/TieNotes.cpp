#include "TieNotes.h"

#include "FCNoteEntryLayer.h"
#include "FCTieHandler.h"
#include "FXBinding.h"

void TieNotes(FCMusicRegion* region, bool tie) {
    if (!region) return;
    // A region that holds no measure touches none; its end measure must not reach the layer,
    // which reads -1 as the document's last measure.
    if (region->GetEndMeasure() < region->GetStartMeasure() || region->GetEndMeasure() < 1) return;
    FCTieHandler handler(tie);
    for (int slot = region->GetStartSlot(); slot <= region->GetEndSlot(); ++slot) {
        const int16_t instrument = static_cast<int16_t>(
            FX_SlotToInst(static_cast<int16_t>(slot), region->GetStartInstrumentList(),
                          FRAMEWORK_ENIGMA_VERSION));
        // A staff the host does not place back in this slot is not the slot's: its frames and
        // the region's judgement of its entries would be of another staff.
        if (instrument <= 0 || FX_InstToSlot(instrument, region->GetStartInstrumentList(),
                                             FRAMEWORK_ENIGMA_VERSION) != slot)
            continue;
        for (int16_t layer = 0; layer < FX_GetMaxLayers(FRAMEWORK_ENIGMA_VERSION); ++layer) {
            FCNoteEntryLayer entries(layer, instrument, region->GetStartMeasure(),
                                     region->GetEndMeasure());
            // A layer that fails to load holds no entries; a failed save goes unreported.
            entries.Load();
            entries.ForEachInRegion(&handler, region);
            entries.Save();
        }
    }
}
