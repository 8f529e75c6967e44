// Reads a MusicXML score (partwise or timewise) into the host's document:
//  - every staff of every part becomes a staff of instrument list 0, in score order (its
//    instrument number is its slot); measures are numbered from 1 in file order;
//  - within a staff, the distinct voices, in ascending order, become layers 0 to 3;
//  - each note or rest that is not a grace or cue note becomes part of an entry (a chord's
//    notes share one), placed in time from divisions, backups, forwards and durations, in
//    duration units; where a voice falls silent between two of its notes, a rest fills the gap
//    so that no tie can leap over it;
//  - each measure gets the key and time signature in force in the first part, and every
//    staff's pitches are stored relative to that key; a tie that starts on a note sets its
//    tie bit.
#pragma once

#include <string>

#include "Document.h"
#include "ImportedScore.h"
#include "XmlOutline.h"

namespace plovikxml {

class MusicXmlReader {
  public:
    // The score's text in UTF-8 and its outline, into a document that has no staves and no
    // measures yet. One measure is parsed at a time. Throws ScoreError, naming the part, staff
    // and measure where it can.
    static void Read(const std::string& text, const XmlOutline& outline, plovikhost::Document& doc,
                     ImportedScore& score);

    // The most the host holds: notes in an entry, and staves in one part.
    static constexpr int kMaxStavesPerPart = 64;
};

}  // namespace plovikxml
