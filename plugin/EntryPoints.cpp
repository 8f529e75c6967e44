// No exception may reach the host: each entry point answers its neutral result instead.
#include <cstring>

#include "CommandTable.h"
#include "FCMusicRegion.h"
#include "FCString.h"
#include "PlovikTie.h"
#include "TieNotes.h"

extern "C" {

uint32_t FX_STDCALL FinaleExtensionVersion(uint32_t version) {
    SetFinaleFrameworkVersion(version);
    return version;
}

uint32_t FX_STDCALL FinaleExtensionInit(uint32_t, uint32_t* flags) {
    if (flags) {
        uint32_t word;  // the host's word may be unaligned
        std::memcpy(&word, flags, sizeof word);
        word |= 1;
        std::memcpy(flags, &word, sizeof word);
    }
    return 1;
}

uint32_t FX_STDCALL FinaleExtensionEnumerate(uint32_t, uint32_t index, void* menuItem) {
    try {
        const PlovikCommand* command = PlovikCommandAt(index);
        if (!command || !menuItem) return 0;
        FillMenuItem(*command, menuItem);
        return 1;
    } catch (...) {
        return 0;
    }
}

uint32_t FX_STDCALL FinaleExtensionGetMenuStatus(uint32_t) {
    return 1;
}

uint32_t FX_STDCALL FinaleExtensionInvoke(uint32_t, uint32_t index, EREGION* region, uint32_t) {
    try {
        // Every index but the first command's unties.
        const bool tie = static_cast<int16_t>(index & 0xFFFF) == 0;
        FCMusicRegion selection(region);
        TieNotes(&selection, tie);
    } catch (...) {
    }
    return 1;
}

// The module may stay in the process after the host unloads it (a Windows DLL pins itself), so
// it forgets the host here, as a fresh load would have.
void FX_STDCALL FinaleExtensionTerminate(uint32_t) {
    _ResetFinaleBinding();
    _ResetStringResourceModule();
}

}  // extern "C"
