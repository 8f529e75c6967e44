// The parts of a document: listing them, their names by host version, identity, and walking
// them with each made current.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "FCDocument.h"
#include "FCIteratorHandler.h"
#include "FCPart.h"
#include "HostTest.h"
#include "finalepdk.h"

namespace {

class Walk : public FCIteratorHandler {
  public:
    explicit Walk(std::function<bool(FCPart*)> visit) : _visit(std::move(visit)) {}
    bool Iterate(__FCBase* element) override { return _visit(static_cast<FCPart*>(element)); }

  private:
    std::function<bool(FCPart*)> _visit;
};

class FCPartTest : public HostTest {
  protected:
    // Document 1 with the score and parts 2 (Flute) and 5 (Oboe); part 5 is shown.
    void SetUp() override {
        HostTest::SetUp();
        doc().parts = {{0, "Score"}, {2, "Flute"}, {5, "Oboe"}};
        doc().currentPart = 5;
    }
    std::vector<int16_t> IDs(FCParts& parts) {
        std::vector<int16_t> ids;
        for (int i = 0; i < parts.GetCount(); ++i)
            ids.push_back(static_cast<FCPart*>(parts.GetItemAt(i))->GetID());
        return ids;
    }
    FCPart* At(FCParts& parts, int i) { return static_cast<FCPart*>(parts.GetItemAt(i)); }
    // The part shown in the current document while the handler ran, for each part visited.
    std::vector<std::pair<int16_t, int16_t>> seen;
    Walk Recording(int stopAfter = -1) {
        return Walk([this, stopAfter](FCPart* part) {
            seen.push_back({part->GetID(), doc().currentPart});
            return static_cast<int>(seen.size()) != stopAfter;
        });
    }
};

}  // namespace

TEST_F(FCPartTest, LoadAllListsTheScoreAndEveryPartOfTheCurrentDocument) {
    host().AddDocument(3);
    host().SetCurrentDocument(3);
    doc().parts[1] = "Horn";
    FCParts parts;
    EXPECT_EQ(parts.LoadAll(), 2);
    EXPECT_EQ(IDs(parts), (std::vector<int16_t>{0, 1}));
    EXPECT_EQ(At(parts, 1)->GetDocumentID(), 3);
    EXPECT_EQ(At(parts, 1)->_GetSavedPart(), -1);
    EXPECT_STREQ(At(parts, 0)->ClassName(), "FCPart");

    host().SetCurrentDocument(1);
    EXPECT_EQ(parts.LoadAll(), 3) << "a second load replaces the first";
    EXPECT_EQ(IDs(parts), (std::vector<int16_t>{0, 2, 5}));
    EXPECT_EQ(At(parts, 2)->GetDocumentID(), 1);
}

TEST_F(FCPartTest, ADocumentWithoutPartsListsTheScoreAlone) {
    doc().parts = {{0, "Score"}};  // FX_GetNextPartID(0) answers -1
    FCParts parts;
    EXPECT_EQ(parts.LoadAll(), 1);
    EXPECT_EQ(IDs(parts), std::vector<int16_t>{0});
    EXPECT_EQ(host().LastCall("FX_GetNextPartID")->args[0], 0);

    host().Hide("FX_GetNextPartID");
    Relookup();
    doc().parts = {{0, "Score"}, {2, "Flute"}};
    EXPECT_EQ(parts.LoadAll(), 1);
    EXPECT_EQ(IDs(parts), std::vector<int16_t>{0});
}

TEST_F(FCPartTest, AHostThatListsAPartTwiceIsNotAskedForever) {
    host().answerNextPartID = [](int32_t after) { return after == 0 ? 4 : 0; };
    FCParts parts;
    EXPECT_EQ(parts.LoadAll(), 2);
    EXPECT_EQ(IDs(parts), (std::vector<int16_t>{0, 4}));
    host().answerNextPartID = [](int32_t after) { return after == 0 ? 4 : 4; };
    EXPECT_EQ(parts.LoadAll(), 2);
}

