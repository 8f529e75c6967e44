#pragma once

#include "FCMusicRegion.h"

// The work of both commands: every layer of every staff of the region is loaded, its entries
// inside the region tied (tie true) or untied, and saved back. Nothing is reported.
void TieNotes(FCMusicRegion* region, bool tie);
