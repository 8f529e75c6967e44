// Putting text and definition records into a document, laid out as the host keeps them: for
// tests and for the command-line host's sample documents.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Document.h"

namespace plovikhost {

inline constexpr uint32_t TAG_RAW_TEXT = 0x7478626C;               // t x b l
inline constexpr uint32_t TAG_EXPRESSION_RAW_TEXT = 0x74787870;    // t x x p
inline constexpr uint32_t TAG_TEXT_BLOCK = 0x534F5458;             // S O T X
inline constexpr uint32_t TAG_STAFF = 0x534F4953;                  // S O I S
inline constexpr uint32_t TAG_STAFF_AT_POINT = 0x534F5343;         // S O S C
inline constexpr uint32_t TAG_MEASURE_NUMBER_REGION = 0x534F4D4E;  // S O M N
inline constexpr uint32_t TAG_TEXT_EXPRESSION_DEF = 0x534F4454;    // S O D T
inline constexpr uint32_t TAG_ARTICULATION_DEF = 0x4F044958;
inline constexpr uint32_t TAG_MEASURE = 0x534F4D53;   // S O M S
inline constexpr uint32_t TAG_CLEF_DEF = 0x67626366;  // g b c f
inline constexpr uint32_t TAG_ARTICULATION = 0x6564494D;     // e d I M
inline constexpr uint32_t TAG_EXPRESSION = 0x534F4459;       // S O D Y
inline constexpr uint32_t TAG_MIDI_EXPRESSION = 0x64744D45;  // d t M E
// The four kinds of staff lists.
inline constexpr uint32_t TAG_STAFF_LIST_DC = 0x6F744443;  // o t D C
inline constexpr uint32_t TAG_STAFF_LIST_dc = 0x6F746463;  // o t d c
inline constexpr uint32_t TAG_STAFF_LIST_IO = 0x6F74494F;  // o t I O
inline constexpr uint32_t TAG_STAFF_LIST_io = 0x6F74696F;  // o t i o

// A raw text record: the text and its terminating zero.
void PutRawText(Document& doc, uint32_t tag, uint16_t number, const std::string& text);
// A text block as the framework makes a new one, pointing at a raw text of the given kind.
void PutTextBlock(Document& doc, uint16_t number, int16_t rawText, uint16_t rawTextKind);
// The staff's own record (114 bytes, all else zero).
void PutStaff(Document& doc, uint16_t staff, uint16_t transposition, uint16_t fullNameBlock);
// A staff record that a staff style puts in force from this point of the staff on,
// until the next such point.
void PutStaffSpecFrom(Document& doc, uint16_t staff, int16_t measure, int32_t position,
                      uint16_t transposition, uint16_t fullNameBlock);

// Sets the key value in a measure's record (26 bytes; a new one is all zero besides), and in
// that alone: the music's notation keeps the key the measure was built with.
void PutMeasureKey(Document& doc, int16_t measure, uint16_t key);
// A clef definition (18 bytes) with its staff-position offset, all else zero.
void PutClefDef(Document& doc, int16_t number, int16_t offset);

struct MeasureNumberRegionFields {
    int16_t startMeasure = 1;
    int16_t endMeasure = 1;
    int16_t startNumber = 1;
    int16_t startChar = '0';
    int16_t base = 10;
    std::string prefix;
    std::string suffix;
    bool doubleUp = false;
    bool countFromOne = true;
};
// A measure number region in the layout of hosts from 0x0F000000 on (196 bytes), or of the
// earlier ones (88 bytes).
void PutMeasureNumberRegion(Document& doc, uint16_t number, const MeasureNumberRegionFields& f,
                            bool newLayout = true);

// A text expression definition: the fixed part and the description with its zero.
void PutTextExpressionDef(Document& doc, uint16_t number, uint16_t textBlock, int16_t style,
                          const std::string& description);

// An articulation of an entry, showing that definition (placement bytes zero).
void PutArticulation(Document& doc, uint32_t entryNumber, int16_t incidence, uint16_t definition);
// A tuplet of an entry with its two flag words (offsets 8 and 18), all else zero.
void PutTuplet(Document& doc, uint32_t entryNumber, int16_t incidence, uint16_t optionFlags,
               uint16_t secondFlags = 0);

struct ExpressionFields {
    uint16_t definition = 1;
    int16_t staff = 1;
    uint16_t staffList = 0;
    int32_t position = 0;  // kept as two signed halves
    bool shape = false;
};
// An expression of a measure, as its next incidence.
void PutExpression(Document& doc, int16_t measure, const ExpressionFields& f);
// A staff list of one kind: one element record per staff, in order.
void PutStaffList(Document& doc, uint32_t tag, uint16_t list, const std::vector<int16_t>& staves);
// A MIDI expression of a cell at that position, as the cell's next incidence.
void PutMidiExpression(Document& doc, int16_t staff, int16_t measure, int32_t position);

}  // namespace plovikhost
