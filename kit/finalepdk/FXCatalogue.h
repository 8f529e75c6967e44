// The catalogue of host services, one row each, in the host's order:
//   X(kind, name, argument count, result shaping, when the host lacks it, result type, arguments)
// kind P: the binding function is generated from the row alone; kind W: the row generates the
// plain forwarder fxraw::name, and a function of the same name in FXBinding.cpp does some work
// first (cleaning a frame, correcting a version, counting edits) and then calls it.
// Shaping: S16 signed 16-bit result widened; U16 low 16 bits unsigned; Bool8 low 8 bits;
// Raw the host's result untouched. Arguments the host declares as 16-bit are passed widened.
#pragma once

#include "FXRecords.h"
#include "FXTypes.h"
#include "Platform.h"

// Argument lists of services whose arguments are the host's business; the version comes last.
#define FX_ARGS_1 (uint32_t)
#define FX_ARGS_2 (FXARG, uint32_t)
#define FX_ARGS_3 (FXARG, FXARG, uint32_t)
#define FX_ARGS_4 (FXARG, FXARG, FXARG, uint32_t)
#define FX_ARGS_5 (FXARG, FXARG, FXARG, FXARG, uint32_t)
#define FX_ARGS_6 (FXARG, FXARG, FXARG, FXARG, FXARG, uint32_t)
#define FX_ARGS_7 (FXARG, FXARG, FXARG, FXARG, FXARG, FXARG, uint32_t)
#define FX_ARGS_10 (FXARG, FXARG, FXARG, FXARG, FXARG, FXARG, FXARG, FXARG, FXARG, uint32_t)
#define FX_ARGS_20                                                                              \
    (FXARG, FXARG, FXARG, FXARG, FXARG, FXARG, FXARG, FXARG, FXARG, FXARG, FXARG, FXARG, FXARG, \
     FXARG, FXARG, FXARG, FXARG, FXARG, FXARG, uint32_t)

