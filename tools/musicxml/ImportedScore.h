// What the reader took from a MusicXML score into the host's document, and where each piece
// came from: every staff's part, every entry's place in time, and for every imported note the
// XML element it was read from. The writer and the report work from this.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

#include "Document.h"
#include "Fraction.h"

namespace plovikxml {

class ImportedScore {
  public:
    // One staff of the document, by slot.
    struct Staff {
        std::string partId;
        std::string partName;
        int staffInPart = 1;
        int stavesInPart = 1;
        // "staff 2 (Piano, staff 1)"; "staff 1 (Flute)" for a part of one staff.
        std::string Label(int slot) const;
    };

    struct Note {
        size_t at = 0;  // where the <note> element begins in the score's text
        // As written: step above C (C 0 ... B 6), alteration in semitones, octave (4 holds
        // middle C).
        int step = 0;
        Fraction alter;
        int octave = 4;
        // As the host holds it, relative to the key of the measure.
        int16_t displacement = 0;
        int16_t raiseLower = 0;
        bool tied = false;  // a tie started here when the score was read
        // The tie marks the note carries in the file.
        enum Mark : uint8_t {
            TIE_START = 1,
            TIE_STOP = 2,
            TIED_START = 4,
            TIED_STOP = 8,
            LET_RING = 16,         // <tied type="let-ring"/>: rings on, ties to nothing
            DUPLICATE_START = 32,  // a start (<tie> or <tied>) written twice
            DUPLICATE_STOP = 64,
        };
        uint8_t marks = 0;
        bool rest = false;  // a rest that carries tie marks; it has no pitch

        bool Starts() const { return (marks & (TIE_START | TIED_START)) != 0; }
        bool Stops() const { return (marks & (TIE_STOP | TIED_STOP)) != 0; }

        bool SameWrittenPitch(const Note& o) const {
            return step == o.step && octave == o.octave && alter == o.alter;
        }
        bool SameHostPitch(const Note& o) const {
            return displacement == o.displacement && raiseLower == o.raiseLower;
        }
        // The same sound, spelled alike or not (F#4 and Gb4).
        bool SameSound(const Note& o) const;
        // "C#4", "Bb5"; a microtone as "C4+1/2".
        std::string Name() const;
    };

    struct Entry {
        // A gap is the silence between a voice's notes, or stands in for a note the host cannot
        // hold. Grace and cue notes, and what the host cannot hold, are not in the document:
        // they are kept in `others`, for the tie marks they carry.
        enum Kind : uint8_t { NOTES, REST, GAP, GRACE, CUE, LEFT_OUT };
        uint32_t number = 0;  // the entry number in the document
        uint32_t order = 0;   // in file order among the entries of its part
        int16_t slot = 0;
        int16_t layer = 0;
        int16_t measure = 0;
        Kind kind = NOTES;
        Fraction start;   // in quarter notes from the start of the measure
        Fraction length;  // in quarter notes
        Fraction at;      // in quarter notes from the start of the part
        std::string voice;
        std::vector<Note> notes;
    };

    // What the host holds otherwise than the file says, one line per staff and measure (slot
    // 0 for every staff): "staff 2 (Piano, staff 1), measure 14: voice 5 is left out, ..."
    struct Notice {
        int16_t slot = 0;
        int16_t measure = 0;
        std::string text;
    };

    std::vector<Staff> staves;  // slot 1 first
    // The file's number of each measure ("1", "12a", "0" for a pick-up), measure 1 first.
    std::vector<std::string> measureNumbers;
    // Entries by layer: slot 1 layer 0 first, each layer in time; gaps included.
    std::vector<Entry> entries;
    // Grace and cue notes, notes the host does not hold, by staff and in time.
    std::vector<Entry> others;
    std::vector<Notice> notices;
    // Each measure that begins a second or later ending, with the measure that begins the
    // first ending of its group: a tie into the first ending is played on into each of them.
    std::map<int16_t, int16_t> laterEndings;

    const Entry* FindEntry(uint32_t number) const;
    // The first note of the entry (notes only) of the note's written pitch, passing over those
    // in `taken`; null when there is none.
    static const Note* OfWrittenPitch(const Entry* entry, const Note& note,
                                      const std::unordered_set<const Note*>* taken = nullptr);
    // The entry after this one in its staff and layer, or null. Gaps count as entries.
    const Entry* Next(const Entry& entry) const;
    // The first entry of that staff and layer that starts at this time of the part, or null.
    const Entry* EntryAt(int16_t slot, int16_t layer, const Fraction& at) const;
    // "measure 3", with the file's own number when it differs: "measure 1 (numbered 0)".
    std::string MeasureLabel(int16_t measure) const;
    // "staff 2 (Piano, staff 1), measure 3, beat 1, voice 1" in the measure's own beats.
    std::string Place(const plovikhost::Document& doc, const Entry& entry) const;
    // "staff 2 (Piano, staff 1), measure 14: ..." or "measure 3: ...".
    std::string NoticeLine(const Notice& notice) const;
    // Whether the entry starts inside the region, as the plug-in counts it.
    static bool InRegion(const Entry& entry, const EREGION& region);

    // Built by the reader: the range of each layer in `entries`, and the first entry number.
    void Index();

  private:
    size_t IndexOf(const Entry& entry) const;
    struct Range {
        size_t begin = 0;
        size_t end = 0;
    };
    std::vector<Range> layers_;  // by (slot - 1) * 4 + layer
    uint32_t firstNumber_ = 0;
};

}  // namespace plovikxml
