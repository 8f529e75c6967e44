#pragma once

#include <cstdint>

#include "FCEntryDetail.h"

// Entry detail records that each belong to one note of the entry.
// They are told apart by the note ID stored inside the record. A record kind says where the
// ID lives and which note flag marks it.
class __FCEntryDetailNoteID : public __FCEntryDetail {
  public:
    virtual void _SetNoteID(int16_t id) = 0;
    virtual bool _MatchesNoteID(void* record, int16_t id) = 0;
    virtual void _SetNoteFlag(FCNote* note, bool state) = 0;

    // The incidence of the note's record among its entry's records, or -1.
    int _ScanForNoteID(FCNote* note);
    // Saves this record as the note's own: over its record, or as a new one.
    bool SaveAt(FCNote* note);
    // Deletes the note's record; the note's flag is cleared when the entry has none left.
    bool EraseAt(FCNote* note);
};
