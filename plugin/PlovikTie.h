// The plug-in's outward face: the six entry points the host calls, exported under their plain
// names in the calling convention of the Windows API.
#pragma once

#include <cstdint>

#include "finalepdk.h"

#if defined(_WIN32) && defined(PLOVIK_BUILDING_PLUGIN)
// Only what is marked leaves the DLL; the linker drops the @N decoration (--kill-at).
#define PLOVIK_EXPORT __declspec(dllexport)
#elif defined(_WIN32)
#define PLOVIK_EXPORT
#else
#define PLOVIK_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
PLOVIK_EXPORT uint32_t FX_STDCALL FinaleExtensionVersion(uint32_t version);
PLOVIK_EXPORT uint32_t FX_STDCALL FinaleExtensionInit(uint32_t, uint32_t* flags);
PLOVIK_EXPORT uint32_t FX_STDCALL FinaleExtensionEnumerate(uint32_t, uint32_t index,
                                                           void* menuItem);
PLOVIK_EXPORT uint32_t FX_STDCALL FinaleExtensionGetMenuStatus(uint32_t);
PLOVIK_EXPORT uint32_t FX_STDCALL FinaleExtensionInvoke(uint32_t, uint32_t index, EREGION* region,
                                                        uint32_t);
PLOVIK_EXPORT void FX_STDCALL FinaleExtensionTerminate(uint32_t);
}

// Function types of the entry points, for hosts that look them up by name.
typedef uint32_t(FX_STDCALL* FinaleExtensionVersionFn)(uint32_t);
typedef uint32_t(FX_STDCALL* FinaleExtensionInitFn)(uint32_t, uint32_t*);
typedef uint32_t(FX_STDCALL* FinaleExtensionEnumerateFn)(uint32_t, uint32_t, void*);
typedef uint32_t(FX_STDCALL* FinaleExtensionGetMenuStatusFn)(uint32_t);
typedef uint32_t(FX_STDCALL* FinaleExtensionInvokeFn)(uint32_t, uint32_t, EREGION*, uint32_t);
typedef void(FX_STDCALL* FinaleExtensionTerminateFn)(uint32_t);
