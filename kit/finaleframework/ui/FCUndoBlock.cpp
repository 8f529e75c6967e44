#include "FCUndoBlock.h"

#include "FCString.h"
#include "FCUndoBlockHandler.h"
#include "FXBinding.h"

bool FCUndoBlock::Execute(__FCUndoBlockHandler* handler, FCString* name) {
    if (!handler) return false;
    const char* editName = name ? name->GetCString() : DEFAULT_EDIT_NAME;
    if (FX_StartFinaleEdit(editName, FRAMEWORK_ENIGMA_VERSION) == 0) return false;
    const bool kept = handler->Execute();
    if (kept)
        FX_EndFinaleEdit(FRAMEWORK_ENIGMA_VERSION);
    else
        FX_CancelFinaleEdit(FRAMEWORK_ENIGMA_VERSION);
    return kept;
}
