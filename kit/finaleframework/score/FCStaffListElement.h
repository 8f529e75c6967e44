#pragma once

#include <cstdint>

#include "FCCollectionInciOther.h"
#include "FCInciOther.h"
#include "finalepdk.h"

// One staff of a staff list.
// A staff list is the set of these records stored under the list's number, one per
// incidence. The host keeps four kinds of lists, each under a tag of its own, given as the
// custom tag.
class FCStaffListElement : public __FCInciOther {
  public:
    static constexpr uint32_t TAG = 0x6F744443;  // o t D C

    // Which kind of staff list an expression is looked up in; each kind is named after the
    // last two characters of its tag.
    enum STAFFLIST_MODES : int {
        STAFFLIST_NONE = 0,  // lists are not consulted
        STAFFLIST_DC = 1,
        STAFFLIST_DC_SMALL = 2,
        STAFFLIST_IO = 3,
        STAFFLIST_IO_SMALL = 4,
    };
    // The custom tag of a mode's lists; 0 for mode 0 and for values outside the enumeration
    // (the element's own tag then applies).
    static uint32_t TagOfMode(STAFFLIST_MODES mode);

    const char* ClassName() override { return "FCStaffListElement"; }
    uint32_t Tag() override { return _customTag ? _customTag : TAG; }
    int32_t DataSizeLoad() override { return sizeof _record; }
    void* Allocate() override { return &_record; }
    __FCBaseData* CreateObject() override { return new FCStaffListElement; }

    int16_t GetStaff() const { return _record.staff; }
    // Also makes a new element ready to be saved.
    void SetStaff(int16_t staff);

  private:
    EDTStaffListElement _record{};
};

// A whole staff list.
// LoadAllForItem / SaveAllForItem with the list's number, under the collection's custom tag.
class FCStaffListElements : public __FCCollectionInciOther {
  public:
    const char* ClassName() override { return "FCStaffListElements"; }
    __FCBaseData* CreateElement() override { return new FCStaffListElement; }

    FCStaffListElement* GetItemAt(int index) const {
        return dynamic_cast<FCStaffListElement*>(__FCCollection::GetItemAt(index));
    }
    // Whether some element of the list is that staff.
    bool ContainsStaff(int16_t staff) const;
};
