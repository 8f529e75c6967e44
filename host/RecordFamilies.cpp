// The key family of every record tag the host knows. Tags not listed use the OTHER family.
#include <cstdint>

#include "RecordStore.h"

namespace plovikhost {

namespace {
struct TagFamily {
    uint32_t tag;
    KeyFamily family;
};

// clang-format off
constexpr TagFamily kTagFamilies[] = {
    {0x67626366, KeyFamily::GLOBALS},       // clef definitions
    {0x6564494D, KeyFamily::ENTRY_DETAIL},  // articulations
    {0x45035450, KeyFamily::ENTRY_DETAIL},  // tuplets
    {0x64744D45, KeyFamily::DETAIL},        // MIDI expressions (cell details)
    {0x7478626C, KeyFamily::NUMBER},        // raw text
    {0x74787870, KeyFamily::NUMBER},        // raw text of expressions
    {0x534F5343, KeyFamily::STAFF_POINT},   // staff record in force at a point
};

struct UnderlyingTag {
    uint32_t tag;
    uint32_t underlying;
};

// Where no staff style changes a staff before a point, the staff's own record holds.
constexpr UnderlyingTag kUnderlyingTags[] = {
    {0x534F5343, 0x534F4953},
};
// clang-format on
}  // namespace

KeyFamily FamilyOfTag(uint32_t tag) {
    for (const TagFamily& row : kTagFamilies)
        if (row.tag == tag) return row.family;
    return KeyFamily::OTHER;
}

uint32_t UnderlyingTagOf(uint32_t tag) {
    for (const UnderlyingTag& row : kUnderlyingTags)
        if (row.tag == tag) return row.underlying;
    return 0;
}

}  // namespace plovikhost
