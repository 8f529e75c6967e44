#include "FCDocument.h"

#include <cstring>
#include <vector>

#include "FCIteratorHandler.h"
#include "FCUndoBlock.h"
#include "FXBinding.h"

namespace {
constexpr uint32_t V = FRAMEWORK_ENIGMA_VERSION;
}

const char* FCDocument::GetPath() {
    std::memset(_path, 0, sizeof _path);
    FX_GetDocumentPath(_number, _path, V);
    _path[PATH_SIZE - 1] = '\0';  // a host that fills the whole buffer leaves no terminator
    return _path;
}

int FCDocuments::LoadAll() {
    _FreeElements();
    _count = 0;
    // A host that names a document twice would otherwise be asked forever.
    std::vector<bool> listed(65536, false);
    int16_t number = 0;
    for (;;) {
        number = static_cast<int16_t>(FX_GetNextEnigmaDocument(number, V));
        if (number == 0) break;
        const auto seen = static_cast<uint16_t>(number);
        if (listed[seen]) break;
        listed[seen] = true;
        Add(new FCDocument(number));
    }
    return GetCount();
}

int FCDocuments::ForEachWithScope(FCIteratorHandler* handler, const char* editName) {
    if (!handler) return 0;
    int n = 0;
    for (int i = 0; i < GetCount(); ++i) {
        auto* document = static_cast<FCDocument*>(GetItemAt(i));
        if (!document) continue;
        const auto saved = static_cast<int16_t>(FX_GetCurrentEnigmaDocument(V));
        document->_SetSavedDocument(saved);
        FX_SetCurrentEnigmaDocument(document->GetID(), V);
        // Only an edit the host opened is ended: ending after a refusal would close an edit
        // the caller has open around the walk.
        const bool opened =
            FX_StartFinaleEdit(editName ? editName : FCUndoBlock::DEFAULT_EDIT_NAME, V) != 0;
        const bool goOn = handler->Iterate(document);
        if (opened) FX_EndFinaleEdit(V);
        FX_SetCurrentEnigmaDocument(saved, V);
        // The handler may have taken the document out of the list.
        if (GetItemAt(i) == document) document->_SetSavedDocument(0);
        if (!goOn) break;
        ++n;
    }
    return n;
}
