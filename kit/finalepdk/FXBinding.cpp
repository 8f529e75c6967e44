#include "FXBinding.h"

#include <type_traits>

uint32_t RunningFinaleVersion = FRAMEWORK_ENIGMA_VERSION;
int32_t FinaleEditDepth = 0;

namespace {
HINSTANCE hFinale = nullptr;
bool hFinaleLooked = false;
const FXLookupFilter* lookupFilter = nullptr;

HINSTANCE LookUpModule(const char* name) {
    HINSTANCE found = GetModuleHandleA(name);
    if (lookupFilter && lookupFilter->module) found = lookupFilter->module(name, found);
    return found;
}
}  // namespace

void SetFinaleFrameworkVersion(uint32_t version) {
    RunningFinaleVersion = version;
}

HINSTANCE GetFinaleHandle() {
    if (!hFinaleLooked) {
        hFinale = LookUpModule("FINALE.EXE");
        if (!hFinale) hFinale = LookUpModule("FINDEMO.EXE");
        hFinaleLooked = true;
    }
    return hFinale;
}

FARPROC fxdetail::LookUpService(const char* name) {
    HINSTANCE module = GetFinaleHandle();
    FARPROC found = GetProcAddress(module, name);
    if (lookupFilter && lookupFilter->service) found = lookupFilter->service(module, name, found);
    return found;
}

void _SetFinaleLookupFilter(const FXLookupFilter* filter) {
    lookupFilter = filter;
}

void _ResetFinaleBinding() {
    hFinale = nullptr;
    hFinaleLooked = false;
    FinaleEditDepth = 0;
    RunningFinaleVersion = FRAMEWORK_ENIGMA_VERSION;
#define FX_RESET_SERVICE(kind, name, argc, shape, missing, Ret, Args) \
    FXService<fxrows::name##_row>::Reset();
    FX_CATALOGUE(FX_RESET_SERVICE)
#undef FX_RESET_SERVICE
}

// The hand-written binding functions keep exactly the catalogue's signatures.
#define FX_CHECK_P(name)
#define FX_CHECK_W(name)                                                            \
    static_assert(std::is_same<decltype(&::name), fxrows::name##_row::Sig*>::value, \
                  #name " differs from its catalogue row");
#define FX_CHECK_SIGNATURE(kind, name, argc, shape, missing, Ret, Args) FX_CHECK_##kind(name)
FX_CATALOGUE(FX_CHECK_SIGNATURE)
#undef FX_CHECK_SIGNATURE

// Dialog services: older hosts (and hosts without them) are served by Windows directly.
namespace {
constexpr uint32_t kDialogServiceVersion = 0x0B01FFFF;
}

int32_t FX_ShowHideDlgItem(HWND dialog, int32_t item, int16_t show, uint32_t version) {
    if (version > kDialogServiceVersion && fxraw::FX_ShowHideDlgItem.Available())
        return fxraw::FX_ShowHideDlgItem(dialog, item, show, version);
    return ShowWindow(GetDlgItem(dialog, item), show != 0 ? 1 : 0);
}

HWND FX_GetDlgCntl(HWND dialog, int32_t item, uint32_t version) {
    if (version > kDialogServiceVersion && fxraw::FX_GetDlgCntl.Available())
        return fxraw::FX_GetDlgCntl(dialog, item, version);
    return GetDlgItem(dialog, item);
}

// Edit depth: counted here so that an end or cancel without an open edit never reaches the host.
// An edit the host refused (or cannot open) is no open edit.
int32_t FX_StartFinaleEdit(const char* name, uint32_t version) {
    const int32_t result = fxraw::FX_StartFinaleEdit(name, version);
    if (result != 0) ++FinaleEditDepth;
    return result;
}

int32_t FX_EndFinaleEdit(uint32_t version) {
    if (FinaleEditDepth <= 0) return 1;
    --FinaleEditDepth;
    return fxraw::FX_EndFinaleEdit(version);
}

int32_t FX_CancelFinaleEdit(uint32_t version) {
    if (FinaleEditDepth <= 0) return 0;
    --FinaleEditDepth;
    return fxraw::FX_CancelFinaleEdit(version);
}

int32_t FX_AnalyzeChord(FXARG a, FXARG b, FXARG c, uint32_t version) {
    if (version <= 0x0AFFFFFF) version = 0x0B000000;
    return fxraw::FX_AnalyzeChord(a, b, c, version);
}
