// Data-record calls: version correction with its warnings, and the record types the binding
// serves by rules of its own.
#include <array>
#include <cstring>

#include "HostTest.h"
#include "finalepdk.h"

using plovikhost::RecordId;

class EnigmaDataTest : public HostTest {
  protected:
    uint32_t VersionSentBy(const char* service) {
        const plovikhost::CallRecord* call = host().LastCall(service);
        return call ? static_cast<uint32_t>(call->args.back()) : 0;
    }
    uint8_t key[8] = {1, 0, 0, 0, 0, 0, 0, 0};  // item 1, incidence 0
};

TEST_F(EnigmaDataTest, VersionRules) {
    struct Case {
        uint32_t tag;
        int32_t size;
        uint32_t given;
        uint32_t sent;
    };
    const Case cases[] = {
        {0x534F4D53, 24, FRAMEWORK_ENIGMA_VERSION, 0x09000000},  // always
        {0x534F4D53, 26, 0x09FFFFFF, 0x0A000000},
        {0x534F4D53, 26, 0x0A000000, 0x0A000000},
        {0x534F5353, 22, FRAMEWORK_ENIGMA_VERSION, 0x05000000},
        {0x4F025353, 24, 0x05FFFFFF, 0x06000000},
        {0x4F025353, 24, 0x06000000, 0x06000000},
        {0x534F5353, 28, 0x09000000, 0x0A000000},
        {0x534F4953, 66, FRAMEWORK_ENIGMA_VERSION, 0x05000000},
        {0x534F4953, 102, FRAMEWORK_ENIGMA_VERSION, 0x08000000},
        {0x534F4953, 114, 0x0F000000, 0x0F000000},  // a size no row names
        {0x53444746, 12, FRAMEWORK_ENIGMA_VERSION, 0x08000000},
        {0x53444746, 12, 0x08000000, 0x08000000},
        {0x534F5458, 48, 0x08000001, 0x08000000},
        {0x6F74444F, 12, 0x09000000, 0x08000000},
        {0x12345678, 24, 0x01000000, 0x01000000},  // a tag no row names
    };
    for (const Case& c : cases) {
        uint32_t version = c.given;
        HandleEnigmaVersion(c.tag, c.size, version);
        EXPECT_EQ(version, c.sent) << std::hex << c.tag << " size " << std::dec << c.size;
    }
    EXPECT_TRUE(host().alerts.empty());
}

TEST_F(EnigmaDataTest, OldLayoutsWarnTheDeveloperAndGoOn) {
    uint8_t buffer[34] = {};
    int32_t size = 10;
    FX_LoadEData(0x53444746, key, buffer, &size, 0x08000000);
    EXPECT_EQ(VersionSentBy("FX_LoadEData"), 0x09000000u);
    ASSERT_EQ(host().alerts.size(), 1u);
    EXPECT_EQ(host().alerts[0],
              "Warning to plug-in developer: EDTGfhold2004 used with wrong version parameter");

    FX_SaveEData(0x534F5458, key, buffer, 26, 0x08FFFFFF);
    FX_CreateEData(0x6F74444F, key, buffer, 34, 0x08000000);
    ASSERT_EQ(host().alerts.size(), 3u);
    EXPECT_NE(host().alerts[1].find("EDTTextBlock2004"), std::string::npos);
    EXPECT_NE(host().alerts[2].find("EDTShapeExpression2004"), std::string::npos);
    EXPECT_EQ(VersionSentBy("FX_CreateEData"), 0x09000000u);

    size = 10;
    FX_LoadEData(0x53444746, key, buffer, &size, FRAMEWORK_ENIGMA_VERSION);
    EXPECT_EQ(VersionSentBy("FX_LoadEData"), FRAMEWORK_ENIGMA_VERSION);
    EXPECT_EQ(host().alerts.size(), 3u);
}

TEST_F(EnigmaDataTest, SteppingWithSizeZeroKeepsTheVersion) {
    FX_NextEData(0x534F4D53, key, nullptr, 0, 0x01000000);
    EXPECT_EQ(VersionSentBy("FX_NextEData"), 0x01000000u);
    FX_PreviousEData(0x534F4D53, key, nullptr, 24, 0x01000000);
    EXPECT_EQ(VersionSentBy("FX_PreviousEData"), 0x09000000u);
    FX_DeleteEData(0x534F4D53, key, 0x01000000);  // never corrected
    EXPECT_EQ(VersionSentBy("FX_DeleteEData"), 0x01000000u);
}

