// What a command changed in the ties of an imported score, and the score's text with exactly
// those changes made. A note whose tie bit was set gets <tie type="start"/> and
// <tied type="start"/> if it lacks them; a note whose bit was cleared loses them. The stop
// marks follow: the note of the same pitch in the next entry of the same staff and layer gets
// them when a tie arrives, and loses them when none arrives any more. Nothing else is touched.
#pragma once

#include <string>
#include <vector>

#include "Document.h"
#include "ImportedScore.h"

namespace plovikxml {

class TieWriter {
  public:
    struct Change {
        enum Kind {
            ADDED,
            REMOVED,
            // The plug-in tied the note to no note of the same written pitch: not written.
            NOT_WRITTEN,
        };
        Kind kind = ADDED;
        const ImportedScore::Entry* entry = nullptr;
        const ImportedScore::Note* note = nullptr;
        // The note the tie goes (or went) to; may be null for a removed tie that went nowhere.
        const ImportedScore::Entry* partnerEntry = nullptr;
        const ImportedScore::Note* partner = nullptr;
    };

    // The notes whose tie bit in the document differs from what the score said when it was
    // read, in score order. Host data that does not match the score is ignored.
    static std::vector<Change> Compare(const ImportedScore& score, const plovikhost::Document& doc);
    // Whether the note is tied in the text Write gives.
    static bool TiedAfter(const ImportedScore::Note& note, const std::vector<Change>& changes);

    // The text the score was read from, with the changes made. Throws ScoreError.
    static std::string Write(const std::string& text, const std::vector<Change>& changes);
};

}  // namespace plovikxml
