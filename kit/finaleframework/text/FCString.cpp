#include "FCString.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "FCFontInfo.h"
#include "FCStrings.h"
#include "Platform.h"

namespace {

// Bytes enter the string sign-extended: 0x80-0xFF become 0xFF80-0xFFFF.
int16_t Widen(char c) {
    return static_cast<int16_t>(static_cast<signed char>(c));
}

// A length the string is about to reach; one it cannot represent is an allocation that cannot
// succeed.
int NewLength(int64_t length) {
    if (length > INT32_MAX - 10) throw std::bad_alloc();
    return static_cast<int>(length);
}

const int16_t kCaret = '^';
const int16_t kClose = ')';

// Tags that concern the font, by the start of the tag text.
const char* const kFontTagStarts[] = {"^font",    "^Font", "^fontMus", "^fontTxt",
                                      "^fontNum", "^nfx",  "^size"};

// The module LoadResource remembers between calls.
HINSTANCE _ResInstance = nullptr;

}  // namespace

void _ResetStringResourceModule() {
    _ResInstance = nullptr;
}

FCString::~FCString() {
    _Free();
    delete[] _cstring;
    _cstring = nullptr;
}

void FCString::_Free() {
    delete[] _units;
    _units = nullptr;
    _capacity = 0;
    _length = 0;
}

void FCString::_ExpandStorageIfNecessary(int needed) {
    if (_capacity > needed) return;
    const int32_t capacity = (NewLength(needed) + 10) / 10 * 10;
    int16_t* units = new int16_t[static_cast<size_t>(capacity)]();
    if (_units) std::memcpy(units, _units, static_cast<size_t>(_length) * sizeof(int16_t));
    delete[] _units;
    _units = units;
    _capacity = capacity;
}

void FCString::SetCString(const char* text) {
    const size_t count = text ? std::strlen(text) : 0;
    if (count == 0) {
        _Free();
        return;
    }
    _length = 0;  // nothing of the old text needs copying
    _ExpandStorageIfNecessary(NewLength(static_cast<int64_t>(count)));
    for (size_t i = 0; i < count; ++i) _units[i] = Widen(text[i]);
    _length = static_cast<int32_t>(count);
}

const char* FCString::GetCString() {
    delete[] _cstring;
    _cstring = new char[static_cast<size_t>(_length) + 1];
    for (int32_t i = 0; i < _length; ++i) _cstring[i] = static_cast<char>(_units[i] & 0xFF);
    _cstring[_length] = '\0';
    return _cstring;
}

void FCString::SetUnicodeString(const int16_t* units) {
    int64_t count = 0;
    if (units)
        while (units[count] != 0) ++count;
    NewLength(count);
    if (count == 0) {
        _Free();
        return;
    }
    _length = 0;
    _ExpandStorageIfNecessary(static_cast<int>(count));
    std::memcpy(_units, units, static_cast<size_t>(count) * sizeof(int16_t));
    _length = static_cast<int32_t>(count);
}

void FCString::GetUnicodeString(int16_t* out) const {
    if (!out) return;
    if (_length > 0) std::memcpy(out, _units, static_cast<size_t>(_length) * sizeof(int16_t));
    out[_length] = 0;
}

void FCString::SetString(FCString* other) {
    if (other == this) return;
    if (!other) {
        SetCString("");
        return;
    }
    _length = 0;
    Append(other);
}

void FCString::Append(int16_t unit) {
    _ExpandStorageIfNecessary(NewLength(static_cast<int64_t>(_length) + 1));
    _units[_length++] = unit;
}

void FCString::Append(FCString* other) {
    if (!other || other->_length == 0) return;
    // Read the count before growing: the other string may be this one.
    const int32_t count = other->_length;
    _ExpandStorageIfNecessary(NewLength(static_cast<int64_t>(_length) + count));
    std::memcpy(_units + _length, other->_units, static_cast<size_t>(count) * sizeof(int16_t));
    _length += count;
}

