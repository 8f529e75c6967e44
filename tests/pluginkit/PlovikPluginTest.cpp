// The kit's rules for any plug-in's command table: which row an index names, and how a row fills
// the host's menu record.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "PlovikPlugin.h"

namespace {

void Nothing(FCMusicRegion*) {}

const PlovikCommand kThree[] = {
    {"First", "The first.", "1", &Nothing},
    {"Second", "The second.", "2", &Nothing},
    {"Third", "The third.", "3", nullptr},
};

}  // namespace

TEST(PlovikPluginTable, IndicesNameRowsByTheirLowSixteenBitsSigned) {
    const PlovikCommandTable table(kThree);
    EXPECT_EQ(PlovikEnumeratedCommand(table, 0), &kThree[0]);
    EXPECT_EQ(PlovikEnumeratedCommand(table, 2), &kThree[2]);
    EXPECT_EQ(PlovikEnumeratedCommand(table, 0x10002), &kThree[2]);
    EXPECT_EQ(PlovikEnumeratedCommand(table, 0xFFFF), &kThree[0]);  // -1: the first
    EXPECT_EQ(PlovikEnumeratedCommand(table, 0x8000), &kThree[0]);
    EXPECT_EQ(PlovikEnumeratedCommand(table, 3), nullptr);
    EXPECT_EQ(PlovikEnumeratedCommand(table, 0x7FFF), nullptr);

    EXPECT_EQ(PlovikInvokedCommand(table, 1), &kThree[1]);
    EXPECT_EQ(PlovikInvokedCommand(table, 0x10001), &kThree[1]);
    // Outside the table no row runs unless the table names one for it.
    for (uint32_t outside : {3u, 0xFFFFu, 0x8000u, 0xFFFFFFFFu})
        EXPECT_EQ(PlovikInvokedCommand(table, outside), nullptr) << outside;
    const PlovikCommandTable lastForOthers(kThree, 2);
    for (uint32_t outside : {3u, 0xFFFFu, 0x8000u})
        EXPECT_EQ(PlovikInvokedCommand(lastForOthers, outside), &kThree[2]) << outside;
    EXPECT_EQ(PlovikInvokedCommand(lastForOthers, 0), &kThree[0]);
    EXPECT_EQ(PlovikInvokedCommand(PlovikCommandTable(kThree, 3), 7), nullptr) << "no such row";
    EXPECT_EQ(PlovikInvokedCommand(PlovikCommandTable(kThree, -2), 7), nullptr) << "no such row";
}

TEST(PlovikPluginTable, AnEmptyTableNamesNothing) {
    PlovikCommandTable none(kThree, 0);
    none.count = 0;
    EXPECT_EQ(PlovikEnumeratedCommand(none, 0), nullptr);
    EXPECT_EQ(PlovikInvokedCommand(none, 0), nullptr);
    EXPECT_EQ(PlovikInvokedCommand(none, 5), nullptr);
}

TEST(PlovikPluginTable, MenuFieldsAlwaysEndInAZeroByte) {
    const std::string sixtyThree(63, 'a');
    const std::string seventy(70, 'b');
    const PlovikCommand row = {sixtyThree.c_str(), nullptr, seventy.c_str(), &Nothing};
    unsigned char record[200];
    std::memset(record, 0xEE, sizeof record);
    PlovikFillMenuItem(row, record);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record)), sixtyThree);
    for (int i = 64; i < 128; ++i) EXPECT_EQ(record[i], 0) << "a null text is empty: " << i;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record + 128)), seventy.substr(0, 63));
    EXPECT_EQ(record[191], 0);
    EXPECT_EQ(record[192] | record[193] << 8, 1);
    EXPECT_EQ(record[194] | record[195] << 8, 0);
    for (int i = 196; i < 200; ++i) EXPECT_EQ(record[i], 0xEE) << i;
}
