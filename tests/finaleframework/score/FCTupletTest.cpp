// Tuplets on note entries: the option codes in their flag words, and the record's family.
#include <memory>

#include "FCNoteEntry.h"
#include "FCTuplet.h"
#include "HostTest.h"
#include "RecordBuilders.h"
#include "finalepdk.h"

using namespace plovikhost;

namespace {

class FCTupletTest : public HostTest {
  protected:
    // A tuplet loaded from the host with these flag words.
    FCTuplet& Loaded(uint16_t options, uint16_t second = 0) {
        PutTuplet(doc(), 60, 0, options, second);
        EXPECT_TRUE(tuplet.Load(60, 0));
        return tuplet;
    }
    uint16_t Options() const { return FXRead<uint16_t>(tuplet.GetRecord().bytes, 18); }
    uint16_t Second() const { return FXRead<uint16_t>(tuplet.GetRecord().bytes, 8); }

    FCTuplet tuplet;
};

}  // namespace

TEST_F(FCTupletTest, RecordAndFamily) {
    EXPECT_STREQ(tuplet.ClassName(), "FCTuplet");
    EXPECT_EQ(tuplet.Tag(), 0x45035450u);
    EXPECT_EQ(tuplet.DataSizeLoad(), 30);
    std::unique_ptr<__FCBaseData> made(tuplet.CreateObject());
    EXPECT_STREQ(made->ClassName(), "FCTuplet");
    EXPECT_EQ(made->GetDataBuffer(), made->Allocate());

    EXENTRY record{};
    record.entryNumber = 60;
    record.flags = ENTRY_FLAG_NOTE | ENTRY_FLAG_ARTICULATIONS;
    EXTGF2005a frame{};
    doc().CellAt(1, 1, 0).entries.push_back(record);
    FCNoteEntry entry(&record, &frame);
    tuplet.SetOwningEntry(&entry);
    FXWrite<int32_t>(tuplet.GetRecordKey(), 0, 60);
    tuplet.SetShapeStyle(FCTuplet::SHAPE_BRACKET);
    ASSERT_TRUE(tuplet.SaveNew());
    EXPECT_EQ(Copy(record.flags), ENTRY_FLAG_NOTE | ENTRY_FLAG_ARTICULATIONS | ENTRY_FLAG_TUPLETS);
    FCTuplet again;
    ASSERT_TRUE(again.Load(60, 0));
    EXPECT_EQ(again.GetShapeStyle(), FCTuplet::SHAPE_BRACKET);
}

TEST_F(FCTupletTest, PlacementCodesChangeOnlyTheirBits) {
    Loaded(0x8075);
    tuplet.SetPlacementMode(FCTuplet::PLACEMENT_BELOW);
    EXPECT_EQ(Options(), 0x8045);
    EXPECT_EQ(tuplet.GetPlacementMode(), FCTuplet::PLACEMENT_BELOW);
    tuplet.SetPlacementMode(FCTuplet::PLACEMENT_STEM_SIDE);
    EXPECT_EQ(Options(), 0x8015);
    tuplet.SetPlacementMode(static_cast<FCTuplet::PLACEMENTMODE>(5));
    EXPECT_EQ(Options(), 0x8005) << "refused: code 0";
    tuplet.SetPlacementMode(static_cast<FCTuplet::PLACEMENTMODE>(-1));
    EXPECT_EQ(Options(), 0x8005);

    for (uint16_t code : {0x50, 0x60, 0x70}) {
        Loaded(static_cast<uint16_t>(0xFF8F | code));
        EXPECT_EQ(tuplet.GetPlacementMode(), FCTuplet::PLACEMENT_MANUAL) << code;
    }
    Loaded(0x0030);
    EXPECT_EQ(tuplet.GetPlacementMode(), FCTuplet::PLACEMENT_ABOVE);
}

TEST_F(FCTupletTest, NumberStyleCodes) {
    Loaded(0xB0F3);
    EXPECT_EQ(tuplet.GetNumberStyle(), FCTuplet::NUMBER_COUNT_AND_NOTE);
    tuplet.SetNumberStyle(static_cast<FCTuplet::NUMBERSTYLE>(7));
    EXPECT_EQ(Options(), 0xB0F0);
    tuplet.SetNumberStyle(FCTuplet::NUMBER_RATIO_AND_NOTES);
    EXPECT_EQ(Options(), 0xB0F4);
    for (uint16_t code = 5; code <= 15; ++code) {
        Loaded(code);
        EXPECT_EQ(tuplet.GetNumberStyle(), FCTuplet::NUMBER_NONE) << code;
    }
}

TEST_F(FCTupletTest, ShapeCodesAreNotInValueOrder) {
    Loaded(0x8075);
    tuplet.SetShapeStyle(FCTuplet::SHAPE_BRACKET);
    EXPECT_EQ(Options(), 0xA075);
    EXPECT_EQ(tuplet.GetShapeStyle(), FCTuplet::SHAPE_BRACKET);
    tuplet.SetShapeStyle(FCTuplet::SHAPE_SLUR);
    EXPECT_EQ(Options(), 0x9075);
    EXPECT_EQ(tuplet.GetShapeStyle(), FCTuplet::SHAPE_SLUR);
    tuplet.SetShapeStyle(static_cast<FCTuplet::SHAPESTYLE>(3));
    EXPECT_EQ(Options(), 0x8075);
    Loaded(0x3000);
    EXPECT_EQ(tuplet.GetShapeStyle(), FCTuplet::SHAPE_NONE) << "both bits";
}

TEST_F(FCTupletTest, AppearanceModesSpanTwoWords) {
    Loaded(0x0075, 0x0101);
    tuplet.SetAppearanceMode(FCTuplet::APPEARANCE_ON_SECOND_FORM);
    EXPECT_EQ(Options(), 0x8075);
    EXPECT_EQ(Second(), 0x0111);
    EXPECT_EQ(tuplet.GetAppearanceMode(), FCTuplet::APPEARANCE_ON_SECOND_FORM);
    tuplet.SetAppearanceMode(FCTuplet::APPEARANCE_ON);
    EXPECT_EQ(Options(), 0x8075);
    EXPECT_EQ(Second(), 0x0101);
    EXPECT_EQ(tuplet.GetAppearanceMode(), FCTuplet::APPEARANCE_ON);
    tuplet.SetAppearanceMode(FCTuplet::APPEARANCE_ON_SECOND_FORM);
    tuplet.SetAppearanceMode(FCTuplet::APPEARANCE_OFF);
    EXPECT_EQ(Options(), 0x0075);
    EXPECT_EQ(Second(), 0x0101);
    tuplet.SetAppearanceMode(FCTuplet::APPEARANCE_ON_SECOND_FORM);
    tuplet.SetAppearanceMode(static_cast<FCTuplet::APPEARANCEMODE>(3));
    EXPECT_EQ(Options(), 0x0075) << "a value outside the enumeration clears both";
    EXPECT_EQ(Second(), 0x0101);

    Loaded(0x0000, 0x0010);
    EXPECT_EQ(tuplet.GetAppearanceMode(), FCTuplet::APPEARANCE_OFF) << "second bit alone";
}