TEST_F(FCPartTest, NamesAreAskedForOnlyFromHostsThatGiveThemRightly) {
    FCPart flute(2, 1);
    SetFinaleFrameworkVersion(0x10FFFFFF);
    EXPECT_STREQ(flute.GetName()->GetCString(), "Not available (due to a bug)");
    EXPECT_EQ(host().Count("FX_GetPartName"), 0);

    SetFinaleFrameworkVersion(0x11000000);
    FCString* name = flute.GetName();
    EXPECT_STREQ(name->GetCString(), "Flute");
    EXPECT_EQ(host().LastCall("FX_GetPartName")->args[0], 2);
    EXPECT_EQ(flute.GetName(), name) << "the part's own string, every time";

    FCPart unknown(9, 1);  // the host gives no name at all
    EXPECT_STREQ(unknown.GetName()->GetCString(), "");

    host().Hide("FX_GetPartName");
    Relookup();
    SetFinaleFrameworkVersion(0x11000000);
    EXPECT_STREQ(flute.GetName()->GetCString(), " ");
}

TEST_F(FCPartTest, IdentityIsThePartInItsDocument) {
    FCPart a(2, 1), same(2, 1), otherDocument(2, 3), otherPart(5, 1);
    EXPECT_TRUE(a.IsIdentical(&same));
    EXPECT_FALSE(a.IsIdentical(&otherDocument));
    EXPECT_FALSE(a.IsIdentical(&otherPart));
    FCDocument document(1);
    EXPECT_FALSE(a.IsIdentical(&document));
    EXPECT_FALSE(a.IsIdentical(nullptr));
}

TEST_F(FCPartTest, ScopedWalkShowsEachPartAndPutsTheShownOneBack) {
    FCParts parts;
    parts.LoadAll();
    int16_t savedWhileWalking = 0;
    Walk walk([&](FCPart* part) {
        seen.push_back({part->GetID(), doc().currentPart});
        savedWhileWalking = part->_GetSavedPart();
        return true;
    });
    EXPECT_EQ(parts.ForEachWithScope(&walk), 3);
    EXPECT_EQ(seen, (std::vector<std::pair<int16_t, int16_t>>{{0, 0}, {2, 2}, {5, 5}}));
    EXPECT_EQ(savedWhileWalking, 5);
    EXPECT_EQ(doc().currentPart, 5);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(At(parts, i)->_GetSavedPart(), -1);
}

TEST_F(FCPartTest, ARefusalStopsTheWalkAndPutsTheShownPartBack) {
    FCParts parts;
    parts.LoadAll();
    Walk walk = Recording(1);
    EXPECT_EQ(parts.ForEachWithScope(&walk), 0);
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(doc().currentPart, 5);
    EXPECT_EQ(At(parts, 0)->_GetSavedPart(), -1);
}

TEST_F(FCPartTest, PartsOfAnotherDocumentArePassedWithoutSwitching) {
    FCParts parts;
    parts.LoadAll();
    host().AddDocument(2);
    host().SetCurrentDocument(2);
    host().ClearCalls();
    Walk walk = Recording();
    EXPECT_EQ(parts.ForEachWithScope(&walk), 3);
    EXPECT_EQ(host().Count("FX_SetCurrentPartID"), 0);
    EXPECT_EQ(host().FindDocument(1)->currentPart, 5);
}

TEST_F(FCPartTest, AHandlerThatLeavesTheDocumentDoesNotSpoilLaterWalks) {
    host().AddDocument(2);
    FCParts parts;
    parts.LoadAll();
    Walk leave([&](FCPart* part) {
        if (part->GetID() == 2) host().SetCurrentDocument(2);
        return true;
    });
    parts.ForEachWithScope(&leave);
    EXPECT_EQ(host().FindDocument(1)->currentPart, 2) << "not put back in another document";
    EXPECT_EQ(At(parts, 1)->_GetSavedPart(), -1);

    host().SetCurrentDocument(1);
    Walk walk = Recording();
    parts.ForEachWithScope(&walk);
    EXPECT_EQ(seen, (std::vector<std::pair<int16_t, int16_t>>{{0, 0}, {2, 2}, {5, 5}}));
    EXPECT_EQ(doc().currentPart, 2);
}

TEST_F(FCPartTest, TheCurrentPartIsTheShownPartOfTheCurrentDocument) {
    FCParts parts;
    parts.LoadAll();
    EXPECT_EQ(parts.GetCurrent(), At(parts, 2));
    doc().currentPart = 0;
    EXPECT_EQ(parts.GetCurrent(), At(parts, 0));

    host().AddDocument(2);  // shows its score, part 0, as document 1 does
    host().SetCurrentDocument(2);
    EXPECT_EQ(parts.GetCurrent(), nullptr) << "the list holds document 1's parts";
}
