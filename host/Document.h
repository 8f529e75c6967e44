#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "RecordStore.h"

namespace plovikhost {

// One open document of the substitute host.
struct Document {
    int16_t number = 0;
    std::string path;
    // Instrument lists: list number to the instrument (staff) numbers of slots 1, 2, ...
    // List 0 is the document's global list.
    std::map<uint16_t, std::vector<int16_t>> instrumentLists;
    RecordStore records;
    // The document's font table: font number to name. A new document has none.
    std::map<int16_t, std::string> fonts;

    int16_t SlotToInstrument(int16_t slot, uint16_t list) const;
    int16_t InstrumentToSlot(int16_t instrument, uint16_t list) const;
    // The number of the font of that name (exact match), added to the table under the lowest
    // free number from 1 when the table does not have it.
    int16_t FontNumber(const std::string& name);
};

}  // namespace plovikhost
