#include "PluginModule.h"

#if defined(_WIN32)
#include "Platform.h"
#include "UiCalls.h"
#else
#include <dlfcn.h>
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
    if (!platform::RedirectUiCalls(static_cast<HMODULE>(handle_))) {
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
