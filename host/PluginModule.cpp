#include "PluginModule.h"

#if defined(_WIN32)
#include "Platform.h"
#include "SubstituteHost.h"
#include "UiCalls.h"
#else
#include <dlfcn.h>
#endif

#if defined(_WIN32)
namespace {

bool IsHostModuleName(const char* name) {
    return name && (lstrcmpiA(name, "FINALE.EXE") == 0 || lstrcmpiA(name, "FINDEMO.EXE") == 0);
}

// The plug-in's look-ups of the host, answered as the substitute host is installed: this program
// under the installed name only, without the services the host hides.
HMODULE WINAPI HostGetModuleHandleA(LPCSTR name) {
    if (!IsHostModuleName(name)) return GetModuleHandleA(name);
    const std::string& installed = plovikhost::Host::Get().ModuleName();
    return !installed.empty() && lstrcmpiA(name, installed.c_str()) == 0 ? GetModuleHandleA(nullptr)
                                                                         : nullptr;
}

FARPROC WINAPI HostGetProcAddress(HMODULE module, LPCSTR name) {
    // A name, not an ordinal (whose high word is 0).
    const bool byName = (reinterpret_cast<ULONG_PTR>(name) >> 16) != 0;
    if (module && module == GetModuleHandleA(nullptr) && byName &&
        plovikhost::Host::Get().IsHidden(name))
        return nullptr;
    return GetProcAddress(module, name);
}

// Through void(*)(): the one function pointer type every other converts from cleanly.
template <typename Fn>
FARPROC AsFarProc(Fn* function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

}  // namespace
#endif

PluginModule::~PluginModule() {
    if (!handle_) return;
#if defined(_WIN32)
    FreeLibrary(static_cast<HMODULE>(handle_));
#else
    dlclose(handle_);
#endif
}

void* PluginModule::Symbol(const char* name) {
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
#else
    return dlsym(handle_, name);
#endif
}

bool PluginModule::Load(const std::string& path) {
#if defined(_WIN32)
    handle_ = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
    if (!handle_) {
        error_ = "cannot load the plug-in " + path;
        return false;
    }
    // The plug-in's message boxes are the host's to answer, as on Linux, where the plug-in takes
    // its Windows calls from this process.
    HMODULE module = static_cast<HMODULE>(handle_);
    if (!platform::RedirectUiCalls(module) ||
        !platform::RedirectImport(module, "GetModuleHandleA", AsFarProc(&HostGetModuleHandleA)) ||
        !platform::RedirectImport(module, "GetProcAddress", AsFarProc(&HostGetProcAddress))) {
        error_ = "cannot read the imports of the plug-in " + path;
        return false;
    }
#else
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* why = dlerror();
        error_ = "cannot load the plug-in " + path + (why ? std::string(": ") + why : "");
        return false;
    }
#endif
    return Find("FinaleExtensionVersion", version) && Find("FinaleExtensionInit", init) &&
           Find("FinaleExtensionEnumerate", enumerate) &&
           Find("FinaleExtensionGetMenuStatus", menuStatus) &&
           Find("FinaleExtensionInvoke", invoke) && Find("FinaleExtensionTerminate", terminate);
}

bool PluginModule::IsLoaded(const std::string& path) {
#if defined(_WIN32)
    // By its file name, as the loader knows every module it holds.
    const size_t slash = path.find_last_of("\\/");
    return GetModuleHandleA(path.substr(slash == std::string::npos ? 0 : slash + 1).c_str()) !=
           nullptr;
#else
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
    if (handle) dlclose(handle);
    return handle != nullptr;
#endif
}
