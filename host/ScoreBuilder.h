// Writes a score into a document in a few lines, for tests and the demo:
//
//   ScoreBuilder(doc).Staves({1, 2}).Measures(4)
//       .Music(1, 1, "C4/q C4 E4+G4/h")
//       .Music(2, 1, "r/h C3~/h", 1)   // layer 1
//       .HideLayer(3);
//
// Staves are instrument numbers, in slot order of the global list; measures are appended with
// a time signature and a key, each with its measure record; music is written in the notation of
// Notation.h and appended to what the cell holds, numbered as the host numbers entries. Throws
// std::invalid_argument for a staff, measure, layer or notation the document cannot take.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "Document.h"

namespace plovikhost {

class ScoreBuilder {
  public:
    explicit ScoreBuilder(Document& doc) : doc_(doc) {}

    ScoreBuilder& Staves(std::initializer_list<int16_t> instruments);
    ScoreBuilder& Measures(int count, int16_t beats = 4, int16_t beatDuration = 1024,
                           int16_t key = 0);
    ScoreBuilder& Music(int16_t staff, int16_t measure, const std::string& notation,
                        int16_t layer = 0);
    ScoreBuilder& HideLayer(int16_t layer);
    ScoreBuilder& Select(const EREGION& region);

    // A region of the global list: slots and measures inclusive, positions in duration units.
    static EREGION Region(int16_t startSlot, int16_t endSlot, int16_t startMeasure,
                          int16_t endMeasure, int32_t startPosition = 0,
                          int32_t endPosition = EREGION_END_OF_MEASURE);

  private:
    Document& doc_;
};

// The notation of what a cell of the document holds ("" for nothing).
std::string CellNotation(const Document& doc, int16_t staff, int16_t measure, int16_t layer);

}  // namespace plovikhost
