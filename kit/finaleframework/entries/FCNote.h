#pragma once

#include <cstdint>

#include "FCBase.h"
#include "FXRecords.h"

class FCKeySignature;
class FCNoteEntry;

// One note of an entry, a view of its note record.
// The note record lies inside the host's entry record and is changed in place. It owns
// nothing; its entry owns it.
class FCNote : public __FCBase {
  public:
    FCNote(int32_t noteIndex, NOTERECORD* record, FCNoteEntry* entry)
        : _noteIndex(noteIndex), _noteRecord(record), _entry(entry) {}

    const char* ClassName() override { return "FCNote"; }

    int16_t GetDisplacement() const { return _noteRecord->displacement; }
    void SetDisplacement(int16_t value) { _noteRecord->displacement = value; }
    int16_t GetRaiseLower() const { return _noteRecord->raiseLower; }
    void SetRaiseLower(int16_t value) { _noteRecord->raiseLower = value; }
    int16_t GetNoteID() const { return _noteRecord->noteID; }
    void SetNoteID(int16_t value) { _noteRecord->noteID = value; }
    bool IsTied() const { return (_noteRecord->flags & NOTE_FLAG_TIE) != 0; }
    void SetTie(bool state);
    bool GetAccidental() const { return (_noteRecord->flags & NOTE_FLAG_ACCIDENTAL) != 0; }
    void SetAccidental(bool state);

    // The owning entry; null for a detached pitch.
    FCNoteEntry* GetEntry() const { return _entry; }
    int32_t GetNoteIndex() const { return _noteIndex; }
    NOTERECORD* _GetNoteRecord() const { return _noteRecord; }
    void _SetNoteRecord(NOTERECORD* record) { _noteRecord = record; }
    bool _IsDeleted() const { return _deleted; }
    void _SetDeleted(bool state) { _deleted = state; }

    // The entry number of the owning entry's record; 0 without one.
    int32_t _GetEntryNumber() const;
    // Entry flags of the owning entry's record; nothing happens for a detached pitch.
    void _SetNoteDetailEntryFlag(bool state);
    void _SetSpecialAltsEntryFlag(bool state);
    void _SetArticulationEntryFlag(bool state);

    bool IsIdenticalPitch(FCNote* other) const;
    // Identical pitch, each note read in the key of its own measure (null: a key not found).
    // Under two major or minor keys of different values the written pitches compare; inside
    // one key, and wherever a key is unknown or not major or minor, the stored halves.
    bool IsIdenticalPitch(FCNote* other, const FCKeySignature* key,
                          const FCKeySignature* otherKey) const;
    bool IsLowerPitchThan(FCNote* other) const;

    // The pitch in the key of the entry's measure (C major when the measure record does not
    // load), read only. The letter 'A'..'G', 0 for a rest.
    char CalcPitchChar() const;
    // The raise/lower value with the key's accidentals added: 0 for a rest or a key that is not
    // major or minor.
    int16_t CalcPitchRaiseLower() const;
    // The displacement moved by the key's tonic, the clef in force at the entry and the
    // transposition of the staff there.
    int16_t CalcActualDisplacement() const;

    // The pitch the stored halves stand for under a major or minor key: the step counted from
    // middle C (the displacement plus the tonic's step above C) and the alteration with the
    // key's accidentals, as CalcPitchRaiseLower gives it.
    struct WrittenPitch {
        int32_t step;
        int32_t alteration;
        bool operator==(const WrittenPitch& o) const {
            return step == o.step && alteration == o.alteration;
        }
    };
    WrittenPitch CalcWrittenPitch(const FCKeySignature& key) const;

  protected:
    void _SetEntryFlag(uint32_t mask, bool state);

    bool _deleted = false;
    int32_t _noteIndex;
    NOTERECORD* _noteRecord;
    FCNoteEntry* _entry;
};
