#include "FCBaseData.h"

#include <algorithm>
#include <cstring>

#include "finalepdk.h"

uint32_t __FCBaseData::EnigmaVersion() {
    return FRAMEWORK_ENIGMA_VERSION;
}

bool __FCBaseData::LoadDataBlock() {
    if (_dataBuffer && IsDynamicSize()) ClearData();
    if (!_dataBuffer) _dataBuffer = Allocate();
    int32_t capacity = DataSizeLoad();
    if (IsDynamicSize()) capacity = std::min(capacity, _dynamicCapacity);
    if (!_dataBuffer || capacity < 0) capacity = 0;
    int32_t size = capacity;
    _loadFailed = FX_LoadEData(Tag(), _recordKey, _dataBuffer, &size, EnigmaVersion()) == 0;
    if (_loadFailed) {
        _dataSize = 0;
        return false;
    }
    // The host reports what it delivered; never believe more than the room it was given.
    _dataSize = std::clamp<int32_t>(size, 0, capacity);
    return true;
}

bool __FCBaseData::Save() {
    if (_dataSize <= 0) return false;
    return FX_SaveEData(Tag(), _recordKey, _dataBuffer, DataSizeSave(), EnigmaVersion()) != 0;
}

bool __FCBaseData::LoadNext() {
    if (FX_NextEData(Tag(), _recordKey, nullptr, 0, EnigmaVersion()) == 0) return false;
    return LoadDataBlock();
}

bool __FCBaseData::DeleteData() {
    return FX_DeleteEData(Tag(), _recordKey, EnigmaVersion()) != 0;
}

void __FCBaseData::ClearData() {
    Deallocate();
    _dataBuffer = nullptr;
    _dataSize = 0;
}

void __FCBaseData::CloneFrom(__FCBaseData* source) {
    std::memcpy(_recordKey, source->_recordKey, sizeof _recordKey);
    _customTag = source->_customTag;
    _loadFailed = source->_loadFailed;
    CloneMemoryFrom(source);
}

__FCBaseData* __FCBaseData::CreateClone() {
    __FCBaseData* clone = CreateObject();
    if (clone) clone->CloneFrom(this);
    return clone;
}

void __FCBaseData::CloneMemoryFrom(__FCBaseData* source) {
    if (IsDynamicSize()) {
        if (source->_dataSize <= 0) return;
        std::memcpy(_NewDynamicBlock(source->_dataSize), source->_dataBuffer,
                    static_cast<size_t>(source->_dataSize));
        return;
    }
    void* own = Allocate();
    std::memcpy(own, source->Allocate(), static_cast<size_t>(DataSizeLoad()));
    _dataBuffer = own;
    _dataSize = DataSizeLoad();
}

void* __FCBaseData::_NewDynamicBlock(int32_t size) {
    _FreeDynamicBlock();
    size = std::max<int32_t>(size, 0);
    // Zeroed, so that bytes the host does not deliver are never uninitialised.
    _dataBuffer = size > 0 ? new uint8_t[static_cast<size_t>(size)]() : nullptr;
    _dynamicCapacity = size;
    _dataSize = size;
    return _dataBuffer;
}

void __FCBaseData::_FreeDynamicBlock() {
    delete[] static_cast<uint8_t*>(_dataBuffer);
    _dataBuffer = nullptr;
    _dynamicCapacity = 0;
    _dataSize = 0;
}

int32_t __FCBaseData::_StoredRecordSize() {
    int32_t size = 0;
    if (FX_LoadEData(Tag(), _recordKey, nullptr, &size, EnigmaVersion()) == 0) return 0;
    return std::max<int32_t>(size, 0);
}
