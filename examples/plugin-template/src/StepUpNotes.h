// The plug-in's one command.
#pragma once

class FCMusicRegion;

// Moves every note of every staff and shown layer of the region one step up.
void StepUpNotes(FCMusicRegion* region);
