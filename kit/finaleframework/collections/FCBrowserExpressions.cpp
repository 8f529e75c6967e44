#include "FCBrowserExpressions.h"

#include "FCExpression.h"
#include "FCIteratorHandler.h"
#include "FCMusicRegion.h"

bool FCBrowserExpressions::RegionIterateCellHandler(FCCell* cell, FCIteratorHandler* handler,
                                                    FCMusicRegion* region) {
    FCExpressions expressions;
    expressions.LoadAllInCell(cell, FCStaffListElement::STAFFLIST_NONE);
    for (int i = 0; i < expressions.GetCount(); ++i) {
        FCExpression* expression = static_cast<FCExpression*>(expressions.GetItemAt(i));
        if (!expression || !region->IsCellPosWithin(cell, expression->GetMeasurePos())) continue;
        if (!handler->Iterate(expression)) return false;
    }
    return true;
}
