// The Tie plug-in as the host sees it: the kit's six entry points over its two commands, Tie
// (index 0) and Untie (index 1, and every index outside the table).
#pragma once

#include "PlovikPlugin.h"
