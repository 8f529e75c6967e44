#pragma once

#include "FCIteratorHandler.h"

// Visits the entries of a region: ties each note to an identical pitch in the following entry,
// or unties every note of the entry. Every entry whose ties it touched is marked for the host.
class FCTieHandler : public FCIteratorHandler {
  public:
    explicit FCTieHandler(bool tie) : _tie(tie) {}

    bool Iterate(__FCBase* item) override;
    bool GetTie() const { return _tie; }

  private:
    bool _tie;
};
