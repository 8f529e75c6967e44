#pragma once

#include <cstdint>

#include "FCEntryDetail.h"
#include "finalepdk.h"

// One tuplet attached to a note entry.
// The same 30-byte definition an entry frame carries in its tuplet items. The option
// accessors change the record in memory only; values outside an enumeration are refused
// (written as code 0, read back as 0).
class FCTuplet : public __FCEntryDetail {
  public:
    static constexpr uint32_t TAG = 0x45035450;  // E, 0x03, T P

    // Bits 0x0070 of the option word.
    enum PLACEMENTMODE : int {
        PLACEMENT_MANUAL = 0,
        PLACEMENT_STEM_SIDE = 1,
        PLACEMENT_NOTE_SIDE = 2,
        PLACEMENT_ABOVE = 3,
        PLACEMENT_BELOW = 4,
    };
    // Bits 0x000F of the option word.
    enum NUMBERSTYLE : int {
        NUMBER_NONE = 0,
        NUMBER_COUNT = 1,
        NUMBER_RATIO = 2,
        NUMBER_COUNT_AND_NOTE = 3,
        NUMBER_RATIO_AND_NOTES = 4,
    };
    // Bits 0x3000 of the option word; the codes are not in value order.
    enum SHAPESTYLE : int {
        SHAPE_NONE = 0,
        SHAPE_BRACKET = 1,
        SHAPE_SLUR = 2,
    };
    // The first appearance bit (0x8000 of the option word) turns it on; the second (0x0010 of
    // the word at offset 8) chooses its second form.
    enum APPEARANCEMODE : int {
        APPEARANCE_OFF = 0,
        APPEARANCE_ON = 1,
        APPEARANCE_ON_SECOND_FORM = 2,
    };

    FCTuplet() { _dataBuffer = &_record; }

    const char* ClassName() override { return "FCTuplet"; }
    uint32_t Tag() override { return TAG; }
    int32_t DataSizeLoad() override { return sizeof _record; }
    void* Allocate() override { return &_record; }
    __FCBaseData* CreateObject() override { return new FCTuplet; }

    void SetPlacementMode(PLACEMENTMODE mode);
    PLACEMENTMODE GetPlacementMode() const;
    void SetNumberStyle(NUMBERSTYLE style);
    NUMBERSTYLE GetNumberStyle() const;
    void SetShapeStyle(SHAPESTYLE style);
    SHAPESTYLE GetShapeStyle() const;
    void SetAppearanceMode(APPEARANCEMODE mode);
    APPEARANCEMODE GetAppearanceMode() const;

    const EDTTuplet2005& GetRecord() const { return _record; }

  protected:
    uint32_t _EntryFlagBit() override { return ENTRY_FLAG_TUPLETS; }

  private:
    uint16_t _Word(size_t offset) const { return FXRead<uint16_t>(_record.bytes, offset); }
    // Replaces the bits of `mask` in the option word by `code`.
    void _SetCode(uint16_t mask, uint16_t code);

    EDTTuplet2005 _record{};
};
