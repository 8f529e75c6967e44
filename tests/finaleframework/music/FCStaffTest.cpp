// Staves: transposition in both packings, full names through text block and raw text, and the
// staff record in force at a point of the staff.
#include <memory>
#include <string>
#include <vector>

#include "FCCurrentStaffSpec.h"
#include "FCNoteEntry.h"
#include "FCStaff.h"
#include "FCString.h"
#include "HostTest.h"
#include "Notation.h"
#include "RecordBuilders.h"
#include "ScoreTest.h"
#include "finalepdk.h"

using namespace plovikhost;

namespace {
std::string Text(FCString* s) {
    std::unique_ptr<FCString> owned(s);
    return owned->GetCString();
}
}  // namespace

class FCStaffTest : public HostTest {
  protected:
    // Interval and alteration of a staff whose transposition word is `word`.
    std::pair<int, int> Transposition(uint16_t word) {
        PutStaff(doc(), 1, word, 0);
        FCStaff staff;
        EXPECT_TRUE(staff.Load(1));
        return {staff.GetTransposeInterval(), staff.GetTransposeAlteration()};
    }
};

TEST_F(FCStaffTest, TranspositionInBothPackings) {
    EXPECT_EQ(Transposition(0x0000), std::make_pair(0, 0));
    // Bit 13 set: 8-bit interval, 4-bit alteration above it.
    EXPECT_EQ(Transposition(0x2FF9), std::make_pair(-7, -1));
    EXPECT_EQ(Transposition(0x2705), std::make_pair(5, 7));
    EXPECT_EQ(Transposition(0x287F), std::make_pair(127, -8));
    // Bit 13 clear: 6-bit interval above a 6-bit alteration.
    EXPECT_EQ(Transposition(0x0FC1), std::make_pair(-1, 1));
    EXPECT_EQ(Transposition(0x0040), std::make_pair(1, 0));
    EXPECT_EQ(Transposition(0x083F), std::make_pair(-32, -1));
    EXPECT_EQ(Transposition(0x07E0), std::make_pair(31, -32));
}

TEST_F(FCStaffTest, RecordVersionAndSize) {
    PutStaff(doc(), 4, 0, 0);
    FCStaff staff;
    ASSERT_TRUE(staff.Load(4));
    const auto* load = host().LastCall("FX_LoadEData");
    EXPECT_EQ(load->args[0], 0x534F4953);
    EXPECT_EQ(load->args[3], 114);
    EXPECT_EQ(load->args[4], 0x0F000000);
    EXPECT_EQ(staff.GetDataSize(), 114);
}

TEST_F(FCStaffTest, FullNameWithAndWithoutFontTags) {
    PutRawText(doc(), TAG_RAW_TEXT, 3,
               "^fontTxt(Times New Roman,4096)^size(12)^nfx(0)Clarinet in B^flat()");
    PutTextBlock(doc(), 9, 3, 0);
    PutStaff(doc(), 2, 0, 9);
    FCStaff staff;
    ASSERT_TRUE(staff.Load(2));
    EXPECT_EQ(Text(staff.CreateFullNameString()),
              "^fontTxt(Times New Roman,4096)^size(12)^nfx(0)Clarinet in B^flat()");
    EXPECT_EQ(Text(staff.CreateTrimmedFullNameString()), "Clarinet in B^flat()");
}

TEST_F(FCStaffTest, FullNameOfAMissingBlockComesFromRawTextZero) {
    PutRawText(doc(), TAG_RAW_TEXT, 0, "zero");
    PutStaff(doc(), 2, 0, 40);  // no text block 40
    FCStaff staff;
    ASSERT_TRUE(staff.Load(2));
    EXPECT_EQ(Text(staff.CreateFullNameString()), "zero");
    FCStaff never;
    EXPECT_EQ(Text(never.CreateTrimmedFullNameString()), "zero");
}

TEST_F(FCStaffTest, CurrentSpecRefusesNumbers) {
    PutStaff(doc(), 1, 0x0040, 0);
    PutStaffSpecFrom(doc(), 1, 1, 0, 0x0040, 0);
    FCCurrentStaffSpec spec;
    EXPECT_FALSE(spec.Load(1));
    EXPECT_FALSE(spec.LoadFirst());
    EXPECT_EQ(spec.GetDataSize(), 0);
    EXPECT_EQ(spec.GetTranspositionWord(), 0);  // left as it was
    EXPECT_FALSE(spec.SaveAs(1));
    EXPECT_FALSE(spec.SaveNew());
    EXPECT_EQ(spec.GetItemNo(), 0);
    EXPECT_EQ(host().Count("FX_LoadEData") + host().Count("FX_SaveEData") +
                  host().Count("FX_CreateEData"),
              0);
    EXPECT_STREQ(spec.ClassName(), "FCCurrentStaffSpec");
}

TEST_F(FCStaffTest, CurrentSpecFollowsStaffStylesWithinAMeasure) {
    PutStaff(doc(), 3, 0x0000, 0);
    PutStaffSpecFrom(doc(), 3, 2, 1024, 0x2FF9, 0);  // from beat 2 of measure 2
    FCCurrentStaffSpec spec;
    ASSERT_TRUE(spec._LoadAt(3, 2, 0));
    EXPECT_EQ(spec.GetTransposeInterval(), 0);
    ASSERT_TRUE(spec._LoadAt(3, 2, 1024));
    EXPECT_EQ(spec.GetTransposeInterval(), -7);
    EXPECT_EQ(host().LastCall("FX_LoadEData")->args[0], 0x534F5343);
    ASSERT_TRUE(spec._LoadAt(3, 5, 0));
    EXPECT_EQ(spec.GetTransposeAlteration(), -1);
    EXPECT_FALSE(spec._LoadAt(8, 1, 0));
}

class FCCurrentStaffSpecEntryTest : public ScoreTest {};

TEST_F(FCCurrentStaffSpecEntryTest, LoadsTheSpecInForceAtTheEntry) {
    Score().Staves({4});
    PutStaff(doc(), 4, 0x0000, 0);
    PutStaffSpecFrom(doc(), 4, 2, 2048, 0x0040, 0);  // from the middle of measure 2
    std::vector<EXENTRY> records = ParseEntries("C4/h C4/h", 0);
    records[1].position = 2048;
    EXTGF2005a frame{};
    frame.slot = 1;
    frame.measure = 2;
    frame.entries = records.data();
    frame.entryCount = 2;
    FCNoteEntry first(&records[0], &frame), second(&records[1], &frame);

    FCCurrentStaffSpec spec;
    ASSERT_TRUE(spec.Load(&first));
    EXPECT_EQ(spec.GetTransposeInterval(), 0);
    ASSERT_TRUE(spec.Load(&second));
    EXPECT_EQ(spec.GetTransposeInterval(), 1);
    EXPECT_EQ(FXRead<uint16_t>(spec.GetRecordKey(), 0), 4);  // the staff, not the slot
    EXPECT_EQ(FXRead<int16_t>(spec.GetRecordKey(), 2), 2);
    EXPECT_EQ(FXRead<int32_t>(spec.GetRecordKey(), 4), 2048);

    const int loads = host().Count("FX_LoadEData");
    EXPECT_FALSE(spec.Load(static_cast<FCNoteEntry*>(nullptr)));
    EXPECT_EQ(host().Count("FX_LoadEData"), loads);
}
