#pragma once

#include <cstdint>

#include "FCStaff.h"

class FCNoteEntry;

// The staff record as the host resolves it at one point of the score.
// The point is a staff, a measure and a position in the measure: what a note there sees when
// staff styles change the staff partway. It has no number of its own, so it cannot be loaded
// or saved by one.
class FCCurrentStaffSpec : public FCStaff {
  public:
    static constexpr uint32_t TAG = 0x534F5343;  // S O S C

    const char* ClassName() override { return "FCCurrentStaffSpec"; }
    uint32_t Tag() override { return TAG; }
    __FCBaseData* CreateObject() override { return new FCCurrentStaffSpec; }

    bool Load(uint16_t) override { return false; }
    bool SaveAs(uint16_t) override { return false; }
    bool SaveNew() override { return false; }
    uint16_t GetItemNo() override { return 0; }

    // Loads the staff record in force at the entry (its staff, measure and position); false
    // without an entry.
    bool Load(FCNoteEntry* entry);
    // Loads the staff record in force at that point of the staff.
    bool _LoadAt(uint16_t staff, int16_t measure, int32_t position);
};
