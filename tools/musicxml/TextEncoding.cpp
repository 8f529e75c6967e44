#include "TextEncoding.h"

#include <cctype>
#include <cstdint>
#include <cstdio>

#include "ScoreError.h"

namespace plovikxml {

namespace {

// Windows-1252 at 0x80 to 0x9F; 0 where the code page assigns nothing.
constexpr uint16_t kHigh1252[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::string Upper(std::string name) {
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

void PutUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

ScoreError NotText(const char* encoding) {
    return ScoreError(std::string("not MusicXML: bytes that are not ") + encoding + " text");
}

// The next code point of UTF-8 text; the text was made by Decode or by edits in ASCII, so it
// is valid, but a damaged one is refused rather than read past its end.
uint32_t NextUtf8(const std::string& text, size_t& i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= text.size())
        throw ScoreError("the score's text came out damaged; nothing was written");
    uint32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) c = (c << 6) | (byte(i + static_cast<size_t>(k)) & 0x3F);
    i += static_cast<size_t>(extra) + 1;
    return c;
}

}  // namespace

TextEncoding::Kind TextEncoding::Detect(const std::string& bytes, const std::string& declared) {
    if (bytes.size() >= 2) {
        if (bytes.compare(0, 2, "\xFF\xFE") == 0 || (bytes[0] != '\0' && bytes[1] == '\0'))
            return UTF16LE;
        if (bytes.compare(0, 2, "\xFE\xFF") == 0 || (bytes[0] == '\0' && bytes[1] != '\0'))
            return UTF16BE;
    }
    const std::string name = Upper(declared);
    if (name == "ISO-8859-1" || name == "LATIN1" || name == "ISO_8859-1" || name == "LATIN-1")
        return LATIN1;
    if (name == "WINDOWS-1252" || name == "CP1252") return WINDOWS1252;
    return UTF8;
}

const char* TextEncoding::Name(Kind kind) {
    switch (kind) {
        case UTF16LE:
            return "UTF-16LE";
        case UTF16BE:
            return "UTF-16BE";
        case LATIN1:
            return "ISO-8859-1";
        case WINDOWS1252:
            return "Windows-1252";
        default:
            return "UTF-8";
    }
}

std::string TextEncoding::ByteOrderMark(const std::string& bytes, Kind kind) {
    if ((kind == UTF16LE && bytes.compare(0, 2, "\xFF\xFE") == 0) ||
        (kind == UTF16BE && bytes.compare(0, 2, "\xFE\xFF") == 0))
        return bytes.substr(0, 2);
    return "";
}

std::string TextEncoding::Decode(const std::string& bytes, Kind kind) {
    std::string out;
    if (kind == UTF8) return bytes;
    if (kind == LATIN1 || kind == WINDOWS1252) {
        out.reserve(bytes.size() + bytes.size() / 8);
        for (char ch : bytes) {
            const auto b = static_cast<unsigned char>(ch);
            uint32_t c = b;
            if (kind == WINDOWS1252 && b >= 0x80 && b < 0xA0) {
                c = kHigh1252[b - 0x80];
                if (c == 0) throw NotText(Name(kind));
            }
            PutUtf8(out, c);
        }
        return out;
    }
    const size_t skip = ByteOrderMark(bytes, kind).size();
    if ((bytes.size() - skip) % 2 != 0) throw NotText(Name(kind));
    out.reserve((bytes.size() - skip) / 2 + bytes.size() / 8);
    const auto unit = [&](size_t i) -> uint32_t {
        const auto lo = static_cast<unsigned char>(bytes[kind == UTF16LE ? i : i + 1]);
        const auto hi = static_cast<unsigned char>(bytes[kind == UTF16LE ? i + 1 : i]);
        return static_cast<uint32_t>(hi << 8 | lo);
    };
    for (size_t i = skip; i < bytes.size(); i += 2) {
        uint32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00) {
            if (i + 3 >= bytes.size()) throw NotText(Name(kind));
            const uint32_t low = unit(i + 2);
            if (low < 0xDC00 || low >= 0xE000) throw NotText(Name(kind));
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        } else if (c >= 0xDC00 && c < 0xE000) {
            throw NotText(Name(kind));
        }
        PutUtf8(out, c);
    }
    return out;
}

std::string TextEncoding::Encode(const std::string& utf8, Kind kind, const std::string& bom) {
    if (kind == UTF8) return bom + utf8;
    std::string out = bom;
    out.reserve(bom.size() +
                (kind == LATIN1 || kind == WINDOWS1252 ? utf8.size() : 2 * utf8.size()));
    const auto refuse = [&](uint32_t c) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
        return ScoreError(std::string("the score's encoding, ") + Name(kind) +
                          ", cannot hold the character " + code + "; nothing was written");
    };
    const auto put16 = [&](uint32_t u) {
        const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
        if (kind == UTF16LE) {
            out += lo;
            out += hi;
        } else {
            out += hi;
            out += lo;
        }
    };
    for (size_t i = 0; i < utf8.size();) {
        const uint32_t c = NextUtf8(utf8, i);
        if (kind == UTF16LE || kind == UTF16BE) {
            if (c >= 0x10000) {
                put16(0xD800 + ((c - 0x10000) >> 10));
                put16(0xDC00 + ((c - 0x10000) & 0x3FF));
            } else {
                put16(c);
            }
            continue;
        }
        if (c < 0x80 || (c >= 0xA0 && c < 0x100) || (kind == LATIN1 && c < 0x100)) {
            out += static_cast<char>(c);
            continue;
        }
        int byte = -1;
        if (kind == WINDOWS1252)
            for (int k = 0; k < 32; ++k)
                if (kHigh1252[k] == c) byte = 0x80 + k;
        if (byte < 0) throw refuse(c);
        out += static_cast<char>(byte);
    }
    return out;
}

}  // namespace plovikxml
