// The Windows UI calls under test: answered by the host, never shown, on Linux (the stand-in) and
// on Windows (this program's imports pointed at the host's answers) alike.
#include <gtest/gtest.h>

#include "HostTest.h"
#include "UiCalls.h"
#include "finalepdk.h"

namespace {

class UiCallsTest : public HostTest {
  protected:
    void TearDown() override {
        platform::SetMessageBoxHandler(nullptr);
        platform::SetBeepHandler(nullptr);
        platform::ClearDialogCalls();
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

TEST_F(UiCallsTest, DialogServicesFallBackToWindowsForOldHosts) {
    HWND dialog = reinterpret_cast<HWND>(0x40);
    FX_GetDlgCntl(dialog, 7, 0x0B01FFFF);
    FX_ShowHideDlgItem(dialog, 8, 0, 0x0B020000);  // the substitute host lacks the service
    const std::vector<platform::DialogCall>& calls = platform::DialogCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].kind, platform::DialogCall::GET_DLG_ITEM);
    EXPECT_EQ(calls[0].window, dialog);
    EXPECT_EQ(calls[0].value, 7);
    EXPECT_EQ(calls[1].kind, platform::DialogCall::GET_DLG_ITEM);
    EXPECT_EQ(calls[1].value, 8);
    EXPECT_EQ(calls[2].kind, platform::DialogCall::SHOW_WINDOW);
    EXPECT_EQ(calls[2].window, platform::AnswerGetDlgItem(dialog, 8));
    EXPECT_EQ(calls[2].value, SW_HIDE);
}
