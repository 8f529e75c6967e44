// Data records of the current document, by tag and record key.
#include <algorithm>
#include <cstring>
#include <string>

#include "Services.h"
#include "SubstituteHost.h"

namespace plovikhost::svc {

namespace {
RecordStore& Store() {
    return H().CurrentDocument().records;
}

// The key as the call found it, for the log: the family's numbers, "a,b,c"; nothing when the
// log keeps no calls.
std::string KeyText(uint32_t tag, const void* key) {
    if (!key || !H().keepCalls) return "";
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

// Records whose layout depends on the version the caller speaks: a caller that offers or hands
// over a block of another size has mixed up the layouts.
struct VersionedLayout {
    uint32_t tag;
    uint32_t fromVersion;  // this size from this version on, the other size before it
    int32_t sizeFrom;
    int32_t sizeBefore;
};
constexpr VersionedLayout kVersionedLayouts[] = {
    {0x534F4D4E, 0x0F000000, 196, 88},  // measure number regions
};

void CheckLayout(const char* name, uint32_t tag, int32_t size, uint32_t version) {
    if (size <= 0) return;
    for (const VersionedLayout& row : kVersionedLayouts) {
        if (row.tag != tag) continue;
        const int32_t expected = version >= row.fromVersion ? row.sizeFrom : row.sizeBefore;
        if (size != expected)
            H().ReportProblem(std::string(name) + ": a block of " + std::to_string(size) +
                              " bytes for tag " + std::to_string(tag) + " with version " +
                              std::to_string(version));
    }
}

// The record a load means: the record under the key, or, for records in force at a point, the
// latest one at or before it (else the underlying record of the staff).
const RecordStore::Bytes* FindForLoad(uint32_t tag, const void* key) {
    const RecordId id = DecodeKey(tag, key);
    if (FamilyOfTag(tag) != KeyFamily::STAFF_POINT) return Store().Find(id);
    if (const RecordStore::Bytes* bytes = Store().FindAtOrBefore(id)) return bytes;
    const uint32_t underlying = UnderlyingTagOf(tag);
    return underlying ? Store().Find(RecordId{underlying, id.a, 0, 0}) : nullptr;
}

int32_t Step(const char* name, bool forward, uint32_t tag, void* key, void* buffer, int32_t size,
             uint32_t version) {
    H().Log(name, {tag, P(key), P(buffer), size, version}, KeyText(tag, key), key);
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
    H().Log("FX_LoadEData", {tag, P(key), P(buffer), size ? *size : -1, version}, KeyText(tag, key),
            key);
    if (!key) return 0;
    if (buffer && size) CheckLayout("FX_LoadEData", tag, *size, version);
    const RecordStore::Bytes* bytes = FindForLoad(tag, key);
    if (!bytes) {
        if (H().scribbleOnFailedLoads && buffer && size && *size > 0)
            std::memset(buffer, 0xA5, static_cast<size_t>(*size));
        return 0;
    }
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
    H().Log("FX_SaveEData", {tag, P(key), P(buffer), size, version}, KeyText(tag, key), key);
    if (!key || !buffer || size < 0) return 0;
    CheckLayout("FX_SaveEData", tag, size, version);
    const RecordId id = DecodeKey(tag, key);
    if (!Store().Find(id)) return 0;  // saving never creates
    Store().Put(id, BytesOf(buffer, size));
    return 1;
}

int32_t FX_STDCALL CreateEData(uint32_t tag, void* key, void* buffer, int32_t size,
                               uint32_t version) {
    H().Log("FX_CreateEData", {tag, P(key), P(buffer), size, version}, KeyText(tag, key), key);
    if (!key || size < 0) return 0;
    CheckLayout("FX_CreateEData", tag, size, version);
    RecordId id = DecodeKey(tag, key);
    // Records of an entry need the entry.
    if (FamilyOfTag(tag) == KeyFamily::ENTRY_DETAIL &&
        !H().CurrentDocument().HasEntry(static_cast<uint32_t>(id.a)))
        return 0;
    if (!Store().Choose(id)) return 0;
    if (H().refuseCreateEData && H().refuseCreateEData(id)) return 0;
    Store().Put(id, BytesOf(buffer, size));
    EncodeKey(id, key);
    return 1;
}

int32_t FX_STDCALL DeleteEData(uint32_t tag, void* key, uint32_t version) {
    H().Log("FX_DeleteEData", {tag, P(key), version}, KeyText(tag, key), key);
    if (!key) return 0;
    const RecordId id = DecodeKey(tag, key);
    if (H().refuseDeleteEData && H().refuseDeleteEData(id)) return 0;
    return Store().Erase(id) ? 1 : 0;
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
