// What a key value says about spelling, for the host's own pitch conversions: the same
// arithmetic as the framework's FCKeySignature (CalcRootRelationAbsoluteIndex, IsSharpNote,
// IsFlatNote), which the host does not link. A test holds the two to the same answers.
#pragma once

#include <cstdint>

namespace plovikhost {

class KeySpelling {
  public:
    explicit KeySpelling(int16_t keyValue) : value_(static_cast<uint16_t>(keyValue)) {}

    // Major (mode 0) or minor (mode 1); nothing else is interpreted.
    bool IsStandard() const { return value_ < 0x200; }
    int Mode() const { return (value_ & 0xC000) ? -1 : value_ >> 8; }
    // Sharps (positive) or flats (negative).
    int Alteration() const { return static_cast<int8_t>(value_ & 0xFF); }
    // Step above C (C 0 ... B 6) of the tonic, -1 for a key that is not standard. Seven flats
    // major give 7, not 0, as the framework counts.
    int TonicStep() const;
    // +1 when the key sharpens the letter of this step above C, -1 when it flattens it.
    int LetterAlteration(int step) const;

  private:
    uint16_t value_;
};

}  // namespace plovikhost
