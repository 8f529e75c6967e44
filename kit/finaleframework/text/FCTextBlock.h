#pragma once

#include <cstdint>

#include "FCNoInciOther.h"
#include "finalepdk.h"

class FCString;

// One text block record: which raw text holds a block's characters.
// A new object holds the default record the framework makes every block from.
class FCTextBlock : public __FCNoInciOther {
  public:
    static constexpr uint32_t TAG = 0x534F5458;  // S O T X

    FCTextBlock() { _SetDefaultRecord(); }

    const char* ClassName() override { return "FCTextBlock"; }
    uint32_t Tag() override { return TAG; }
    int32_t DataSizeLoad() override { return sizeof _record; }
    void* Allocate() override { return &_record; }
    __FCBaseData* CreateObject() override { return new FCTextBlock; }

    int16_t GetRawTextNumber() const { return _record.rawText; }
    void SetRawTextNumber(int16_t number) { _record.rawText = number; }
    // The low half of the raw text's tag.
    uint16_t GetRawTextKind() const { return _record.rawTextKind; }
    void SetRawTextKind(uint16_t kind) { _record.rawTextKind = kind; }

    // A new string (the caller's) with the text of raw text (tag t x b l) this block points to.
    FCString* CreateRawTextString();

  private:
    // All zero, flags 0x1A08, 100 at offset 8; the data buffer is the record, 26 bytes.
    void _SetDefaultRecord();

    EDTTextBlock2004 _record{};
};
