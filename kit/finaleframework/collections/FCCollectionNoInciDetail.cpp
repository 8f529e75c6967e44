#include "FCCollectionNoInciDetail.h"

#include <cstdint>

#include "FCNoInciDetail.h"

void __FCCollectionNoInciDetail::LoadAllForItem(uint16_t first, uint16_t start) {
    __FCBaseData* created = _StartLoad();
    __FCNoInciDetail* element = dynamic_cast<__FCNoInciDetail*>(created);
    if (element) {
        for (uint32_t second = start; second <= UINT16_MAX; ++second) {
            if (!element->Load(first, static_cast<uint16_t>(second))) break;
            _AddCloneOf(element);
        }
    }
    delete created;
}
