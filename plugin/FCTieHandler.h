#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "FCIteratorHandler.h"
#include "FCKeySignature.h"

// Ties or unties the notes of each entry it visits.
// Tying marks each note tied to an identical pitch in the following entry; untying clears
// every note of the entry. Every entry whose ties it touched is marked for the host. Notes on
// either side of a barline are each read in the key of their own measure, which it reads from
// the host once per measure for as long as it lives.
class FCTieHandler : public FCIteratorHandler {
  public:
    explicit FCTieHandler(bool tie) : _tie(tie) {}

    bool Iterate(__FCBase* item) override;
    bool GetTie() const { return _tie; }

  private:
    // The key of the measure's record; null when the record does not load.
    const FCKeySignature* _KeyOf(int16_t measure);

    bool _tie;
    std::map<int16_t, std::unique_ptr<FCKeySignature>> _keys;
};
