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

    int16_t SlotToInstrument(int16_t slot, uint16_t list) const;
    int16_t InstrumentToSlot(int16_t instrument, uint16_t list) const;
};

}  // namespace plovikhost
