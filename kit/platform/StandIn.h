// Control of the portable stand-in for the Windows calls: a registry of modules by name with
// their exports and string tables, and look-up counts. Its UI calls are the answers of
// UiCalls.h. Only built where <windows.h> is not available.
#pragma once

#if !defined(_WIN32)

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "Platform.h"
#include "UiCalls.h"

namespace platform {

struct ModuleImage {
    std::map<std::string, void*> exports;     // by exact name, as GetProcAddress matches
    std::map<unsigned, std::string> strings;  // string table by id
};

// Registers (or replaces) a module; names compare case-insensitively, as on Windows.
// The handle of a module stays valid while it is registered.
PLATFORM_API void RegisterModule(const std::string& name, ModuleImage image);
PLATFORM_API bool RemoveModule(const std::string& name);
PLATFORM_API void RemoveAllModules();
// The module that GetModuleHandleA(nullptr) and LoadStringA(nullptr, ...) stand for.
PLATFORM_API void SetMainModule(const std::string& name);

// Every GetProcAddress call counts, found or not.
PLATFORM_API int LookupCount(const std::string& procName);
PLATFORM_API void ResetLookupCounts();

}  // namespace platform

#endif
