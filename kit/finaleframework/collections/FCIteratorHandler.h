#pragma once

#include "FCBase.h"

// The one callback class of every walk: derive, override what the walk needs, pass an instance.
class FCIteratorHandler : public __FCBase {
  public:
    const char* ClassName() override { return "FCIteratorHandler"; }
    // True: go on with the next object; false: stop the walk now.
    virtual bool Iterate(__FCBase*) { return true; }
    virtual bool IterateIndex(__FCBase*, int) { return true; }
    // True for the object that FindFirst looks for.
    virtual bool Match(__FCBase*) { return false; }
    // Greater than 0: a belongs after b.
    virtual int Compare(__FCBase*, __FCBase*) { return 0; }
    // Asked by the record browsers before anything is loaded; false cancels the walk.
    virtual bool PreProcess() { return true; }
    // Asked by the record browsers once the first record has loaded; false skips the walk.
    virtual bool PreProcessIfExist() { return true; }
    virtual void PostProcess() {}
    virtual void PostProcessIfExist() {}

    // When true, the note-entry browser saves each cell's entries after the handler saw them.
    bool GetSaveChanges() const { return _saveChanges; }
    void SetSaveChanges(bool state) { _saveChanges = state; }

  private:
    bool _saveChanges = false;
};
