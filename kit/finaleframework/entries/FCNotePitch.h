#pragma once

#include "FCNote.h"

// A pitch kept apart from any entry: a note over a note record of its own.
class FCNotePitch : public FCNote {
  public:
    explicit FCNotePitch(const NOTERECORD& record) : FCNote(0, nullptr, nullptr), _record(record) {
        _noteRecord = &_record;
    }

    const char* ClassName() override { return "FCNotePitch"; }

  private:
    NOTERECORD _record;
};
