#include "RecordStore.h"

#include <cstring>
#include <tuple>

namespace plovikhost {

namespace {

template <typename T>
T Read(const void* key, size_t offset) {
    T v;
    std::memcpy(&v, static_cast<const uint8_t*>(key) + offset, sizeof v);
    return v;
}

template <typename T>
void Write(void* key, size_t offset, T v) {
    std::memcpy(static_cast<uint8_t*>(key) + offset, &v, sizeof v);
}

// Which of a, b, c is the incidence, or null for families without one.
int32_t RecordId::*IncidenceOf(KeyFamily family) {
    switch (family) {
        case KeyFamily::OTHER:
        case KeyFamily::ENTRY_DETAIL:
            return &RecordId::b;
        case KeyFamily::DETAIL:
            return &RecordId::c;
        case KeyFamily::GLOBALS:
        case KeyFamily::NUMBER:
        case KeyFamily::STAFF_POINT:
            break;
    }
    return nullptr;
}

bool SameOwner(const RecordId& x, const RecordId& y, int32_t RecordId::*inci) {
    RecordId a = x, b = y;
    a.*inci = 0;
    b.*inci = 0;
    return a == b;
}

}  // namespace

bool RecordId::operator<(const RecordId& o) const {
    return std::tie(tag, a, b, c) < std::tie(o.tag, o.a, o.b, o.c);
}

bool RecordId::operator==(const RecordId& o) const {
    return tag == o.tag && a == o.a && b == o.b && c == o.c;
}

RecordId DecodeKey(uint32_t tag, const void* key) {
    RecordId id;
    id.tag = tag;
    switch (FamilyOfTag(tag)) {
        case KeyFamily::OTHER:
            id.a = Read<uint16_t>(key, 0);
            id.b = Read<int16_t>(key, 2);
            break;
        case KeyFamily::GLOBALS:
            id.a = Read<int16_t>(key, 0);
            break;
        case KeyFamily::DETAIL:
            id.a = Read<uint16_t>(key, 0);
            id.b = Read<uint16_t>(key, 2);
            id.c = Read<int16_t>(key, 4);
            break;
        case KeyFamily::ENTRY_DETAIL:
            id.a = Read<int32_t>(key, 0);
            id.b = Read<int16_t>(key, 4);
            break;
        case KeyFamily::NUMBER:
            id.a = Read<uint16_t>(key, 0);
            break;
        case KeyFamily::STAFF_POINT:
            id.a = Read<uint16_t>(key, 0);
            id.b = Read<int16_t>(key, 2);
            id.c = Read<int32_t>(key, 4);
            break;
    }
    return id;
}

void EncodeKey(const RecordId& id, void* key) {
    switch (FamilyOfTag(id.tag)) {
        case KeyFamily::OTHER:
            Write<uint16_t>(key, 0, static_cast<uint16_t>(id.a));
            Write<int16_t>(key, 2, static_cast<int16_t>(id.b));
            break;
        case KeyFamily::GLOBALS:
            Write<int16_t>(key, 0, static_cast<int16_t>(id.a));
            break;
        case KeyFamily::DETAIL:
            Write<uint16_t>(key, 0, static_cast<uint16_t>(id.a));
            Write<uint16_t>(key, 2, static_cast<uint16_t>(id.b));
            Write<int16_t>(key, 4, static_cast<int16_t>(id.c));
            break;
        case KeyFamily::ENTRY_DETAIL:
            Write<int32_t>(key, 0, id.a);
            Write<int16_t>(key, 4, static_cast<int16_t>(id.b));
            break;
        case KeyFamily::NUMBER:
            Write<uint16_t>(key, 0, static_cast<uint16_t>(id.a));
            break;
        case KeyFamily::STAFF_POINT:
            Write<uint16_t>(key, 0, static_cast<uint16_t>(id.a));
            Write<int16_t>(key, 2, static_cast<int16_t>(id.b));
            Write<int32_t>(key, 4, id.c);
            break;
    }
}

const RecordStore::Bytes* RecordStore::Find(const RecordId& id) const {
    auto it = records_.find(id);
    return it == records_.end() ? nullptr : &it->second;
}

const RecordStore::Bytes* RecordStore::FindAtOrBefore(const RecordId& id) const {
    auto it = records_.upper_bound(id);
    if (it == records_.begin()) return nullptr;
    --it;
    return it->first.tag == id.tag && it->first.a == id.a ? &it->second : nullptr;
}

void RecordStore::Put(const RecordId& id, Bytes bytes) {
    records_[id] = std::move(bytes);
}

bool RecordStore::Erase(const RecordId& id) {
    if (!records_.erase(id)) return false;
    int32_t RecordId::*inci = IncidenceOf(FamilyOfTag(id.tag));
    if (!inci) return true;
    // Later incidences of the same owner move down to close the gap, in ascending order.
    std::vector<RecordId> later;
    for (const auto& entry : records_)
        if (SameOwner(entry.first, id, inci) && entry.first.*inci > id.*inci)
            later.push_back(entry.first);
    for (const RecordId& from : later) {
        RecordId to = from;
        to.*inci -= 1;
        auto node = records_.extract(from);
        node.key() = to;
        records_.insert(std::move(node));
    }
    return true;
}

bool RecordStore::Create(RecordId& id, Bytes bytes) {
    if (!Choose(id)) return false;
    records_[id] = std::move(bytes);
    return true;
}

bool RecordStore::Choose(RecordId& id) const {
    const KeyFamily family = FamilyOfTag(id.tag);
    auto maxOf = [&](int32_t RecordId::*field, auto&& belongs, int32_t none) {
        int32_t best = none;
        for (const auto& entry : records_)
            if (entry.first.tag == id.tag && belongs(entry.first) && entry.first.*field > best)
                best = entry.first.*field;
        return best;
    };
    auto any = [](const RecordId&) { return true; };
    switch (family) {
        case KeyFamily::OTHER:
            if (id.a == 0xFFFF) {
                id.a = maxOf(&RecordId::a, any, 0) + 1;
                if (id.b == -1) id.b = 0;
            } else if (id.b == -1) {
                id.b = maxOf(
                           &RecordId::b, [&](const RecordId& r) { return r.a == id.a; }, -1) +
                       1;
            }
            break;
        case KeyFamily::GLOBALS:
            if (id.a == -1) id.a = maxOf(&RecordId::a, any, -1) + 1;
            break;
        case KeyFamily::DETAIL:
            if (id.b == 0xFFFF) {
                id.b = maxOf(
                           &RecordId::b, [&](const RecordId& r) { return r.a == id.a; }, 0) +
                       1;
                if (id.c == -1) id.c = 0;
            } else if (id.c == -1) {
                id.c = maxOf(
                           &RecordId::c,
                           [&](const RecordId& r) { return r.a == id.a && r.b == id.b; }, -1) +
                       1;
            }
            break;
        case KeyFamily::ENTRY_DETAIL:
            if (id.b == -1)
                id.b = maxOf(
                           &RecordId::b, [&](const RecordId& r) { return r.a == id.a; }, -1) +
                       1;
            break;
        case KeyFamily::NUMBER:
            if (id.a == 0xFFFF) id.a = maxOf(&RecordId::a, any, 0) + 1;
            if (id.a > 0xFFFE) return false;  // no number left to give
            break;
        case KeyFamily::STAFF_POINT:
            break;
    }
    return records_.count(id) == 0;
}

const RecordId* RecordStore::Next(const RecordId& id) const {
    auto it = records_.upper_bound(id);
    if (it == records_.end() || it->first.tag != id.tag) return nullptr;
    return &it->first;
}

const RecordId* RecordStore::Previous(const RecordId& id) const {
    auto it = records_.lower_bound(id);
    if (it == records_.begin()) return nullptr;
    --it;
    return it->first.tag == id.tag ? &it->first : nullptr;
}

std::vector<RecordId> RecordStore::All(uint32_t tag) const {
    std::vector<RecordId> ids;
    for (const auto& entry : records_)
        if (entry.first.tag == tag) ids.push_back(entry.first);
    return ids;
}

}  // namespace plovikhost
