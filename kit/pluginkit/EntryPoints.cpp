// The six entry points of every plug-in, answering from its command table. No exception may
// reach the host: each entry point answers its neutral result instead.
#include <cstring>

#include "FCMusicRegion.h"
#include "FCString.h"
#include "PlovikPlugin.h"

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
        const PlovikCommand* command = PlovikEnumeratedCommand(kPlovikPluginCommands, index);
        if (!command || !menuItem) return 0;
        PlovikFillMenuItem(*command, menuItem);
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
        const PlovikCommand* command = PlovikInvokedCommand(kPlovikPluginCommands, index);
        if (command && command->run) {
            FCMusicRegion selection(region);
            command->run(&selection);
        }
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
