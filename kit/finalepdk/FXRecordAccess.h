// Reading and writing fields of host records by byte offset. Host records are packed and their
// fields are often unaligned (an entry record is 146 bytes long), so fields are only ever
// accessed through memcpy, never through a dereferenced typed pointer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

template <typename T>
inline T FXRead(const void* record, size_t offset) {
    T value;
    std::memcpy(&value, static_cast<const uint8_t*>(record) + offset, sizeof(T));
    return value;
}

template <typename T>
inline void FXWrite(void* record, size_t offset, T value) {
    std::memcpy(static_cast<uint8_t*>(record) + offset, &value, sizeof(T));
}

// The address of a field, for the flag setters (which use memcpy). Never dereference it.
template <typename T>
inline T* FXAt(void* record, size_t offset) {
    return reinterpret_cast<T*>(static_cast<uint8_t*>(record) + offset);
}

// The address of a member of a packed host record (see FXRecords.h), for the flag setters.
#define FX_FIELD(record, Type, member) \
    FXAt<decltype(Type::member)>((record), offsetof(Type, member))
