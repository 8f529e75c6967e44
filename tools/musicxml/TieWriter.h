// What a command changed in the ties of an imported score, and the score's text with exactly
// those changes made. Each tie is written whole: the note it starts on gets (or loses)
// <tie type="start"/> and <tied type="start"/>, the note it ends on <tie type="stop"/> and
// <tied type="stop"/>. Untie takes away every tie mark of every note in the region, grace
// notes included, and the other end of each tie it takes away wherever that lies; Tie writes
// a tie only where the file reads it back as a tie into the next note of that pitch. Repair
// mends what is unambiguous. Nothing else is touched.
#pragma once

#include <string>
#include <vector>

#include "Document.h"
#include "ImportedScore.h"
#include "TieCheck.h"

namespace plovikxml {

// What the command was: the file has marks the host never sees (grace notes, the other end of
// a tie), which Untie takes away in its region.
struct TieCommand {
    enum Kind { NONE, TIE, UNTIE } kind = NONE;
    EREGION region{};
};

class TieWriter {
  public:
    struct Change {
        enum Kind {
            ADDED,
            REMOVED,
            // The plug-in tied the note where the file could not hold the tie: to a note of
            // another written pitch, or over a note of the same pitch: not written.
            NOT_WRITTEN,
            // Repair: the missing <tie> or <tied> of a tie added; the missing stop added on the
            // next note of the pitch; a mark written twice taken away; a mark that pairs with
            // nothing taken away; a lone start made <tied type="let-ring"/>.
            COMPLETED,
            STOP_ADDED,
            DEDUPLICATED,
            DROPPED,
            LET_RING,
        };
        Kind kind = ADDED;
        const ImportedScore::Entry* entry = nullptr;
        // The note the tie starts on; for a stop with no start, that stop.
        const ImportedScore::Note* note = nullptr;
        // The note the tie goes (or went) to; may be null.
        const ImportedScore::Entry* partnerEntry = nullptr;
        const ImportedScore::Note* partner = nullptr;
        bool stopOnly = false;  // `note` is a stop with no start
    };

    using Command = TieCommand;

    // The notes whose tie bit in the document differs from what the score said when it was
    // read, and what that means for the file, in score order. Host data that does not match
    // the score is ignored.
    static std::vector<Change> Compare(const ImportedScore& score, const plovikhost::Document& doc,
                                       const Command& command = {});
    // The mends of the ties inside the region (the whole score when null): everything the
    // check finds but ties between different pitches, which are only reported.
    static std::vector<Change> Repair(const ImportedScore& score, bool letRing,
                                      const EREGION* region = nullptr);
    // Whether the note begins a tie in the text Write gives.
    static bool TiedAfter(const ImportedScore::Note& note, const std::vector<Change>& changes);
    // +1 when the change makes its note begin a tie, -1 when it makes it begin none, else 0.
    static int Effect(const Change& change);

    // The text the score was read from, with the changes made. Throws ScoreError.
    static std::string Write(const std::string& text, const std::vector<Change>& changes);
};

}  // namespace plovikxml
