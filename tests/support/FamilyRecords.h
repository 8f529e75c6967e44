// Small record kinds, one per key family, for the tests of the families and data collections.
#pragma once

#include <cstdint>

#include "FCCellDetail.h"
#include "FCGlobals.h"
#include "FCInciOther.h"
#include "FCNoInciDetail.h"
#include "FCNoInciOther.h"

inline constexpr uint32_t kTagItems = 0x54535431;       // T S T 1: (item, 0)
inline constexpr uint32_t kTagIncis = 0x54535432;       // T S T 2: (item, incidence)
inline constexpr uint32_t kTagGlobals = 0x67626366;     // the host keeps it as globals
inline constexpr uint32_t kTagCellDetail = 0x64744D45;  // the host keeps it as a cell detail

template <class Family>
class FourByteRecord : public Family {
  public:
    uint32_t Tag() override { return this->_customTag ? this->_customTag : tag; }
    int32_t DataSizeLoad() override { return 4; }
    void* Allocate() override { return record; }
    uint8_t record[4] = {};
    uint32_t tag = 0;
};

struct ItemRecord : FourByteRecord<__FCNoInciOther> {
    ItemRecord() { tag = kTagItems; }
    __FCBaseData* CreateObject() override { return new ItemRecord; }
};

struct IncidenceRecord : FourByteRecord<__FCInciOther> {
    IncidenceRecord() { tag = kTagIncis; }
    __FCBaseData* CreateObject() override { return new IncidenceRecord; }
};

struct GlobalRecord : FourByteRecord<__FCGlobals> {
    GlobalRecord() { tag = kTagGlobals; }
    __FCBaseData* CreateObject() override { return new GlobalRecord; }
};

struct CellRecord : FourByteRecord<__FCCellDetail> {
    CellRecord() { tag = kTagCellDetail; }
    __FCBaseData* CreateObject() override { return new CellRecord; }
};

struct PairRecord : FourByteRecord<__FCNoInciDetail> {
    PairRecord() { tag = kTagCellDetail; }
    __FCBaseData* CreateObject() override { return new PairRecord; }
    bool LoadFirst() override { return false; }
};
