// The substitute host's entry frames: what it hands out, what it stores, and how it catches
// frames used wrongly. Called through the binding, as the framework calls them.
#include <vector>

#include "FXBinding.h"
#include "RecordBuilders.h"
#include "ScoreTest.h"
#include "finalepdk.h"

using namespace plovikhost;

namespace {

constexpr uint32_t V = FRAMEWORK_ENIGMA_VERSION;

class FrameServicesTest : public ScoreTest {
  protected:
    void SetUp() override {
        ScoreTest::SetUp();
        Score().Staves({5, 6}).Measures(2).Music(5, 1, "C4/q D4 E4+G4/h");
    }
    EXTGF2005a* Load(int16_t slot, int16_t measure, int16_t layer = 0, int16_t mode = 1) {
        return FX_LoadTGF(0, slot, measure, layer, mode, V);
    }
};

TEST_F(FrameServicesTest, AFrameIsTheCellLaidOutAsTheHostsRecord) {
    EXTGF2005a* frame = Load(1, 1);
    ASSERT_TRUE(frame);
    EXPECT_EQ(Copy(frame->instrumentList), 0);
    EXPECT_EQ(Copy(frame->slot), 1);
    EXPECT_EQ(Copy(frame->measure), 1);
    EXPECT_EQ(Copy(frame->layer), 0);
    ASSERT_EQ(Copy(frame->entryCount), 3);
    EXPECT_EQ(Copy(frame->entries[2].noteCount), 2);
    EXPECT_EQ(Copy(frame->entries[2].position), 2048);
    EXPECT_EQ(Copy(host().Frames().Find(frame)->loadMode), 1);
    EXPECT_EQ(host().Frames().Outstanding(), 1);
    EXPECT_NE(FX_FreeTGF(frame, V), 0);
    EXPECT_EQ(host().Frames().Outstanding(), 0);
}

TEST_F(FrameServicesTest, ALogThatKeepsNoCallsStillCountsThem) {
    host().ClearCalls();
    host().keepCalls = false;  // as in plovik-host
    FX_FreeTGF(Load(1, 1), V);
    FX_FreeTGF(Load(1, 2), V);
    EXPECT_EQ(host().Count("FX_LoadTGF"), 2);
    EXPECT_EQ(host().Count("FX_FreeTGF"), 2);
    EXPECT_TRUE(host().Calls().empty());
    host().keepCalls = true;
    FX_FreeTGF(Load(1, 2), V);
    EXPECT_EQ(host().Count("FX_LoadTGF"), 3);
    ASSERT_NE(host().LastCall("FX_LoadTGF"), nullptr);
    EXPECT_EQ(host().LastCall("FX_LoadTGF")->args[2], 2);
}

TEST_F(FrameServicesTest, AnEmptyCellHasNoEntryArray) {
    EXTGF2005a* frame = Load(2, 2, 3, 0);
    ASSERT_TRUE(frame);
    EXPECT_EQ(Copy(frame->entryCount), 0);
    EXPECT_EQ(Copy(frame->entries), nullptr);
    EXPECT_EQ(Copy(host().Frames().Find(frame)->loadMode), 0);
    FX_FreeTGF(frame, V);
}

TEST_F(FrameServicesTest, NoFrameOutsideTheScore) {
    EXPECT_EQ(Load(3, 1), nullptr) << "no staff in slot 3";
    EXPECT_EQ(Load(1, 3), nullptr) << "no measure 3";
    EXPECT_EQ(Load(1, 0), nullptr);
    EXPECT_EQ(Load(1, 1, 4), nullptr) << "layers 0 to 3";
    EXPECT_EQ(FX_LoadTGF(7, 1, 1, 0, 1, V), nullptr) << "no instrument list 7";
    EXPECT_EQ(host().Frames().Outstanding(), 0);
}

TEST_F(FrameServicesTest, SavingNumbersNewEntriesInTheDocumentOnly) {
    EXTGF2005a* frame = Load(1, 1);
    ASSERT_NE(FX_InsertEXENTRY(frame, 1, 1, V), 0);
    frame->entries[1].duration = 512;
    frame->entries[1].flags = ENTRY_FLAG_NOTE;
    ASSERT_NE(FX_SaveTGF(frame, V), 0);
    EXPECT_EQ(Copy(frame->entries[1].entryNumber), 0u) << "the frame keeps its zero";
    EXPECT_EQ(Copy(Stored(5, 1, 1).entryNumber), 4u) << "the number after the builder's three";
    EXPECT_EQ(Copy(Stored(5, 1, 2).position), 1536) << "positions follow the durations";
    EXPECT_EQ(Copy(Stored(5, 1, 1).noteCount), 1) << "the binding cleaned the blank entry";
    FX_FreeTGF(frame, V);

    EXTGF2005a* again = Load(1, 1, 0, 0);
    EXPECT_EQ(Copy(again->entries[1].entryNumber), 4u);
    FX_FreeTGF(again, V);
}

TEST_F(FrameServicesTest, InsertingAndDeletingMoveTheEntryArray) {
    EXTGF2005a* frame = Load(1, 1);
    const EXENTRY* before = frame->entries;
    const uint32_t third = frame->entries[2].entryNumber;
    ASSERT_NE(FX_InsertEXENTRY(frame, 0, 2, V), 0);
    EXPECT_NE(Copy(frame->entries), before);
    ASSERT_EQ(Copy(frame->entryCount), 5);
    EXPECT_EQ(Copy(frame->entries[0].entryNumber), 0u);
    EXPECT_EQ(Copy(frame->entries[4].entryNumber), third);

    const EXENTRY* inserted = frame->entries;
    ASSERT_NE(FX_DeleteEXENTRY(frame, 0, 3, V), 0);
    EXPECT_NE(Copy(frame->entries), inserted);
    ASSERT_EQ(Copy(frame->entryCount), 2);
    EXPECT_EQ(Copy(frame->entries[1].entryNumber), third);

    ASSERT_NE(FX_DeleteEXENTRY(frame, 0, 2, V), 0);
    EXPECT_EQ(Copy(frame->entryCount), 0);
    EXPECT_EQ(Copy(frame->entries), nullptr);
    FX_FreeTGF(frame, V);
}

TEST_F(FrameServicesTest, InsertAndDeleteOutsideTheArrayChangeNothing) {
    EXTGF2005a* frame = Load(1, 1);
    const EXENTRY* before = frame->entries;
    EXPECT_EQ(FX_InsertEXENTRY(frame, 4, 1, V), 0);
    EXPECT_EQ(FX_InsertEXENTRY(frame, -1, 1, V), 0);
    EXPECT_EQ(FX_DeleteEXENTRY(frame, 2, 2, V), 0);
    EXPECT_EQ(FX_DeleteEXENTRY(frame, 0, -1, V), 0);
    EXPECT_NE(FX_InsertEXENTRY(frame, 0, 0, V), 0) << "nothing to insert is done at once";
    EXPECT_EQ(Copy(frame->entries), before);
    EXPECT_EQ(Copy(frame->entryCount), 3);
    FX_FreeTGF(frame, V);
}

TEST_F(FrameServicesTest, TupletItemsFollowTheirEntries) {
    PutTuplet(doc(), Copy(Stored(5, 1, 1).entryNumber), 0, 0x0010);
    EXTGF2005a* frame = Load(1, 1);
    ASSERT_EQ(Copy(frame->tupletCount), 1);
    FX_InsertEXENTRY(frame, 1, 2, V);
    EXPECT_EQ(Copy(frame->tuplets[0].entryIndex), 3);
    FX_DeleteEXENTRY(frame, 0, 1, V);
    EXPECT_EQ(Copy(frame->tuplets[0].entryIndex), 2);
    FX_DeleteEXENTRY(frame, 2, 1, V);
    EXPECT_EQ(Copy(frame->tupletCount), 0) << "its entry is gone";
    FX_FreeTGF(frame, V);
}

TEST_F(FrameServicesTest, TupletItemsShowTheTupletRecordsOfTheEntries) {
    const uint32_t second = Copy(Stored(5, 1, 1).entryNumber);
    const uint32_t third = Copy(Stored(5, 1, 2).entryNumber);
    PutTuplet(doc(), second, 0, 0x0011);
    PutTuplet(doc(), second, 1, 0x0022);
    PutTuplet(doc(), second, 3, 0x0044);  // past a gap: not reached
    PutTuplet(doc(), third, 0, 0x0033);
    EXTGF2005a* frame = Load(1, 1);
    ASSERT_EQ(Copy(frame->tupletCount), 3);
    EXPECT_EQ(Copy(frame->tuplets[1].entryIndex), 1);
    EXPECT_EQ(Copy(frame->tuplets[1].incidence), 1);
    EXPECT_EQ(FXRead<uint16_t>(frame->tuplets[1].definition, TUPLET_OPTION_FLAGS), 0x0022);
    EXPECT_EQ(Copy(frame->tuplets[2].entryIndex), 2);
    FX_FreeTGF(frame, V);

    // A record saved or deleted is what the next frame shows.
    uint8_t key[8] = {};
    FXWrite<uint32_t>(key, 0, third);
    EDTTuplet2005 tuplet{};
    FXWrite<uint16_t>(tuplet.bytes, TUPLET_OPTION_FLAGS, 0x0055);
    ASSERT_NE(FX_SaveEData(TAG_TUPLET, key, &tuplet, 30, V), 0);
    FXWrite<uint32_t>(key, 0, second);
    ASSERT_NE(FX_DeleteEData(TAG_TUPLET, key, V), 0);
    frame = Load(1, 1);
    ASSERT_EQ(Copy(frame->tupletCount), 2);
    EXPECT_EQ(FXRead<uint16_t>(frame->tuplets[0].definition, TUPLET_OPTION_FLAGS), 0x0022);
    EXPECT_EQ(FXRead<uint16_t>(frame->tuplets[1].definition, TUPLET_OPTION_FLAGS), 0x0055);
    FX_FreeTGF(frame, V);
}

TEST_F(FrameServicesTest, SavingAFrameKeepsTheRecordsAsTheTruthOfItsTuplets) {
    const int32_t first = static_cast<int32_t>(Copy(Stored(5, 1, 0).entryNumber));
    const int32_t second = static_cast<int32_t>(Copy(Stored(5, 1, 1).entryNumber));
    PutTuplet(doc(), static_cast<uint32_t>(first), 0, 0x0011);
    PutTuplet(doc(), static_cast<uint32_t>(second), 0, 0x0022);
    EXTGF2005a* frame = Load(1, 1);
    ASSERT_EQ(Copy(frame->tupletCount), 2);
    // An item of a numbered entry only shows its record: changing it stores nothing.
    FXWrite<uint16_t>(frame->tuplets[0].definition, TUPLET_OPTION_FLAGS, 0x0099);
    FX_DeleteEXENTRY(frame, 1, 1, V);
    FX_InsertEXENTRY(frame, 2, 1, V);
    // A new entry with an item of its own, as a frame the host made would hold it.
    std::vector<TGFTUPLETITEM> items = FrameTable::TupletsOf(*host().Frames().Find(frame));
    TGFTUPLETITEM item{};
    item.entryIndex = 2;
    FXWrite<uint16_t>(item.definition, TUPLET_OPTION_FLAGS, 0x0077);
    items.push_back(item);
    host().Frames().Replace(frame, FrameTable::EntriesOf(*host().Frames().Find(frame)), items);
    ASSERT_NE(FX_SaveTGF(frame, V), 0);
    FX_FreeTGF(frame, V);

    const auto* kept = doc().records.Find(RecordId{TAG_TUPLET, first, 0, 0});
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(FXRead<uint16_t>(kept->data(), TUPLET_OPTION_FLAGS), 0x0011);
    EXPECT_EQ(doc().records.Find(RecordId{TAG_TUPLET, second, 0, 0}), nullptr)
        << "a deleted entry takes its tuplets with it";
    const int32_t added = static_cast<int32_t>(Copy(Stored(5, 1, 2).entryNumber));
    const auto* made = doc().records.Find(RecordId{TAG_TUPLET, added, 0, 0});
    ASSERT_NE(made, nullptr) << "the new entry's item became its record";
    EXPECT_EQ(FXRead<uint16_t>(made->data(), TUPLET_OPTION_FLAGS), 0x0077);
}

TEST_F(FrameServicesTest, TheHostReportsFramesUsedWrongly) {
    EXTGF2005a* frame = Load(1, 1);
    FX_FreeTGF(frame, V);
    EXPECT_EQ(fxraw::FX_SaveTGF(frame, V), 0);
    EXPECT_EQ(FX_FreeTGF(frame, V), 0);
    EXTGF2005a stranger{};
    EXPECT_EQ(FX_GetTGFDuration(&stranger, V), 0);
    EXPECT_EQ(FX_FreeTGF(nullptr, V), 0);
    ASSERT_EQ(host().Problems().size(), 4u);
    EXPECT_EQ(host().Problems()[0], "FX_SaveTGF was given a frame that was already freed");
    EXPECT_EQ(host().Problems()[1], "FX_FreeTGF was given a frame that was already freed");
    EXPECT_EQ(host().Problems()[2],
              "FX_GetTGFDuration was given a frame the host never handed out");
    EXPECT_EQ(host().Problems()[3], "FX_FreeTGF was given a null frame");
    host().ClearProblems();
}

// The allocator hands a freed frame's address out again; freed once more, it is remembered as
// freed for as long as any other frame, though its first free has long left the record.
TEST_F(FrameServicesTest, AReusedAddressFreedTwiceIsStillNamedAsFreed) {
    FrameTable& frames = host().Frames();
    const Cell empty;
    EXTGF2005a* reused = nullptr;
    for (int attempt = 0; attempt < 64 && !reused; ++attempt) {
        EXTGF2005a* first = frames.Hand(FrameRecord{}, empty);
        frames.Free("FX_FreeTGF", first);
        EXTGF2005a* next = frames.Hand(FrameRecord{}, empty);
        if (next == first)
            reused = next;
        else
            frames.Free("FX_FreeTGF", next);
    }
    if (!reused) GTEST_SKIP() << "the allocator never handed an address out again";

    std::vector<EXTGF2005a*> others;
    for (size_t i = 1; i < FrameTable::kFreedRemembered; ++i)
        others.push_back(frames.Hand(FrameRecord{}, empty));
    frames.Free("FX_FreeTGF", reused);
    for (EXTGF2005a* frame : others) frames.Free("FX_FreeTGF", frame);
    ASSERT_TRUE(host().Problems().empty());

    EXPECT_FALSE(frames.Free("FX_FreeTGF", reused));
    ASSERT_EQ(host().Problems().size(), 1u);
    EXPECT_EQ(host().Problems()[0], "FX_FreeTGF was given a frame that was already freed");
    host().ClearProblems();
}

// Hostile records a frame can hold: a note count of 40 whose renumbering runs past the top of
// the ID range, a negative note count with junk in an unused note record, and two notes with
// one ID.
void Spoil(EXTGF2005a* frame) {
    EXENTRY& many = frame->entries[0];
    for (NOTERECORD& note : many.notes) note = NOTERECORD{};
    many.noteCount = 40;
    many.notes[0].noteID = -32768;
    many.notes[1].noteID = 32767;
    frame->entries[1].noteCount = -5;
    frame->entries[1].notes[3].displacement = 9;
    frame->entries[2].notes[1].noteID = frame->entries[2].notes[0].noteID;
}

TEST_F(FrameServicesTest, FramesAreCleanedBeforeTheHostStoresOrReshapesThem) {
    EXTGF2005a* frame = Load(1, 1);
    Spoil(frame);
    EXPECT_NE(fxraw::FX_SaveTGF(frame, V), 0);  // past the cleaning
    ASSERT_EQ(host().Problems().size(), 1u);
    EXPECT_EQ(host().Problems()[0].rfind("FX_SaveTGF was given a frame not cleaned", 0), 0u)
        << host().Problems()[0];
    host().ClearProblems();

    Spoil(frame);
    ASSERT_NE(FX_InsertEXENTRY(frame, 3, 1, V), 0);
    Spoil(frame);
    ASSERT_NE(FX_DeleteEXENTRY(frame, 3, 1, V), 0);
    Spoil(frame);
    ASSERT_NE(FX_SaveTGF(frame, V), 0);
    FX_FreeTGF(frame, V);
    EXPECT_EQ(Copy(Stored(5, 1, 1).noteCount), 1) << "a rest with its note record";
}

TEST_F(FrameServicesTest, AFrameLeftOutIsCounted) {
    EXTGF2005a* frame = Load(1, 1);
    EXPECT_EQ(host().Frames().Outstanding(), 1);
    host().Frames().Clear();  // what Reset does, so that nothing leaks
    EXPECT_EQ(host().Frames().Outstanding(), 0);
    (void)frame;
}

TEST_F(FrameServicesTest, DurationsOfFramesAndMeasures) {
    Score().Measures(1, 6, 512);
    EXTGF2005a* frame = Load(1, 1);
    EXPECT_EQ(FX_GetTGFDuration(frame, V), 4096);
    FX_FreeTGF(frame, V);
    EXPECT_EQ(FX_GetMeasureDuration(5, 1, V), 4096);
    EXPECT_EQ(FX_GetMeasureDuration(5, 3, V), 3072);
    EXPECT_EQ(FX_GetMeasureDuration(5, 4, V), 0);
    EXPECT_EQ(FX_GetMeasureDuration(7, 1, V), 0) << "no staff 7";
}

TEST_F(FrameServicesTest, LayersAreShownUnlessHiddenInTheDocument) {
    Score().HideLayer(2);
    EXPECT_NE(FX_GetShowLayer(0, V), 0);
    EXPECT_EQ(FX_GetShowLayer(2, V), 0);
    host().AddDocument(2);
    host().SetCurrentDocument(2);
    EXPECT_NE(FX_GetShowLayer(2, V), 0);
}

}  // namespace
