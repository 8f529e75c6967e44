#include "FCBrowserNoInciOther.h"

#include "FCIteratorHandler.h"
#include "FCNoInciOther.h"

__FCBaseData* __FCBrowserNoInciOther::LoadAnElement(uint16_t item) {
    __FCBaseData* object = CreateAnObject();
    __FCNoInciOther* numbered = dynamic_cast<__FCNoInciOther*>(object);
    if (numbered && numbered->Load(item)) return object;
    delete object;
    return nullptr;
}

int __FCBrowserNoInciOther::ToEndFrom(uint16_t item, FCIteratorHandler* handler) {
    if (!handler) return 0;
    __FCBaseData* object = LoadAnElement(item);
    if (!object) return 0;
    int count = 0;
    while (handler->Iterate(object)) {
        ++count;
        if (!object->LoadNext()) break;
    }
    delete object;
    return count;
}

int __FCBrowserNoInciOther::GetCount() {
    __FCBaseData* object = LoadAnElement(1);
    if (!object) return 0;
    int count = 1;
    while (object->LoadNext()) ++count;
    delete object;
    return count;
}
