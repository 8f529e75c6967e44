#include "Session.h"

#include "SubstituteHost.h"
#include "finalepdk.h"

namespace plovikvalidate {

Session::Session(Context& context) : context_(context), module_(new PluginModule) {
    if (!module_->Load(context.Plugin())) {
        context.Fail(module_->Error());
        module_.reset();
    }
}

Session::~Session() {
    module_.reset();
}

void Session::Start() {
    if (!module_) return;
    context_.Expect(module_->version(FRAMEWORK_ENIGMA_VERSION) == FRAMEWORK_ENIGMA_VERSION,
                    "FinaleExtensionVersion did not answer the host's version");
    uint32_t flags = 0;
    context_.Expect(module_->init(0, &flags) == 1 && flags == 1,
                    "FinaleExtensionInit did not answer 1 with flag bit 0 set");
}

void Session::Invoke(uint32_t index, const EREGION* region) {
    if (!module_) return;
    EREGION copy = region ? *region : EREGION{};
    context_.Expect(module_->invoke(0, index, region ? &copy : nullptr, 0) == 1,
                    "FinaleExtensionInvoke did not answer 1");
}

void Session::Unload() {
    if (!module_) return;
    module_->terminate(0);
    module_.reset();
#if !defined(_WIN32)
    // A Windows DLL may pin itself and stay (the kit's plug-ins do, for their runtime's sake); what
    // staying costs the process is the residue check's to judge.
    context_.Expect(!PluginModule::IsLoaded(context_.Plugin()),
                    "the module is still in the process after it was unloaded");
#endif
}

}  // namespace plovikvalidate
