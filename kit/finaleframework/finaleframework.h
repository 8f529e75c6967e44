// The framework: every FC class, for plug-in code to include in one line.
#pragma once

#include "finalepdk.h"

// Record model
#include "FCBase.h"
#include "FCBaseData.h"
#include "FCCellDetail.h"
#include "FCEntryDetail.h"
#include "FCEntryDetailNoteID.h"
#include "FCGlobals.h"
#include "FCInci.h"
#include "FCInciOther.h"
#include "FCNoInciDetail.h"
#include "FCNoInciOther.h"
#include "FCOther.h"

// Collections and iteration
#include "FCBrowserBase.h"
#include "FCBrowserBaseData.h"
#include "FCBrowserExpressions.h"
#include "FCBrowserMeasures.h"
#include "FCBrowserMidiExpressions.h"
#include "FCBrowserNoInciOther.h"
#include "FCBrowserNoteEntries.h"
#include "FCBrowserRegionBase.h"
#include "FCBrowserTuplets.h"
#include "FCCollection.h"
#include "FCCollectionData.h"
#include "FCCollectionDetail.h"
#include "FCCollectionEntryDetail.h"
#include "FCCollectionInciOther.h"
#include "FCCollectionNoInciDetail.h"
#include "FCIteratorBase.h"
#include "FCIteratorHandler.h"

// Regions and cells
#include "FCCell.h"
#include "FCCells.h"
#include "FCMusicRegion.h"

// Note entries
#include "FCNote.h"
#include "FCNoteEntries.h"
#include "FCNoteEntry.h"
#include "FCNoteEntryCell.h"
#include "FCNoteEntryCollection.h"
#include "FCNoteEntryLayer.h"
#include "FCNotePitch.h"
#include "FCNotePitches.h"

// Text
#include "FCFontInfo.h"
#include "FCRawText.h"
#include "FCString.h"
#include "FCStrings.h"
#include "FCTextBlock.h"

// Music definitions
#include "FCArticulationDef.h"
#include "FCCategoryDef.h"
#include "FCCurrentStaffSpec.h"
#include "FCKeySignature.h"
#include "FCMeasureNumberRegion.h"
#include "FCStaff.h"
#include "FCTextExpressionDef.h"
#include "FCTimeSignature.h"

// Score records
#include "FCArticulation.h"
#include "FCClefDef.h"
#include "FCExpression.h"
#include "FCMeasure.h"
#include "FCMeasures.h"
#include "FCMidiExpression.h"
#include "FCStaffListElement.h"
#include "FCTuplet.h"

// User interface and editing
#include "FCDocument.h"
#include "FCPart.h"
#include "FCUI.h"
#include "FCUndoBlock.h"
#include "FCUndoBlockHandler.h"
