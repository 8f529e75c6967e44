// The entry points that answer from the command table, and Terminate.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "HostTest.h"
#include "PlovikTie.h"

namespace {
struct Record {
    uint8_t bytes[256];
    Record() { std::memset(bytes, 0xEE, sizeof bytes); }
    std::string Text(size_t offset) const { return reinterpret_cast<const char*>(bytes + offset); }
    uint16_t Word(size_t offset) const { return FXRead<uint16_t>(bytes, offset); }
};
}  // namespace

TEST(EntryPoints, EnumerateWalksTheCommandTable) {
    Record tie, untie, end;
    EXPECT_EQ(FinaleExtensionEnumerate(0, 0, tie.bytes), 1u);
    EXPECT_EQ(FinaleExtensionEnumerate(0, 1, untie.bytes), 1u);
    EXPECT_EQ(FinaleExtensionEnumerate(0, 2, end.bytes), 0u);
    EXPECT_EQ(tie.Text(0), "Plovik Tie Notes");
    EXPECT_EQ(tie.Text(64), "Ties notes of identical pitch in the region.");
    EXPECT_EQ(tie.Text(128), "Tie");
    EXPECT_EQ(untie.Text(0), "Plovik Untie Notes");
    EXPECT_EQ(untie.Text(64), "Unties the notes in the region.");
    EXPECT_EQ(untie.Text(128), "Untie");
    for (uint8_t b : end.bytes) ASSERT_EQ(b, 0xEE);
}

TEST(EntryPoints, MenuRecordIsFilledByteForByte) {
    Record tie;
    FinaleExtensionEnumerate(0, 0, tie.bytes);
    // The 44 characters of the description, then 20 zero bytes.
    const char* description = "Ties notes of identical pitch in the region.";
    ASSERT_EQ(std::strlen(description), 44u);
    EXPECT_EQ(std::memcmp(tie.bytes + 64, description, 44), 0);
    for (int i = 64 + 44; i < 128; ++i) EXPECT_EQ(tie.bytes[i], 0) << i;
    for (int i = 16; i < 64; ++i) EXPECT_EQ(tie.bytes[i], 0) << i;
    EXPECT_EQ(tie.Word(192), 1);
    EXPECT_EQ(tie.Word(194), 0);
    for (int i = 196; i < 256; ++i) EXPECT_EQ(tie.bytes[i], 0xEE) << i;
}

TEST(EntryPoints, EnumerateUsesTheLowSixteenBitsSigned) {
    for (uint32_t index : {0xFFFFFFFFu, 0x8000u, 65536u, 0x10001u}) {
        Record r;
        EXPECT_EQ(FinaleExtensionEnumerate(0, index, r.bytes), 1u) << index;
        EXPECT_EQ(r.Text(0), index == 0x10001u ? "Plovik Untie Notes" : "Plovik Tie Notes")
            << index;
    }
    Record r;
    EXPECT_EQ(FinaleExtensionEnumerate(0, 0x7FFF, r.bytes), 0u);
}

TEST(EntryPoints, EnumerateRefusesANullRecord) {
    EXPECT_EQ(FinaleExtensionEnumerate(0, 0, nullptr), 0u);
}

TEST(EntryPoints, InitSetsBitZeroOnly) {
    uint32_t flags = 6;
    EXPECT_EQ(FinaleExtensionInit(0, &flags), 1u);
    EXPECT_EQ(flags, 7u);
    flags = 1;
    FinaleExtensionInit(0, &flags);
    EXPECT_EQ(flags, 1u);
    EXPECT_EQ(FinaleExtensionInit(0, nullptr), 1u);
}

TEST(EntryPoints, VersionIsStoredAndReturned) {
    const uint32_t before = RunningFinaleVersion;
    EXPECT_EQ(FinaleExtensionVersion(0x1A000123u), 0x1A000123u);
    EXPECT_EQ(RunningFinaleVersion, 0x1A000123u);
    FinaleExtensionVersion(before);
}

TEST(EntryPoints, MenuStatusIsAlwaysOn) {
    EXPECT_EQ(FinaleExtensionGetMenuStatus(0), 1u);
    EXPECT_EQ(FinaleExtensionGetMenuStatus(12345), 1u);
}

// A Windows DLL stays loaded when the host unloads it: the next load must not find the last
// host's version and services.
class EntryPointsHostTest : public HostTest {};

TEST_F(EntryPointsHostTest, TerminateLeavesTheModuleAsANewLoadFindsIt) {
    FinaleExtensionVersion(0x1A000123u);
    FX_GetMaxLayers(FRAMEWORK_ENIGMA_VERSION);
    host().Hide("FX_GetMaxLayers");
    FinaleExtensionTerminate(0);
    EXPECT_EQ(RunningFinaleVersion, FRAMEWORK_ENIGMA_VERSION);
    FX_GetMaxLayers(FRAMEWORK_ENIGMA_VERSION);
    EXPECT_EQ(host().Count("FX_GetMaxLayers"), 1) << "looked up again, and found missing";
}