TEST_F(EnigmaDataTest, ClearedFirstTagsCountWhatAFailingHostWrote) {
    const struct {
        uint32_t tag;
        int32_t cleared;
    } tags[] = {{0x4F044958, 48}, {0x4F096649, 108}};
    for (const auto& t : tags) {
        SCOPED_TRACE(t.tag);
        uint8_t buffer[120];
        std::memset(buffer, 0xAA, sizeof buffer);
        int32_t size = sizeof buffer;  // more room than is cleared
        // No record: the host fails and leaves the cleared block alone.
        EXPECT_EQ(FX_LoadEData(t.tag, key, buffer, &size, FRAMEWORK_ENIGMA_VERSION), 0);
        for (int i = 0; i < t.cleared; ++i) ASSERT_EQ(buffer[i], 0) << i;
        EXPECT_EQ(buffer[t.cleared], 0xAA);

        // A host that fails but writes into the block: success.
        host().scribbleOnFailedLoads = true;
        EXPECT_EQ(FX_LoadEData(t.tag, key, buffer, &size, FRAMEWORK_ENIGMA_VERSION), 1);
        host().scribbleOnFailedLoads = false;

        // A record: loaded, then asked for again.
        doc().records.Put(RecordId{t.tag, 1, 0, 0}, std::vector<uint8_t>(t.cleared, 7));
        host().ClearCalls();
        EXPECT_EQ(FX_LoadEData(t.tag, key, buffer, &size, FRAMEWORK_ENIGMA_VERSION), 1);
        EXPECT_EQ(host().Count("FX_LoadEData"), 2);
        EXPECT_EQ(buffer[t.cleared - 1], 7);
    }
}

TEST_F(EnigmaDataTest, ClearingNeverPassesTheCallersCapacity) {
    uint8_t buffer[120];
    std::memset(buffer, 0xAA, sizeof buffer);
    int32_t size = 20;
    FX_LoadEData(0x4F096649, key, buffer, &size, FRAMEWORK_ENIGMA_VERSION);
    EXPECT_EQ(buffer[19], 0);
    EXPECT_EQ(buffer[20], 0xAA);
    size = -5;
    FX_LoadEData(0x4F044958, key, buffer + 60, &size, FRAMEWORK_ENIGMA_VERSION);
    EXPECT_EQ(buffer[60], 0xAA);
}

TEST_F(EnigmaDataTest, StaffSystemFallsBackOnTheOtherRecord) {
    uint8_t sosdKey[8] = {3, 0, 9, 0, 5, 6, 7, 8};
    doc().records.Put(RecordId{0x6F745344, 3, 0, 0}, std::vector<uint8_t>(12, 1));
    int32_t size = 0;
    EXPECT_EQ(FX_LoadEData(0x534F5344, sosdKey, nullptr, &size, 0x0E000000), 1);
    EXPECT_EQ(size, 66);
    const std::vector<plovikhost::CallRecord> calls = host().Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].args[0], 0x534F5344);
    EXPECT_EQ(calls[1].args[0], 0x6F745344);
    EXPECT_EQ(calls[1].key, (std::array<uint8_t, 8>{3, 0, 0, 0, 5, 6, 7, 8}))
        << "item, incidence 0, the caller's last four bytes";
    EXPECT_EQ(calls[1].args[3], 12);
    EXPECT_EQ(calls[1].args[4], FRAMEWORK_ENIGMA_VERSION) << "whatever the caller's";

    uint8_t buffer[80];
    std::memset(buffer, 0xAA, sizeof buffer);
    size = 80;
    EXPECT_EQ(FX_LoadEData(0x534F5344, sosdKey, buffer, &size, FRAMEWORK_ENIGMA_VERSION), 1);
    EXPECT_EQ(size, 80) << "left as it was";
    for (int i = 0; i < 66; ++i) ASSERT_EQ(buffer[i], 0) << i;
    EXPECT_EQ(buffer[66], 0xAA);
    size = 40;  // smaller than the block: only the capacity is cleared
    std::memset(buffer, 0xAA, sizeof buffer);
    EXPECT_EQ(FX_LoadEData(0x534F5344, sosdKey, buffer, &size, FRAMEWORK_ENIGMA_VERSION), 1);
    EXPECT_EQ(buffer[39], 0);
    EXPECT_EQ(buffer[40], 0xAA);

    uint8_t otherItem[8] = {4, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(FX_LoadEData(0x534F5344, otherItem, buffer, &size, FRAMEWORK_ENIGMA_VERSION), 0);
}

TEST_F(EnigmaDataTest, StaffSystemTheHostHasIsAskedTwice) {
    doc().records.Put(RecordId{0x534F5344, 3, 0, 0}, std::vector<uint8_t>(66, 2));
    uint8_t sosdKey[8] = {3, 0, 0, 0, 0, 0, 0, 0};
    uint8_t buffer[66] = {};
    int32_t size = 66;
    EXPECT_EQ(FX_LoadEData(0x534F5344, sosdKey, buffer, &size, FRAMEWORK_ENIGMA_VERSION), 1);
    EXPECT_EQ(host().Count("FX_LoadEData"), 2);
    EXPECT_EQ(host().Count("FX_LoadEData"), 2);
    EXPECT_EQ(buffer[65], 2);
}
