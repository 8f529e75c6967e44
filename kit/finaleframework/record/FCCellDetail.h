#pragma once

#include "FCBaseData.h"

class FCCell;

// Records of one cell (staff at +0, measure at +2), stepped by incidence at +4.
class __FCCellDetail : public __FCBaseData {
  public:
    const char* ClassName() override { return "__FCCellDetail"; }
    // False when no owning cell is set.
    bool LoadFirst() override;
    // On failure the key names the last record found again.
    bool LoadNext() override;

    FCCell* GetOwningCell() const { return _cell; }
    void SetOwningCell(FCCell* cell) { _cell = cell; }

  private:
    FCCell* _cell = nullptr;  // not owned; never copied by cloning
};
