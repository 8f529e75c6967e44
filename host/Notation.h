// A short text notation for the music of one cell, read by the score builder and written by
// the command-line host, so that what is printed can be typed back in:
//
//   C4/q  C4~/q  E4+G4/h  r/q  F#3/h.  Bb2/1536
//
// Entries are separated by blanks. A note is a pitch name (letter, accidentals # or b, octave;
// C4 is middle C), "~" when it is tied to the next entry; "+" joins the notes of a chord; "r"
// is a rest. After "/" comes the duration: w h q e s t (whole to 32nd), dots for dotted
// values, or a number of duration units (a quarter is 1024). Without one, an entry lasts as
// long as the entry before it (a quarter at the start).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "FXRecords.h"

namespace plovikhost {

struct Pitch {
    int step = 0;        // 0 C, 1 D, ... 6 B
    int alteration = 0;  // +1 a sharp, -1 a flat
    int octave = 4;
};

// False when the text is not a pitch name.
bool ParsePitchName(const std::string& text, Pitch& pitch);
std::string PitchName(const Pitch& pitch);

// A note record stores a pitch relative to the key of its measure: the displacement counts
// diatonic steps from the key's tonic in the octave of middle C, the raise/lower value is the
// alteration beyond what the key gives that letter. False for a key value that is not a major
// or minor key of at most seven sharps or flats.
bool PitchToNote(const Pitch& pitch, int16_t key, int16_t& displacement, int16_t& raiseLower);
bool NoteToPitch(int16_t displacement, int16_t raiseLower, int16_t key, Pitch& pitch);

// Duration units of a duration text ("q", "h.", "768"); -1 when it is not one.
int32_t ParseDuration(const std::string& text);
std::string DurationName(int32_t duration);

// Entry records, unnumbered and at position 0, for the notation; throws std::invalid_argument
// naming the token it cannot read.
std::vector<EXENTRY> ParseEntries(const std::string& text, int16_t key);
// The notation of entry records (every duration written out).
std::string FormatEntries(const std::vector<EXENTRY>& entries, int16_t key);

}  // namespace plovikhost
