#pragma once

#include <cstdint>

#include "FCNoInciOther.h"
#include "finalepdk.h"

class FCString;

// The host's record of one staff's settings, by the staff (instrument) number.
// It holds the staff's transposition and the text block of its full name.
class FCStaff : public __FCNoInciOther {
  public:
    static constexpr uint32_t TAG = 0x534F4953;  // S O I S

    FCStaff() = default;

    const char* ClassName() override { return "FCStaff"; }
    uint32_t Tag() override { return TAG; }
    uint32_t EnigmaVersion() override { return 0x0F000000; }
    int32_t DataSizeLoad() override { return sizeof _record; }
    void* Allocate() override { return &_record; }
    __FCBaseData* CreateObject() override { return new FCStaff; }

    // Diatonic steps; 0 without transposition.
    int16_t GetTransposeInterval() const;
    // Chromatic steps; 0 without transposition.
    int16_t GetTransposeAlteration() const;
    uint16_t GetTranspositionWord() const { return _record.transposition; }
    uint16_t GetFullNameTextBlock() const { return _record.fullName; }

    // New strings (the caller's) with the full name's raw text, tags included, or without the
    // font tags.
    FCString* CreateFullNameString();
    FCString* CreateTrimmedFullNameString();

  protected:
    EDTStaffSpec _record{};
};
