// Windows: a host points a module's imports of the UI calls at its answers (UiCalls.h), so that a
// message box of a test or a plug-in is answered by the host instead of waiting for a user.
#include "UiCalls.h"

#include <cstdint>

namespace {

int WINAPI HostMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
    return platform::AnswerMessageBox(owner, text, caption, style);
}
BOOL WINAPI HostMessageBeep(UINT type) {
    return platform::AnswerBeep(type);
}
HWND WINAPI HostGetActiveWindow() {
    return platform::AnswerActiveWindow();
}
HWND WINAPI HostGetDlgItem(HWND dialog, int item) {
    return platform::AnswerGetDlgItem(dialog, item);
}
BOOL WINAPI HostShowWindow(HWND window, int command) {
    return platform::AnswerShowWindow(window, command);
}

struct Redirect {
    const char* name;
    ULONG_PTR to;
};

template <typename T>
T* At(uint8_t* base, DWORD rva) {
    return reinterpret_cast<T*>(base + rva);
}

// The module's import directory; null when the module is not a PE image.
const IMAGE_DATA_DIRECTORY* ImportDirectory(uint8_t* base) {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
    const auto* nt = At<const IMAGE_NT_HEADERS>(base, static_cast<DWORD>(dos->e_lfanew));
    if (nt->Signature != IMAGE_NT_SIGNATURE) return nullptr;
    return &nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
}

// Writes an address into a slot of the import address table, which the loader left read-only.
bool Rebind(IMAGE_THUNK_DATA* slot, ULONG_PTR to) {
    DWORD protection = 0;
    if (!VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &protection))
        return false;
    slot->u1.Function = to;
    VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
    return true;
}

}  // namespace

bool platform::RedirectUiCalls(HMODULE module) {
    if (!module) return false;
    const Redirect redirects[] = {
        {"MessageBoxA", reinterpret_cast<ULONG_PTR>(&HostMessageBoxA)},
        {"MessageBeep", reinterpret_cast<ULONG_PTR>(&HostMessageBeep)},
        {"GetActiveWindow", reinterpret_cast<ULONG_PTR>(&HostGetActiveWindow)},
        {"GetDlgItem", reinterpret_cast<ULONG_PTR>(&HostGetDlgItem)},
        {"ShowWindow", reinterpret_cast<ULONG_PTR>(&HostShowWindow)},
    };
    // A module that imports from user32 has it loaded; one that does not has nothing to redirect.
    HMODULE user32 = GetModuleHandleA("user32.dll");
    ULONG_PTR system[sizeof redirects / sizeof redirects[0]] = {};
    for (size_t i = 0; user32 && i < sizeof redirects / sizeof redirects[0]; ++i)
        system[i] = reinterpret_cast<ULONG_PTR>(GetProcAddress(user32, redirects[i].name));

    uint8_t* base = reinterpret_cast<uint8_t*>(module);
    const IMAGE_DATA_DIRECTORY* directory = ImportDirectory(base);
    if (!directory) return false;
    const IMAGE_DATA_DIRECTORY& imports = *directory;
    if (!user32 || imports.VirtualAddress == 0) return true;

    // The import address table holds the addresses the loader bound; the slots that hold a
    // redirected call's address get the answer's instead.
    for (auto* library = At<IMAGE_IMPORT_DESCRIPTOR>(base, imports.VirtualAddress); library->Name;
         ++library) {
        for (auto* slot = At<IMAGE_THUNK_DATA>(base, library->FirstThunk); slot->u1.Function;
             ++slot) {
            for (size_t i = 0; i < sizeof redirects / sizeof redirects[0]; ++i) {
                if (!system[i] || slot->u1.Function != system[i]) continue;
                if (!Rebind(slot, redirects[i].to)) return false;
            }
        }
    }
    return true;
}

bool platform::RedirectImport(HMODULE module, const char* name, FARPROC to) {
    if (!module || !name) return false;
    uint8_t* base = reinterpret_cast<uint8_t*>(module);
    const IMAGE_DATA_DIRECTORY* directory = ImportDirectory(base);
    if (!directory) return false;
    const IMAGE_DATA_DIRECTORY& imports = *directory;
    if (imports.VirtualAddress == 0) return true;
    // The names are in the import lookup table; the address table beside it holds what the
    // loader bound.
    for (auto* library = At<IMAGE_IMPORT_DESCRIPTOR>(base, imports.VirtualAddress); library->Name;
         ++library) {
        if (library->OriginalFirstThunk == 0) continue;
        auto* lookup = At<IMAGE_THUNK_DATA>(base, library->OriginalFirstThunk);
        auto* slot = At<IMAGE_THUNK_DATA>(base, library->FirstThunk);
        for (; lookup->u1.AddressOfData; ++lookup, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(lookup->u1.Ordinal)) continue;
            const auto* byName =
                At<const IMAGE_IMPORT_BY_NAME>(base, static_cast<DWORD>(lookup->u1.AddressOfData));
            if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), name) != 0) continue;
            if (!Rebind(slot, reinterpret_cast<ULONG_PTR>(to))) return false;
        }
    }
    return true;
}
