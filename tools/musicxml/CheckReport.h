// What `plovik-host check` and `repair` tell: one line per finding in the report's form (staff
// with part name, measure, beat, voice, pitch as written), most serious first, and a summary;
// the same as one JSON document (schema "plovik-check/1", described in the README); and the
// list of what repair mended.
#pragma once

#include <string>
#include <vector>

#include "Document.h"
#include "ImportedScore.h"
#include "TieCheck.h"
#include "TieWriter.h"

namespace plovikxml {

class CheckReport {
  public:
    // "error: staff 1 (Flute), measure 2, beat 1, voice 1: C5: a tie starts ..."
    static std::string Line(const ImportedScore& score, const plovikhost::Document& doc,
                            const TieCheck::Finding& finding);
    // Every finding, the score's notices ("note: ..."), and "2 errors, 1 warning".
    static std::string Text(const ImportedScore& score, const plovikhost::Document& doc,
                            const std::vector<TieCheck::Finding>& findings, bool nearMisses);
    static std::string Json(const ImportedScore& score, const plovikhost::Document& doc,
                            const std::vector<TieCheck::Finding>& findings, bool nearMisses,
                            const std::string& scoreName, const EREGION& region);
    // "Mends: 3" and a line each, then the ties between different pitches left as they were.
    static std::string RepairText(const ImportedScore& score, const plovikhost::Document& doc,
                                  const std::vector<TieWriter::Change>& mends,
                                  const std::vector<TieCheck::Finding>& left);
    static size_t Count(const std::vector<TieCheck::Finding>& findings,
                        TieCheck::Severity severity);
};

}  // namespace plovikxml
