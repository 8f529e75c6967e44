#pragma once

#include <cstdint>

#include "FCCollection.h"
#include "FCNote.h"
#include "FXRecords.h"

class FCArticulations;
class FCKeySignature;
class FCNotePitches;

// One entry (a note, a chord or a rest), a view of the host's entry record.
// The record lies inside a loaded entry frame; the entry holds one FCNote per note record in
// use. Every change goes to the host's record in place; the layer or cell that loaded the
// frame stores it.
//
// The record's note count is host data: it is read clamped to 0..12, and an entry without a
// record answers as an entry without notes. The slots of the first ten notes lie inside the
// entry object.
class FCNoteEntry : public __FCCollection {
  public:
    // An entry over a record of a frame: measure and staff are the frame's; notes are built.
    FCNoteEntry(EXENTRY* record, EXTGF2005a* frame);
    // Destroys the cached articulations and the notes; the host's records stay.
    ~FCNoteEntry() override;

    const char* ClassName() override { return "FCNoteEntry"; }

    FCNote* GetItemAt(int index) const {
        return static_cast<FCNote*>(__FCCollection::GetItemAt(index));
    }
    int GetNoteCount() const { return GetCount(); }

    EXENTRY* GetEntryRecord() const { return _entryRecord; }
    EXTGF2005a* GetFrame() const { return _frame; }
    int16_t GetMeasure() const { return _measure; }
    // The staff, as an instrument number.
    int16_t GetStaff() const { return _instrument; }
    int32_t GetEntryNumber() const;
    int32_t GetMeasurePos() const;
    int16_t GetDuration() const;
    bool IsNote() const;
    // A record that holds no notes; an entry without a record is neither note nor rest.
    bool IsRest() const;
    FCNoteEntry* Next() const { return _next; }
    FCNoteEntry* Previous() const { return _previous; }
    void _SetNext(FCNoteEntry* entry) { _next = entry; }
    void _SetPrevious(FCNoteEntry* entry) { _previous = entry; }

    // Points the entry at another record (a frame reloaded, or an entry array the host moved).
    // Notes keep their objects and indices when the new record holds as many notes.
    void _Repoint(EXENTRY* record, EXTGF2005a* frame);

    void _UpdateNoteCollection();
    void _PackEXENTRYNotes();
    int16_t _FindUniqueNoteID() const;
    FCNote* AddNewNote();
    bool DeleteNote(FCNote* note);
    void TieAll(bool state);
    bool IsTied() const;
    FCNote* FindPitch(FCNote* note) const;
    // The same with `note` read in `noteKey` and this entry's notes in `ownKey`, the keys of
    // their measures (null: not found); see FCNote::IsIdenticalPitch.
    FCNote* FindPitch(FCNote* note, const FCKeySignature* noteKey,
                      const FCKeySignature* ownKey) const;
    FCNote* FindHighestNote(FCNote* below) const;
    FCNote* FindLowestNote() const;
    int16_t CalcHighestDisplacement() const;
    int16_t CalcDisplacementRange() const;
    bool CalcFlippable() const;
    bool CalcStemUp() const;
    void SetAccidentals(bool state);
    void CopyNotes(FCNoteEntry* source);
    void CopyNote(FCNote* note);
    int32_t AddPitches(FCNoteEntry* source);
    bool AddPitch(FCNote* note);
    void MakeRest();
    void MakeMovableRest();
    FCNoteEntry* CreateShallowClone() const;
    FCNotePitches* CreateNotePitches() const;
    bool _GetTupletDef(int16_t incidence, EDTTuplet2005* out) const;
    int32_t _CalcTGFIndex() const;

    // Copies the source's articulations (its cache, else those stored for it) after this
    // entry's own, which must be numbered. With `skip`, definitions this entry already shows
    // are left out. The number stored.
    int32_t AddArticulations(FCNoteEntry* source, bool skip);
    // Loads this entry's articulations into a cache of its own; when none load, the cache it
    // had stays.
    void CacheArticulations();
    FCArticulations* GetCachedArticulations() const { return _cachedArticulations; }

  private:
    // The record's note count, clamped to what a record can hold.
    int _RecordNoteCount() const;
    void _SetEntryFlag(uint32_t mask, bool state);
    uint32_t _Flags() const;

    EXENTRY* _entryRecord;
    EXTGF2005a* _frame;
    int16_t _measure = 0;
    int16_t _instrument = 0;
    FCNoteEntry* _previous = nullptr;
    FCNoteEntry* _next = nullptr;
    FCArticulations* _cachedArticulations = nullptr;  // owned
    __FCBase* _noteSlots[INLINE_SLOTS];               // lent to the collection
};
