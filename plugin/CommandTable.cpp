#include "CommandTable.h"

#include <algorithm>
#include <cstring>

const PlovikCommand kPlovikCommands[2] = {
    {"Plovik Tie Notes", "Ties notes of identical pitch in the region.", "Tie", true},
    {"Plovik Untie Notes", "Unties the notes in the region.", "Untie", false},
};

const PlovikCommand* PlovikCommandAt(uint32_t index) {
    const int16_t row = static_cast<int16_t>(index & 0xFFFF);
    if (row <= 0) return &kPlovikCommands[0];
    if (row == 1) return &kPlovikCommands[1];
    return nullptr;
}

namespace {
void CopyField(char (&field)[64], const char* text) {
    // As strncpy with a limit of 64: the text, then zero bytes to the end of the field.
    std::memset(field, 0, sizeof field);
    std::memcpy(field, text, std::min(std::strlen(text), sizeof field));
}
}  // namespace

void FillMenuItem(const PlovikCommand& command, void* record) {
    MenuItemRecord item;
    CopyField(item.menuText, command.menuText);
    CopyField(item.description, command.description);
    CopyField(item.shortName, command.shortName);
    item.one = 1;
    item.zero = 0;
    std::memcpy(record, &item, sizeof item);
}
