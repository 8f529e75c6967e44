#include "FCMeasures.h"

#include "FCMusicRegion.h"

void FCMeasures::LoadRegion(FCMusicRegion* region) {
    __FCBaseData* element = _StartLoad();
    __FCNoInciOther* measure = dynamic_cast<__FCNoInciOther*>(element);
    if (region && measure) {
        for (int m = region->GetStartMeasure(); m <= region->GetEndMeasure(); ++m)
            if (measure->Load(static_cast<uint16_t>(m))) _AddCloneOf(measure);
    }
    delete element;
}