// clang-format off
#define FX_CATALOGUE(X) \
    X(P, FX_GetMaxLayers, 1, S16, FXIfMissing<4>, int32_t, (uint32_t)) \
    X(W, FX_LoadTGF, 6, Raw, FXRequired, EXTGF2005a*, (uint16_t, int16_t, int16_t, int16_t, int16_t, uint32_t)) \
    X(W, FX_InsertEXENTRY, 4, S16, FXRequired, int32_t, (EXTGF2005a*, int16_t, int16_t, uint32_t)) \
    X(W, FX_DeleteEXENTRY, 4, S16, FXRequired, int32_t, (EXTGF2005a*, int16_t, int16_t, uint32_t)) \
    X(W, FX_SaveTGF, 2, S16, FXRequired, int32_t, (EXTGF2005a*, uint32_t)) \
    X(P, FX_FreeTGF, 2, Raw, FXRequired, int32_t, (EXTGF2005a*, uint32_t)) \
    X(P, FX_RebeamRegion, 3, S16, FXRequired, int32_t, FX_ARGS_3) \
    X(P, FX_RebarRegion, 6, S16, FXRequired, int32_t, FX_ARGS_6) \
    X(P, FX_AlertMessage, 5, S16, FXRequired, int32_t, (FXARG, FXARG, FXARG, const char*, uint32_t)) \
    X(W, FX_LoadEData, 5, S16, FXRequired, int32_t, (uint32_t, void*, void*, int32_t*, uint32_t)) \
    X(W, FX_SaveEData, 5, S16, FXRequired, int32_t, (uint32_t, void*, void*, int32_t, uint32_t)) \
    X(W, FX_CreateEData, 5, S16, FXRequired, int32_t, (uint32_t, void*, void*, int32_t, uint32_t)) \
    X(P, FX_DeleteEData, 3, S16, FXRequired, int32_t, (uint32_t, void*, uint32_t)) \
    X(W, FX_PreviousEData, 5, S16, FXRequired, int32_t, (uint32_t, void*, void*, int32_t, uint32_t)) \
    X(W, FX_NextEData, 5, S16, FXRequired, int32_t, (uint32_t, void*, void*, int32_t, uint32_t)) \
    X(P, FX_Dialog, 6, Raw, FXRequired, FXARG, FX_ARGS_6) \
    X(P, FX_EndDialog, 2, Raw, FXRequired, FXARG, FX_ARGS_2) \
    X(P, FX_EnableDlgItem, 4, Raw, FXRequired, FXARG, FX_ARGS_4) \
    X(W, FX_ShowHideDlgItem, 4, Raw, FXWindowsFallback, int32_t, (HWND, int32_t, int16_t, uint32_t)) \
    X(P, FX_SetDlgFocus, 3, Raw, FXRequired, FXARG, FX_ARGS_3) \
    X(P, FX_GetDlgCntlVal, 5, Raw, FXRequired, FXARG, FX_ARGS_5) \
    X(P, FX_SetDlgCntlVal, 5, Raw, FXRequired, FXARG, FX_ARGS_5) \
    X(W, FX_GetDlgCntl, 3, Raw, FXWindowsFallback, HWND, (HWND, int32_t, uint32_t)) \
    X(P, FX_SlotToInst, 3, S16, FXRequired, int32_t, (int16_t, uint16_t, uint32_t)) \
    X(P, FX_InstToSlot, 3, S16, FXRequired, int32_t, (int16_t, uint16_t, uint32_t)) \
    X(P, FX_ScrollTo, 3, Raw, FXRequired, int32_t, (int16_t, int16_t, uint32_t)) \
    X(P, FX_Playback, 5, Raw, FXRequired, FXARG, FX_ARGS_5) \
    X(P, FX_ListenToMidi, 3, S16, FXRequired, int32_t, FX_ARGS_3) \
    X(P, FX_FontNameToNum, 2, S16, FXRequired, int32_t, (const char*, uint32_t)) \
    X(P, FX_FontNumToName, 3, S16, FXRequired, int32_t, (int16_t, char*, uint32_t)) \
    X(P, FX_GetCurERegions, 4, S16, FXRequired, int32_t, (void*, EREGION*, EREGION*, uint32_t)) \
    X(P, FX_RedrawMusic, 2, Raw, FXRequired, int32_t, (EREGION*, uint32_t)) \
    X(P, FX_CopyMidi, 4, S16, FXRequired, int32_t, FX_ARGS_4) \
    X(P, FX_PasteMidi, 4, S16, FXRequired, int32_t, FX_ARGS_4) \
    X(P, FX_NoteToMidi, 3, S16, FXRequired, int32_t, FX_ARGS_3) \
    X(P, FX_NoteMover, 6, Raw, FXRequired, FXARG, FX_ARGS_6) \
    X(P, FX_GetKeySig, 5, S16, FXRequired, int32_t, FX_ARGS_5) \
    X(P, FX_SelectNote, 3, Raw, FXRequired, FXARG, FX_ARGS_3) \
    X(P, FX_SetTimer, 4, Raw, FXRequired, FXARG, FX_ARGS_4) \
    X(P, FX_KillTimer, 3, Raw, FXZero, FXARG, FX_ARGS_3) \
    X(P, FX_GetDlgItemUser, 5, Raw, FXRequired, FXARG, FX_ARGS_5) \
    X(P, FX_SetDlgItemUser, 6, Raw, FXRequired, FXARG, FX_ARGS_6) \
    X(P, FX_MidiNoteToString, 5, Raw, FXRequired, FXARG, FX_ARGS_5) \
    X(P, FX_StringToMidiNote, 2, S16, FXRequired, int32_t, FX_ARGS_2) \
    X(P, FX_GetSyllable, 5, Raw, FXRequired, FXARG, FX_ARGS_5) \
    X(P, FX_SyllableInfo, 10, S16, FXRequired, int32_t, FX_ARGS_10) \
    X(P, FX_ParseCaretCommand, 5, Raw, FXRequired, FXARG, FX_ARGS_5) \
    X(P, FX_UpdateLayout, 3, Raw, FXRequired, FXARG, FX_ARGS_3) \
    X(P, FX_GetEntryMetrics, 7, S16, FXRequired, int32_t, FX_ARGS_7) \
    X(P, FX_GetTGFEntryMetrics, 5, S16, FXRequired, int32_t, FX_ARGS_5) \
    X(P, FX_FontDialog, 6, S16, FXRequired, int32_t, FX_ARGS_6) \
    X(P, FX_SymbolDialog, 4, S16, FXRequired, int32_t, FX_ARGS_4) \
    X(P, FX_SelectionDialog, 5, S16, FXRequired, int32_t, FX_ARGS_5) \
    X(P, FX_GetMeasureDuration, 3, Raw, FXRequired, int32_t, (int16_t, int16_t, uint32_t)) \
    X(P, FX_GetTGFDuration, 2, Raw, FXRequired, int32_t, (EXTGF2005a*, uint32_t)) \
    X(W, FX_ReduceEntries, 2, Raw, FXRequired, int32_t, (EXTGF2005a*, uint32_t)) \
    X(P, FX_StartMassEdit, 3, Raw, FXRequired, FXARG, FX_ARGS_3) \
    X(P, FX_EndMassEdit, 3, Raw, FXRequired, FXARG, FX_ARGS_3) \
    X(P, FX_MassEditProgress, 6, S16, FXRequired, int32_t, FX_ARGS_6) \
    X(P, FX_GetShowLayer, 2, S16, FXRequired, int32_t, (int16_t, uint32_t)) \
    X(P, FX_GetDlgItemVal, 4, Raw, FXRequired, FXARG, FX_ARGS_4) \
    X(P, FX_SetDlgItemVal, 5, Raw, FXRequired, FXARG, FX_ARGS_5) \
    X(P, FX_GetDlgString, 5, Raw, FXRequired, FXARG, FX_ARGS_5) \
    X(P, FX_SetDlgString, 4, Raw, FXRequired, FXARG, FX_ARGS_4) \
    X(P, FX_SetCurERegion, 2, Raw, FXZero, int32_t, (EREGION*, uint32_t)) \
    X(P, FX_SetCurrentEnigmaDocument, 2, S16, FXZero, int32_t, (int16_t, uint32_t)) \
    X(P, FX_GetCurrentEnigmaDocument, 1, S16, FXZero, int32_t, (uint32_t)) \
    X(P, FX_GetNextEnigmaDocument, 2, S16, FXZero, int32_t, (int16_t, uint32_t)) \
    X(P, FX_GetFinalePath, 3, S16, FXZero, int32_t, FX_ARGS_3) \
    X(P, FX_GetGraphicPath, 5, S16, FXZero, int32_t, FX_ARGS_5) \
    X(P, FX_CreateGraphic, 7, S16, FXZero, int32_t, FX_ARGS_7) \
    X(W, FX_StartFinaleEdit, 2, Raw, FXZero, int32_t, (const char*, uint32_t)) \
    X(W, FX_EndFinaleEdit, 1, S16, FXZero, int32_t, (uint32_t)) \
    X(W, FX_CancelFinaleEdit, 1, Raw, FXZero, int32_t, (uint32_t)) \
    X(P, FX_GetDocumentPath, 3, S16, FXZero, int32_t, (int16_t, char*, uint32_t)) \
    X(P, FX_SelectExpressionDialog, 5, S16, FXZero, int32_t, FX_ARGS_5) \
    X(P, FX_MassMover, 3, S16, FXZero, int32_t, FX_ARGS_3) \
    X(P, FX_RebuildMenuSystem, 2, Raw, FXZero, FXARG, FX_ARGS_2) \
    X(P, FX_EnableBusyDetection, 2, S16, FXZero, int32_t, FX_ARGS_2) \
    X(P, FX_ExecuteMenuItem, 2, S16, FXZero, int32_t, (int32_t, uint32_t)) \
    X(W, FX_AnalyzeChord, 4, S16, FXZero, int32_t, FX_ARGS_4) \
    X(P, FX_InsertMeasures, 4, S16, FXZero, int32_t, FX_ARGS_4) \
    X(P, FX_DeleteMeasures, 4, S16, FXZero, int32_t, FX_ARGS_4) \
    X(P, FX_NewEnigmaDocument, 1, S16, FXZero, int32_t, FX_ARGS_1) \
    X(P, FX_CloseEnigmaDocument, 2, S16, FXZero, int32_t, FX_ARGS_2) \
    X(P, FX_IsEnigmaDocumentDirty, 2, S16, FXZero, int32_t, FX_ARGS_2) \
    X(P, FX_SetEnigmaDocumentDirty, 3, Raw, FXZero, FXARG, FX_ARGS_3) \
    X(P, FX_GetPrintSettings, 2, Raw, FXZero, FXARG, FX_ARGS_2) \
    X(P, FX_PrintCurrentDocument, 2, S16, FXZero, int32_t, FX_ARGS_2) \
    X(P, FX_PrintDocument, 3, S16, FXZero, int32_t, FX_ARGS_3) \
    X(P, FX_PrintDocuments, 4, Raw, FXZero, FXARG, FX_ARGS_4) \
    X(P, FX_OpenDocument, 7, S16, FXZero, int32_t, FX_ARGS_7) \
    X(P, FX_CloseCurrentDocumentWindow, 1, S16, FXZero, int32_t, FX_ARGS_1) \
    X(P, FX_SaveDocument, 4, S16, FXZero, int32_t, FX_ARGS_4) \
    X(P, FX_DeleteMidiExpressions, 3, Raw, FXZero, FXARG, FX_ARGS_3) \
    X(P, FX_DeleteTempoRecords, 2, Raw, FXZero, FXARG, FX_ARGS_2) \
    X(P, FX_GetWindowCount, 1, S16, FXZero, int32_t, FX_ARGS_1) \
    X(P, FX_GetWindowInfoList, 3, S16, FXZero, int32_t, FX_ARGS_3) \
    X(P, FX_GetCurrentWindowInfo, 2, S16, FXZero, int32_t, (void*, uint32_t)) \
    X(P, FX_GetCurrentWindow, 1, Raw, FXZero, FXARG, FX_ARGS_1) \
    X(P, FX_SetCurrentWindow, 2, S16, FXZero, int32_t, FX_ARGS_2) \
    X(P, FX_ProcessMidiData, 2, Raw, FXIfMissing<-1>, FXARG, FX_ARGS_2) \
    X(P, FX_QueryK2Slot, 7, S16, FXZero, int32_t, FX_ARGS_7) \
    X(P, FX_QueryAriaSlot, 20, S16, FXZero, int32_t, FX_ARGS_20) \
    X(P, FX_GetCurrentPartID, 1, S16, FXIfMissing<-1>, int32_t, (uint32_t)) \
    X(P, FX_SetCurrentPartID, 2, Raw, FXZero, int32_t, (int16_t, uint32_t)) \
    X(P, FX_SetCurrentPartInView, 2, Raw, FXZero, FXARG, FX_ARGS_2) \
    X(P, FX_GetNextPartID, 2, S16, FXIfMissing<-1>, int32_t, (int16_t, uint32_t)) \
    X(P, FX_GetPartName, 2, Raw, FXBlankIfMissing, const char*, (int16_t, uint32_t)) \
    X(P, FX_CountParts, 1, Raw, FXIfMissing<-1>, FXARG, FX_ARGS_1) \
    X(P, FX_CopyCutMusic, 3, Raw, FXZero, uint32_t, (void*, int32_t, uint32_t)) \
    X(P, FX_InsertMergeMusic, 4, Bool8, FXZero, int32_t, (uint32_t, void*, int32_t, uint32_t)) \
    X(P, FX_DisposeFinClipFileToken, 2, Bool8, FXZero, int32_t, (uint32_t, uint32_t)) \
    X(P, FX_SetDefaultMusicFont, 4, Bool8, FXZero, int32_t, FX_ARGS_4) \
    X(P, FX_OpenHelpItem, 2, Raw, FXZero, FXARG, FX_ARGS_2) \
    X(P, FX_GetTextEncoding, 1, Raw, FXIfMissing<-2>, FXARG, FX_ARGS_1) \
    X(P, FX_GetSMPParts, 2, Raw, FXZero, FXARG, FX_ARGS_2) \
    X(P, FX_GetPlaybackSystem, 1, S16, FXIfMissing<-1>, int32_t, FX_ARGS_1) \
    X(P, FX_AutoRehearsalInsert, 6, S16, FXZero, int32_t, FX_ARGS_6) \
    X(P, FX_GetPercMapRefData, 5, S16, FXZero, int32_t, FX_ARGS_5) \
    X(P, FX_CreatePercMapRefData, 3, U16, FXZero, int32_t, FX_ARGS_3) \
    X(P, FX_GetEntryMetrics2009a, 7, S16, FXZero, int32_t, FX_ARGS_7) \
    X(P, FX_GetTGFEntryMetrics2009a, 5, S16, FXZero, int32_t, FX_ARGS_5) \
    X(P, FX_GetMeasureMetrics, 5, S16, FXZero, int32_t, FX_ARGS_5) \
    X(P, FX_FreeEntryMetrics, 2, Raw, FXZero, FXARG, FX_ARGS_2) \
    X(P, FX_FreeMeasureMetrics, 2, Raw, FXZero, FXARG, FX_ARGS_2)
// clang-format on
