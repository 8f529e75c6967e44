#include "FCExpression.h"

#include <algorithm>

#include "FCCell.h"
#include "FCMeasure.h"
#include "FCTextExpressionDef.h"

namespace {
constexpr uint16_t kMeasureHasExpressions = 0x4000;

// The cell's measure and staff as the host's 16-bit numbers; false when they are none.
bool CellNumbers(const FCCell* cell, uint16_t* measure, int16_t* staff) {
    if (!cell) return false;
    const int32_t m = cell->GetMeasure(), s = cell->GetStaff();
    if (m < 1 || m > INT16_MAX || s < INT16_MIN || s > INT16_MAX) return false;
    *measure = static_cast<uint16_t>(m);
    *staff = static_cast<int16_t>(s);
    return true;
}
}  // namespace

void FCExpression::SetShape(bool state) {
    Set16BitFlag(FX_FIELD(&_record, EDTExpression, flags), EXPRESSION_FLAG_SHAPE, state);
}

int32_t FCExpression::GetMeasurePos() const {
    const int64_t position = int64_t{_record.positionHigh} * 65536 + _record.positionLow;
    return static_cast<int32_t>(std::clamp<int64_t>(position, INT32_MIN, INT32_MAX));
}

void FCExpression::SetMeasurePos(int32_t position) {
    // Halves that give the position back: the low half signed, the high half what remains.
    // Both signed, they reach no higher than 0x7FFF7FFF.
    position = std::min<int32_t>(position, int32_t{INT16_MAX} * 65536 + INT16_MAX);
    const int16_t low = static_cast<int16_t>(static_cast<uint16_t>(position & 0xFFFF));
    const int64_t high = (int64_t{position} - low) / 65536;
    _record.positionLow = low;
    _record.positionHigh = static_cast<int16_t>(high);
}

FCTextExpressionDef* FCExpression::CreateTextExpressionDef() {
    if (IsShape()) return nullptr;
    FCTextExpressionDef* definition = new FCTextExpressionDef;
    definition->Load(GetID());
    return definition;
}

bool FCExpression::AssignTextExpressionDef(FCTextExpressionDef* definition) {
    if (!definition || definition->GetItemNo() == 0) return false;
    SetID(definition->GetItemNo());
    SetShape(false);
    return true;
}

bool FCExpression::SaveNewToCell(FCCell* cell) {
    uint16_t measureNumber = 0;
    int16_t staff = 0;
    if (!CellNumbers(cell, &measureNumber, &staff)) return false;
    FCMeasure measure;
    if (!measure.Load(measureNumber)) return false;
    SetStaff(staff);
    SetStaffListID(0);
    if (!SaveNew(measureNumber)) return false;
    // Only a measure that now has the expression is marked as having expressions.
    measure._SetMeFlag(kMeasureHasExpressions, true);
    measure.Save();
    return true;
}

bool FCExpression::IsVisibleOnStaff(int16_t staff, FCStaffListElement::STAFFLIST_MODES mode) {
    if (GetStaff() == staff) return true;
    if (GetStaffListID() == 0 || mode == FCStaffListElement::STAFFLIST_NONE) return false;
    FCStaffListElements list;
    list.SetCustomTag(FCStaffListElement::TagOfMode(mode));
    list.LoadAllForItem(GetStaffListID());
    return list.ContainsStaff(staff);
}

void FCExpressions::LoadAllInCell(FCCell* cell, FCStaffListElement::STAFFLIST_MODES mode) {
    _FreeElements();
    _count = 0;
    uint16_t measure = 0;
    int16_t staff = 0;
    if (!CellNumbers(cell, &measure, &staff)) return;
    __FCBaseData* created = CreateElement();
    if (FCExpression* element = dynamic_cast<FCExpression*>(created)) {
        element->SetCustomTag(_customTag);
        // Incidences are signed 16-bit: a host that answers every load still ends the walk.
        for (int32_t incidence = 0; incidence <= INT16_MAX; ++incidence) {
            if (!element->Load(measure, static_cast<int16_t>(incidence))) break;
            if (element->IsVisibleOnStaff(staff, mode)) _AddCloneOf(element);
        }
    }
    delete created;
}
