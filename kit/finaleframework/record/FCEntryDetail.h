#pragma once

#include <cstdint>

#include "FCBaseData.h"

class FCNote;
class FCNoteEntry;

// Records of one note entry (entry number, signed 32-bit at +0), stepped by incidence at +4.
class __FCEntryDetail : public __FCBaseData {
  public:
    bool LoadFirst() override;
    // On failure the key names the last record found again.
    bool LoadNext() override;
    // Sets or clears the entry-flag bit that tells the host the entry has records of this kind.
    virtual void _SetEntryFlag(FCNoteEntry* entry, bool state);

    bool Load(int32_t entryNumber, int16_t incidence);
    bool SaveAs(int32_t entryNumber, int16_t incidence);
    // Appends a new record to the records of the entry the key names (the owning entry when it
    // names none) and flags the owning entry.
    bool SaveNew();
    // Whether the note's entry has at least one record of this kind.
    bool _HasAnyMod(FCNote* note);

    FCNoteEntry* GetOwningEntry() const { return _entry; }
    void SetOwningEntry(FCNoteEntry* entry) { _entry = entry; }
    int32_t GetEntryNumber() const;
    int16_t GetIncidence() const;

  protected:
    void _SetEntryKey(int32_t entryNumber, int16_t incidence);
    // The byte count to save: the loaded size, or for a record set up without a load its whole
    // fixed record; 0 when there is nothing to save.
    int32_t _PrepareSave();
    // After the host stored `size` bytes: a record set up without a load now has them.
    void _Stored(int32_t size);
    // The family's bit in the entry flags; each record kind names its own.
    virtual uint32_t _EntryFlagBit() { return 0x00400000; }

    // Large enough for any entry detail record the framework scans.
    static constexpr int32_t kScratchSize = 208;

  private:
    FCNoteEntry* _entry = nullptr;  // not owned; never copied by cloning
};
