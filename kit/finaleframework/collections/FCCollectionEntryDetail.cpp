#include "FCCollectionEntryDetail.h"

#include "FCEntryDetail.h"
#include "FCNoteEntry.h"
#include "finalepdk.h"

void __FCCollectionEntryDetail::LoadAll() {
    if (!_entry || !_entry->GetEntryRecord() || _entry->GetEntryNumber() == 0) return;
    __FCBaseData* created = _StartLoad();
    if (__FCEntryDetail* element = dynamic_cast<__FCEntryDetail*>(created)) {
        element->SetOwningEntry(_entry);
        if (element->Load(_entry->GetEntryNumber(), 0)) {
            do {
                _AddCloneOf(element);
            } while (element->LoadNext());
        }
    }
    delete created;
}

bool __FCCollectionEntryDetail::DestroyItemAt(int index) {
    __FCEntryDetail* element = dynamic_cast<__FCEntryDetail*>(GetItemAt(index));
    if (!element) return false;
    const int16_t incidence = element->GetIncidence();
    for (int i = 0; i < _count; ++i) {
        __FCEntryDetail* other = dynamic_cast<__FCEntryDetail*>(GetItemAt(i));
        if (other && other->GetIncidence() > incidence)
            FXWrite<int16_t>(other->GetRecordKey(), 4,
                             static_cast<int16_t>(other->GetIncidence() - 1));
    }
    element->DeleteData();
    DeleteItemAt(index);
    return _count > 0;
}
