#include "HostTest.h"

#include <map>
#include <string>

#include "UiCalls.h"
#include "finalepdk.h"

#if !defined(_WIN32)
#include "StandIn.h"
#endif

namespace {

#if defined(_WIN32)
// On Windows the test program is the host module itself, FINALE.EXE, found by the system's own
// GetModuleHandleA and GetProcAddress. What the stand-in's registry does on Linux the binding's
// look-up filter does here: the program answers to the name the host is installed under, lacks
// the services the host hides, and counts the look-ups.
std::map<std::string, int> lookups;
bool exportsReplaced = false;
std::map<std::string, void*> replacedExports;

HINSTANCE ModuleAsInstalled(const char* name, HINSTANCE) {
    const std::string& installed = plovikhost::Host::Get().ModuleName();
    if (installed.empty() || lstrcmpiA(name, installed.c_str()) != 0) return nullptr;
    return GetModuleHandleA(nullptr);
}

FARPROC ServiceAsInstalled(HINSTANCE module, const char* name, FARPROC found) {
    ++lookups[name];
    if (!module) return nullptr;
    if (exportsReplaced) {
        auto it = replacedExports.find(name);
        return it == replacedExports.end() ? nullptr : reinterpret_cast<FARPROC>(it->second);
    }
    return plovikhost::Host::Get().IsHidden(name) ? nullptr : found;
}

const FXLookupFilter kAsInstalled{&ModuleAsInstalled, &ServiceAsInstalled};

}  // namespace

// The exports of the services come with the fixture from the library (HostExports.cmake).
extern "C" const int plovik_host_exports_anchor;
extern "C" const int* const plovik_host_exports_taken = &plovik_host_exports_anchor;

namespace {

// The program's own message boxes and beeps are answered by the host (UiCalls.h), never shown.
class UiAnswered : public ::testing::Environment {
  public:
    void SetUp() override { ASSERT_TRUE(platform::RedirectUiCalls(GetModuleHandleA(nullptr))); }
};
::testing::Environment* const uiAnswered = ::testing::AddGlobalTestEnvironment(new UiAnswered);
#endif

}  // namespace

void HostTest::SetUp() {
#if defined(_WIN32)
    _SetFinaleLookupFilter(&kAsInstalled);
    exportsReplaced = false;
    replacedExports.clear();
#endif
    host().Reset();
    host().keepCalls = true;  // tests read the calls
    host().Install("FINALE.EXE");
    Relookup();
}

void HostTest::TearDown() {
    EXPECT_TRUE(host().Problems().empty()) << "host problem: " << host().Problems().front();
    EXPECT_EQ(host().Frames().Outstanding(), 0) << "entry frames were not given back";
#if defined(_WIN32)
    _SetFinaleLookupFilter(nullptr);
#endif
}

void HostTest::Relookup() {
    _ResetFinaleBinding();
#if defined(_WIN32)
    lookups.clear();
#else
    platform::ResetLookupCounts();
#endif
}

int HostTest::Lookups(const char* name) {
#if defined(_WIN32)
    auto it = lookups.find(name);
    return it == lookups.end() ? 0 : it->second;
#else
    return platform::LookupCount(name);
#endif
}

void HostTest::ExportOnly(const std::map<std::string, void*>& exports) {
#if defined(_WIN32)
    exportsReplaced = true;
    replacedExports = exports;
#else
    platform::ModuleImage image;
    image.exports = exports;
    platform::RegisterModule(host().ModuleName(), image);
#endif
    Relookup();
}
