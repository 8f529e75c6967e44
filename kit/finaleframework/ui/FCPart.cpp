#include "FCPart.h"

#include <vector>

#include "FCIteratorHandler.h"
#include "FXBinding.h"

namespace {
constexpr uint32_t V = FRAMEWORK_ENIGMA_VERSION;
// The first host version whose part names can be trusted.
constexpr uint32_t kPartNamesFrom = 0x11000000;
constexpr int16_t kNoPart = -1;

int16_t CurrentDocument() {
    return static_cast<int16_t>(FX_GetCurrentEnigmaDocument(V));
}
}  // namespace

bool FCPart::IsIdentical(__FCBase* other) {
    auto* part = dynamic_cast<FCPart*>(other);
    return part && part->_id == _id && part->_document == _document;
}

FCString* FCPart::GetName() {
    if (RunningFinaleVersion >= kPartNamesFrom)
        _name.SetCString(FX_GetPartName(_id, V));  // null leaves it empty
    else
        _name.SetCString("Not available (due to a bug)");
    return &_name;
}

int FCParts::LoadAll() {
    _FreeElements();
    _count = 0;
    const int16_t document = CurrentDocument();
    // A host that names a part twice would otherwise be asked forever.
    std::vector<bool> listed(65536, false);
    int16_t id = 0;
    for (;;) {
        listed[static_cast<uint16_t>(id)] = true;
        Add(new FCPart(id, document));
        id = static_cast<int16_t>(FX_GetNextPartID(id, V));
        if (id == kNoPart || listed[static_cast<uint16_t>(id)]) break;
    }
    return GetCount();
}

int FCParts::ForEachWithScope(FCIteratorHandler* handler) {
    if (!handler) return 0;
    int n = 0;
    for (int i = 0; i < GetCount(); ++i) {
        auto* part = static_cast<FCPart*>(GetItemAt(i));
        if (!part) continue;
        const int16_t document = part->GetDocumentID();
        int16_t saved = kNoPart;
        if (document == CurrentDocument() && part->_GetSavedPart() == kNoPart) {
            saved = static_cast<int16_t>(FX_GetCurrentPartID(V));
            part->_SetSavedPart(saved);
            FX_SetCurrentPartID(part->GetID(), V);
        }
        const bool goOn = handler->Iterate(part);
        if (saved != kNoPart) {
            if (document == CurrentDocument()) FX_SetCurrentPartID(saved, V);
            // Cleared even when the handler left the document: a stale saved part would keep
            // every later walk from switching to this part. The handler may have taken the
            // part out of the list.
            if (GetItemAt(i) == part) part->_SetSavedPart(kNoPart);
        }
        if (!goOn) break;
        ++n;
    }
    return n;
}

FCPart* FCParts::GetCurrent() {
    const int16_t id = static_cast<int16_t>(FX_GetCurrentPartID(V));
    const int16_t document = CurrentDocument();
    for (int i = 0; i < GetCount(); ++i) {
        auto* part = static_cast<FCPart*>(GetItemAt(i));
        if (part && part->GetID() == id && part->GetDocumentID() == document) return part;
    }
    return nullptr;
}
