#include "FCCollectionData.h"

#include "FCBaseData.h"

__FCBaseData* __FCCollectionData::_StartLoad() {
    _FreeElements();
    _count = 0;
    __FCBaseData* element = CreateElement();
    if (element) element->SetCustomTag(_customTag);
    return element;
}

void __FCCollectionData::_AddCloneOf(__FCBaseData* element) {
    if (__FCBaseData* clone = element->CreateClone()) Add(clone);
}

void __FCCollectionData::LoadAll() {
    __FCBaseData* element = _StartLoad();
    if (!element) return;
    if (element->LoadFirst()) {
        do {
            _AddCloneOf(element);
        } while (element->LoadNext());
    }
    delete element;
}