void FCString::Append(const char* text) {
    if (!text) return;
    const size_t count = std::strlen(text);
    if (count == 0) return;
    _ExpandStorageIfNecessary(
        NewLength(static_cast<int64_t>(_length) + static_cast<int64_t>(count)));
    for (size_t i = 0; i < count; ++i) _units[_length++] = Widen(text[i]);
}

void FCString::Insert(const char* text, int position) {
    if (!text) return;
    if (position < 0) position = 0;
    if (position > _length) position = _length;
    FCString joined;
    for (int32_t i = 0; i < position; ++i) joined.Append(_units[i]);
    joined.Append(text);
    for (int32_t i = position; i < _length; ++i) joined.Append(_units[i]);
    SetString(&joined);
}

int16_t FCString::GetItemAt(int index) const {
    if (index < 0 || index >= _length) return 0;
    return _units[index];
}

bool FCString::IsCharacter(int index, int16_t unit) const {
    return index >= 0 && index < _length && _units[index] == unit;
}

bool FCString::IsCharacter(int index, const char* set) const {
    if (index < 0 || index >= _length || !set) return false;
    for (const char* c = set; *c; ++c)
        if (_units[index] == Widen(*c)) return true;
    return false;
}

char FCString::_LowByte(int index) const {
    return index < _length ? static_cast<char>(_units[index] & 0xFF) : '\0';
}

bool FCString::_SameCString(const char* text) const {
    for (int i = 0;; ++i) {
        const char own = _LowByte(i);
        if (own != text[i]) return false;
        if (own == '\0') return true;
    }
}

bool FCString::IsEqual(const char* text) const {
    return text && _SameCString(text);
}

bool FCString::IsEqual(FCString* other) const {
    if (!other) return false;
    for (int i = 0;; ++i) {
        const char own = _LowByte(i);
        if (own != other->_LowByte(i)) return false;
        if (own == '\0') return true;
    }
}

bool FCString::StartsWith(const char* prefix) const {
    if (!prefix) return false;
    const size_t count = std::strlen(prefix);
    if (static_cast<size_t>(_length) < count) return false;
    for (size_t i = 0; i < count; ++i)
        if (_LowByte(static_cast<int>(i)) != prefix[i]) return false;
    return true;
}

bool FCString::Contains(FCString* part) const {
    if (!part) return false;
    const int32_t count = part->_length;
    if (count == 0) return true;
    for (int32_t start = 0; start <= _length - count; ++start) {
        int32_t i = 0;
        while (i < count && _units[start + i] == part->_units[i]) ++i;
        if (i == count) return true;
    }
    return false;
}

