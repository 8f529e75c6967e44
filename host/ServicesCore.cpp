// Host settings, messages, documents, parts, instrument lists and edits.
#include <algorithm>
#include <cstring>

#include "Services.h"
#include "SubstituteHost.h"

namespace plovikhost::svc {

int32_t FX_STDCALL GetMaxLayers(uint32_t version) {
    H().Log("FX_GetMaxLayers", {version});
    return H().Answer("FX_GetMaxLayers", {version}, H().maxLayers);
}

int32_t FX_STDCALL AlertMessage(FXARG a, FXARG b, FXARG c, const char* message, uint32_t version) {
    H().Log("FX_AlertMessage", {a, b, c, P(message), version}, message ? message : "");
    H().alerts.push_back(message ? message : "");
    return 1;
}

int32_t FX_STDCALL AnalyzeChord(FXARG a, FXARG b, FXARG c, uint32_t version) {
    H().Log("FX_AnalyzeChord", {a, b, c, version});
    return 1;
}

HWND FX_STDCALL GetDlgCntl(HWND dialog, int32_t item, uint32_t version) {
    H().Log("FX_GetDlgCntl", {P(dialog), item, version});
    return dialog;
}

int32_t FX_STDCALL ShowHideDlgItem(HWND dialog, int32_t item, int32_t show, uint32_t version) {
    H().Log("FX_ShowHideDlgItem", {P(dialog), item, show, version});
    return 1;
}

int32_t FX_STDCALL GetCurrentEnigmaDocument(uint32_t version) {
    H().Log("FX_GetCurrentEnigmaDocument", {version});
    return H().CurrentDocumentNumber();
}

int32_t FX_STDCALL SetCurrentEnigmaDocument(int32_t document, uint32_t version) {
    H().Log("FX_SetCurrentEnigmaDocument", {document, version});
    return H().SetCurrentDocument(static_cast<int16_t>(document)) ? 1 : 0;
}

int32_t FX_STDCALL GetNextEnigmaDocument(int32_t document, uint32_t version) {
    H().Log("FX_GetNextEnigmaDocument", {document, version});
    if (H().answerNextDocument) return H().answerNextDocument(document);
    return H().NextDocumentNumber(static_cast<int16_t>(document));
}

int32_t FX_STDCALL GetDocumentPath(int32_t document, char* path, uint32_t version) {
    H().Log("FX_GetDocumentPath", {document, P(path), version});
    Document* doc = H().FindDocument(static_cast<int16_t>(document));
    if (!doc || !path) return 0;
    // Like strncpy into the caller's 260 bytes: a path that fills them has no terminator.
    std::strncpy(path, doc->path.c_str(), kDocumentPathSize);
    return 1;
}

int32_t FX_STDCALL GetCurrentPartID(uint32_t version) {
    H().Log("FX_GetCurrentPartID", {version});
    return H().CurrentDocument().currentPart;
}

int32_t FX_STDCALL SetCurrentPartID(int32_t part, uint32_t version) {
    H().Log("FX_SetCurrentPartID", {part, version});
    Document& doc = H().CurrentDocument();
    const auto id = static_cast<int16_t>(part);
    if (!doc.parts.count(id)) return 0;
    doc.currentPart = id;
    return 1;
}

int32_t FX_STDCALL GetNextPartID(int32_t part, uint32_t version) {
    H().Log("FX_GetNextPartID", {part, version});
    if (H().answerNextPartID) return H().answerNextPartID(part);
    const auto& parts = H().CurrentDocument().parts;
    auto it = parts.upper_bound(static_cast<int16_t>(part));
    return it == parts.end() ? -1 : it->first;
}

// The name stays the host's; a part the document does not have gets no name at all.
const char* FX_STDCALL GetPartName(int32_t part, uint32_t version) {
    H().Log("FX_GetPartName", {part, version});
    const auto& parts = H().CurrentDocument().parts;
    auto it = parts.find(static_cast<int16_t>(part));
    return it == parts.end() ? nullptr : it->second.c_str();
}

int32_t FX_STDCALL SlotToInst(int32_t slot, uint32_t list, uint32_t version) {
    H().Log("FX_SlotToInst", {slot, list, version});
    return H().Answer("FX_SlotToInst", {slot, list, version},
                      H().CurrentDocument().SlotToInstrument(static_cast<int16_t>(slot),
                                                             static_cast<uint16_t>(list)));
}

int32_t FX_STDCALL InstToSlot(int32_t instrument, uint32_t list, uint32_t version) {
    H().Log("FX_InstToSlot", {instrument, list, version});
    return H().Answer("FX_InstToSlot", {instrument, list, version},
                      H().CurrentDocument().InstrumentToSlot(static_cast<int16_t>(instrument),
                                                             static_cast<uint16_t>(list)));
}

int32_t FX_STDCALL StartFinaleEdit(const char* name, uint32_t version) {
    H().Log("FX_StartFinaleEdit", {P(name), version}, name ? name : "");
    return H().BeginEdit(name ? name : "");
}

int32_t FX_STDCALL EndFinaleEdit(uint32_t version) {
    H().Log("FX_EndFinaleEdit", {version});
    return H().EndEdit() ? 1 : 0;
}

int32_t FX_STDCALL CancelFinaleEdit(uint32_t version) {
    H().Log("FX_CancelFinaleEdit", {version});
    return H().CancelEdit() ? 1 : 0;
}

}  // namespace plovikhost::svc
