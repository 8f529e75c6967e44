#include "FCStaff.h"

#include "FCString.h"
#include "FCTextBlock.h"

namespace {

// Sign-extends the low `bits` bits of a value.
int16_t Signed(unsigned value, int bits) {
    const unsigned mask = (1u << bits) - 1;
    const unsigned field = value & mask;
    return static_cast<int16_t>(field & (1u << (bits - 1)) ? static_cast<int>(field) - (1 << bits)
                                                           : static_cast<int>(field));
}

// Bit 13 chooses the packing: an 8-bit interval and a 4-bit alteration above it, or a 6-bit
// interval above a 6-bit alteration.
constexpr uint16_t kWidePacking = 0x2000;

}  // namespace

int16_t FCStaff::GetTransposeInterval() const {
    const uint16_t word = _record.transposition;
    if (word == 0) return 0;
    return word & kWidePacking ? Signed(word, 8) : Signed(word >> 6u, 6);
}

int16_t FCStaff::GetTransposeAlteration() const {
    const uint16_t word = _record.transposition;
    if (word == 0) return 0;
    return word & kWidePacking ? Signed(word >> 8u, 4) : Signed(word, 6);
}

FCString* FCStaff::CreateFullNameString() {
    FCTextBlock block;
    block.Load(_record.fullName);  // a missing block leaves the default: raw text 0
    return block.CreateRawTextString();
}

FCString* FCStaff::CreateTrimmedFullNameString() {
    FCString* name = CreateFullNameString();
    name->TrimEnigmaFontTags();
    return name;
}
