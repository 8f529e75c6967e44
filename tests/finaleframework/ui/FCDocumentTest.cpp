// The documents open in the host: listing them, their paths, and walking them with each made
// current inside an edit of its own.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "FCDocument.h"
#include "FCIteratorHandler.h"
#include "FCMusicRegion.h"
#include "Notation.h"
#include "ScoreTest.h"
#include "TieNotes.h"
#include "finalepdk.h"

using plovikhost::EditRecord;

namespace {

class Walk : public FCIteratorHandler {
  public:
    explicit Walk(std::function<bool(FCDocument*)> visit) : _visit(std::move(visit)) {}
    bool Iterate(__FCBase* element) override { return _visit(static_cast<FCDocument*>(element)); }

  private:
    std::function<bool(FCDocument*)> _visit;
};

// What a walk saw of one document while its handler ran.
struct Visit {
    int16_t id;
    int16_t current;
    int16_t saved;
    int depth;
    std::string openEdit;
};

class FCDocumentTest : public ScoreTest {
  protected:
    // Documents 1, 2 and 3, each with one measure of two Cs to tie; document 2 is current.
    void ThreeDocuments() {
        for (int16_t number : {1, 2, 3}) {
            if (number != 1) host().AddDocument(number);
            host().SetCurrentDocument(number);
            Score().Staves({1}).Measures(1).Music(1, 1, "C4/q C4");
        }
        host().SetCurrentDocument(2);
    }
    std::string MusicOf(int16_t document) {
        return plovikhost::CellNotation(*host().FindDocument(document), 1, 1, 0);
    }
    // A handler that keeps what it saw, ties the notes of the current document, and answers
    // `goOn`.
    Walk Recording(bool goOn = true) {
        return Walk([this, goOn](FCDocument* document) {
            const auto& edits = host().Edits();
            const bool open = !edits.empty() && edits.back().state == EditRecord::OPEN;
            visits.push_back({document->GetID(), host().CurrentDocumentNumber(),
                              document->_GetSavedDocument(), FinaleEditDepth,
                              open ? edits.back().name : ""});
            FCMusicRegion region;
            region.SetFullDocument();
            TieNotes(&region, true);
            return goOn;
        });
    }
    std::vector<int16_t> IDs(FCDocuments& documents) {
        std::vector<int16_t> ids;
        for (int i = 0; i < documents.GetCount(); ++i)
            ids.push_back(static_cast<FCDocument*>(documents.GetItemAt(i))->GetID());
        return ids;
    }

    std::vector<Visit> visits;
};

}  // namespace

TEST_F(FCDocumentTest, LoadAllListsTheOpenDocumentsInHostOrder) {
    host().AddDocument(4);
    host().AddDocument(2);
    FCDocuments documents;
    EXPECT_EQ(documents.LoadAll(), 3);
    EXPECT_EQ(IDs(documents), (std::vector<int16_t>{1, 2, 4}));
    EXPECT_STREQ(documents.GetItemAt(0)->ClassName(), "FCDocument");
    EXPECT_EQ(static_cast<FCDocument*>(documents.GetItemAt(0))->_GetSavedDocument(), 0);
    host().AddDocument(7);
    EXPECT_EQ(documents.LoadAll(), 4) << "a second load replaces the first";

    host().Hide("FX_GetNextEnigmaDocument");
    Relookup();
    EXPECT_EQ(documents.LoadAll(), 0);
}

TEST_F(FCDocumentTest, AHostThatListsADocumentTwiceIsNotAskedForever) {
    host().AddDocument(2);
    host().answerNextDocument = [](int32_t after) { return after == 0 ? 1 : after == 1 ? 2 : 1; };
    FCDocuments documents;
    EXPECT_EQ(documents.LoadAll(), 2);
    EXPECT_EQ(IDs(documents), (std::vector<int16_t>{1, 2}));
}

TEST_F(FCDocumentTest, Paths) {
    host().FindDocument(1)->path = "C:\\Scores\\Etude.mus";
    host().AddDocument(2);  // never saved: no path
    FCDocument first(1), second(2);
    EXPECT_STREQ(first.GetPath(), "C:\\Scores\\Etude.mus");
    EXPECT_STREQ(second.GetPath(), "");
    EXPECT_EQ(host().LastCall("FX_GetDocumentPath")->args[0], 2);

    // A path that fills the host's 260 bytes arrives without its terminator.
    host().FindDocument(1)->path = std::string(300, 'x');
    EXPECT_EQ(std::string(first.GetPath()), std::string(259, 'x'));

    host().Hide("FX_GetDocumentPath");
    Relookup();
    EXPECT_STREQ(first.GetPath(), "") << "the previous path is cleared before asking";
}

