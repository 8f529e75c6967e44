// Host records placed in the score, as far as the framework names their bytes: articulations
// and tuplets on entries (the tuplet record is EDTTuplet2005, FXRecords.h), expressions in
// measures, staff list elements and MIDI expressions. Little-endian, packed, no gaps; unnamed
// bytes are carried unchanged.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// An articulation on an entry: which definition is shown, and where.
struct EDTArticulation {
    uint16_t definition;  // item number of the articulation definition shown
    uint8_t placement[8];
};

// An expression in a measure: its definition, position, staff and staff list.
struct EDTExpression {
    uint16_t definition;  // text expression definition, or shape definition (see flags)
    int16_t positionLow;
    uint8_t reserved4[4];
    int16_t staff;
    uint16_t flags;
    uint8_t reserved12[2];
    uint16_t staffList;  // 0: none
    int16_t positionHigh;
    uint8_t reserved18[6];
};

// One staff of a staff list.
struct EDTStaffListElement {
    int16_t staff;
};

// A MIDI expression on a staff: its position in the measure.
struct EDTMidiExpression {
    int32_t position;
    uint8_t reserved4[6];
};

// Tuplet definition (EDTTuplet2005): the two flag words the framework reads.
inline constexpr size_t TUPLET_SECOND_FLAGS = 8;
inline constexpr size_t TUPLET_OPTION_FLAGS = 18;

#pragma pack(pop)

inline constexpr uint16_t EXPRESSION_FLAG_SHAPE = 0x2000;

static_assert(sizeof(EDTArticulation) == 10, "EDTArticulation");
static_assert(offsetof(EDTArticulation, placement) == 2, "EDTArticulation offsets");

static_assert(sizeof(EDTExpression) == 24, "EDTExpression");
static_assert(offsetof(EDTExpression, positionLow) == 2 && offsetof(EDTExpression, staff) == 8 &&
                  offsetof(EDTExpression, flags) == 10 &&
                  offsetof(EDTExpression, staffList) == 14 &&
                  offsetof(EDTExpression, positionHigh) == 16,
              "EDTExpression offsets");

static_assert(sizeof(EDTStaffListElement) == 2, "EDTStaffListElement");

static_assert(sizeof(EDTMidiExpression) == 10, "EDTMidiExpression");
