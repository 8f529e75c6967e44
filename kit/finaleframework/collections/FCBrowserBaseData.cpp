#include "FCBrowserBaseData.h"

#include "FCBaseData.h"
#include "FCIteratorHandler.h"

int __FCBrowserBaseData::ForEach(FCIteratorHandler* handler) {
    if (!handler || !handler->PreProcess()) return 0;
    __FCBaseData* object = CreateAnObject();
    int count = 0;
    if (object && object->LoadFirst() && handler->PreProcessIfExist()) {
        while (handler->Iterate(object)) {
            ++count;
            if (!object->LoadNext()) break;
        }
        handler->PostProcessIfExist();
    }
    handler->PostProcess();
    delete object;
    return count;
}

__FCBase* __FCBrowserBaseData::FindFirst(FCIteratorHandler* handler) {
    if (!handler || !handler->PreProcess()) return nullptr;
    __FCBaseData* object = CreateAnObject();
    if (object && object->LoadFirst() && handler->PreProcessIfExist()) {
        do {
            if (handler->Match(object)) {
                handler->PostProcessIfExist();
                return object;
            }
        } while (object->LoadNext());
    }
    handler->PostProcess();
    delete object;
    return nullptr;
}
