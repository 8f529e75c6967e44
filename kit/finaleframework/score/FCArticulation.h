#pragma once

#include <cstdint>

#include "FCCollectionEntryDetail.h"
#include "FCEntryDetail.h"
#include "finalepdk.h"

class FCArticulationDef;

// One articulation placed on a note entry.
// Which articulation definition it shows, and the host's placement data, carried unchanged.
class FCArticulation : public __FCEntryDetail {
  public:
    static constexpr uint32_t TAG = 0x6564494D;  // e d I M

    FCArticulation() { _dataBuffer = &_record; }

    const char* ClassName() override { return "FCArticulation"; }
    uint32_t Tag() override { return TAG; }
    int32_t DataSizeLoad() override { return sizeof _record; }
    void* Allocate() override { return &_record; }
    __FCBaseData* CreateObject() override { return new FCArticulation; }

    // The item number of the articulation definition shown.
    uint16_t GetID() const { return _record.definition; }
    void SetID(uint16_t id) { _record.definition = id; }

    // A new definition object (the caller's), loaded with this articulation's definition; a
    // definition the host does not have leaves its data size 0.
    FCArticulationDef* CreateArticulationDef();

    // Makes this object one of the entry's articulations: its owning entry, and the entry's
    // number in its key. The incidence is left to the save.
    void _SetEntry(FCNoteEntry* entry);

  protected:
    uint32_t _EntryFlagBit() override { return ENTRY_FLAG_ARTICULATIONS; }

  private:
    EDTArticulation _record{};
};

// The articulations of one note entry, in incidence order.
class FCArticulations : public __FCCollectionEntryDetail {
  public:
    const char* ClassName() override { return "FCArticulations"; }
    __FCBaseData* CreateElement() override { return new FCArticulation; }

    FCArticulation* GetItemAt(int index) const {
        return dynamic_cast<FCArticulation*>(__FCCollection::GetItemAt(index));
    }
    // Whether an element shows the articulation definition `id`.
    bool ContainsID(int16_t id) const;
};
