// The host binding: host records, the catalogue of host services and their binding functions.
#pragma once

#include "FXBinding.h"
#include "FXCatalogue.h"
#include "FXDefinitionRecords.h"
#include "FXRecordAccess.h"
#include "FXRecords.h"
#include "FXScoreRecords.h"
#include "FXTypes.h"
#include "PreferenceMaps.h"
