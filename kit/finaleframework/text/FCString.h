#pragma once

#include <cstdint>

#include "FCBase.h"

class FCFontInfo;
class FCStrings;

// The framework's one string type, of 16-bit signed units.
// Converted to and from the host's 8-bit C strings: bytes enter sign-extended and leave as the
// low byte of each unit, so every 8-bit text survives the round trip. A zero unit is an
// ordinary unit inside the string.
class FCString : public __FCBase {
  public:
    FCString() { SetCString(""); }
    const char* ClassName() override { return "FCString"; }
    ~FCString() override;

    // Grows the unit array, in steps of ten, so that it holds more than `needed` units.
    void _ExpandStorageIfNecessary(int needed);

    // A null text leaves the string empty.
    void SetCString(const char* text);
    // Owned by the string; valid until the next GetCString or the string's destruction.
    const char* GetCString();
    // Units up to the first zero unit, copied unchanged; null leaves the string empty.
    void SetUnicodeString(const int16_t* units);
    // Writes the units and a zero unit; `out` must hold GetLength() + 1 units.
    void GetUnicodeString(int16_t* out) const;
    // Null leaves the string empty; the receiver itself leaves it as it is.
    void SetString(FCString* other);

    void Append(int16_t unit);
    // Null appends nothing; the receiver itself doubles the text.
    void Append(FCString* other);
    void Append(const char* text);
    // A position beyond the length appends, a negative one inserts at the front.
    void Insert(const char* text, int position);

    int GetLength() const { return _length; }
    int GetCapacity() const { return _capacity; }
    // 0 for an index out of range.
    int16_t GetItemAt(int index) const;
    bool IsCharacter(int index, int16_t unit) const;
    // Whether the unit at the index equals any byte of the set.
    bool IsCharacter(int index, const char* set) const;
    // The comparisons see the C-string form: low bytes up to the first zero.
    bool IsEqual(const char* text) const;
    bool IsEqual(FCString* other) const;
    bool StartsWith(const char* prefix) const;
    bool Contains(FCString* part) const;
    // The decimal number the C-string form shows from the position on (leading blanks and a
    // sign accepted); 0 for a position outside 0 ... length, or no digits. Saturates at the
    // limits of int.
    int GetInteger(int position);
    void SetInteger(int value);
    void AppendInteger(int value);
    // Loads string resource `id` from the module (remembered for later calls with a null
    // module); on failure the text becomes "Resource String Error".
    bool LoadResource(int id, const char* module);

    // Enigma text tags: ^name(arguments).
    bool TrimEnigmaTags();
    bool TrimEnigmaFontTags();
    FCStrings* CreateEnigmaStrings();
    FCStrings* CreateEnigmaComponents();
    FCFontInfo* CreateLastFontInfo();

  private:
    void _Free();
    // The byte the C-string form has at the index (0 at and beyond the length).
    char _LowByte(int index) const;
    // Whether the C-string forms of both are equal (strcmp), without building either.
    bool _SameCString(const char* text) const;

    int32_t _length = 0;
    int32_t _capacity = 0;
    int16_t* _units = nullptr;
    char* _cstring = nullptr;
};

// Forgets the module remembered by LoadResource: when the host terminates the plug-in, and in
// tests.
void _ResetStringResourceModule();
