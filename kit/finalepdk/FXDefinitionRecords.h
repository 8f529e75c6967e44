// Host data records of text and music definitions, as far as the framework names their bytes:
// text blocks, staff records, measure number regions (both layouts), the fixed part of
// text expression definitions and articulation definitions. Little-endian, packed, no gaps;
// unnamed bytes are carried unchanged.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// A text block: the raw text it shows and how.
struct EDTTextBlock2004 {
    int16_t rawText;  // number of the raw text holding the characters
    uint8_t reserved2[6];
    int16_t value8;  // the framework writes 100 into a new block
    uint8_t reserved10[4];
    uint16_t flags;
    uint8_t reserved16[8];
    uint16_t rawTextKind;  // low half of the raw text's tag
};

// A staff specification: its transposition and the text block of its full name.
struct EDTStaffSpec {
    uint8_t reserved0[0x14];
    uint16_t transposition;
    uint8_t reserved22[8];
    uint16_t fullName;  // text block of the staff's full name
    uint8_t reserved32[82];
};

// Measure number region as hosts from 0x0F000000 on lay it out.
struct EDTMeasNumberRegion2014 {
    uint8_t reserved0[0x84];
    int16_t startMeasure;
    uint16_t endMeasurePlusOne;
    int16_t startChar;
    int16_t base;
    uint16_t startNumberMinusOne;
    char prefix[24];
    char suffix[24];
    uint8_t flags;
    uint8_t reserved191[5];
};

// Measure number region of earlier hosts.
struct EDTMeasNumberRegion {
    uint8_t reserved0[6];
    int16_t startMeasure;
    uint16_t endMeasurePlusOne;
    uint8_t reserved10[2];
    int16_t startChar;
    int16_t base;
    uint16_t startNumberMinusOne;
    uint8_t reserved18[4];
    char prefix[24];
    char suffix[36];
    uint8_t flags;
    uint8_t reserved83[5];
};

inline constexpr uint8_t MNR_FLAG_DOUBLE_UP = 0x20;
inline constexpr uint8_t MNR_FLAG_COUNT_FROM_ONE = 0x80;

// The fixed part of a text expression definition; the description follows it, NUL-terminated.
struct EDTTextExpressionDef {
    uint16_t textBlock;
    int16_t rehearsalMarkStyle;
    uint8_t reserved4[8];
    uint16_t category0C;
    uint16_t category0E;
    uint16_t category10;
    uint8_t reserved18[6];
    uint16_t category18;
    uint16_t categoryWord;  // bits 0-13 category number
    uint8_t reserved28[2];
    uint16_t category1E;
    uint16_t category20;
};

// An articulation definition: its main and flipped symbols, fonts and placement.
struct EDTArticulationDef {
    uint8_t mainChar;
    uint8_t mainEffects;
    uint8_t mainFont;
    uint8_t mainSize;
    uint8_t reserved4[6];
    uint16_t placement;
    uint8_t flippedChar;
    uint8_t flippedEffects;
    uint8_t flippedFont;
    uint8_t flippedSize;
    uint16_t value10;
    uint16_t value12;
    uint16_t value14;
    uint16_t symbolFlags;
    uint8_t reserved24[4];
    uint16_t value1C;
    uint16_t value1E;
    uint8_t reserved32[4];
    uint16_t value24;
    uint16_t value26;
    uint16_t value28;
    uint16_t value2A;
    uint16_t value2C;
    uint16_t value2E;
};

#pragma pack(pop)

static_assert(sizeof(EDTTextBlock2004) == 26, "EDTTextBlock2004");
static_assert(offsetof(EDTTextBlock2004, value8) == 0x08 &&
                  offsetof(EDTTextBlock2004, flags) == 0x0E &&
                  offsetof(EDTTextBlock2004, rawTextKind) == 0x18,
              "EDTTextBlock2004 offsets");

static_assert(sizeof(EDTStaffSpec) == 114, "EDTStaffSpec");
static_assert(offsetof(EDTStaffSpec, transposition) == 0x14 &&
                  offsetof(EDTStaffSpec, fullName) == 0x1E,
              "EDTStaffSpec offsets");

static_assert(sizeof(EDTMeasNumberRegion2014) == 196, "EDTMeasNumberRegion2014");
static_assert(offsetof(EDTMeasNumberRegion2014, startMeasure) == 0x84 &&
                  offsetof(EDTMeasNumberRegion2014, endMeasurePlusOne) == 0x86 &&
                  offsetof(EDTMeasNumberRegion2014, startChar) == 0x88 &&
                  offsetof(EDTMeasNumberRegion2014, base) == 0x8A &&
                  offsetof(EDTMeasNumberRegion2014, startNumberMinusOne) == 0x8C &&
                  offsetof(EDTMeasNumberRegion2014, prefix) == 0x8E &&
                  offsetof(EDTMeasNumberRegion2014, suffix) == 0xA6 &&
                  offsetof(EDTMeasNumberRegion2014, flags) == 0xBE,
              "EDTMeasNumberRegion2014 offsets");

static_assert(sizeof(EDTMeasNumberRegion) == 88, "EDTMeasNumberRegion");
static_assert(offsetof(EDTMeasNumberRegion, startMeasure) == 0x06 &&
                  offsetof(EDTMeasNumberRegion, endMeasurePlusOne) == 0x08 &&
                  offsetof(EDTMeasNumberRegion, startChar) == 0x0C &&
                  offsetof(EDTMeasNumberRegion, base) == 0x0E &&
                  offsetof(EDTMeasNumberRegion, startNumberMinusOne) == 0x10 &&
                  offsetof(EDTMeasNumberRegion, prefix) == 0x16 &&
                  offsetof(EDTMeasNumberRegion, suffix) == 0x2E &&
                  offsetof(EDTMeasNumberRegion, flags) == 0x52,
              "EDTMeasNumberRegion offsets");

static_assert(sizeof(EDTTextExpressionDef) == 34, "EDTTextExpressionDef fixed part");
static_assert(offsetof(EDTTextExpressionDef, rehearsalMarkStyle) == 0x02 &&
                  offsetof(EDTTextExpressionDef, category0C) == 0x0C &&
                  offsetof(EDTTextExpressionDef, category0E) == 0x0E &&
                  offsetof(EDTTextExpressionDef, category10) == 0x10 &&
                  offsetof(EDTTextExpressionDef, category18) == 0x18 &&
                  offsetof(EDTTextExpressionDef, categoryWord) == 0x1A &&
                  offsetof(EDTTextExpressionDef, category1E) == 0x1E &&
                  offsetof(EDTTextExpressionDef, category20) == 0x20,
              "EDTTextExpressionDef offsets");

static_assert(sizeof(EDTArticulationDef) == 48, "EDTArticulationDef");
static_assert(offsetof(EDTArticulationDef, placement) == 0x0A &&
                  offsetof(EDTArticulationDef, flippedChar) == 0x0C &&
                  offsetof(EDTArticulationDef, value10) == 0x10 &&
                  offsetof(EDTArticulationDef, value14) == 0x14 &&
                  offsetof(EDTArticulationDef, symbolFlags) == 0x16 &&
                  offsetof(EDTArticulationDef, value1C) == 0x1C &&
                  offsetof(EDTArticulationDef, value24) == 0x24 &&
                  offsetof(EDTArticulationDef, value2E) == 0x2E,
              "EDTArticulationDef offsets");
