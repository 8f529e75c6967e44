#include "FrameTable.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "SubstituteHost.h"

namespace plovikhost {

namespace {

template <typename T>
T* NewBlock(const std::vector<T>& items) {
    if (items.empty()) return nullptr;
    T* block = new T[items.size()];
    std::copy(items.begin(), items.end(), block);
    return block;
}

int16_t CountOf(size_t n) {
    return static_cast<int16_t>(std::min<size_t>(n, INT16_MAX));
}

// What is wrong with an entry by the cleaning's measure, or null.
const char* Unclean(const EXENTRY& entry) {
    const int n = EntryNoteCount(&entry);
    if (n == 0) return "a rest without its note record";
    const NOTERECORD zero{};
    for (int k = n; k < EXENTRY_MAX_NOTES; ++k)
        if (std::memcmp(&entry.notes[k], &zero, sizeof zero) != 0)
            return "an unused note record that is not zero";
    for (int k = 0; k < n; ++k) {
        const NOTERECORD& note = entry.notes[k];
        const uint32_t idBits = (static_cast<uint32_t>(static_cast<uint16_t>(note.noteID)) & 0x1Fu)
                                << 16;
        if ((note.flags & NOTE_FLAG_ID_BITS) != idBits) return "note flags without the note's ID";
        if (note.noteID == 0) {
            const bool restRecord = n == 1 && (entry.flags & ENTRY_FLAG_REST_RECORD) &&
                                    note.flags == NOTE_FLAG_CREATED && note.displacement == 0 &&
                                    note.raiseLower == 0;
            if (!restRecord) return "a note without an ID";
        }
        for (int j = k + 1; j < n; ++j)
            if (entry.notes[j].noteID == note.noteID) return "two notes with one ID";
    }
    return nullptr;
}

}  // namespace

EXTGF2005a* FrameTable::Hand(const FrameRecord& where, const Cell& cell) {
    FrameRecord record = where;
    std::vector<EXENTRY> entries(cell.entries.begin(),
                                 cell.entries.begin() + CountOf(cell.entries.size()));
    record.entries = NewBlock(entries);
    record.entryCount = CountOf(entries.size());
    record.tuplets = NewBlock(cell.tuplets);
    record.tupletCount = CountOf(cell.tuplets.size());

    EXTGF2005a* frame = new EXTGF2005a{};
    frame->instrumentList = record.list;
    frame->slot = record.slot;
    frame->measure = record.measure;
    frame->layer = record.layer;
    frame->entries = record.entries;
    frame->entryCount = record.entryCount;
    frame->tuplets = record.tuplets;
    frame->tupletCount = record.tupletCount;

    // The allocator may hand out the address of a frame freed before: it is a new frame now.
    freed_.erase(frame);
    live_[frame] = record;
    ++handedOut_;
    return frame;
}

FrameRecord* FrameTable::Check(const char* service, const EXTGF2005a* frame) {
    auto it = live_.find(frame);
    if (it != live_.end()) return &it->second;
    std::string problem = service;
    if (!frame)
        problem += " was given a null frame";
    else if (freed_.count(frame))
        problem += " was given a frame that was already freed";
    else
        problem += " was given a frame the host never handed out";
    Host::Get().ReportProblem(problem);
    return nullptr;
}

void FrameTable::CheckClean(const char* service, const EXTGF2005a* frame) const {
    const FrameRecord* record = Find(frame);
    if (!record || frame->entries != record->entries) return;
    const int count = std::min<int>(FrameEntryCount(frame), record->entryCount);
    for (int i = 0; i < count; ++i) {
        if (const char* what = Unclean(record->entries[i])) {
            Host::Get().ReportProblem(std::string(service) + " was given a frame not cleaned: " +
                                      what + " in entry " + std::to_string(i));
            return;
        }
    }
}

bool FrameTable::Free(const char* service, EXTGF2005a* frame) {
    if (!Check(service, frame)) return false;
    auto it = live_.find(frame);
    Release(it->second);
    live_.erase(it);
    delete frame;
    Forget(frame);
    return true;
}

void FrameTable::Forget(const EXTGF2005a* frame) {
    const Freed latest{frame, ++freeSerial_};
    freed_[frame] = latest.serial;
    if (freedOrder_.size() < kFreedRemembered) {
        freedOrder_.push_back(latest);
        return;
    }
    const Freed oldest = freedOrder_[freedNext_];
    const auto it = freed_.find(oldest.frame);
    if (it != freed_.end() && it->second == oldest.serial) freed_.erase(it);
    freedOrder_[freedNext_] = latest;
    freedNext_ = (freedNext_ + 1) % kFreedRemembered;
}

void FrameTable::Replace(EXTGF2005a* frame, const std::vector<EXENTRY>& entries,
                         const std::vector<TGFTUPLETITEM>& tuplets) {
    auto it = live_.find(frame);
    if (it == live_.end()) return;
    FrameRecord& record = it->second;
    // The new blocks are taken while the old ones are still held, so that their addresses
    // differ whatever the allocator reuses.
    EXENTRY* newEntries = NewBlock(entries);
    TGFTUPLETITEM* newTuplets = NewBlock(tuplets);
    Release(record);
    record.entries = newEntries;
    record.entryCount = CountOf(entries.size());
    record.tuplets = newTuplets;
    record.tupletCount = CountOf(tuplets.size());
    frame->entries = record.entries;
    frame->entryCount = record.entryCount;
    frame->tuplets = record.tuplets;
    frame->tupletCount = record.tupletCount;
}

std::vector<EXENTRY> FrameTable::EntriesOf(const FrameRecord& record) {
    if (!record.entries || record.entryCount <= 0) return {};
    return std::vector<EXENTRY>(record.entries, record.entries + record.entryCount);
}

std::vector<TGFTUPLETITEM> FrameTable::TupletsOf(const FrameRecord& record) {
    if (!record.tuplets || record.tupletCount <= 0) return {};
    return std::vector<TGFTUPLETITEM>(record.tuplets, record.tuplets + record.tupletCount);
}

const FrameRecord* FrameTable::Find(const EXTGF2005a* frame) const {
    auto it = live_.find(frame);
    return it == live_.end() ? nullptr : &it->second;
}

void FrameTable::Clear() {
    for (auto& entry : live_) {
        Release(entry.second);
        delete entry.first;
    }
    live_.clear();
    freed_.clear();
    freedOrder_.clear();
    freedNext_ = 0;
    handedOut_ = 0;
}

void FrameTable::Release(FrameRecord& record) {
    delete[] record.entries;
    delete[] record.tuplets;
    record.entries = nullptr;
    record.tuplets = nullptr;
    record.entryCount = record.tupletCount = 0;
}

}  // namespace plovikhost
