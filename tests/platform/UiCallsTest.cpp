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
    EXPECT_FALSE(shown[0].nullText || shown[0].nullCaption);
    MessageBoxA(nullptr, nullptr, nullptr, MB_OK);  // shown as Windows shows them
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, "");
    EXPECT_EQ(shown[1].caption, "Error");
    EXPECT_TRUE(shown[1].nullText && shown[1].nullCaption);

    UINT beeped = 0;
    platform::SetBeepHandler([&](UINT type) {
        beeped = type;
        return BOOL{1};
    });
    EXPECT_TRUE(MessageBeep(MB_ICONERROR));
    EXPECT_EQ(beeped, MB_ICONERROR);
}
