// The Windows UI calls under test: answered by the host, never shown, on Linux (the stand-in) and
// on Windows (this program's imports pointed at the host's answers) alike.
#include <gtest/gtest.h>

#include "HostTest.h"
#include "UiCalls.h"

namespace {

class UiCallsTest : public HostTest {
  protected:
    void TearDown() override {
        platform::SetMessageBoxHandler(nullptr);
        platform::SetBeepHandler(nullptr);
        HostTest::TearDown();
    }
};

}  // namespace

TEST_F(UiCallsTest, MessageBoxIsAnsweredByTheHandler) {
    std::vector<platform::MessageBoxCall> shown;
    platform::SetMessageBoxHandler([&](const platform::MessageBoxCall& call) {
        shown.push_back(call);
        return IDNO;
    });
    EXPECT_EQ(MessageBoxA(nullptr, "Tie the notes?", "Plovik", MB_YESNO | MB_ICONEXCLAMATION),
              IDNO);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Tie the notes?");
    EXPECT_EQ(shown[0].caption, "Plovik");
    EXPECT_EQ(shown[0].style, MB_YESNO | MB_ICONEXCLAMATION);

    UINT beeped = 0;
    platform::SetBeepHandler([&](UINT type) {
        beeped = type;
        return BOOL{1};
    });
    EXPECT_TRUE(MessageBeep(MB_ICONERROR));
    EXPECT_EQ(beeped, MB_ICONERROR);
}
