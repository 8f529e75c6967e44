// Loads the plug-in module and finds its six entry points by name, as the real host does.
#pragma once

#include <cstdint>
#include <string>

#include "finalepdk.h"

class PluginModule {
  public:
    typedef uint32_t(FX_STDCALL* VersionFn)(uint32_t);
    typedef uint32_t(FX_STDCALL* InitFn)(uint32_t, uint32_t*);
    typedef uint32_t(FX_STDCALL* EnumerateFn)(uint32_t, uint32_t, void*);
    typedef uint32_t(FX_STDCALL* MenuStatusFn)(uint32_t);
    typedef uint32_t(FX_STDCALL* InvokeFn)(uint32_t, uint32_t, EREGION*, uint32_t);
    typedef void(FX_STDCALL* TerminateFn)(uint32_t);

    PluginModule() = default;
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;
    ~PluginModule();

    // False with a message in Error() when the module or one of its entry points is missing.
    // The module finds the host's services as the substitute host offers them: on Linux through
    // the stand-in's registry, on Windows through its own imports of GetModuleHandleA and
    // GetProcAddress, pointed here at answers that leave out what the host hides (Host::Hide) and
    // find the host module only under the name it is installed as (Host::Install).
    bool Load(const std::string& path);
    // Whether a module of that path is in the process (after the last unload: whether it left).
    static bool IsLoaded(const std::string& path);
    const std::string& Error() const { return error_; }

    VersionFn version = nullptr;
    InitFn init = nullptr;
    EnumerateFn enumerate = nullptr;
    MenuStatusFn menuStatus = nullptr;
    InvokeFn invoke = nullptr;
    TerminateFn terminate = nullptr;

  private:
    void* Symbol(const char* name);
    template <typename Fn>
    bool Find(const char* name, Fn& entry) {
        void* address = Symbol(name);
        if (!address) {
            error_ = std::string("the plug-in lacks the entry point ") + name;
            return false;
        }
        entry = reinterpret_cast<Fn>(address);
        return true;
    }
    void* handle_ = nullptr;
    std::string error_;
};
