// One load of the plug-in module in plovik-validate.
#pragma once

#include <cstdint>
#include <memory>

#include "Context.h"
#include "PluginModule.h"

namespace plovikvalidate {

// One load of the plug-in module, with LoadLibraryA (Linux: dlopen) as the host loads it;
// unloaded when it goes out of scope. A module that does not load is a failure of the context.
class Session {
  public:
    explicit Session(Context& context);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool Loaded() const { return module_ != nullptr; }
    PluginModule& Module() { return *module_; }
    // FinaleExtensionVersion and FinaleExtensionInit as the host calls them at start-up,
    // checking their answers.
    void Start();
    // FinaleExtensionInvoke on a copy of the region (null: no region), checking that it answers 1.
    void Invoke(uint32_t index, const EREGION* region);
    // Unloads now and, on Linux, checks that the module left the process.
    void Unload();

  private:
    Context& context_;
    std::unique_ptr<PluginModule> module_;
};

}  // namespace plovikvalidate
