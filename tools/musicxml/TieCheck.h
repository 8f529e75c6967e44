// The tie marks of a score as a musician reads them: each tie start paired with its stop in
// the voice (grace notes, cue notes and what the host does not hold included), and every
// problem of the markup: a start with no stop, a stop with no start, <tie> without its
// <tied> or the reverse, a start written twice, a tie on a rest, a tie between two pitches;
// and what is allowed but often a mistake: an enharmonic tie, a tie into another voice or
// staff, a tie into a note that is not the next one.
#pragma once

#include <cstddef>
#include <unordered_map>
#include <vector>

#include "ImportedScore.h"

namespace plovikxml {

class TieCheck {
  public:
    using Entry = ImportedScore::Entry;
    using Note = ImportedScore::Note;

    struct NoteAt {
        const Entry* entry = nullptr;
        const Note* note = nullptr;
        explicit operator bool() const { return note != nullptr; }
    };

    enum Kind {
        // Errors.
        NO_STOP,           // a start with no stop on the next note of its pitch
        NO_START,          // a stop with no start
        TIE_WITHOUT_TIED,  // held but not drawn
        TIED_WITHOUT_TIE,  // drawn but not held
        DUPLICATE_START,
        DUPLICATE_STOP,
        ON_REST,
        OTHER_PITCH,  // a tie between two pitches that are not the same sound
        // Warnings.
        ENHARMONIC,
        OTHER_VOICE,   // the partner is in another voice or on another staff
        NOT_ADJACENT,  // the partner is not the next note of the voice
        // Near misses (TieReport's), with --near-misses.
        NEAR_OTHER_ALTERATION,
        NEAR_OTHER_LAYER,
        NEAR_AFTER_REST,
    };
    enum Severity { ERROR, WARNING, NEAR_MISS };
    static Severity SeverityOf(Kind kind);
    // "no-stop", "enharmonic", ...: the name in the JSON report.
    static const char* Id(Kind kind);

    // A tie as the file has it; `kind` is NO_STOP for a well-made one, else the warning or
    // error it is (ENHARMONIC, OTHER_VOICE, NOT_ADJACENT or OTHER_PITCH).
    struct Tie {
        NoteAt start;
        NoteAt stop;
        Kind kind = NO_STOP;
    };

    struct Finding {
        Kind kind;
        NoteAt note;            // where it is
        NoteAt partner;         // the other end of the tie, or the note it concerns; may be empty
        bool stopSide = false;  // half-written or duplicate: the stop marks, not the start
    };

    explicit TieCheck(const ImportedScore& score);

    const std::vector<Tie>& Ties() const { return ties_; }
    // The tie that starts (ends) at the note, or null. A start before a first ending has its
    // tie into the first ending here, and those into later endings in EndingTies.
    const Tie* From(const Note* note) const;
    std::vector<const Tie*> EndingTies(const Note* start) const;
    const Tie* Into(const Note* note) const;
    // Starts and stops that pair with nothing.
    const std::vector<NoteAt>& LoneStarts() const { return loneStarts_; }
    const std::vector<NoteAt>& LoneStops() const { return loneStops_; }
    // The next note of the same written pitch in the note's voice and staff, grace notes
    // included, and whether it lies in the very next chord or note (for a grace note, the next
    // of any kind; for another note, the next that is not a grace note).
    NoteAt NextOfPitch(const Note* note, bool& adjacent) const;

    // Every finding about a note inside the region (the whole score when null), most serious
    // first, then by staff and time; near misses only when asked for.
    std::vector<Finding> Findings(const EREGION* region, bool nearMisses) const;

  private:
    // A note, a chord or a rest of one voice on one staff; the events of a voice follow each
    // other in time, a grace note before the note it graces.
    struct Event {
        const Entry* entry;
        bool grace;
        size_t sequence;  // the same for every event of one staff and voice
    };
    // Whether a tie from the event `from` goes into the event `to` as into its next note.
    bool Adjacent(size_t from, size_t to) const;
    void Walk(size_t begin, size_t end);
    // Whether nothing but grace notes comes before the event in its measure, in its voice.
    bool OpensMeasure(size_t event) const;
    // The tie into the start of the first ending that the stop at the start of a later ending
    // plays on, or kNone.
    size_t TieIntoFirstEnding(size_t event, const Note& stop) const;
    void PairAcrossVoices();
    void PairOtherPitches();
    void Add(const NoteAt& start, const NoteAt& stop, Kind kind);
    void KeepLone(std::vector<NoteAt>& lone, const std::unordered_map<const Note*, size_t>& paired);

    const ImportedScore& score_;
    std::vector<Event> events_;
    std::vector<size_t> previousMain_;  // by event: the last main (not grace) event before it
    std::unordered_map<const Note*, size_t> eventOf_;
    std::vector<Tie> ties_;
    std::unordered_map<const Note*, size_t> from_, into_;
    std::unordered_multimap<const Note*, size_t> endingTies_;  // by start
    std::vector<NoteAt> loneStarts_, loneStops_;
};

}  // namespace plovikxml
