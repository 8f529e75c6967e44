// Widths and calling convention shared with the host.
#pragma once

#include <cstdint>

// The host calls and is called in the calling convention of the Windows API.
#if defined(_WIN32) && !defined(_WIN64)
#define FX_STDCALL __stdcall
#else
#define FX_STDCALL
#endif

// An argument of a host service whose meaning is the host's business: wide enough for a pointer.
typedef intptr_t FXARG;

// The version of the host interface that the framework speaks.
inline constexpr uint32_t FRAMEWORK_ENIGMA_VERSION = 0x0F000200;
