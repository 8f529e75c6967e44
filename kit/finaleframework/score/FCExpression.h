#pragma once

#include <cstdint>

#include "FCCollectionInciOther.h"
#include "FCInciOther.h"
#include "FCStaffListElement.h"
#include "finalepdk.h"

class FCCell;
class FCTextExpressionDef;

// An expression placed in a measure.
// Item number = measure number, several per measure: the definition it shows, the staff it is
// attached to, and the staff list that shows it on more staves. A new object is a blank record
// ready to be saved with SaveNew.
class FCExpression : public __FCInciOther {
  public:
    static constexpr uint32_t TAG = 0x534F4459;  // S O D Y

    FCExpression() {
        _dataBuffer = &_record;
        _dataSize = sizeof _record;
    }

    const char* ClassName() override { return "FCExpression"; }
    uint32_t Tag() override { return TAG; }
    int32_t DataSizeLoad() override { return sizeof _record; }
    void* Allocate() override { return &_record; }
    __FCBaseData* CreateObject() override { return new FCExpression; }

    // The definition shown: a text expression definition, or a shape definition.
    uint16_t GetID() const { return _record.definition; }
    void SetID(uint16_t id) { _record.definition = id; }
    bool IsShape() const { return (_record.flags & EXPRESSION_FLAG_SHAPE) != 0; }
    void SetShape(bool state);
    int16_t GetStaff() const { return _record.staff; }
    void SetStaff(int16_t staff) { _record.staff = staff; }
    // 0: no staff list.
    uint16_t GetStaffListID() const { return _record.staffList; }
    void SetStaffListID(uint16_t id) { _record.staffList = id; }
    // Position in the measure, from its two halves (a value beyond 32 bits is clamped).
    int32_t GetMeasurePos() const;
    void SetMeasurePos(int32_t position);
    // The measure the expression belongs to (its key's item).
    uint16_t GetMeasure() const { return _GetKeyItem(); }

    // A new definition object (the caller's) loaded with the definition shown; null for a
    // shape. A definition the host does not have leaves its data size 0.
    FCTextExpressionDef* CreateTextExpressionDef();
    // Makes the expression show that definition (not a shape); false for a definition the host
    // has not given a number. Nothing is saved.
    bool AssignTextExpressionDef(FCTextExpressionDef* definition);
    // Stores the expression as a new record of the cell's measure, attached to the cell's staff
    // alone, and marks the measure as having expressions. False, with nothing changed, for a
    // measure the host does not have.
    bool SaveNewToCell(FCCell* cell);
    // Attached to the staff, or to a staff list of the mode's kind that holds the staff.
    bool IsVisibleOnStaff(int16_t staff, FCStaffListElement::STAFFLIST_MODES mode);

  private:
    EDTExpression _record{};
};

// The expressions of a measure (LoadAllForItem with the measure) or of one cell.
class FCExpressions : public __FCCollectionInciOther {
  public:
    const char* ClassName() override { return "FCExpressions"; }
    __FCBaseData* CreateElement() override { return new FCExpression; }
    // The measure's expressions that are visible on the cell's staff in that mode; the old
    // elements are destroyed first.
    virtual void LoadAllInCell(FCCell* cell, FCStaffListElement::STAFFLIST_MODES mode);

    FCExpression* GetItemAt(int index) const {
        return dynamic_cast<FCExpression*>(__FCCollection::GetItemAt(index));
    }
};
