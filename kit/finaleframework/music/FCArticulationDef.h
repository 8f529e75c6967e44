#pragma once

#include <cstdint>

#include "FCNoInciOther.h"
#include "finalepdk.h"

class FCFontInfo;

// An articulation definition: its symbols and how the host places them.
// The symbol drawn normally and the one drawn when flipped are each a character of a host
// font at a size with effects.
class FCArticulationDef : public __FCNoInciOther {
  public:
    static constexpr uint32_t TAG = 0x4F044958;
    // Symbol flags.
    static constexpr uint16_t MAIN_IS_SHAPE = 0x0002;     // not a font character
    static constexpr uint16_t FLIPPED_IS_SHAPE = 0x0004;  // not a font character
    // Placement word: automatic placement, and its code in bits 0-2.
    static constexpr uint16_t AUTO_POSITION = 0x0008;

    const char* ClassName() override { return "FCArticulationDef"; }
    uint32_t Tag() override { return TAG; }
    int32_t DataSizeLoad() override { return sizeof _record; }
    void* Allocate() override { return &_record; }
    __FCBaseData* CreateObject() override { return new FCArticulationDef; }

    // The host's name of the main symbol's font; empty for a symbol that is not a character.
    void GetMainSymbolFont(char (*name)[256]);
    bool IsMainSymbolFont(const char (*name)[256]);
    // A font whose host number does not fit the record's byte (above 255) leaves the font as
    // it was: any byte stored would name another font.
    void SetMainSymbolFont(const char (*name)[256]);
    // The low 8 bits of the size.
    void SetMainSymbolSize(int16_t size);
    void SetMainSymbolFontInfo(FCFontInfo* info);
    // A new font description (the caller's) of the main symbol.
    FCFontInfo* CreateMainSymbolFontInfo();
    void SetFlippedSymbolFont(const char (*name)[256]);
    void SetFlippedSymbolSize(int16_t size);
    void SetFlippedSymbolFontInfo(FCFontInfo* info);

    // 0 without automatic placement, else 1 ... 5 by the placement code.
    int GetAutoPosSide() const;
    // Whether both describe the same articulation (the flipped symbol's font is not compared).
    bool IsIdenticalTo(FCArticulationDef* other);

    uint8_t GetMainSymbolChar() const { return _record.mainChar; }
    uint8_t GetMainSymbolFontNumber() const { return _record.mainFont; }
    uint8_t GetMainSymbolSize() const { return _record.mainSize; }
    uint8_t GetMainSymbolEffects() const { return _record.mainEffects; }
    uint8_t GetFlippedSymbolFontNumber() const { return _record.flippedFont; }
    uint8_t GetFlippedSymbolSize() const { return _record.flippedSize; }
    uint8_t GetFlippedSymbolEffects() const { return _record.flippedEffects; }

  private:
    // The host's number of the font, when it fits a byte.
    static bool _FontByte(const char (*name)[256], uint8_t* number);

    EDTArticulationDef _record{};
};