TEST_F(FCDocumentTest, ScopedWalkMakesEachDocumentCurrentInsideItsOwnEdit) {
    ThreeDocuments();
    FCDocuments documents;
    documents.LoadAll();
    Walk walk = Recording();
    EXPECT_EQ(documents.ForEachWithScope(&walk, "Tie All"), 3);

    ASSERT_EQ(visits.size(), 3u);
    for (int16_t i = 0; i < 3; ++i) {
        EXPECT_EQ(visits[i].id, i + 1);
        EXPECT_EQ(visits[i].current, i + 1);
        EXPECT_EQ(visits[i].saved, 2);
        EXPECT_EQ(visits[i].depth, 1);
        EXPECT_EQ(visits[i].openEdit, "Tie All");
    }
    EXPECT_EQ(host().CurrentDocumentNumber(), 2);
    EXPECT_EQ(FinaleEditDepth, 0);
    ASSERT_EQ(host().Edits().size(), 3u);
    for (const EditRecord& edit : host().Edits()) EXPECT_EQ(edit.state, EditRecord::ENDED);
    for (int16_t number : {1, 2, 3}) EXPECT_EQ(MusicOf(number), "C4~/q C4/q") << number;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(static_cast<FCDocument*>(documents.GetItemAt(i))->_GetSavedDocument(), 0);
}

TEST_F(FCDocumentTest, ScopedWalkWithoutAnEditName) {
    ThreeDocuments();
    FCDocuments documents;
    documents.LoadAll();
    Walk walk = Recording();
    documents.ForEachWithScope(&walk, nullptr);
    ASSERT_EQ(host().Edits().size(), 3u);
    for (const EditRecord& edit : host().Edits()) EXPECT_EQ(edit.name, "Plug-in Edit");
}

TEST_F(FCDocumentTest, ARefusalStopsTheWalkAndPutsTheCurrentDocumentBack) {
    ThreeDocuments();
    FCDocuments documents;
    documents.LoadAll();
    Walk walk = Recording(false);
    EXPECT_EQ(documents.ForEachWithScope(&walk, "Tie All"), 0);
    ASSERT_EQ(visits.size(), 1u);
    EXPECT_EQ(visits[0].id, 1);
    EXPECT_EQ(host().CurrentDocumentNumber(), 2);
    ASSERT_EQ(host().Edits().size(), 1u);
    EXPECT_EQ(host().Edits()[0].state, EditRecord::ENDED) << "ended, never cancelled";
    EXPECT_EQ(MusicOf(1), "C4~/q C4/q");
    EXPECT_EQ(MusicOf(3), "C4/q C4/q");
    EXPECT_EQ(static_cast<FCDocument*>(documents.GetItemAt(0))->_GetSavedDocument(), 0);
    EXPECT_EQ(FinaleEditDepth, 0);
}

TEST_F(FCDocumentTest, ARefusedEditLeavesTheCallersEditOpen) {
    ThreeDocuments();
    FCDocuments documents;
    documents.LoadAll();
    ASSERT_NE(FX_StartFinaleEdit("Outer", FRAMEWORK_ENIGMA_VERSION), 0);
    host().refuseEdits = true;
    Walk walk = Recording();
    EXPECT_EQ(documents.ForEachWithScope(&walk, "Tie All"), 3);
    EXPECT_EQ(FinaleEditDepth, 1);
    ASSERT_EQ(host().Edits().size(), 1u);
    EXPECT_EQ(host().Edits()[0].state, EditRecord::OPEN);
    EXPECT_NE(FX_EndFinaleEdit(FRAMEWORK_ENIGMA_VERSION), 0);
}

TEST_F(FCDocumentTest, ScopedWalkSkipsEmptySlots) {
    ThreeDocuments();
    FCDocuments documents;
    documents.Add(new FCDocument(1));
    documents.Add(nullptr);
    documents.Add(new FCDocument(3));
    Walk walk = Recording();
    EXPECT_EQ(documents.ForEachWithScope(&walk, "x"), 2);
    EXPECT_EQ(visits.size(), 2u);
    EXPECT_EQ(MusicOf(2), "C4/q C4/q");
}
