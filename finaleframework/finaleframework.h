// The framework: every FC class, for plug-in code to include in one line.
#pragma once

#include "finalepdk.h"

// Record model
#include "FCBase.h"
#include "FCBaseData.h"

// Collections and iteration
#include "FCCollection.h"
#include "FCIteratorBase.h"
#include "FCIteratorHandler.h"
