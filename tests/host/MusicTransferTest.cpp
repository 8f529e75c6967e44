// Regions of the substitute host: the selection, and music copied, cut and pasted through
// clip tokens.
#include <cstring>

#include "FXBinding.h"
#include "RecordBuilders.h"
#include "ScoreTest.h"
#include "finalepdk.h"

namespace {

constexpr uint32_t V = FRAMEWORK_ENIGMA_VERSION;

class MusicTransferTest : public ScoreTest {
  protected:
    void SetUp() override {
        ScoreTest::SetUp();
        Score().Staves({1, 2}).Measures(3);
        Score().Music(1, 1, "C4/q D4 E4 F4").Music(1, 2, "G4/w").Music(2, 1, "C3/w");
    }
    static EREGIONTRANSFER Transfer(const EREGION& region) { return {region, 1, 1}; }
};

TEST_F(MusicTransferTest, CurrentRegions) {
    uint8_t first[4] = {9, 9, 9, 9};
    EREGION selected, whole;
    EXPECT_EQ(FX_GetCurERegions(first, &selected, &whole, V), 0) << "nothing selected";
    EXPECT_EQ(Copy(whole.startSlot), 1);
    EXPECT_EQ(Copy(whole.endSlot), 2);
    EXPECT_EQ(Copy(whole.endMeasure), 3);
    EXPECT_EQ(Copy(whole.endPosition), EREGION_END_OF_MEASURE);

    EREGION region = Region(2, 2, 2, 3, 5);
    EXPECT_NE(FX_SetCurERegion(&region, V), 0);
    EXPECT_NE(FX_GetCurERegions(first, &selected, &whole, V), 0);
    EXPECT_EQ(std::memcmp(&selected, &region, sizeof region), 0);
}

TEST_F(MusicTransferTest, CopyAndPasteMakeNewEntries) {
    EREGIONTRANSFER from = Transfer(Region(1, 1, 1, 2));
    const uint32_t token = FX_CopyCutMusic(&from, 1, V);
    ASSERT_NE(token, 0u);
    EXPECT_EQ(Music(1, 1), "C4/q D4/q E4/q F4/q") << "copying leaves the music";

    EREGIONTRANSFER to = Transfer(Region(2, 2, 2, 3));
    EXPECT_NE(FX_InsertMergeMusic(token, &to, 1, V), 0);
    EXPECT_EQ(Music(2, 2), "C4/q D4/q E4/q F4/q");
    EXPECT_EQ(Music(2, 3), "G4/w");
    EXPECT_EQ(Music(2, 1), "C3/w");
    EXPECT_NE(Copy(Stored(2, 2, 0).entryNumber), Copy(Stored(1, 1, 0).entryNumber));

    EXPECT_NE(FX_DisposeFinClipFileToken(token, V), 0);
    EXPECT_EQ(FX_DisposeFinClipFileToken(token, V), 0);
    EXPECT_EQ(FX_InsertMergeMusic(token, &to, 1, V), 0) << "the token is gone";
}

TEST_F(MusicTransferTest, CutTakesOnlyTheEntriesInsideThePositions) {
    EREGIONTRANSFER from = Transfer(Region(1, 1, 1, 1, 1024, 2048));
    const uint32_t token = FX_CopyCutMusic(&from, 2, V);
    ASSERT_NE(token, 0u);
    EXPECT_EQ(Music(1, 1), "C4/q F4/q");
    EXPECT_EQ(Copy(Stored(1, 1, 1).position), 1024);
    EREGIONTRANSFER to = Transfer(Region(1, 1, 3, 3));
    FX_InsertMergeMusic(token, &to, 1, V);
    EXPECT_EQ(Music(1, 3), "D4/q E4/q");
    FX_DisposeFinClipFileToken(token, V);
}

TEST_F(MusicTransferTest, TupletsTravelWithTheirEntries) {
    const uint32_t second = Copy(Stored(1, 1, 1).entryNumber);
    plovikhost::PutTuplet(doc(), second, 0, 0x0011);
    plovikhost::PutTuplet(doc(), second, 1, 0x0022);
    EREGIONTRANSFER from = Transfer(Region(1, 1, 1, 1, 1024, 1024));
    const uint32_t token = FX_CopyCutMusic(&from, 2, V);
    ASSERT_NE(token, 0u);
    EXPECT_TRUE(doc().records.All(plovikhost::TAG_TUPLET).empty()) << "cut with their entry";
    EREGIONTRANSFER to = Transfer(Region(2, 2, 3, 3));
    ASSERT_NE(FX_InsertMergeMusic(token, &to, 1, V), 0);
    FX_DisposeFinClipFileToken(token, V);

    const int32_t pasted = static_cast<int32_t>(Copy(Stored(2, 3, 0).entryNumber));
    const auto ids = doc().records.All(plovikhost::TAG_TUPLET);
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(ids[0].a, pasted);
    EXPECT_EQ(ids[1].b, 1);
    EXPECT_EQ(FXRead<uint16_t>(doc().records.Find(ids[1])->data(), TUPLET_OPTION_FLAGS), 0x0022);
}

TEST_F(MusicTransferTest, RefusesWhatIsNoRegion) {
    EREGIONTRANSFER empty = Transfer(EREGION{});
    EXPECT_EQ(FX_CopyCutMusic(&empty, 1, V), 0u);
    EREGIONTRANSFER region = Transfer(Region(1, 1, 1, 1));
    EXPECT_EQ(FX_CopyCutMusic(&region, 3, V), 0u) << "modes 1 and 2 only";
    EXPECT_EQ(FX_CopyCutMusic(nullptr, 1, V), 0u);
    for (const EREGIONTRANSFER odd :
         {EREGIONTRANSFER{Region(1, 1, 1, 1), 0, 1}, EREGIONTRANSFER{Region(1, 1, 1, 1), 1, 2}}) {
        EREGIONTRANSFER copy = odd;
        EXPECT_EQ(FX_CopyCutMusic(&copy, 1, V), 0u) << "trailing words other than 1 and 1";
    }
    const uint32_t token = FX_CopyCutMusic(&region, 1, V);
    EREGIONTRANSFER odd{Region(2, 2, 3, 3), 1, 0};
    EXPECT_EQ(FX_InsertMergeMusic(token, &odd, 1, V), 0);
    FX_DisposeFinClipFileToken(token, V);
}

}  // namespace
