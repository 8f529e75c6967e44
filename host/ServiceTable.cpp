// Every service the substitute host offers, under its FX_ name. The static_cast only compiles
// when the host's function has exactly the type the binding calls it through.
#include "Services.h"
#include "SubstituteHost.h"

namespace plovikhost {

#define HOST_SERVICE(name, function)                                                \
    ServiceExport {                                                                 \
#name, reinterpret_cast < void*>(static_cast <FX_HOST_FN(name)>(&function)) \
    }

const std::vector<ServiceExport>& ServiceTable() {
    static const std::vector<ServiceExport> table = {
        HOST_SERVICE(FX_GetMaxLayers, svc::GetMaxLayers),
        HOST_SERVICE(FX_AlertMessage, svc::AlertMessage),
        HOST_SERVICE(FX_LoadEData, svc::LoadEData),
        HOST_SERVICE(FX_SaveEData, svc::SaveEData),
        HOST_SERVICE(FX_CreateEData, svc::CreateEData),
        HOST_SERVICE(FX_DeleteEData, svc::DeleteEData),
        HOST_SERVICE(FX_PreviousEData, svc::PreviousEData),
        HOST_SERVICE(FX_NextEData, svc::NextEData),
        HOST_SERVICE(FX_SlotToInst, svc::SlotToInst),
        HOST_SERVICE(FX_InstToSlot, svc::InstToSlot),
        HOST_SERVICE(FX_SetCurrentEnigmaDocument, svc::SetCurrentEnigmaDocument),
        HOST_SERVICE(FX_GetCurrentEnigmaDocument, svc::GetCurrentEnigmaDocument),
        HOST_SERVICE(FX_GetNextEnigmaDocument, svc::GetNextEnigmaDocument),
        HOST_SERVICE(FX_StartFinaleEdit, svc::StartFinaleEdit),
        HOST_SERVICE(FX_EndFinaleEdit, svc::EndFinaleEdit),
        HOST_SERVICE(FX_CancelFinaleEdit, svc::CancelFinaleEdit),
        HOST_SERVICE(FX_GetDocumentPath, svc::GetDocumentPath),
        HOST_SERVICE(FX_GetCurrentPartID, svc::GetCurrentPartID),
        HOST_SERVICE(FX_SetCurrentPartID, svc::SetCurrentPartID),
        HOST_SERVICE(FX_GetNextPartID, svc::GetNextPartID),
        HOST_SERVICE(FX_GetPartName, svc::GetPartName),
        HOST_SERVICE(FX_GetCurrentWindowInfo, svc::GetCurrentWindowInfo),
        HOST_SERVICE(FX_ScrollTo, svc::ScrollTo),
        HOST_SERVICE(FX_ExecuteMenuItem, svc::ExecuteMenuItem),
        HOST_SERVICE(FX_RedrawMusic, svc::RedrawMusic),
        HOST_SERVICE(FX_AnalyzeChord, svc::AnalyzeChord),
        HOST_SERVICE(FX_GetDlgCntl, svc::GetDlgCntl),
        HOST_SERVICE(FX_ShowHideDlgItem, svc::ShowHideDlgItem),
        HOST_SERVICE(FX_FontNumToName, svc::FontNumToName),
        HOST_SERVICE(FX_FontNameToNum, svc::FontNameToNum),
        HOST_SERVICE(FX_GetShowLayer, svc::GetShowLayer),
        HOST_SERVICE(FX_LoadTGF, svc::LoadTGF),
        HOST_SERVICE(FX_SaveTGF, svc::SaveTGF),
        HOST_SERVICE(FX_FreeTGF, svc::FreeTGF),
        HOST_SERVICE(FX_InsertEXENTRY, svc::InsertEXENTRY),
        HOST_SERVICE(FX_DeleteEXENTRY, svc::DeleteEXENTRY),
        HOST_SERVICE(FX_GetTGFDuration, svc::GetTGFDuration),
        HOST_SERVICE(FX_GetMeasureDuration, svc::GetMeasureDuration),
        HOST_SERVICE(FX_GetCurERegions, svc::GetCurERegions),
        HOST_SERVICE(FX_SetCurERegion, svc::SetCurERegion),
        HOST_SERVICE(FX_CopyCutMusic, svc::CopyCutMusic),
        HOST_SERVICE(FX_InsertMergeMusic, svc::InsertMergeMusic),
        HOST_SERVICE(FX_DisposeFinClipFileToken, svc::DisposeFinClipFileToken),
    };
    return table;
}

}  // namespace plovikhost
