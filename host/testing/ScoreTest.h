// Fixture of tests that write a score into the substitute host and look at its music.
#pragma once

#include <string>

#include "HostTest.h"
#include "ScoreBuilder.h"

class ScoreTest : public HostTest {
  protected:
    plovikhost::ScoreBuilder Score() { return plovikhost::ScoreBuilder(doc()); }
    // The notation of what a cell of the document holds.
    std::string Music(int16_t staff, int16_t measure, int16_t layer = 0) {
        return plovikhost::CellNotation(doc(), staff, measure, layer);
    }
    // A stored entry of the document (the cell must hold it).
    EXENTRY& Stored(int16_t staff, int16_t measure, size_t index, int16_t layer = 0) {
        return doc().CellAt(staff, measure, layer).entries.at(index);
    }
    static EREGION Region(int16_t startSlot, int16_t endSlot, int16_t startMeasure,
                          int16_t endMeasure, int32_t startPosition = 0,
                          int32_t endPosition = EREGION_END_OF_MEASURE) {
        return plovikhost::ScoreBuilder::Region(startSlot, endSlot, startMeasure, endMeasure,
                                                startPosition, endPosition);
    }
};
