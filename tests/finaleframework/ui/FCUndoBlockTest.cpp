// Editing work inside one host edit: kept when it succeeds, taken back when it fails, not done
// when the host refuses the edit.
#include "FCMusicRegion.h"
#include "FCString.h"
#include "FCUndoBlock.h"
#include "FCUndoBlockHandler.h"
#include "ScoreTest.h"
#include "TieNotes.h"
#include "finalepdk.h"

using plovikhost::EditRecord;

namespace {

// Ties the notes of a region, and reports success or failure as told.
class TieWork : public __FCUndoBlockHandler {
  public:
    TieWork(EREGION region, bool succeed) : _region(region), _succeed(succeed) {}
    bool Execute() override {
        ++calls;
        depthInside = FinaleEditDepth;
        FCMusicRegion region(&_region);
        TieNotes(&region, true);
        return _succeed;
    }
    int calls = 0;
    int depthInside = 0;

  private:
    EREGION _region;
    bool _succeed;
};

class FCUndoBlockTest : public ScoreTest {
  protected:
    void SetUp() override {
        ScoreTest::SetUp();
        Score().Staves({1}).Measures(1).Music(1, 1, "C4/q C4 E4 E4");
    }
    FCUndoBlock block;
};

}  // namespace

TEST_F(FCUndoBlockTest, SuccessfulWorkStaysAsOneNamedEdit) {
    TieWork work(Region(1, 1, 1, 1), true);
    FCString name;
    name.SetCString("Tie Notes");
    EXPECT_TRUE(block.Execute(&work, &name));
    EXPECT_EQ(work.calls, 1);
    EXPECT_EQ(work.depthInside, 1);
    EXPECT_EQ(FinaleEditDepth, 0);
    EXPECT_EQ(Music(1, 1), "C4~/q C4/q E4~/q E4/q");
    ASSERT_EQ(host().Edits().size(), 1u);
    EXPECT_EQ(host().Edits()[0].name, "Tie Notes");
    EXPECT_EQ(host().Edits()[0].state, EditRecord::ENDED);
    EXPECT_EQ(host().Count("FX_CancelFinaleEdit"), 0);
}

TEST_F(FCUndoBlockTest, FailedWorkIsTakenBack) {
    TieWork work(Region(1, 1, 1, 1), false);
    FCString name;
    name.SetCString("Tie Notes");
    EXPECT_FALSE(block.Execute(&work, &name));
    EXPECT_EQ(work.calls, 1);
    EXPECT_EQ(Music(1, 1), "C4/q C4/q E4/q E4/q") << "the document as it was";
    ASSERT_EQ(host().Edits().size(), 1u);
    EXPECT_EQ(host().Edits()[0].state, EditRecord::CANCELLED);
    EXPECT_EQ(host().Count("FX_EndFinaleEdit"), 0);
    EXPECT_EQ(FinaleEditDepth, 0);
}

TEST_F(FCUndoBlockTest, ARefusedEditRunsNoWork) {
    host().refuseEdits = true;
    TieWork work(Region(1, 1, 1, 1), true);
    FCString name;
    name.SetCString("Tie Notes");
    EXPECT_FALSE(block.Execute(&work, &name));
    EXPECT_EQ(work.calls, 0);
    EXPECT_EQ(Music(1, 1), "C4/q C4/q E4/q E4/q");
    EXPECT_EQ(FinaleEditDepth, 0);
    FX_EndFinaleEdit(FRAMEWORK_ENIGMA_VERSION);  // nothing open: the host never hears of it
    FX_CancelFinaleEdit(FRAMEWORK_ENIGMA_VERSION);
    EXPECT_EQ(host().Count("FX_EndFinaleEdit") + host().Count("FX_CancelFinaleEdit"), 0);

    host().refuseEdits = false;
    host().Hide("FX_StartFinaleEdit");  // a host without edits refuses them too
    Relookup();
    EXPECT_FALSE(block.Execute(&work, &name));
    EXPECT_EQ(work.calls, 0);
    EXPECT_EQ(FinaleEditDepth, 0);
}

TEST_F(FCUndoBlockTest, AnEditWithoutANameIsAPlugInEdit) {
    TieWork work(Region(1, 1, 1, 1), true);
    EXPECT_TRUE(block.Execute(&work, nullptr));
    ASSERT_EQ(host().Edits().size(), 1u);
    EXPECT_EQ(host().Edits()[0].name, "Plug-in Edit");
    EXPECT_EQ(host().LastCall("FX_StartFinaleEdit")->args[1], FRAMEWORK_ENIGMA_VERSION);
}

TEST_F(FCUndoBlockTest, NoHandlerOpensNoEdit) {
    EXPECT_FALSE(block.Execute(nullptr, nullptr));
    EXPECT_EQ(host().Count("FX_StartFinaleEdit"), 0);
    EXPECT_EQ(FinaleEditDepth, 0);
}
