// Message boxes and the beep, the host menu command, redrawing, the view questions and
// scrolling to a measure.
#include <cstring>
#include <vector>

#include "FCString.h"
#include "FCUI.h"
#include "HostTest.h"
#include "RecordBuilders.h"
#include "ScoreTest.h"
#include "UiCalls.h"
#include "finalepdk.h"

using namespace plovikhost;

namespace {

// Answers every message box with `answer` and keeps what it was shown.
class FCUIAlertTest : public HostTest {
  protected:
    void SetUp() override {
        HostTest::SetUp();
        platform::SetActiveWindow(owner);
        platform::SetMessageBoxHandler([this](const platform::MessageBoxCall& call) {
            boxes.push_back(call);
            return answer;
        });
    }
    void TearDown() override {
        platform::SetMessageBoxHandler(nullptr);
        platform::SetBeepHandler(nullptr);
        platform::SetActiveWindow(nullptr);
        HostTest::TearDown();
    }
    const platform::MessageBoxCall& Last() { return boxes.back(); }

    HWND owner = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x4242));
    int answer = IDOK;
    std::vector<platform::MessageBoxCall> boxes;
    FCUI ui;
};

}  // namespace

TEST_F(FCUIAlertTest, YesNoAnswers) {
    answer = IDYES;
    EXPECT_EQ(ui.AlertYesNo("Tie them?", "Plovik"), 0);
    answer = IDNO;
    EXPECT_EQ(ui.AlertYesNo("Tie them?", "Plovik"), 1);
    for (int other : {0, IDOK, 2 /* cancel */, 5, 8, -1}) {
        answer = other;
        EXPECT_EQ(ui.AlertYesNo("Tie them?", "Plovik"), 2) << "answer " << other;
    }
    EXPECT_EQ(Last().style, 0x04u);
    EXPECT_EQ(Last().caption, "Plovik");
    EXPECT_EQ(Last().text, "Tie them?");
    EXPECT_EQ(Last().owner, owner);
}

TEST_F(FCUIAlertTest, StylesAndDefaultCaptionsOfEachKind) {
    answer = 42;  // whatever the box answers comes back, but for Yes/No
    EXPECT_EQ(ui.AlertError("e", nullptr), 42);
    EXPECT_EQ(ui.AlertYesNo("y", nullptr), 2);
    EXPECT_EQ(ui.AlertNeutral("n", nullptr), 42);
    EXPECT_EQ(ui.AlertInfo("i", nullptr), 42);
    ASSERT_EQ(boxes.size(), 4u);
    const UINT styles[] = {0x10, 0x04, 0x00, 0x40};
    const char* captions[] = {"Error", "Error", "", "Information"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(boxes[i].style, styles[i]) << i;
        EXPECT_EQ(boxes[i].caption, captions[i]) << i;
        EXPECT_FALSE(boxes[i].nullCaption) << "the default is passed, not left to Windows";
        EXPECT_EQ(boxes[i].owner, owner);
    }
    ui.AlertNeutral("n", "Given");
    EXPECT_EQ(Last().caption, "Given");
}

TEST_F(FCUIAlertTest, ANullTextShowsAnEmptyText) {
    ui.AlertError(static_cast<const char*>(nullptr), nullptr);
    ui.AlertYesNo(nullptr, "c");
    ui.AlertNeutral(nullptr, nullptr);
    ui.AlertInfo(nullptr, "c");
    ui.AlertError(static_cast<FCString*>(nullptr), nullptr);
    ASSERT_EQ(boxes.size(), 5u);
    for (const auto& box : boxes) {
        EXPECT_FALSE(box.nullText);
        EXPECT_EQ(box.text, "");
    }
    EXPECT_EQ(boxes[4].caption, "Error");
}

TEST_F(FCUIAlertTest, ErrorFromStrings) {
    FCString text, caption;
    text.SetCString("No region");
    caption.SetCString("Plovik");
    ui.AlertError(&text, &caption);
    EXPECT_EQ(Last().text, "No region");
    EXPECT_EQ(Last().caption, "Plovik");
    EXPECT_EQ(Last().style, 0x10u);
    ui.AlertError(&text, nullptr);
    EXPECT_EQ(Last().caption, "Error");
    ui.AlertError(&text, &text);  // one string as both: its text must stay valid
    EXPECT_EQ(Last().text, "No region");
    EXPECT_EQ(Last().caption, "No region");
}

TEST_F(FCUIAlertTest, BeepFallsBackToTheSimpleBeep) {
    std::vector<UINT> beeps;
    int first = 1;
    platform::SetBeepHandler([&](UINT type) -> BOOL {
        beeps.push_back(type);
        return type == 0x30 ? first : 7;
    });
    EXPECT_EQ(ui.Beep(), 1);
    EXPECT_EQ(beeps, std::vector<UINT>{0x30});
    beeps.clear();
    first = 0;
    EXPECT_EQ(ui.Beep(), 7);
    EXPECT_EQ(beeps, (std::vector<UINT>{0x30, 0xFFFFFFFF}));
}

class FCUITest : public ScoreTest {
  protected:
    FCUI ui;
};

