// Data-record services: the version a caller passes is corrected from the record's tag and size,
// a few record types are served by rules of their own before (or instead of) the host, and
// preference records are assembled from other records (PreferenceMaps.h).
#include <algorithm>
#include <cstring>

#include "FXBinding.h"
#include "PreferenceMaps.h"

namespace {

enum class When { ALWAYS, AT_MOST, ABOVE };

struct VersionRule {
    uint32_t tag;
    uint32_t otherTag;  // a second tag the row also applies to, or 0
    int32_t size;
    When when;
    uint32_t limit;
    uint32_t version;
    const char* warning;
};

// clang-format off
constexpr VersionRule kVersionRules[] = {
    {0x534F4D53, 0,          24,  When::ALWAYS,  0,          0x09000000, nullptr},
    {0x534F4D53, 0,          26,  When::AT_MOST, 0x09FFFFFF, 0x0A000000, nullptr},
    {0x534F5353, 0x4F025353, 22,  When::ALWAYS,  0,          0x05000000, nullptr},
    {0x534F5353, 0x4F025353, 24,  When::AT_MOST, 0x05FFFFFF, 0x06000000, nullptr},
    {0x534F5353, 0x4F025353, 28,  When::AT_MOST, 0x09FFFFFF, 0x0A000000, nullptr},
    {0x534F4953, 0,          66,  When::ALWAYS,  0,          0x05000000, nullptr},
    {0x534F4953, 0,          102, When::ALWAYS,  0,          0x08000000, nullptr},
    {0x53444746, 0,          12,  When::ABOVE,   0x08000000, 0x08000000, nullptr},
    {0x53444746, 0,          10,  When::AT_MOST, 0x08FFFFFF, 0x09000000,
     "Warning to plug-in developer: EDTGfhold2004 used with wrong version parameter"},
    {0x534F5458, 0,          48,  When::ABOVE,   0x08000000, 0x08000000, nullptr},
    {0x534F5458, 0,          26,  When::AT_MOST, 0x08FFFFFF, 0x09000000,
     "Warning to plug-in developer: EDTTextBlock2004 used with wrong version parameter"},
    {0x6F74444F, 0,          12,  When::ABOVE,   0x08000000, 0x08000000, nullptr},
    {0x6F74444F, 0,          34,  When::AT_MOST, 0x08FFFFFF, 0x09000000,
     "Warning to plug-in developer: EDTShapeExpression2004 used with wrong version parameter"},
};
// clang-format on

constexpr uint32_t kTagArticulationDef = 0x4F044958;
constexpr uint32_t kTagLargeRecord = 0x4F096649;
constexpr uint32_t kTagStaffSystem = 0x534F5344;       // SOSD
constexpr uint32_t kTagStaffSystemOther = 0x6F745344;  // otSD

int32_t CapacityOf(const int32_t* size) {
    return size ? std::max<int32_t>(*size, 0) : 0;
}

// Tags whose blocks the host may leave untouched on failure: the block is cleared first and any
// byte the host wrote counts as success. Only the caller's capacity is ever cleared.
int32_t LoadClearedFirst(uint32_t tag, void* key, void* buffer, int32_t* size, uint32_t version,
                         int32_t clearBytes, bool& goOn) {
    const int32_t cleared = std::min(clearBytes, CapacityOf(size));
    std::memset(buffer, 0, static_cast<size_t>(cleared));
    const int32_t result = fxraw::FX_LoadEData(tag, key, buffer, size, version);
    goOn = result != 0;
    if (goOn) return result;
    const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
    return std::any_of(bytes, bytes + cleared, [](uint8_t b) { return b != 0; }) ? 1 : 0;
}

}  // namespace

void HandleEnigmaVersion(uint32_t tag, int32_t size, uint32_t& version) {
    if (size == 0) return;
    for (const VersionRule& rule : kVersionRules) {
        if ((tag != rule.tag && (rule.otherTag == 0 || tag != rule.otherTag)) || size != rule.size)
            continue;
        const bool applies = rule.when == When::ALWAYS ||
                             (rule.when == When::AT_MOST && version <= rule.limit) ||
                             (rule.when == When::ABOVE && version > rule.limit);
        if (!applies) return;
        if (rule.warning) FX_AlertMessage(0, 0, 0, rule.warning, FRAMEWORK_ENIGMA_VERSION);
        version = rule.version;
        return;
    }
}

int32_t FX_LoadEData(uint32_t tag, void* key, void* buffer, int32_t* size, uint32_t version) {
    HandleEnigmaVersion(tag, size ? *size : 0, version);

    if (buffer && (tag == kTagArticulationDef || tag == kTagLargeRecord)) {
        bool goOn = false;
        const int32_t clear = tag == kTagArticulationDef ? 48 : 108;
        const int32_t result = LoadClearedFirst(tag, key, buffer, size, version, clear, goOn);
        if (!goOn) return result;
    } else if (tag == kTagStaffSystem) {
        if (!fxraw::FX_LoadEData(tag, key, buffer, size, version)) {
            // Older documents keep the staff system under another record of the same item.
            if (!key) return 0;
            uint8_t otherKey[8];
            std::memcpy(otherKey, key, 8);
            otherKey[2] = otherKey[3] = 0;
            uint8_t scratch[12];
            int32_t scratchSize = sizeof scratch;
            if (!FX_LoadEData(kTagStaffSystemOther, otherKey, scratch, &scratchSize,
                              FRAMEWORK_ENIGMA_VERSION))
                return 0;
            if (!buffer) {
                if (size) *size = 66;
            } else {
                std::memset(buffer, 0, static_cast<size_t>(std::min(66, CapacityOf(size))));
            }
            return 1;
        }
    }
    if (const auto result = LoadMappedPrefs(tag, key, buffer, size)) return *result;
    return fxraw::FX_LoadEData(tag, key, buffer, size, version);
}

int32_t FX_SaveEData(uint32_t tag, void* key, void* buffer, int32_t size, uint32_t version) {
    const uint32_t given = version;
    HandleEnigmaVersion(tag, size, version);
    // Older callers save preference records as the host keeps them.
    if (given >= PREFS_MAPPED_SAVE_VERSION) {
        if (const auto result = SaveMappedPrefs(tag, key, buffer, size)) return *result;
    }
    return fxraw::FX_SaveEData(tag, key, buffer, size, version);
}

int32_t FX_CreateEData(uint32_t tag, void* key, void* buffer, int32_t size, uint32_t version) {
    HandleEnigmaVersion(tag, size, version);
    return fxraw::FX_CreateEData(tag, key, buffer, size, version);
}

int32_t FX_PreviousEData(uint32_t tag, void* key, void* buffer, int32_t size, uint32_t version) {
    HandleEnigmaVersion(tag, size, version);
    return fxraw::FX_PreviousEData(tag, key, buffer, size, version);
}

int32_t FX_NextEData(uint32_t tag, void* key, void* buffer, int32_t size, uint32_t version) {
    HandleEnigmaVersion(tag, size, version);
    return fxraw::FX_NextEData(tag, key, buffer, size, version);
}
