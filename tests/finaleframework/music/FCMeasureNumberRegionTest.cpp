// Measure number regions: both record layouts, the displayed number in both styles, and the
// lookup over all regions of a document.
#include <memory>
#include <string>

#include "FCMeasureNumberRegion.h"
#include "FCString.h"
#include "HostTest.h"
#include "RecordBuilders.h"
#include "finalepdk.h"

using namespace plovikhost;

namespace {
MeasureNumberRegionFields Letters(bool doubleUp) {
    MeasureNumberRegionFields f;
    f.startMeasure = 5;
    f.endMeasure = 60;
    f.startNumber = 1;
    f.startChar = 'a';
    f.base = 26;
    f.doubleUp = doubleUp;
    f.countFromOne = false;
    return f;
}
}  // namespace

class FCMeasureNumberRegionTest : public HostTest {
  protected:
    // The displayed number of the measure in region 1, or "<false>".
    std::string Shown(int16_t measure) {
        FCMeasureNumberRegion region;
        EXPECT_TRUE(region.Load(1));
        FCString out;
        out.SetCString("untouched");
        if (!region.GetDisplayedNumber(measure, &out))
            return std::string("<false>") + out.GetCString();
        return out.GetCString();
    }
    void Region(const MeasureNumberRegionFields& f, bool newLayout = true) {
        PutMeasureNumberRegion(doc(), 1, f, newLayout);
    }
};

TEST_F(FCMeasureNumberRegionTest, DecimalCountingFromOneOrNot) {
    MeasureNumberRegionFields f;
    f.endMeasure = 20;
    Region(f);
    EXPECT_EQ(Shown(1), "1");
    EXPECT_EQ(Shown(12), "12");
    f.countFromOne = false;
    Region(f);
    EXPECT_EQ(Shown(1), "0");
    EXPECT_EQ(Shown(12), "11");
    EXPECT_EQ(Shown(21), "<false>untouched");
    EXPECT_EQ(Shown(0), "<false>untouched");
}

TEST_F(FCMeasureNumberRegionTest, LettersDoubledUp) {
    Region(Letters(true));
    EXPECT_EQ(Shown(5), "a");
    EXPECT_EQ(Shown(30), "z");
    EXPECT_EQ(Shown(31), "aa");
    EXPECT_EQ(Shown(32), "bb");
    EXPECT_EQ(Shown(57), "aaa");
}

TEST_F(FCMeasureNumberRegionTest, LettersPositional) {
    Region(Letters(false));
    EXPECT_EQ(Shown(5), "a");
    EXPECT_EQ(Shown(30), "z");
    EXPECT_EQ(Shown(31), "ba");
    EXPECT_EQ(Shown(32), "bb");
}

TEST_F(FCMeasureNumberRegionTest, NoNumberForABaseBelowOneOrANegativeValue) {
    MeasureNumberRegionFields f;
    f.endMeasure = 9;
    f.base = 0;
    Region(f);
    EXPECT_EQ(Shown(3), "<false>untouched");
    f.base = -10;
    Region(f);
    EXPECT_EQ(Shown(3), "<false>untouched");

    f.base = 10;
    f.startNumber = 0;  // measure 1 would count from -1
    f.countFromOne = false;
    Region(f);
    EXPECT_EQ(Shown(1), "<false>untouched");
    EXPECT_EQ(Shown(2), "0");

    FCMeasureNumberRegion region;
    ASSERT_TRUE(region.Load(1));
    EXPECT_EQ(region.CreateDisplayedString(1), nullptr);
}

TEST_F(FCMeasureNumberRegionTest, FieldsAreStoredOffByOne) {
    MeasureNumberRegionFields f;
    f.endMeasure = 10;
    Region(f);
    FCMeasureNumberRegion region;
    ASSERT_TRUE(region.Load(1));
    const auto* bytes = static_cast<const uint8_t*>(region.GetDataBuffer());
    EXPECT_EQ(FXRead<uint16_t>(bytes, 0x86), 11);
    EXPECT_EQ(region.GetEndMeasure(), 10);
    EXPECT_TRUE(region.ContainsMeasure(10));
    EXPECT_FALSE(region.ContainsMeasure(11));
    region.SetStartNumber(1);
    EXPECT_EQ(FXRead<uint16_t>(bytes, 0x8C), 0);
    EXPECT_EQ(region.GetStartNumber(), 1);
    region.SetEndMeasure(30);
    region.SetStartMeasure(3);
    ASSERT_TRUE(region.Save());
    const auto* stored = doc().records.Find(RecordId{TAG_MEASURE_NUMBER_REGION, 1, 0, 0});
    EXPECT_EQ(FXRead<uint16_t>(stored->data(), 0x86), 31);
    EXPECT_EQ(FXRead<int16_t>(stored->data(), 0x84), 3);
}

TEST_F(FCMeasureNumberRegionTest, DisplayedStringWrapsPrefixAndSuffix) {
    MeasureNumberRegionFields f;
    f.endMeasure = 9;
    f.prefix = "m. ";
    f.suffix = "!";
    Region(f);
    FCMeasureNumberRegion region;
    ASSERT_TRUE(region.Load(1));
    std::unique_ptr<FCString> label(region.CreateDisplayedString(7));
    ASSERT_NE(label, nullptr);
    EXPECT_STREQ(label->GetCString(), "m. 7!");
    EXPECT_EQ(region.CreateDisplayedString(10), nullptr);
}

