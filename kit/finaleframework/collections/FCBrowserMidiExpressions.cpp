#include "FCBrowserMidiExpressions.h"

#include "FCIteratorHandler.h"
#include "FCMidiExpression.h"
#include "FCMusicRegion.h"

bool FCBrowserMidiExpressions::RegionIterateCellHandler(FCCell* cell, FCIteratorHandler* handler,
                                                        FCMusicRegion* region) {
    FCMidiExpression expression;
    expression.SetOwningCell(cell);
    if (!expression.LoadFirst()) return true;
    do {
        if (region->IsCellPosWithin(cell, expression.GetMeasurePos()) &&
            !handler->Iterate(&expression))
            return false;
    } while (expression.LoadNext());
    return true;
}
