#pragma once

#include <cstdint>

#include "FCCollectionData.h"

class __FCInciOther;

// A collection of records stored as incidences of one item.
class __FCCollectionInciOther : public __FCCollectionData {
  public:
    const char* ClassName() override { return "__FCCollectionInciOther"; }
    // Deletes every record of the item in the host, from the highest incidence down, so that
    // the host's closing of gaps never moves a record not yet deleted. True also when the item
    // had none; false at the first host failure (no rollback).
    virtual bool DeleteDataForItem(uint16_t item);
    // The item's records in incidence order, up to the first missing incidence.
    virtual void LoadAllForItem(uint16_t item);
    // Replaces the item's records in the host by the collection's elements, in order.
    virtual bool SaveAllForItem(uint16_t item);

  private:
    __FCInciOther* _CreateInciElement();
};
