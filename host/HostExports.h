// How a substitute host built as FINALE.EXE (32-bit Windows) exports its services: each row of
// ServiceTable.cpp becomes an export under its plain FX_ name, which the framework finds as it
// finds the real host's, with GetModuleHandleA("FINALE.EXE") and GetProcAddress. The rows are
// read by cmake/HostExports.cmake, which writes one PLOVIK_HOST_EXPORT per row.
//
// In C++ the FX_ names belong to the binding's own functions, so the export is a small jump
// under a name of its own, through a pointer to the host's function; the pointer's type only
// accepts a function of exactly the type the binding calls the service through.
#pragma once

#if defined(_WIN32) && !defined(_WIN64)

#include "Services.h"

// clang-format off
#define PLOVIK_HOST_EXPORT(name, function)                               \
    extern "C" {                                                         \
    extern FX_HOST_FN(name) const plovik_host_##name;                    \
    FX_HOST_FN(name) const plovik_host_##name = &function;               \
    }                                                                    \
    __asm__(".section .text$plovik_exports,\"x\"\n"                      \
            ".globl _plovik_export_" #name "\n"                          \
            "_plovik_export_" #name ":\n"                                \
            "\tjmp *_plovik_host_" #name "\n"                            \
            ".section .drectve\n"                                        \
            ".ascii \" -export:" #name "=plovik_export_" #name "\"\n"    \
            ".text\n");
// clang-format on

#endif
