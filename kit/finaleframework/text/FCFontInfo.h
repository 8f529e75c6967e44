#pragma once

#include <cstdint>

#include "FCBase.h"

class FCString;

// A font: name, point size and the effect bits the host's "^nfx" tag carries.
class FCFontInfo : public __FCBase {
  public:
    // Writes ^font(name,4096)^size(size)^nfx(effects) into out.
    void MakeEnigmaString(FCString* out) const;
    // The host's name for the font number, or "Times New Roman" when the host has none.
    void SetNameByID(int16_t id);
    // Same effect bits 0x01, 0x02, 0x04, 0x20, 0x40 and 0x80, same size, same name (with case).
    bool IsIdenticalTo(const FCFontInfo* other) const;

    const char* GetName() const { return _name; }
    // Longer names are cut to the 255 bytes the name holds; null empties it.
    void SetName(const char* name);
    int16_t GetSize() const { return _size; }
    void SetSize(int16_t size) { _size = size; }
    uint16_t GetEffects() const { return _effects; }
    void SetEffects(uint16_t effects) { _effects = effects; }

  private:
    char _name[256] = {};
    int16_t _size = 0;
    uint16_t _effects = 0;
};