TEST_F(FCMeasureNumberRegionTest, UnterminatedPrefixAndSuffixStopAtTheirFields) {
    MeasureNumberRegionFields f;
    Region(f);
    auto bytes = *doc().records.Find(RecordId{TAG_MEASURE_NUMBER_REGION, 1, 0, 0});
    for (size_t i = 0x8E; i < 0xBE; ++i) bytes[i] = 'x';  // prefix and suffix, no zeros
    doc().records.Put(RecordId{TAG_MEASURE_NUMBER_REGION, 1, 0, 0}, bytes);
    FCMeasureNumberRegion region;
    ASSERT_TRUE(region.Load(1));
    FCString prefix, suffix;
    region.GetPrefix(&prefix);
    region.GetSuffix(&suffix);
    EXPECT_EQ(prefix.GetLength(), 24);
    EXPECT_EQ(suffix.GetLength(), 24);
}

TEST_F(FCMeasureNumberRegionTest, EarlierHostsUseTheSmallLayout) {
    SetFinaleFrameworkVersion(0x0E000000);
    MeasureNumberRegionFields f = Letters(true);
    f.prefix = "p";
    f.suffix = "s";
    Region(f, false);
    FCMeasureNumberRegion region;
    ASSERT_TRUE(region.Load(1));
    const auto* load = host().LastCall("FX_LoadEData");
    EXPECT_EQ(load->args[3], 88);
    EXPECT_EQ(load->args[4], 0x0A000000);
    EXPECT_EQ(region.GetDataSize(), 88);
    EXPECT_EQ(region.GetStartMeasure(), 5);
    EXPECT_EQ(region.GetEndMeasure(), 60);
    EXPECT_EQ(region.GetStartChar(), 'a');
    EXPECT_EQ(region.GetBase(), 26);
    EXPECT_TRUE(region.GetDoubleUp());
    EXPECT_FALSE(region.GetCountFromOne());
    std::unique_ptr<FCString> label(region.CreateDisplayedString(31));
    EXPECT_STREQ(label->GetCString(), "paas");

    region.SetEndMeasure(70);
    ASSERT_TRUE(region.Save());
    const auto* stored = doc().records.Find(RecordId{TAG_MEASURE_NUMBER_REGION, 1, 0, 0});
    ASSERT_EQ(stored->size(), 88u);
    EXPECT_EQ(FXRead<uint16_t>(stored->data(), 0x08), 71);

    std::unique_ptr<__FCBaseData> clone(region.CreateClone());
    EXPECT_EQ(static_cast<FCMeasureNumberRegion*>(clone.get())->GetEndMeasure(), 70);
}

TEST_F(FCMeasureNumberRegionTest, NewerHostsUseTheLargeLayout) {
    SetFinaleFrameworkVersion(0x1A000000);
    Region(Letters(false), true);
    FCMeasureNumberRegion region;
    ASSERT_TRUE(region.Load(1));
    const auto* load = host().LastCall("FX_LoadEData");
    EXPECT_EQ(load->args[3], 196);
    EXPECT_EQ(load->args[4], FRAMEWORK_ENIGMA_VERSION);
    EXPECT_EQ(region.GetStartChar(), 'a');
    EXPECT_EQ(Shown(31), "ba");
}

TEST_F(FCMeasureNumberRegionTest, CalcMeasureNumberOverAllRegions) {
    MeasureNumberRegionFields first;
    first.endMeasure = 4;
    PutMeasureNumberRegion(doc(), 1, first);
    PutMeasureNumberRegion(doc(), 2, Letters(true));
    MeasureNumberRegionFields overlap;  // numbers 5 ... 9 again, but comes later
    overlap.startMeasure = 5;
    overlap.endMeasure = 9;
    overlap.startNumber = 100;
    PutMeasureNumberRegion(doc(), 3, overlap);

    FCMeasureNumberRegions regions;
    regions.LoadAll();
    ASSERT_EQ(regions.GetCount(), 3);
    FCString out;
    EXPECT_EQ(regions.CalcMeasureNumber(3, &out), 0);
    EXPECT_STREQ(out.GetCString(), "3");
    EXPECT_EQ(regions.CalcMeasureNumber(31, &out), 1);
    EXPECT_STREQ(out.GetCString(), "aa");  // no prefix or suffix
    EXPECT_EQ(regions.CalcMeasureNumber(6, &out), 1);
    EXPECT_STREQ(out.GetCString(), "b");  // the earliest region wins
    EXPECT_EQ(regions.CalcMeasureNumber(70000, &out), -1);
    EXPECT_STREQ(out.GetCString(), "70000");  // in no region: the whole number
    EXPECT_EQ(regions.CalcMeasureNumber(61, &out), -1);
    EXPECT_STREQ(out.GetCString(), "61");
}

TEST_F(FCMeasureNumberRegionTest, CalcMeasureNumberFallsBackWhereTheRegionHasNoNumber) {
    MeasureNumberRegionFields broken;
    broken.endMeasure = 9;
    broken.base = 0;
    PutMeasureNumberRegion(doc(), 1, broken);
    FCMeasureNumberRegions regions;
    regions.LoadAll();
    FCString out;
    EXPECT_EQ(regions.CalcMeasureNumber(4, &out), -1);
    EXPECT_STREQ(out.GetCString(), "4");
}
