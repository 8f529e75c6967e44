// Control of the portable stand-in for the Windows calls: a registry of modules by name with
// their exports and string tables, replaceable message boxes and beeps, and a record of the
// dialog calls. Only built where <windows.h> is not available.
#pragma once

#if !defined(_WIN32)

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Platform.h"

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

struct MessageBoxCall {
    HWND owner;
    std::string text;
    std::string caption;
    UINT style;
};
using MessageBoxHandler = std::function<int(const MessageBoxCall&)>;
using BeepHandler = std::function<BOOL(UINT)>;
// An empty handler restores the default: write to stderr, answer as an OK press / a beep that
// sounded.
PLATFORM_API void SetMessageBoxHandler(MessageBoxHandler handler);
PLATFORM_API void SetBeepHandler(BeepHandler handler);
PLATFORM_API void SetActiveWindow(HWND window);

struct DialogCall {
    enum Kind { GET_DLG_ITEM, SHOW_WINDOW } kind;
    HWND window;  // the dialog for GET_DLG_ITEM, the control for SHOW_WINDOW
    int value;    // the item id, or the show command
};
PLATFORM_API const std::vector<DialogCall>& DialogCalls();
PLATFORM_API void ClearDialogCalls();

}  // namespace platform

#endif
