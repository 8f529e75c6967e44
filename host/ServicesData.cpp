// Data records of the current document, by tag and record key.
#include <algorithm>
#include <cstring>
#include <string>

#include "Services.h"
#include "SubstituteHost.h"

namespace plovikhost::svc {

namespace {
Host& H() {
    return Host::Get();
}
RecordStore& Store() {
    return H().CurrentDocument().records;
}
int64_t P(const void* p) {
    return static_cast<int64_t>(reinterpret_cast<intptr_t>(p));
}

// The key as the call found it, for the log: the family's numbers, "a,b,c".
std::string KeyText(uint32_t tag, const void* key) {
    if (!key) return "";
    const RecordId id = DecodeKey(tag, key);
    return std::to_string(id.a) + "," + std::to_string(id.b) + "," + std::to_string(id.c);
}

RecordStore::Bytes BytesOf(const void* buffer, int32_t size) {
    if (!buffer || size <= 0) return {};
    const uint8_t* p = static_cast<const uint8_t*>(buffer);
    return RecordStore::Bytes(p, p + size);
}

// Delivers a record into a caller's buffer of the given capacity.
void Deliver(const RecordStore::Bytes& bytes, void* buffer, int32_t capacity) {
    if (!buffer || capacity <= 0) return;
    std::memcpy(buffer, bytes.data(),
                std::min<size_t>(bytes.size(), static_cast<size_t>(capacity)));
}

int32_t Step(const char* name, bool forward, uint32_t tag, void* key, void* buffer, int32_t size,
             uint32_t version) {
    H().Log(name, {tag, P(key), P(buffer), size, version}, KeyText(tag, key));
    if (!key) return 0;
    const RecordId at = DecodeKey(tag, key);
    const RecordId* next = forward ? Store().Next(at) : Store().Previous(at);
    if (!next) return 0;
    EncodeKey(*next, key);
    Deliver(*Store().Find(*next), buffer, size);
    return 1;
}
}  // namespace

int32_t FX_STDCALL LoadEData(uint32_t tag, void* key, void* buffer, int32_t* size,
                             uint32_t version) {
    H().Log("FX_LoadEData", {tag, P(key), P(buffer), size ? *size : -1, version},
            KeyText(tag, key));
    if (!key) return 0;
    const RecordStore::Bytes* bytes = Store().Find(DecodeKey(tag, key));
    if (!bytes) return 0;
    const int32_t stored = static_cast<int32_t>(bytes->size());
    if (!buffer) {
        if (size) *size = stored;
        return 1;
    }
    const int32_t capacity = size ? std::max(*size, 0) : 0;
    Deliver(*bytes, buffer, capacity);
    if (size) *size = std::min(stored, capacity);
    return 1;
}

int32_t FX_STDCALL SaveEData(uint32_t tag, void* key, void* buffer, int32_t size,
                             uint32_t version) {
    H().Log("FX_SaveEData", {tag, P(key), P(buffer), size, version}, KeyText(tag, key));
    if (!key || !buffer || size < 0) return 0;
    const RecordId id = DecodeKey(tag, key);
    if (!Store().Find(id)) return 0;  // saving never creates
    Store().Put(id, BytesOf(buffer, size));
    return 1;
}

int32_t FX_STDCALL CreateEData(uint32_t tag, void* key, void* buffer, int32_t size,
                               uint32_t version) {
    H().Log("FX_CreateEData", {tag, P(key), P(buffer), size, version}, KeyText(tag, key));
    if (!key || size < 0) return 0;
    RecordId id = DecodeKey(tag, key);
    if (!Store().Create(id, BytesOf(buffer, size))) return 0;
    EncodeKey(id, key);
    return 1;
}

int32_t FX_STDCALL DeleteEData(uint32_t tag, void* key, uint32_t version) {
    H().Log("FX_DeleteEData", {tag, P(key), version}, KeyText(tag, key));
    if (!key) return 0;
    return Store().Erase(DecodeKey(tag, key)) ? 1 : 0;
}

int32_t FX_STDCALL NextEData(uint32_t tag, void* key, void* buffer, int32_t size,
                             uint32_t version) {
    return Step("FX_NextEData", true, tag, key, buffer, size, version);
}

int32_t FX_STDCALL PreviousEData(uint32_t tag, void* key, void* buffer, int32_t size,
                                 uint32_t version) {
    return Step("FX_PreviousEData", false, tag, key, buffer, size, version);
}

}  // namespace plovikhost::svc
