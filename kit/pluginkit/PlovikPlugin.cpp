#include "PlovikPlugin.h"

#include <cstring>

namespace {

int16_t Row(uint32_t index) {
    return static_cast<int16_t>(index & 0xFFFF);
}

const PlovikCommand* RowOf(const PlovikCommandTable& table, int32_t row) {
    if (!table.commands || row < 0 || row >= table.count) return nullptr;
    return &table.commands[row];
}

void CopyField(char (&field)[64], const char* text) {
    // As strncpy, the text then zero bytes to the end of the field; at most 63 bytes of text,
    // since the host reads the field as a C string.
    std::memset(field, 0, sizeof field);
    if (!text) return;
    const void* end = std::memchr(text, 0, sizeof field - 1);  // stops at the first zero byte
    std::memcpy(field, text,
                end ? static_cast<size_t>(static_cast<const char*>(end) - text) : sizeof field - 1);
}

}  // namespace

const PlovikCommand* PlovikEnumeratedCommand(const PlovikCommandTable& table, uint32_t index) {
    const int16_t row = Row(index);
    return RowOf(table, row < 0 ? 0 : row);
}

const PlovikCommand* PlovikInvokedCommand(const PlovikCommandTable& table, uint32_t index) {
    const PlovikCommand* command = RowOf(table, Row(index));
    return command ? command : RowOf(table, table.otherIndices);
}

void PlovikFillMenuItem(const PlovikCommand& command, void* record) {
    MenuItemRecord item;
    CopyField(item.menuText, command.menuText);
    CopyField(item.description, command.description);
    CopyField(item.shortName, command.shortName);
    item.one = 1;
    item.zero = 0;
    std::memcpy(record, &item, sizeof item);
}
