// The substitute host's raw texts (keyed by number alone), the staff record in force at
// a point, and the layout check of measure number regions.
#include <vector>

#include "HostTest.h"
#include "RecordBuilders.h"
#include "finalepdk.h"

using namespace plovikhost;

namespace {

struct Key {
    uint8_t bytes[8] = {};
};

Key StaffPoint(uint16_t staff, int16_t measure, int32_t position) {
    Key k;
    FXWrite<uint16_t>(k.bytes, 0, staff);
    FXWrite<int16_t>(k.bytes, 2, measure);
    FXWrite<int32_t>(k.bytes, 4, position);
    return k;
}

}  // namespace

class TextAndStaffRecordsTest : public HostTest {
  protected:
    // The transposition word of the staff record the host gives for the point; -1 when none.
    int SpecAt(uint16_t staff, int16_t measure, int32_t position) {
        Key k = StaffPoint(staff, measure, position);
        EDTStaffSpec spec{};
        int32_t size = sizeof spec;
        if (!FX_LoadEData(TAG_STAFF_AT_POINT, k.bytes, &spec, &size, 0x0F000000)) return -1;
        const uint16_t word = spec.transposition;
        return word;
    }
};

TEST_F(TextAndStaffRecordsTest, RawTextsAreNumberedByTheirFirstWordAlone) {
    PutRawText(doc(), TAG_RAW_TEXT, 3, "abc");
    Key k;
    FXWrite<uint16_t>(k.bytes, 0, 3);
    FXWrite<uint16_t>(k.bytes, 2, 0x1234);  // not part of a raw text's key
    int32_t size = 0;
    ASSERT_EQ(FX_LoadEData(TAG_RAW_TEXT, k.bytes, nullptr, &size, FRAMEWORK_ENIGMA_VERSION), 1);
    EXPECT_EQ(size, 4);  // the text and its zero

    // A new raw text gets the next free number of its own kind.
    PutRawText(doc(), TAG_EXPRESSION_RAW_TEXT, 7, "x");
    FXWrite<uint16_t>(k.bytes, 0, 0xFFFF);
    char text[] = "new";
    ASSERT_EQ(FX_CreateEData(TAG_RAW_TEXT, k.bytes, text, 4, FRAMEWORK_ENIGMA_VERSION), 1);
    EXPECT_EQ(FXRead<uint16_t>(k.bytes, 0), 4);
    EXPECT_EQ(FXRead<uint16_t>(k.bytes, 2), 0x1234);
    FXWrite<uint16_t>(k.bytes, 0, 0xFFFF);
    ASSERT_EQ(FX_CreateEData(TAG_EXPRESSION_RAW_TEXT, k.bytes, text, 4, FRAMEWORK_ENIGMA_VERSION),
              1);
    EXPECT_EQ(FXRead<uint16_t>(k.bytes, 0), 8);
}

TEST_F(TextAndStaffRecordsTest, StaffSpecInForceIsTheLatestAtOrBeforeThePoint) {
    PutStaff(doc(), 2, 0x0001, 0);
    PutStaff(doc(), 3, 0x0003, 0);
    PutStaffSpecFrom(doc(), 2, 4, 512, 0x0010, 0);
    PutStaffSpecFrom(doc(), 2, 6, 0, 0x0020, 0);

    EXPECT_EQ(SpecAt(2, 1, 0), 0x0001);    // before any staff style: the staff itself
    EXPECT_EQ(SpecAt(2, 4, 511), 0x0001);  // just before the change
    EXPECT_EQ(SpecAt(2, 4, 512), 0x0010);  // from the point on
    EXPECT_EQ(SpecAt(2, 5, 0), 0x0010);    // and into later measures
    EXPECT_EQ(SpecAt(2, 6, 0), 0x0020);    // until the next change
    EXPECT_EQ(SpecAt(2, 900, 0), 0x0020);
    EXPECT_EQ(SpecAt(3, 9, 0), 0x0003);  // another staff's styles never leak over
    EXPECT_EQ(SpecAt(9, 1, 0), -1);      // no such staff
}

TEST_F(TextAndStaffRecordsTest, MeasureNumberRegionLayoutMustMatchTheVersion) {
    MeasureNumberRegionFields f;
    PutMeasureNumberRegion(doc(), 1, f, true);
    Key k;
    FXWrite<uint16_t>(k.bytes, 0, 1);
    std::vector<uint8_t> buffer(196);
    int32_t size = 196;
    EXPECT_EQ(FX_LoadEData(TAG_MEASURE_NUMBER_REGION, k.bytes, buffer.data(), &size,
                           FRAMEWORK_ENIGMA_VERSION),
              1);
    EXPECT_TRUE(host().Problems().empty());
    size = 196;
    FX_LoadEData(TAG_MEASURE_NUMBER_REGION, k.bytes, buffer.data(), &size, 0x0A000000);
    ASSERT_EQ(host().Problems().size(), 1u);  // a 196-byte block spoken as the old layout
    host().ClearProblems();
}
