#include "FCArticulation.h"

#include "FCArticulationDef.h"
#include "FCNoteEntry.h"

FCArticulationDef* FCArticulation::CreateArticulationDef() {
    FCArticulationDef* definition = new FCArticulationDef;
    definition->Load(GetID());
    return definition;
}

void FCArticulation::_SetEntry(FCNoteEntry* entry) {
    SetOwningEntry(entry);
    _SetEntryKey(entry ? entry->GetEntryNumber() : 0, GetIncidence());
}

bool FCArticulations::ContainsID(int16_t id) const {
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        const FCArticulation* articulation = GetItemAt(i);
        if (articulation && static_cast<int16_t>(articulation->GetID()) == id) return true;
    }
    return false;
}
