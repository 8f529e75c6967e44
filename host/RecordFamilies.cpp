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
};
// clang-format on
}  // namespace

KeyFamily FamilyOfTag(uint32_t tag) {
    for (const TagFamily& row : kTagFamilies)
        if (row.tag == tag) return row.family;
    return KeyFamily::OTHER;
}

}  // namespace plovikhost
