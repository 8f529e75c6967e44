// The substitute host's services, as the host exports them (arguments the binding widens arrive
// as 32-bit values). ServiceTable.cpp exports each under its FX_ name.
#pragma once

#include <cstdint>

#include "SubstituteHost.h"
#include "finalepdk.h"

namespace plovikhost::svc {

// What every service uses: the one host, and pointers as its log keeps them.
inline Host& H() {
    return Host::Get();
}
inline int64_t P(const void* p) {
    return static_cast<int64_t>(reinterpret_cast<intptr_t>(p));
}

// Host settings and messages.
int32_t FX_STDCALL GetMaxLayers(uint32_t version);
int32_t FX_STDCALL AlertMessage(FXARG, FXARG, FXARG, const char* message, uint32_t version);

// Services the binding treats specially (version raise, dialog fallbacks); they only log.
int32_t FX_STDCALL AnalyzeChord(FXARG, FXARG, FXARG, uint32_t version);
HWND FX_STDCALL GetDlgCntl(HWND dialog, int32_t item, uint32_t version);
int32_t FX_STDCALL ShowHideDlgItem(HWND dialog, int32_t item, int32_t show, uint32_t version);

// Documents, instrument lists, edits.
int32_t FX_STDCALL GetCurrentEnigmaDocument(uint32_t version);
int32_t FX_STDCALL SetCurrentEnigmaDocument(int32_t document, uint32_t version);
int32_t FX_STDCALL GetNextEnigmaDocument(int32_t document, uint32_t version);
int32_t FX_STDCALL GetDocumentPath(int32_t document, char* path, uint32_t version);
int32_t FX_STDCALL SlotToInst(int32_t slot, uint32_t list, uint32_t version);
int32_t FX_STDCALL InstToSlot(int32_t instrument, uint32_t list, uint32_t version);
int32_t FX_STDCALL StartFinaleEdit(const char* name, uint32_t version);
int32_t FX_STDCALL EndFinaleEdit(uint32_t version);
int32_t FX_STDCALL CancelFinaleEdit(uint32_t version);

// Parts of the current document.
int32_t FX_STDCALL GetCurrentPartID(uint32_t version);
int32_t FX_STDCALL SetCurrentPartID(int32_t part, uint32_t version);
int32_t FX_STDCALL GetNextPartID(int32_t part, uint32_t version);
const char* FX_STDCALL GetPartName(int32_t part, uint32_t version);

// The document window: what it shows, scrolling, menu items, redrawing.
int32_t FX_STDCALL GetCurrentWindowInfo(void* block, uint32_t version);
int32_t FX_STDCALL ScrollTo(int32_t measure, int32_t staff, uint32_t version);
int32_t FX_STDCALL ExecuteMenuItem(int32_t item, uint32_t version);
int32_t FX_STDCALL RedrawMusic(EREGION* region, uint32_t version);

// The current document's font table.
int32_t FX_STDCALL FontNumToName(int32_t number, char* name, uint32_t version);
int32_t FX_STDCALL FontNameToNum(const char* name, uint32_t version);

// Data records.
int32_t FX_STDCALL LoadEData(uint32_t tag, void* key, void* buffer, int32_t* size,
                             uint32_t version);
int32_t FX_STDCALL SaveEData(uint32_t tag, void* key, void* buffer, int32_t size, uint32_t version);
int32_t FX_STDCALL CreateEData(uint32_t tag, void* key, void* buffer, int32_t size,
                               uint32_t version);
int32_t FX_STDCALL DeleteEData(uint32_t tag, void* key, uint32_t version);
int32_t FX_STDCALL NextEData(uint32_t tag, void* key, void* buffer, int32_t size, uint32_t version);
int32_t FX_STDCALL PreviousEData(uint32_t tag, void* key, void* buffer, int32_t size,
                                 uint32_t version);

// Entry frames.
int32_t FX_STDCALL GetShowLayer(int32_t layer, uint32_t version);
EXTGF2005a* FX_STDCALL LoadTGF(uint32_t list, int32_t slot, int32_t measure, int32_t layer,
                               int32_t loadMode, uint32_t version);
int32_t FX_STDCALL SaveTGF(EXTGF2005a* frame, uint32_t version);
int32_t FX_STDCALL FreeTGF(EXTGF2005a* frame, uint32_t version);
int32_t FX_STDCALL InsertEXENTRY(EXTGF2005a* frame, int32_t index, int32_t count, uint32_t version);
int32_t FX_STDCALL DeleteEXENTRY(EXTGF2005a* frame, int32_t index, int32_t count, uint32_t version);
int32_t FX_STDCALL GetTGFDuration(EXTGF2005a* frame, uint32_t version);

// Measures, regions and music transfer.
int32_t FX_STDCALL GetMeasureDuration(int32_t staff, int32_t measure, uint32_t version);
int32_t FX_STDCALL GetCurERegions(void* first, EREGION* selected, EREGION* whole, uint32_t version);
int32_t FX_STDCALL SetCurERegion(EREGION* region, uint32_t version);
uint32_t FX_STDCALL CopyCutMusic(void* transfer, int32_t mode, uint32_t version);
int32_t FX_STDCALL InsertMergeMusic(uint32_t token, void* transfer, int32_t mode, uint32_t version);
int32_t FX_STDCALL DisposeFinClipFileToken(uint32_t token, uint32_t version);

}  // namespace plovikhost::svc
