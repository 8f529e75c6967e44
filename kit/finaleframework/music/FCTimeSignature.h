#pragma once

#include <cstdint>

#include "FCBase.h"

class FCString;

// A time signature: beats per measure and the beat's duration (a quarter note is 1024).
class FCTimeSignature : public __FCBase {
  public:
    FCTimeSignature() = default;
    FCTimeSignature(int16_t beats, int16_t beatDuration)
        : _beats(beats), _beatDuration(beatDuration) {}

    const char* ClassName() override { return "FCTimeSignature"; }

    int16_t GetBeats() const { return _beats; }
    void SetBeats(int16_t beats) { _beats = beats; }
    int16_t GetBeatDuration() const { return _beatDuration; }
    void SetBeatDuration(int16_t duration) { _beatDuration = duration; }

    // The written form, such as 6/8; "???" when the beats or the beat duration are 0.
    void MakeString(FCString* out) const;

  private:
    int16_t _beats = 0;
    int16_t _beatDuration = 0;
};
