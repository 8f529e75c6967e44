// Measure records and clef definitions.
#include "FCClefDef.h"
#include "FCKeySignature.h"
#include "FCMeasure.h"
#include "HostTest.h"
#include "finalepdk.h"

using plovikhost::RecordId;

namespace {

class FCMeasureTest : public HostTest {
  protected:
    void PutMeasure(int number, uint16_t keyValue, uint16_t aux = 0, uint16_t me = 0,
                    uint16_t newFlags = 0) {
        std::vector<uint8_t> record(26, 0);
        FXWrite<uint16_t>(record.data(), 2, keyValue);
        FXWrite<uint16_t>(record.data(), 8, aux);
        FXWrite<uint16_t>(record.data(), 10, me);
        FXWrite<uint16_t>(record.data(), 16, newFlags);
        doc().records.Put(RecordId{0x534F4D53, number, 0, 0}, record);
    }
    uint16_t Word(FCMeasure& m, size_t offset) { return FXRead<uint16_t>(m.Allocate(), offset); }
};

}  // namespace

TEST_F(FCMeasureTest, LoadsByNumberWithItsKey) {
    PutMeasure(1, 0x0002);
    PutMeasure(2, 0x0100);
    FCMeasure m;
    ASSERT_TRUE(m.LoadFirst());
    EXPECT_EQ(m.GetItemNo(), 1);
    EXPECT_EQ(m.GetKeySignature()->CalcSharps(), 2);
    EXPECT_EQ(m.GetKeySignature(), m.GetKeySignature());  // made once, owned by the measure
    FCMeasure* clone = static_cast<FCMeasure*>(m.CreateClone());
    ASSERT_TRUE(clone->LoadNext());
    EXPECT_EQ(clone->GetKeyValue(), 0x0100);
    EXPECT_FALSE(clone->LoadNext());
    delete clone;
    EXPECT_EQ(host().LastCall("FX_LoadEData")->args[4], FRAMEWORK_ENIGMA_VERSION);
}

TEST_F(FCMeasureTest, DisplayStates) {
    FCMeasure m;
    m.SetKeySignatureDisplay(FCMeasure::DISPLAY_FORCED);
    EXPECT_EQ(m.GetKeySignatureDisplay(), FCMeasure::DISPLAY_FORCED);
    m.SetKeySignatureDisplay(FCMeasure::DISPLAY_SHOW);
    EXPECT_EQ(m.GetKeySignatureDisplay(), FCMeasure::DISPLAY_SHOW);
    EXPECT_EQ(Word(m, 8), 0);
    EXPECT_EQ(Word(m, 10), 0x0800);
    m.SetTimeSignatureDisplay(static_cast<FCMeasure::DISPLAY_STATES>(3));  // unchanged
    EXPECT_EQ(m.GetTimeSignatureDisplay(), FCMeasure::DISPLAY_AUTO);
    m.SetTimeSignatureDisplay(FCMeasure::DISPLAY_SHOW);
    EXPECT_EQ(Word(m, 10), 0x0C00);
    m.SetKeySignatureDisplay(FCMeasure::DISPLAY_AUTO);
    EXPECT_EQ(Word(m, 10), 0x0400);

    PutMeasure(1, 0, 0x0030, 0x0C00);  // forced and shown both set: forced wins
    ASSERT_TRUE(m.Load(1));
    EXPECT_EQ(m.GetKeySignatureDisplay(), FCMeasure::DISPLAY_FORCED);
    EXPECT_EQ(m.GetTimeSignatureDisplay(), FCMeasure::DISPLAY_FORCED);
}

