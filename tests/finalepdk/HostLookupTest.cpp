// Finding the host and its services, and what the binding answers for a service the host lacks.
// The same tests run against the stand-in's module registry (Linux) and against the system's
// own look-up in FINALE.EXE (Windows).
#include "HostTest.h"
#include "finalepdk.h"

namespace {

class HostLookupTest : public HostTest {
  protected:
    // The host under another module name (or none), with the binding's caches forgotten.
    void InstallAs(const char* moduleName) {
        host().Install(moduleName);
        Relookup();
    }
};

}  // namespace

TEST_F(HostLookupTest, ServiceIsLookedUpOnceAndCalledEveryTime) {
    EXPECT_EQ(FX_GetMaxLayers(FRAMEWORK_ENIGMA_VERSION), 4);
    host().maxLayers = 3;
    EXPECT_EQ(FX_GetMaxLayers(FRAMEWORK_ENIGMA_VERSION), 3);
    EXPECT_EQ(host().Count("FX_GetMaxLayers"), 2);
    EXPECT_EQ(Lookups("FX_GetMaxLayers"), 1);
}

TEST_F(HostLookupTest, HostIsFoundUnderEitherModuleName) {
    EXPECT_NE(GetFinaleHandle(), nullptr);
    InstallAs("FINDEMO.EXE");
    EXPECT_NE(GetFinaleHandle(), nullptr);
    EXPECT_EQ(FX_GetMaxLayers(FRAMEWORK_ENIGMA_VERSION), 4);
    EXPECT_EQ(host().Count("FX_GetMaxLayers"), 1);
}

TEST_F(HostLookupTest, WithoutHostModuleEveryServiceAnswersItsDefaultAfterOneLookup) {
    InstallAs("");
    EXPECT_EQ(GetFinaleHandle(), nullptr);
    for (int call = 0; call < 2; ++call) {
        EXPECT_EQ(FX_GetMaxLayers(FRAMEWORK_ENIGMA_VERSION), 4);
        EXPECT_EQ(FX_GetCurrentEnigmaDocument(FRAMEWORK_ENIGMA_VERSION), 0);
    }
    EXPECT_EQ(Lookups("FX_GetMaxLayers"), 1);
    EXPECT_EQ(Lookups("FX_GetCurrentEnigmaDocument"), 1);
    EXPECT_TRUE(host().Calls().empty());
}

TEST_F(HostLookupTest, HiddenServicesAnswerTheirDefaultsWithoutReachingTheHost) {
    host().HideAll();
    Relookup();
    EXPECT_EQ(FX_GetMaxLayers(FRAMEWORK_ENIGMA_VERSION), 4);
    EXPECT_EQ(FX_GetMaxLayers(FRAMEWORK_ENIGMA_VERSION), 4);
    EXPECT_EQ(Lookups("FX_GetMaxLayers"), 1);
    EXPECT_EQ(FX_CountParts(FRAMEWORK_ENIGMA_VERSION), -1);
    EXPECT_EQ(FX_GetCurrentPartID(FRAMEWORK_ENIGMA_VERSION), -1);
    EXPECT_EQ(FX_GetNextPartID(0, FRAMEWORK_ENIGMA_VERSION), -1);
    EXPECT_EQ(FX_GetPlaybackSystem(FRAMEWORK_ENIGMA_VERSION), -1);
    EXPECT_EQ(FX_ProcessMidiData(0, FRAMEWORK_ENIGMA_VERSION), -1);
    EXPECT_EQ(FX_GetTextEncoding(FRAMEWORK_ENIGMA_VERSION), -2);
    EXPECT_STREQ(FX_GetPartName(1, FRAMEWORK_ENIGMA_VERSION), " ");
    EXPECT_EQ(FX_LoadTGF(0, 1, 1, 0, 1, FRAMEWORK_ENIGMA_VERSION), nullptr);
    EXPECT_EQ(FX_GetCurrentEnigmaDocument(FRAMEWORK_ENIGMA_VERSION), 0);
    uint8_t key[8] = {};
    EXPECT_EQ(FX_DeleteEData(0x534F4D53, key, FRAMEWORK_ENIGMA_VERSION), 0);
    EXPECT_TRUE(host().Calls().empty());
}

TEST_F(HostLookupTest, HidingOneServiceLeavesTheOthers) {
    host().Hide("FX_StartFinaleEdit");
    Relookup();
    EXPECT_EQ(FX_StartFinaleEdit("Edit", FRAMEWORK_ENIGMA_VERSION), 0);
    EXPECT_EQ(FinaleEditDepth, 1);  // raised whatever the host answers
    EXPECT_EQ(host().Count("FX_StartFinaleEdit"), 0);
    EXPECT_EQ(FX_EndFinaleEdit(FRAMEWORK_ENIGMA_VERSION), 0);  // the host has no open edit
    EXPECT_EQ(host().Count("FX_EndFinaleEdit"), 1);
    EXPECT_EQ(FinaleEditDepth, 0);
}
