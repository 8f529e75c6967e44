#pragma once

#include <cstdint>

#include "FCBaseData.h"

class FCString;

// The host's 16-bit key value and what pitch spelling asks of it.
// The high byte is the mode (0 major, 1 minor; -1 when bit 14 or 15 is set), the low byte the
// signed count of sharps (+) or flats (-). Only modes 0 and 1 (values below 0x200) are interpreted;
// every calculation answers -1, false or an empty name for any other value. Letters are numbered
// from A (A = 0 ... G = 6); "steps above C" count from C (C = 0 ... B = 6).
class FCKeySignature : public __FCBaseData {
  public:
    FCKeySignature() { _dataBuffer = &_keyValue; }

    const char* ClassName() override { return "FCKeySignature"; }
    // Not a host record of its own: its value comes from whoever creates it.
    uint32_t Tag() override { return 0; }
    int32_t DataSizeLoad() override { return sizeof _keyValue; }
    void* Allocate() override { return &_keyValue; }
    __FCBaseData* CreateObject() override { return new FCKeySignature; }
    bool LoadFirst() override { return false; }

    uint16_t GetKeyValue() const { return _keyValue; }
    void SetKeyValue(uint16_t value) { _keyValue = value; }

    // -1 for a non-standard key.
    int CalcMode() const;
    bool IsStandard() const { return _keyValue < 0x200; }
    int16_t CalcSharps() const;
    int16_t CalcFlats() const;
    // Letter (from A) of the tonic.
    int CalcScaleRootIndex() const;
    // Step above C of the major tonic for this many sharps or flats; seven flats give 7.
    int CalcRootRelationIndex() const;
    // Step above C of the tonic, the mode included.
    int CalcRootRelationAbsoluteIndex() const;
    // Whether the key sharpens (flattens) the letter (from A).
    bool IsSharpNote(int letter) const;
    bool IsFlatNote(int letter) const;
    // What the key does to a letter (from A): +1 for each of its sharps on it, -1 for each
    // flat. Past seven accidentals the order comes round again: eight sharps give F two.
    // 0 for a non-standard key or a letter outside 0..6.
    int CalcLetterAlteration(int letter) const;
    using __FCBase::IsIdentical;
    // Same key: two keys of modes other than 0 and 1 are alike.
    bool IsIdentical(FCKeySignature* other);
    // "D major", "f sharp minor"; empty for a non-standard key.
    void MakeString(FCString* out) const;

  private:
    int _Alteration() const { return static_cast<int8_t>(_keyValue & 0xFF); }

    uint16_t _keyValue = 0;
};
