#include "StandIn.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

struct PlatformModule {
    std::string name;
    platform::ModuleImage image;
};

namespace platform {
namespace {

std::string Folded(const std::string& s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

struct State {
    std::map<std::string, std::unique_ptr<PlatformModule>> modules;  // by folded name
    std::string mainModule;
    std::map<std::string, int> lookups;
};

State& S() {
    static State state;
    return state;
}

PlatformModule* Find(const std::string& name) {
    auto it = S().modules.find(Folded(name));
    return it == S().modules.end() ? nullptr : it->second.get();
}

bool IsRegistered(HMODULE module) {
    for (auto& entry : S().modules)
        if (entry.second.get() == module) return true;
    return false;
}

}  // namespace

void RegisterModule(const std::string& name, ModuleImage image) {
    auto& slot = S().modules[Folded(name)];
    if (!slot) slot.reset(new PlatformModule);
    slot->name = name;
    slot->image = std::move(image);
}

bool RemoveModule(const std::string& name) {
    return S().modules.erase(Folded(name)) > 0;
}

void RemoveAllModules() {
    S().modules.clear();
}

void SetMainModule(const std::string& name) {
    S().mainModule = name;
}

int LookupCount(const std::string& procName) {
    auto it = S().lookups.find(procName);
    return it == S().lookups.end() ? 0 : it->second;
}

void ResetLookupCounts() {
    S().lookups.clear();
}

}  // namespace platform

using platform::S;

extern "C" {

HMODULE GetModuleHandleA(const char* moduleName) {
    if (!moduleName) return platform::Find(S().mainModule);
    return platform::Find(moduleName);
}

FARPROC GetProcAddress(HMODULE module, const char* procName) {
    if (!procName) return nullptr;
    ++S().lookups[procName];
    if (!module || !platform::IsRegistered(module)) return nullptr;
    auto it = module->image.exports.find(procName);
    if (it == module->image.exports.end()) return nullptr;
    return reinterpret_cast<FARPROC>(it->second);
}

HWND GetDlgItem(HWND dialog, int item) {
    return platform::AnswerGetDlgItem(dialog, item);
}

BOOL ShowWindow(HWND window, int command) {
    return platform::AnswerShowWindow(window, command);
}

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT style) {
    return platform::AnswerMessageBox(owner, text, caption, style);
}

HWND GetActiveWindow(void) {
    return platform::AnswerActiveWindow();
}

BOOL MessageBeep(UINT type) {
    return platform::AnswerBeep(type);
}

int LoadStringA(HINSTANCE module, UINT id, char* buffer, int bufferSize) {
    if (!buffer || bufferSize <= 0) return 0;
    buffer[0] = '\0';
    PlatformModule* m = module ? (platform::IsRegistered(module) ? module : nullptr)
                               : platform::Find(S().mainModule);
    if (!m) return 0;
    auto it = m->image.strings.find(id);
    if (it == m->image.strings.end()) return 0;
    size_t n = std::min(it->second.size(), static_cast<size_t>(bufferSize - 1));
    std::memcpy(buffer, it->second.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

}  // extern "C"
