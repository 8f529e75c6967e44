// A plug-in made with the kit: the six entry points the host calls, exported under their plain
// names in the calling convention of the Windows API, and the table of commands they answer
// from, which each plug-in declares as data (kPlovikPluginCommands).
#pragma once

#include <cstddef>
#include <cstdint>

#include "finalepdk.h"

class FCMusicRegion;

// One command of a plug-in: how the host's menu shows it and what its index runs.
// Each text is written into a 64-byte field of the host's menu record: a text of 64 bytes or
// more is cut to 63, so that the field always ends in a zero byte; a null text is empty.
struct PlovikCommand {
    const char* menuText;
    const char* description;
    const char* shortName;
    // Runs the command on the region the user selected (null: the command does nothing).
    void (*run)(FCMusicRegion* region);
};

// The commands of a plug-in, numbered from 0 in the order of the host's menu.
struct PlovikCommandTable {
    static constexpr int32_t kNone = -1;

    // The rows of an array; otherRow: the row an index outside the table runs.
    template <size_t N>
    constexpr PlovikCommandTable(const PlovikCommand (&rows)[N], int32_t otherRow = kNone)
        : commands(rows), count(static_cast<int32_t>(N)), otherIndices(otherRow) {}

    const PlovikCommand* commands;
    int32_t count;
    // The row FinaleExtensionInvoke runs for an index outside the table (below 0 or past its
    // end); kNone (or any number that is no row): none runs.
    int32_t otherIndices;
};

// Defined by every plug-in, once: its commands. The kit's entry points answer from it.
extern const PlovikCommandTable kPlovikPluginCommands;

// The row FinaleExtensionEnumerate describes for a command index as the host passes it (its low
// 16 bits, signed): 0 or less is the first row, a number past the end none (null).
const PlovikCommand* PlovikEnumeratedCommand(const PlovikCommandTable& table, uint32_t index);
// The row FinaleExtensionInvoke runs for a command index: the row of its low 16 bits, signed;
// for an index outside the table the row the table names for it (null: none).
const PlovikCommand* PlovikInvokedCommand(const PlovikCommandTable& table, uint32_t index);

// The part of the host's menu item record that a plug-in fills: 196 bytes.
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
void PlovikFillMenuItem(const PlovikCommand& command, void* record);

#if defined(_WIN32)
// The DLL's module definition file names the exports.
#define PLOVIK_EXPORT
#else
#define PLOVIK_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
PLOVIK_EXPORT uint32_t FX_STDCALL FinaleExtensionVersion(uint32_t version);
PLOVIK_EXPORT uint32_t FX_STDCALL FinaleExtensionInit(uint32_t, uint32_t* flags);
PLOVIK_EXPORT uint32_t FX_STDCALL FinaleExtensionEnumerate(uint32_t, uint32_t index,
                                                           void* menuItem);
PLOVIK_EXPORT uint32_t FX_STDCALL FinaleExtensionGetMenuStatus(uint32_t);
PLOVIK_EXPORT uint32_t FX_STDCALL FinaleExtensionInvoke(uint32_t, uint32_t index, EREGION* region,
                                                        uint32_t);
PLOVIK_EXPORT void FX_STDCALL FinaleExtensionTerminate(uint32_t);
}

// Function types of the entry points, for hosts that look them up by name.
typedef uint32_t(FX_STDCALL* FinaleExtensionVersionFn)(uint32_t);
typedef uint32_t(FX_STDCALL* FinaleExtensionInitFn)(uint32_t, uint32_t*);
typedef uint32_t(FX_STDCALL* FinaleExtensionEnumerateFn)(uint32_t, uint32_t, void*);
typedef uint32_t(FX_STDCALL* FinaleExtensionGetMenuStatusFn)(uint32_t);
typedef uint32_t(FX_STDCALL* FinaleExtensionInvokeFn)(uint32_t, uint32_t, EREGION*, uint32_t);
typedef void(FX_STDCALL* FinaleExtensionTerminateFn)(uint32_t);
