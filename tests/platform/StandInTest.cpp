// The portable stand-in for the Windows calls.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include "StandIn.h"

namespace {
void Export() {}

class StandInTest : public ::testing::Test {
  protected:
    void TearDown() override {
        platform::RemoveModule("TEST.DLL");
        platform::SetMessageBoxHandler(nullptr);
        platform::SetBeepHandler(nullptr);
        platform::SetActiveWindow(nullptr);
        platform::SetMainModule("");
    }
};
}  // namespace

TEST_F(StandInTest, ModulesAreFoundByNameIgnoringCase) {
    platform::ModuleImage image;
    image.exports["Export"] = reinterpret_cast<void*>(&Export);
    platform::RegisterModule("Test.dll", image);
    HMODULE module = GetModuleHandleA("TEST.DLL");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(GetModuleHandleA("test.DLL"), module);
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(module, "Export")),
              reinterpret_cast<void*>(&Export));
    EXPECT_EQ(GetProcAddress(module, "export"), nullptr);  // export names are exact
    EXPECT_TRUE(platform::RemoveModule("test.dll"));
    EXPECT_EQ(GetModuleHandleA("TEST.DLL"), nullptr);
    EXPECT_EQ(GetProcAddress(module, "Export"), nullptr);  // a stale handle finds nothing
}

TEST_F(StandInTest, EveryLookupIsCounted) {
    platform::ResetLookupCounts();
    GetProcAddress(nullptr, "Anything");
    GetProcAddress(nullptr, "Anything");
    EXPECT_EQ(platform::LookupCount("Anything"), 2);
    EXPECT_EQ(platform::LookupCount("Other"), 0);
}

TEST_F(StandInTest, StringTablesAndTheMainModule) {
    platform::ModuleImage image;
    image.strings[7] = "Seven";
    platform::RegisterModule("TEST.DLL", image);
    char buffer[4];
    EXPECT_EQ(LoadStringA(GetModuleHandleA("TEST.DLL"), 7, buffer, sizeof buffer), 3);
    EXPECT_STREQ(buffer, "Sev");  // cut to the buffer
    EXPECT_EQ(LoadStringA(GetModuleHandleA("TEST.DLL"), 8, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(LoadStringA(nullptr, 7, buffer, sizeof buffer), 0);
    platform::SetMainModule("test.dll");
    EXPECT_EQ(GetModuleHandleA(nullptr), GetModuleHandleA("TEST.DLL"));
    EXPECT_EQ(LoadStringA(nullptr, 7, buffer, sizeof buffer), 3);
}

TEST_F(StandInTest, MessageBoxesGoToTheHandler) {
    platform::MessageBoxCall seen{};
    platform::SetMessageBoxHandler([&](const platform::MessageBoxCall& call) {
        seen = call;
        return IDNO;
    });
    HWND owner = reinterpret_cast<HWND>(static_cast<intptr_t>(0x10));
    platform::SetActiveWindow(owner);
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(MessageBoxA(owner, "Text", "Caption", MB_YESNO), IDNO);
    EXPECT_EQ(seen.owner, owner);
    EXPECT_EQ(seen.text, "Text");
    EXPECT_EQ(seen.caption, "Caption");
    EXPECT_EQ(seen.style, MB_YESNO);

    platform::SetBeepHandler([](UINT type) { return type == 0x30 ? 0 : 1; });
    EXPECT_EQ(MessageBeep(0x30), 0);
    EXPECT_EQ(MessageBeep(0xFFFFFFFF), 1);
}

#endif
