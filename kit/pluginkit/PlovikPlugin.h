#pragma once

#include <cstddef>
#include <cstdint>

// The plug-in's two commands, in the order the host numbers them.
struct PlovikCommand {
    const char* menuText;
    const char* description;
    const char* shortName;
    bool tie;  // the operation: TieNotes(region, tie)
};

extern const PlovikCommand kPlovikCommands[2];

// The row for a command index as the host passes it (the low 16 bits, signed): 0 or less is
// the first command, 1 the second, anything above is past the end (null).
const PlovikCommand* PlovikCommandAt(uint32_t index);

// The part of the host's menu item record that the plug-in fills: 196 bytes.
#pragma pack(push, 1)
struct MenuItemRecord {
    char menuText[64];
    char description[64];
    char shortName[64];
    uint16_t one;   // always 1
    uint16_t zero;  // always 0
};
#pragma pack(pop)
static_assert(sizeof(MenuItemRecord) == 196, "menu item record");
static_assert(offsetof(MenuItemRecord, description) == 64 &&
                  offsetof(MenuItemRecord, shortName) == 128 &&
                  offsetof(MenuItemRecord, one) == 192 && offsetof(MenuItemRecord, zero) == 194,
              "menu item record offsets");

// Writes the first 196 bytes of the host's record; bytes beyond are not touched.
void FillMenuItem(const PlovikCommand& command, void* record);