int FCString::GetInteger(int position) {
    if (position < 0 || position > _length) return 0;
    // strtol rather than atoi: it answers a number too large for int with its limit instead of
    // undefined behaviour.
    const long value = std::strtol(GetCString() + position, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

void FCString::SetInteger(int value) {
    SetCString("");
    char buffer[120];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    Append(buffer);
}

void FCString::AppendInteger(int value) {
    FCString number;
    number.SetInteger(value);
    Append(&number);
}

bool FCString::LoadResource(int id, const char* module) {
    if (module) _ResInstance = GetModuleHandleA(module);
    char buffer[500];
    buffer[0] = '\0';
    const int count = LoadStringA(_ResInstance, static_cast<UINT>(id), buffer, sizeof buffer);
    if (count > 0) {
        buffer[sizeof buffer - 1] = '\0';
        SetCString(buffer);
        return true;
    }
    SetCString("Resource String Error");
    return false;
}

bool FCString::TrimEnigmaTags() {
    bool removed = false;
    bool inTag = false;
    int32_t write = 0;
    const int32_t length = _length;
    for (int32_t read = 0; read < length; ++read) {
        const int16_t unit = _units[read];
        if (inTag) {
            if (unit == kClose) inTag = false;
        } else if (unit == kCaret) {
            if (read + 1 < length && _units[read + 1] == kCaret) {
                _units[write++] = kCaret;
                ++read;
            } else {
                inTag = true;
                removed = true;
            }
        } else {
            _units[write++] = unit;
        }
    }
    _length = write;
    return removed;
}

bool FCString::TrimEnigmaFontTags() {
    FCString text;
    FCString tag;
    bool removed = false;
    bool inTag = false;
    const int32_t length = _length;
    for (int32_t i = 0; i < length; ++i) {
        const int16_t unit = _units[i];
        if (inTag) {
            tag.Append(unit);
            if (unit != kClose) continue;
            inTag = false;
            bool isFontTag = false;
            for (const char* start : kFontTagStarts) isFontTag = isFontTag || tag.StartsWith(start);
            if (isFontTag)
                removed = true;
            else
                text.Append(&tag);
        } else if (unit == kCaret) {
            if (i + 1 < length && _units[i + 1] == kCaret) {
                text.Append(kCaret);
                ++i;
            } else {
                tag.SetCString("^");
                inTag = true;
            }
        } else {
            text.Append(unit);
        }
    }
    SetString(&text);
    return removed;
}

FCStrings* FCString::CreateEnigmaStrings() {
    std::unique_ptr<FCStrings> tags(new FCStrings);
    FCString* current = nullptr;
    for (int32_t i = 0; i < _length; ++i) {
        const int16_t unit = _units[i];
        if (current) {
            current->Append(unit);
            if (unit == kClose) current = nullptr;
        } else if (unit == kCaret) {
            if (i + 1 < _length && _units[i + 1] == kCaret) {
                ++i;
            } else {
                std::unique_ptr<FCString> tag(new FCString);
                tag->SetCString("^");
                tags->Add(tag.get());
                current = tag.release();
            }
        }
    }
    return tags.release();
}

FCStrings* FCString::CreateEnigmaComponents() {
    if (_length <= 1 || _units[0] != kCaret) return nullptr;
    std::unique_ptr<FCStrings> components(new FCStrings);
    FCString* current = nullptr;
    for (int32_t i = 1; i < _length; ++i) {
        const int16_t unit = _units[i];
        if (unit == ',' || unit == '(' || unit == kClose) {
            current = nullptr;
            continue;
        }
        if (!current) {
            std::unique_ptr<FCString> component(new FCString);
            components->Add(component.get());
            current = component.release();
        }
        current->Append(unit);
    }
    return components.release();
}

FCFontInfo* FCString::CreateLastFontInfo() {
    std::unique_ptr<FCFontInfo> font(new FCFontInfo);
    font->SetName("Times New Roman");
    font->SetSize(12);
    font->SetEffects(0);
    std::unique_ptr<FCStrings> tags(CreateEnigmaStrings());
    for (int i = 0; i < tags->GetCount(); ++i) {
        auto* tag = static_cast<FCString*>(tags->GetItemAt(i));
        std::unique_ptr<FCStrings> parts(tag ? tag->CreateEnigmaComponents() : nullptr);
        if (!parts) continue;  // a lone caret
        auto* name = static_cast<FCString*>(parts->GetItemAt(0));
        auto* argument = static_cast<FCString*>(parts->GetItemAt(1));
        // A tag without an argument says nothing about the font.
        if (!name || !argument) continue;
        if (name->IsEqual("fontMus") || name->IsEqual("fontTxt") || name->IsEqual("fontNum") ||
            name->IsEqual("font")) {
            if (argument->StartsWith("Font"))
                font->SetNameByID(static_cast<int16_t>(argument->GetInteger(4)));
            else
                font->SetName(argument->GetCString());
        } else if (name->IsEqual("nfx")) {
            font->SetEffects(static_cast<uint16_t>(argument->GetInteger(0)));
        } else if (name->IsEqual("size")) {
            font->SetSize(static_cast<int16_t>(argument->GetInteger(0)));
        }
    }
    return font.release();
}
