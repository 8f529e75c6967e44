#include "FCBrowserMeasures.h"

#include "FCMeasure.h"

__FCBaseData* FCBrowserMeasures::CreateAnObject() {
    return new FCMeasure;
}
