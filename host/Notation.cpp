#include "Notation.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <stdexcept>

#include "KeySpelling.h"

namespace plovikhost {

namespace {

constexpr char kLetters[] = "CDEFGAB";

// The notation spells every letter with at most one accidental from the key: keys of up to
// seven sharps or flats, major or minor.
bool Spellable(const KeySpelling& key) {
    return key.Mode() >= 0 && key.Mode() <= 1 && key.Alteration() >= -7 && key.Alteration() <= 7;
}

int FloorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

struct Duration {
    const char* name;
    int32_t units;
};
constexpr Duration kDurations[] = {{"w", 4096}, {"h", 2048}, {"q", 1024},
                                   {"e", 512},  {"s", 256},  {"t", 128}};

std::invalid_argument Unreadable(const std::string& token, const std::string& why) {
    return std::invalid_argument("cannot read \"" + token + "\": " + why);
}

}  // namespace

bool ParsePitchName(const std::string& text, Pitch& pitch) {
    if (text.empty()) return false;
    const char* letter = std::strchr(kLetters, std::toupper(static_cast<unsigned char>(text[0])));
    if (!letter || !*letter) return false;
    Pitch p;
    p.step = static_cast<int>(letter - kLetters);
    size_t i = 1;
    for (; i < text.size() && (text[i] == '#' || text[i] == 'b'); ++i)
        p.alteration += text[i] == '#' ? 1 : -1;
    if (i - 1 > 3) return false;
    bool negative = false;
    if (i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    if (i == text.size() || text.size() - i > 2) return false;
    int octave = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        octave = octave * 10 + (text[i] - '0');
    }
    p.octave = negative ? -octave : octave;
    pitch = p;
    return true;
}

std::string PitchName(const Pitch& pitch) {
    std::string name(1, kLetters[((pitch.step % 7) + 7) % 7]);
    if (pitch.alteration >= -3 && pitch.alteration <= 3) {
        name.append(static_cast<size_t>(std::abs(pitch.alteration)),
                    pitch.alteration > 0 ? '#' : 'b');
        return name + std::to_string(pitch.octave);
    }
    // Not a spelling anyone writes, but the record holds it: show the number.
    return name + std::to_string(pitch.octave) + "{" + (pitch.alteration > 0 ? "+" : "") +
           std::to_string(pitch.alteration) + "}";
}

bool PitchToNote(const Pitch& pitch, int16_t keyValue, int16_t& displacement, int16_t& raiseLower) {
    const KeySpelling key(keyValue);
    if (!Spellable(key)) return false;
    displacement = static_cast<int16_t>((pitch.octave - 4) * 7 + pitch.step - key.TonicStep());
    raiseLower = static_cast<int16_t>(pitch.alteration - key.LetterAlteration(pitch.step));
    return true;
}

bool NoteToPitch(int16_t displacement, int16_t raiseLower, int16_t keyValue, Pitch& pitch) {
    const KeySpelling key(keyValue);
    if (!Spellable(key)) return false;
    const int absolute = displacement + key.TonicStep() + 4 * 7;
    pitch.octave = FloorDiv(absolute, 7);
    pitch.step = absolute - pitch.octave * 7;
    pitch.alteration = raiseLower + key.LetterAlteration(pitch.step);
    return true;
}

int32_t ParseDuration(const std::string& text) {
    if (text.empty()) return -1;
    if (std::all_of(text.begin(), text.end(),
                    [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
        if (text.size() > 5) return -1;
        const int32_t units = std::stoi(text);
        return units <= INT16_MAX ? units : -1;
    }
    for (const Duration& d : kDurations) {
        if (text[0] != d.name[0]) continue;
        int32_t units = d.units, added = d.units;
        for (size_t i = 1; i < text.size(); ++i) {
            if (text[i] != '.' || added < 2) return -1;
            added /= 2;
            units += added;
        }
        return units;
    }
    return -1;
}

std::string DurationName(int32_t duration) {
    for (const Duration& d : kDurations) {
        int32_t units = d.units, added = d.units;
        std::string name = d.name;
        for (int dots = 0; dots <= 2; ++dots) {
            if (units == duration) return name;
            added /= 2;
            units += added;
            name += '.';
        }
    }
    return std::to_string(duration);
}

std::vector<EXENTRY> ParseEntries(const std::string& text, int16_t key) {
    std::vector<EXENTRY> entries;
    std::istringstream in(text);
    std::string token;
    int32_t duration = 1024;
    while (in >> token) {
        const size_t slash = token.find('/');
        const std::string notes = token.substr(0, slash);
        if (slash != std::string::npos) {
            duration = ParseDuration(token.substr(slash + 1));
            if (duration < 0) throw Unreadable(token, "not a duration");
        }
        EXENTRY entry{};
        entry.duration = static_cast<int16_t>(duration);
        if (notes == "r") {
            // As the host keeps a rest once it has been stored: one note record, the rest's own.
            entry.flags = ENTRY_FLAG_REST_RECORD;
            entry.noteCount = 1;
            entry.notes[0].noteID = 1;
            entry.notes[0].flags = NOTE_FLAG_CREATED | (1u << 16);
            entries.push_back(entry);
            continue;
        }
        entry.flags = ENTRY_FLAG_NOTE;
        std::istringstream chord(notes);
        std::string name;
        while (std::getline(chord, name, '+')) {
            if (entry.noteCount == EXENTRY_MAX_NOTES) throw Unreadable(token, "more than 12 notes");
            const bool tied = !name.empty() && name.back() == '~';
            if (tied) name.pop_back();
            Pitch pitch;
            if (!ParsePitchName(name, pitch)) throw Unreadable(token, "not a pitch");
            int16_t displacement, raiseLower;
            if (!PitchToNote(pitch, key, displacement, raiseLower))
                throw Unreadable(token, "the key cannot be spelled");
            NOTERECORD& note = entry.notes[entry.noteCount];
            note.displacement = displacement;
            note.raiseLower = raiseLower;
            note.noteID = static_cast<int16_t>(entry.noteCount + 1);
            note.flags = NOTE_FLAG_CREATED | (static_cast<uint32_t>(note.noteID) << 16) |
                         (tied ? NOTE_FLAG_TIE : 0);
            ++entry.noteCount;
        }
        if (entry.noteCount == 0) throw Unreadable(token, "no notes");
        entries.push_back(entry);
    }
    return entries;
}

std::string FormatEntries(const std::vector<EXENTRY>& entries, int16_t key) {
    std::string out;
    for (const EXENTRY& entry : entries) {
        if (!out.empty()) out += ' ';
        if (!(entry.flags & ENTRY_FLAG_NOTE)) {
            out += 'r';
        } else {
            const int n = EntryNoteCount(&entry);
            for (int i = 0; i < n; ++i) {
                const NOTERECORD& note = entry.notes[i];
                if (i > 0) out += '+';
                Pitch pitch;
                if (NoteToPitch(note.displacement, note.raiseLower, key, pitch))
                    out += PitchName(pitch);
                else
                    out += "?" + std::to_string(note.displacement);
                if (note.flags & NOTE_FLAG_TIE) out += '~';
            }
            if (n == 0) out += "()";
        }
        out += '/' + DurationName(entry.duration);
    }
    return out;
}

}  // namespace plovikhost
