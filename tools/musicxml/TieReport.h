// What --report tells after a command: each tie added or removed, each tie the plug-in made
// that could not be written, and the near misses a musician would want to know of - notes in
// the region left untied although the same pitch, or nearly, comes next:
//  - the same letter with another alteration in the next entry (C5 then C#5);
//  - the same pitch in the next entry of another layer of the staff;
//  - the same pitch after a rest.
#pragma once

#include <string>
#include <vector>

#include "Document.h"
#include "ImportedScore.h"
#include "TieWriter.h"

namespace plovikxml {

class TieReport {
  public:
    struct NearMiss {
        enum Kind { OTHER_ALTERATION, OTHER_LAYER, AFTER_REST };
        Kind kind;
        const ImportedScore::Entry* entry;
        const ImportedScore::Note* note;
        const ImportedScore::Entry* partnerEntry;
        const ImportedScore::Note* partner;
    };

    static std::vector<NearMiss> NearMisses(const ImportedScore& score, const EREGION& region,
                                            const std::vector<TieWriter::Change>& changes);
    // One section each for ties added, removed, not written (only when there are such) and
    // near misses: a count, then one line per item.
    static std::string Text(const ImportedScore& score, const plovikhost::Document& doc,
                            const std::vector<TieWriter::Change>& changes,
                            const std::vector<NearMiss>& nearMisses);
    // "beat 3", "beat 2.5", "beat 1+1/3", in the time signature of the entry's measure.
    static std::string Beat(const plovikhost::Document& doc, const ImportedScore::Entry& entry);
};

}  // namespace plovikxml
