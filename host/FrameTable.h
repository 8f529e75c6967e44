// The entry frames the host has handed out. Every frame comes from here and goes back here;
// a frame freed twice, one the host never handed out, or a freed frame given to a service is a
// problem the host reports. Entry and tuplet arrays are blocks of their own, replaced (and the
// old block freed) on every change, so that a stale pointer into them is a use after free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "Document.h"
#include "FXRecords.h"

namespace plovikhost {

// What the host knows of a frame it handed out. The host trusts this, not the frame's header,
// which the plug-in can write to.
struct FrameRecord {
    int16_t document = 0;
    int16_t staff = 0;
    uint16_t list = 0;
    int16_t slot = 0;
    int16_t measure = 0;
    int16_t layer = 0;
    int16_t loadMode = 0;
    EXENTRY* entries = nullptr;
    int16_t entryCount = 0;
    TGFTUPLETITEM* tuplets = nullptr;
    int16_t tupletCount = 0;
};

class FrameTable {
  public:
    FrameTable() = default;
    FrameTable(const FrameTable&) = delete;
    FrameTable& operator=(const FrameTable&) = delete;
    ~FrameTable() { Clear(); }

    // A new frame over copies of the cell's entries and tuplets, laid out as EXTGF2005a.
    EXTGF2005a* Hand(const FrameRecord& where, const Cell& cell);
    // The record of a frame that is out; otherwise the misuse is reported as the service's
    // problem and the answer is null.
    FrameRecord* Check(const char* service, const EXTGF2005a* frame);
    // Reports the service's problem when a frame that is out holds an entry the framework's
    // cleaning would not have left so: note IDs not unique (0 only for the note record a rest
    // was given), their low 5 bits not in the note flags, unused note records not zero, or a
    // rest without its note record. Only the entries the header shows in the host's own array
    // are looked at, as many as the cleaning sees.
    void CheckClean(const char* service, const EXTGF2005a* frame) const;
    // Takes a frame back; false (and a problem reported) when it was not out.
    bool Free(const char* service, EXTGF2005a* frame);
    // Gives the frame new blocks holding these entries and tuplets; the old blocks are freed.
    void Replace(EXTGF2005a* frame, const std::vector<EXENTRY>& entries,
                 const std::vector<TGFTUPLETITEM>& tuplets);
    // The host's own copies of what a frame holds.
    static std::vector<EXENTRY> EntriesOf(const FrameRecord& record);
    static std::vector<TGFTUPLETITEM> TupletsOf(const FrameRecord& record);

    // How many of the most recently freed frames are remembered as freed: an older one counts as
    // never handed out, still a problem.
    static constexpr size_t kFreedRemembered = 4096;

    int Outstanding() const { return static_cast<int>(live_.size()); }
    int HandedOut() const { return handedOut_; }
    const FrameRecord* Find(const EXTGF2005a* frame) const;
    // Frees every frame still out (without reporting it) and forgets the freed ones.
    void Clear();

  private:
    static void Release(FrameRecord& record);
    void Forget(const EXTGF2005a* frame);

    std::unordered_map<const EXTGF2005a*, FrameRecord> live_;
    // The frames freed most recently, so that one given back again is named for what it is;
    // each with the number of its free. The allocator may hand a freed address out again and it
    // may be freed once more, so the ring can hold the address twice: evicting the older entry
    // forgets the address only when its number is still the one remembered.
    struct Freed {
        const EXTGF2005a* frame;
        uint64_t serial;
    };
    std::unordered_map<const EXTGF2005a*, uint64_t> freed_;
    std::vector<Freed> freedOrder_;  // a ring, oldest at freedNext_ once full
    size_t freedNext_ = 0;
    uint64_t freeSerial_ = 0;
    int handedOut_ = 0;
};

}  // namespace plovikhost
