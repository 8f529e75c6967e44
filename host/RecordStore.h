// The document's data records, kept by tag and record key. How a key is read depends on the
// record's key family, which the host knows per tag (RecordFamilies.cpp).
#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace plovikhost {

enum class KeyFamily {
    OTHER,         // item (unsigned 16) at 0, incidence (signed 16) at 2
    GLOBALS,       // item (signed 16) at 0
    DETAIL,        // first (unsigned 16) at 0, second (unsigned 16) at 2, incidence at 4
    ENTRY_DETAIL,  // entry number (signed 32) at 0, incidence at 4
    NUMBER,        // number (unsigned 16) at 0 alone
    STAFF_POINT,   // staff (unsigned 16) at 0, measure (signed 16) at 2, position (signed 32) at 4
};

KeyFamily FamilyOfTag(uint32_t tag);
// For a STAFF_POINT tag, the tag of the record that is in force where none of its own precedes
// a point (the staff's own record); 0 when there is none.
uint32_t UnderlyingTagOf(uint32_t tag);

// A record's place: the tag and the family's numbers, in key order.
struct RecordId {
    uint32_t tag = 0;
    int32_t a = 0, b = 0, c = 0;
    bool operator<(const RecordId& o) const;
    bool operator==(const RecordId& o) const;
};

RecordId DecodeKey(uint32_t tag, const void* key);
// Writes the family's numbers into the key; bytes the family does not use stay as they were.
void EncodeKey(const RecordId& id, void* key);

class RecordStore {
  public:
    using Bytes = std::vector<uint8_t>;

    const Bytes* Find(const RecordId& id) const;
    // The last record of the same tag and first number at or before the place, in key order:
    // what is in force at a point of a staff.
    const Bytes* FindAtOrBefore(const RecordId& id) const;
    void Put(const RecordId& id, Bytes bytes);
    bool Erase(const RecordId& id);  // closes the gap of later incidences
    // Chooses the numbers given as 0xFFFF (-1), then stores; false when the place is taken.
    bool Create(RecordId& id, Bytes bytes);
    // The place Create would store at, stored nothing; false when it is taken.
    bool Choose(RecordId& id) const;
    // The next/previous stored record of the same tag in key order.
    const RecordId* Next(const RecordId& id) const;
    const RecordId* Previous(const RecordId& id) const;
    // Every record of a tag, in key order.
    std::vector<RecordId> All(uint32_t tag) const;

  private:
    std::map<RecordId, Bytes> records_;
};

}  // namespace plovikhost