TEST_F(FCUITest, MenuCommandRunsOnlyTheListedItem) {
    EXPECT_TRUE(ui.MenuCommand(FCUI::MENUCMD_UPDATELAYOUT));
    EXPECT_EQ(host().menuItems, std::vector<int32_t>{12106});
    EXPECT_EQ(host().LastCall("FX_ExecuteMenuItem")->args[1], FRAMEWORK_ENIGMA_VERSION);
    host().menuItemResult = 0;
    EXPECT_FALSE(ui.MenuCommand(FCUI::MENUCMD_UPDATELAYOUT));
    host().menuItemResult = 0x10000;  // nonzero, but not in the 16 bits the host answers in
    EXPECT_FALSE(ui.MenuCommand(FCUI::MENUCMD_UPDATELAYOUT));

    host().ClearCalls();
    for (int32_t other : {1, -1, 12106, 0x10000})
        EXPECT_FALSE(ui.MenuCommand(static_cast<FCUI::MENU_COMMANDS>(other))) << other;
    EXPECT_TRUE(host().Calls().empty());

    host().Hide("FX_ExecuteMenuItem");
    Relookup();
    EXPECT_FALSE(ui.MenuCommand(FCUI::MENUCMD_UPDATELAYOUT));
}

TEST_F(FCUITest, RedrawDocumentRedrawsTheWholeDocumentWhateverIsSelected) {
    Score().Staves({3, 5}).Measures(4);
    doc().selection = Region(2, 2, 2, 3);
    ui.RedrawDocument();
    doc().selection = EREGION{};
    ui.RedrawDocument();
    ASSERT_EQ(host().redraws.size(), 2u);
    const EREGION whole = Region(1, 2, 1, 4);
    for (const EREGION& redrawn : host().redraws)
        EXPECT_EQ(std::memcmp(&redrawn, &whole, sizeof whole), 0);
}

TEST_F(FCUITest, ViewQuestions) {
    host().view.pageView = true;
    host().view.page = 3;
    host().view.zoom = 150;
    host().view.window = 0x1234;
    EXPECT_TRUE(ui.IsPageView());
    EXPECT_EQ(ui.GetCurrentPage(), 3);
    EXPECT_EQ(ui.GetZoomLevel(), 150);
    EXPECT_EQ(ui.GetDocumentWindow(), reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234)));
    EXPECT_EQ(host().LastCall("FX_GetCurrentWindowInfo")->args[1], FRAMEWORK_ENIGMA_VERSION);

    host().view.pageView = false;  // scroll view: no page, even though the record names one
    EXPECT_FALSE(ui.IsPageView());
    EXPECT_EQ(ui.GetCurrentPage(), 0);
    EXPECT_EQ(ui.GetZoomLevel(), 150);
}

TEST_F(FCUITest, ViewQuestionsWhenTheHostCannotSay) {
    host().view.pageView = true;
    host().view.page = 3;
    host().view.zoom = 150;
    host().view.refuseInfo = true;
    EXPECT_FALSE(ui.IsPageView());
    EXPECT_EQ(ui.GetCurrentPage(), 0);
    EXPECT_EQ(ui.GetZoomLevel(), 100);
    EXPECT_EQ(ui.GetDocumentWindow(), nullptr);

    host().Hide("FX_GetCurrentWindowInfo");
    Relookup();
    EXPECT_EQ(ui.GetZoomLevel(), 100);
    EXPECT_EQ(ui.GetDocumentWindow(), nullptr);
}

TEST_F(FCUITest, AHostWithALongerWindowRecordWritesIntoRoomMadeForIt) {
    host().view.infoSize = 700;
    host().view.zoom = 75;
    EXPECT_EQ(ui.GetZoomLevel(), 75);  // the sanitizers see any write beyond the block
}

TEST_F(FCUITest, MoveToMeasureOnAGivenStaff) {
    ui.MoveToMeasure(5, 2);
    EXPECT_EQ(host().view.scrolledMeasure, 5);
    EXPECT_EQ(host().view.scrolledStaff, 2);
    EXPECT_EQ(host().LastCall("FX_ScrollTo")->args[2], FRAMEWORK_ENIGMA_VERSION);
    EXPECT_EQ(host().Count("FX_LoadEData"), 0) << "a given staff is not looked for";
    ui.MoveToMeasure(0x10007, 0x10003);  // both go to the host in 16 bits
    EXPECT_EQ(host().view.scrolledMeasure, 7);
    EXPECT_EQ(host().view.scrolledStaff, 3);
}

TEST_F(FCUITest, MoveToMeasureFindsTheFirstStaffThatHasARecord) {
    PutStaff(doc(), 7, 0, 0);
    PutStaff(doc(), 3, 0, 0);
    ui.MoveToMeasure(5, 0);
    EXPECT_EQ(host().Count("FX_ScrollTo"), 1);
    EXPECT_EQ(host().view.scrolledMeasure, 5);
    EXPECT_EQ(host().view.scrolledStaff, 3);
}

TEST_F(FCUITest, MoveToMeasureScrollsNowhereWithoutAStaffUpTo101) {
    PutStaff(doc(), 102, 0, 0);
    ui.MoveToMeasure(5, 0);
    EXPECT_EQ(host().Count("FX_ScrollTo"), 0);
    EXPECT_EQ(host().Count("FX_LoadEData"), 101);

    PutStaff(doc(), 101, 0, 0);
    ui.MoveToMeasure(5, 0);
    EXPECT_EQ(host().view.scrolledStaff, 101);
}
