#include "FCCollectionInciOther.h"

#include <cstdint>

#include "FCInciOther.h"

__FCInciOther* __FCCollectionInciOther::_CreateInciElement() {
    __FCBaseData* element = CreateElement();
    __FCInciOther* inci = dynamic_cast<__FCInciOther*>(element);
    if (!inci) {
        delete element;
        return nullptr;
    }
    inci->SetCustomTag(_customTag);
    return inci;
}

void __FCCollectionInciOther::LoadAllForItem(uint16_t item) {
    _FreeElements();
    _count = 0;
    __FCInciOther* element = _CreateInciElement();
    if (!element) return;
    // Incidences are signed 16-bit: a host that answers every load still ends the walk.
    for (int32_t incidence = 0; incidence <= INT16_MAX; ++incidence) {
        if (!element->Load(item, static_cast<int16_t>(incidence))) break;
        _AddCloneOf(element);
    }
    delete element;
}

bool __FCCollectionInciOther::DeleteDataForItem(uint16_t item) {
    __FCInciOther* element = _CreateInciElement();
    if (!element) return false;
    int32_t found = 0;
    while (found <= INT16_MAX && element->Load(item, static_cast<int16_t>(found))) ++found;
    bool result = true;
    for (int32_t incidence = found - 1; incidence >= 0; --incidence) {
        if (!element->Load(item, static_cast<int16_t>(incidence)) || !element->DeleteData()) {
            result = false;
            break;
        }
    }
    delete element;
    return result;
}

bool __FCCollectionInciOther::SaveAllForItem(uint16_t item) {
    if (!DeleteDataForItem(item)) return false;
    for (int i = 0; i < _count; ++i) {
        __FCInciOther* element = dynamic_cast<__FCInciOther*>(GetItemAt(i));
        if (!element) continue;  // a null or foreign slot has nothing to save
        element->SetCustomTag(_customTag);
        if (!element->SaveNew(item)) return false;
    }
    return true;
}
