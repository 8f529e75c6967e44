// This program as the host module: FINALE.EXE (or, copied, FINDEMO.EXE) exporting every service
// of the substitute host under its plain FX_ name, found by the binding through the system's own
// GetModuleHandleA and GetProcAddress with no look-up filter in between.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "HostTest.h"
#include "PeImage.h"
#include "finalepdk.h"

namespace {

std::string OwnPath() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, n < MAX_PATH ? n : 0);
}

std::string FileName(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The host as the system finds it: the binding's look-up filter removed.
class WindowsHostModule : public HostTest {
  protected:
    void SetUp() override {
        HostTest::SetUp();
        _SetFinaleLookupFilter(nullptr);
        Relookup();
    }
};

}  // namespace

TEST_F(WindowsHostModule, ExportsExactlyTheServicesOfTheTable) {
    PeImage self;
    ASSERT_TRUE(self.Load(OwnPath())) << self.Error();
    std::vector<std::string> exported = self.ExportedNames();
    std::vector<std::string> table;
    for (const plovikhost::ServiceExport& service : plovikhost::ServiceTable())
        table.push_back(service.name);
    std::sort(exported.begin(), exported.end());
    std::sort(table.begin(), table.end());
    EXPECT_EQ(exported, table);

    for (const std::string& name : table)
        EXPECT_NE(GetProcAddress(GetModuleHandleA(nullptr), name.c_str()), nullptr) << name;
}

TEST_F(WindowsHostModule, BindingFindsTheProgramUnderItsFileName) {
    const char* expected = std::getenv("PLOVIK_EXPECTED_MODULE");
    const std::string name = FileName(OwnPath());
    EXPECT_EQ(name, expected ? expected : "FINALE.EXE");
    std::printf("host module: %s\n", name.c_str());
    if (name == "FINDEMO.EXE") {
        EXPECT_EQ(GetModuleHandleA("FINALE.EXE"), nullptr);
    }

    EXPECT_EQ(GetFinaleHandle(), GetModuleHandleA(nullptr));
    host().maxLayers = 3;
    EXPECT_EQ(FX_GetMaxLayers(FRAMEWORK_ENIGMA_VERSION), 3);
    EXPECT_EQ(host().Count("FX_GetMaxLayers"), 1);
    // A service the host does not have is missing from the exports: the default answers.
    EXPECT_EQ(FX_CountParts(FRAMEWORK_ENIGMA_VERSION), -1);
}
