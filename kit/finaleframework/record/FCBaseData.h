#pragma once

#include <cstdint>

#include "FCBase.h"

// Base of every object that mirrors one host data record.
// It holds the record's bytes exactly as the host lays them out, the 8-byte record key that
// names it, and the load/save/next/delete/clone protocol. Concrete classes say which record
// they are; the key families address it.
class __FCBaseData : public __FCBase {
  public:
    __FCBaseData() = default;

    const char* ClassName() override { return "__FCBaseData"; }
    virtual uint32_t Tag() = 0;
    virtual uint32_t EnigmaVersion();
    // Bytes offered to the host on load.
    virtual int32_t DataSizeLoad() = 0;
    // Bytes handed to the host on save.
    virtual int32_t DataSizeSave() { return _dataSize; }
    // The buffer to load into: the member record of a fixed-size class, a new block otherwise.
    virtual void* Allocate() = 0;
    virtual void Deallocate() {}
    virtual bool IsDynamicSize() { return false; }
    // A new, empty object of the same concrete class (null where cloning is not possible).
    virtual __FCBaseData* CreateObject() = 0;
    // Fixed size: copies the whole member record of the source, loaded or not.
    // Dynamic size: copies the source's valid bytes into a new block.
    virtual void CloneMemoryFrom(__FCBaseData* source);
    ~__FCBaseData() override = default;
    virtual bool Save();
    virtual bool LoadFirst() = 0;
    // Lets the host step the key to the next record of this tag, then loads it.
    virtual bool LoadNext();

    // Loads the record the key names; the key must already be set.
    bool LoadDataBlock();
    bool DeleteData();
    void ClearData();
    void CloneFrom(__FCBaseData* source);
    __FCBaseData* CreateClone();

    uint32_t GetCustomTag() const { return _customTag; }
    void SetCustomTag(uint32_t tag) { _customTag = tag; }
    void* GetDataBuffer() const { return _dataBuffer; }
    int32_t GetDataSize() const { return _dataSize; }
    uint8_t* GetRecordKey() { return _recordKey; }

  protected:
    // Dynamic-size classes allocate and free their block only through these, so that a load
    // never offers the host more room than the block has.
    void* _NewDynamicBlock(int32_t size);
    void _FreeDynamicBlock();
    // The size of the record the key names, as the host stores it; 0 when there is none.
    int32_t _StoredRecordSize();

    uint32_t _customTag = 0;
    void* _dataBuffer = nullptr;
    int32_t _dataSize = 0;
    uint8_t _recordKey[8] = {};
    // The last load under the key failed: the key names no record this object holds, whatever
    // is set in its buffer since. Clones keep it with the key.
    bool _loadFailed = false;

  private:
    int32_t _dynamicCapacity = 0;
};