TEST_F(FCMeasureTest, BarlinesKeepTheOtherBits) {
    PutMeasure(1, 0, 0, 0x1205, 0x1205);
    FCMeasure m;
    ASSERT_TRUE(m.Load(1));
    m.SetLeftBarline(FCMeasure::BARLINE_FINAL);
    EXPECT_EQ(Word(m, 16), 0x1235);
    m.SetBarline(static_cast<FCMeasure::BARLINE_STYLES>(7));
    EXPECT_EQ(Word(m, 10), 0x1205);
    m.SetBarline(FCMeasure::BARLINE_PARTIAL);
    EXPECT_EQ(m.GetBarline(), FCMeasure::BARLINE_PARTIAL);
    uint16_t code = 99;
    EXPECT_FALSE(m._GetBarlineMask(static_cast<FCMeasure::BARLINE_STYLES>(-1), &code));
    EXPECT_EQ(code, 0);

    PutMeasure(2, 0, 0, 0x0090, 0x00F0);  // codes 9 and 15 read as 0
    ASSERT_TRUE(m.Load(2));
    EXPECT_EQ(m.GetBarline(), FCMeasure::BARLINE_NONE);
    EXPECT_EQ(m.GetLeftBarline(), FCMeasure::BARLINE_NONE);
}

TEST_F(FCMeasureTest, PositioningModes) {
    FCMeasure m;
    m._SetAuxFlag(0xFFF8, true);
    m.SetPositioningNotesMode(FCMeasure::POSITIONING_TIMESIG);
    EXPECT_EQ(Word(m, 8), 0xFFFC);
    EXPECT_EQ(m.GetPositioningNotesMode(), FCMeasure::POSITIONING_TIMESIG);
    m.SetPositioningNotesMode(FCMeasure::POSITIONING_MANUAL);
    EXPECT_EQ(m.GetPositioningNotesMode(), FCMeasure::POSITIONING_MANUAL);
    m.SetPositioningNotesMode(FCMeasure::POSITIONING_BEATCHART);
    EXPECT_EQ(Word(m, 8) & 7, 6);
    m.SetPositioningNotesMode(static_cast<FCMeasure::POSITIONING_MODES>(3));
    EXPECT_EQ(Word(m, 8) & 7, 6);
    m._SetAuxFlag(0x0007, false);
    m._SetAuxFlag(0x0005, true);
    EXPECT_EQ(m.GetPositioningNotesMode(), FCMeasure::POSITIONING_BEATCHART);
}

TEST_F(FCMeasureTest, FullNamesNeedANewerHost) {
    FCMeasure m;
    m.SetShowFullNames(true);  // host version 0x0F000200
    EXPECT_EQ(Word(m, 8), 0);
    EXPECT_FALSE(m.GetShowFullNames());
    SetFinaleFrameworkVersion(0x10000000);
    m.SetShowFullNames(true);
    EXPECT_TRUE(m.GetShowFullNames());
    EXPECT_EQ(Word(m, 8), 0x0800);
    SetFinaleFrameworkVersion(0x0FFFFFFF);
    EXPECT_FALSE(m.GetShowFullNames());
    EXPECT_EQ(m.CreateBeatChart(true), nullptr);
}

TEST_F(FCMeasureTest, CloneDoesNotShareOwnedObjects) {
    PutMeasure(3, 0x00FE);
    FCMeasure m;
    ASSERT_TRUE(m.Load(3));
    m.GetKeySignature();
    FCMeasure* clone = static_cast<FCMeasure*>(m.CreateClone());
    EXPECT_NE(clone->GetKeySignature(), m.GetKeySignature());
    EXPECT_EQ(clone->GetKeySignature()->CalcFlats(), 2);
    delete clone;
}

TEST_F(FCMeasureTest, ClefDefinitionsStartAtZero) {
    std::vector<uint8_t> record(18, 0);
    FXWrite<int16_t>(record.data(), 0, -3);
    doc().records.Put(RecordId{0x67626366, 0, 0, 0}, record);
    FXWrite<int16_t>(record.data(), 0, 5);
    doc().records.Put(RecordId{0x67626366, 1, 0, 0}, record);
    FCClefDef clef;
    ASSERT_TRUE(clef.LoadFirst());
    EXPECT_EQ(clef.GetClefOffset(), -3);
    ASSERT_TRUE(clef.LoadNext());
    EXPECT_EQ(clef.GetClefOffset(), 5);
    FCClefDef missing;
    EXPECT_FALSE(missing.Load(7));
    EXPECT_EQ(missing.GetClefOffset(), 0);
}
