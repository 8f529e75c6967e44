#pragma once

#include "FCBase.h"

class FCString;
class __FCUndoBlockHandler;

// Runs editing work inside one host edit.
// The user can take it back as one step under the edit's name. Holds no state.
class FCUndoBlock : public __FCBase {
  public:
    // The name of an edit opened without one.
    static constexpr const char* DEFAULT_EDIT_NAME = "Plug-in Edit";

    const char* ClassName() override { return "FCUndoBlock"; }

    // Opens an edit (under DEFAULT_EDIT_NAME when the name is null), runs the handler, and ends
    // the edit when the handler succeeded or cancels it when it failed. Returns what the
    // handler returned; false, with the handler not run, when the host refuses the edit or
    // there is no handler.
    bool Execute(__FCUndoBlockHandler* handler, FCString* name);
};
