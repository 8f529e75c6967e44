#include "MusicXmlReader.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <pugixml.hpp>
#include <string_view>

#include "KeySpelling.h"
#include "ScoreBuilder.h"
#include "ScoreError.h"

namespace plovikxml {

namespace {

using plovikhost::Document;
using Entry = ImportedScore::Entry;
using Note = ImportedScore::Note;

constexpr int kLayers = plovikhost::kDocumentLayers;
constexpr int64_t kUnitsPerQuarter = 1024;
// Pitches between the semitones have no spelling in the host; they are kept apart from every
// spelled pitch (and from each other) far above any raise/lower value a key gives: the written
// alteration in thousandths of a semitone, less what the key gives the letter, so that with the
// key's accidentals added they read alike under every key.
constexpr int kMicrotones = 0x4000;
// The silence between a voice's notes gets one rest in each measure it spans, as long as the
// silence there and at most two whole notes: enough that no tie leaps over it, and a silence
// of any length costs no more than a measure's worth of rests.
const Fraction kLongestGapRest(8);

std::string_view Trim(const char* text) {
    std::string_view view(text);
    while (!view.empty() && std::isspace(static_cast<unsigned char>(view.front())))
        view.remove_prefix(1);
    while (!view.empty() && std::isspace(static_cast<unsigned char>(view.back())))
        view.remove_suffix(1);
    return view;
}

bool ParseInt(std::string_view text, int min, int max, int& value) {
    Fraction f;
    if (!Fraction::ParseDecimal(text, f) || !f.IsInteger() || f.Numerator() < min ||
        f.Numerator() > max)
        return false;
    value = static_cast<int>(f.Numerator());
    return true;
}

bool HasType(pugi::xml_node node, const char* type) {
    return Trim(node.attribute("type").value()) == type;
}

// The tie marks of a note: <tie> as sound, <tied> as notation.
uint8_t TieMarks(pugi::xml_node note) {
    int tieStart = 0, tieStop = 0, tiedStart = 0, tiedStop = 0;
    uint8_t marks = 0;
    for (pugi::xml_node tie : note.children("tie")) {
        tieStart += HasType(tie, "start");
        tieStop += HasType(tie, "stop");
    }
    for (pugi::xml_node notations : note.children("notations"))
        for (pugi::xml_node tied : notations.children("tied")) {
            tiedStart += HasType(tied, "start");
            tiedStop += HasType(tied, "stop");
            if (HasType(tied, "let-ring")) marks |= Note::LET_RING;
        }
    if (tieStart > 0) marks |= Note::TIE_START;
    if (tieStop > 0) marks |= Note::TIE_STOP;
    if (tiedStart > 0) marks |= Note::TIED_START;
    if (tiedStop > 0) marks |= Note::TIED_STOP;
    if (tieStart > 1 || tiedStart > 1) marks |= Note::DUPLICATE_START;
    if (tieStop > 1 || tiedStop > 1) marks |= Note::DUPLICATE_STOP;
    return marks;
}

// Voices in ascending order: numbers by value, then any other names.
bool VoiceBefore(const std::string& a, const std::string& b) {
    auto number = [](const std::string& v) {
        return !v.empty() && v.size() <= 9 &&
               std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    const bool na = number(a), nb = number(b);
    if (na && nb) return std::stol(a) != std::stol(b) ? std::stol(a) < std::stol(b) : a < b;
    if (na != nb) return na;
    return a < b;
}

struct PartSource {
    std::string id;
    std::string name;
    std::vector<const XmlOutline::Span*> measures;  // null where the part lacks the measure
};

struct RawEntry {
    int staff = 1;
    uint32_t order = 0;
    std::string voice;
    int16_t measure = 0;
    Entry::Kind kind = Entry::NOTES;  // NOTES, REST, GRACE or CUE
    Fraction start;
    Fraction length;
    std::vector<Note> notes;
};

struct VoiceSeen {
    std::string voice;
    size_t entries;  // notes and rests the host would hold
};

struct PartState {
    Fraction divisions = 1;
    int staves = 1;
    std::vector<Fraction> lengths;  // how far the part's music reaches in each measure
    std::vector<RawEntry> raw;
    std::map<int, std::vector<VoiceSeen>> voices;  // by staff, in order of appearance
};

// What the first part sets in a measure; unset values carry over from the measure before.
struct MeasureSetting {
    bool keySet = false;
    int16_t key = 0;
    bool timeSet = false;
    int16_t beats = 4;
    int16_t beatDuration = 1024;
};

class Reader {
  public:
    Reader(const std::string& text, const XmlOutline& outline, Document& doc, ImportedScore& score)
        : text_(text), outline_(outline), doc_(doc), score_(score) {}

    void Run() {
        CollectParts();
        states_.resize(parts_.size());
        for (size_t p = 0; p < parts_.size(); ++p) ReadPart(p);
        SetUpDocument();
        int16_t slot = 1;
        for (size_t p = 0; p < parts_.size(); ++p) EmitPart(p, slot);
        score_.Index();
        for (const auto& notice : notices_) {
            std::string text;
            for (const std::string& said : notice.second) text += (text.empty() ? "" : "; ") + said;
            score_.notices.push_back({notice.first.first, notice.first.second, text});
        }
    }

  private:
    std::string Where(size_t part, int16_t measure) const {
        const PartSource& source = parts_[part];
        std::string where = "part \"" + source.id + "\"";
        if (source.name != source.id) where += " (" + source.name + ")";
        return where + ", " + score_.MeasureLabel(measure);
    }

    // The element of the text at the span, parsed on its own.
    pugi::xml_node Parse(const XmlOutline::Span& span) {
        if (span.end <= span.begin || span.end > text_.size() || text_[span.begin] != '<' ||
            !fragment_.load_buffer(text_.data() + span.begin, span.end - span.begin,
                                   pugi::parse_default | pugi::parse_embed_pcdata,
                                   pugi::encoding_utf8))
            throw ScoreError("the score's text and its outline disagree");
        fragmentAt_ = span.begin;
        return fragment_.document_element();
    }

    void CollectParts() {
        const std::string& kind = outline_.root;
        if (kind != "score-partwise" && kind != "score-timewise")
            throw ScoreError("not a MusicXML score: its root element is <" + kind + ">");
        std::map<std::string, std::string> names;
        std::vector<std::string> listed;
        if (outline_.hasPartList) {
            for (pugi::xml_node part : Parse(outline_.partList).children("score-part")) {
                const std::string id = part.attribute("id").value();
                const std::string_view name = Trim(part.child_value("part-name"));
                names.emplace(id, name.empty() ? id : std::string(name));
                listed.push_back(id);
            }
        }
        auto partFor = [&](const std::string& id) -> PartSource& {
            for (PartSource& p : parts_)
                if (p.id == id) return p;
            parts_.push_back({id, names.count(id) ? names[id] : id, {}});
            return parts_.back();
        };
        // Score order is the part list's; parts it does not list follow in file order.
        for (const std::string& id : listed) partFor(id);
        if (kind == "score-partwise") {
            for (const XmlOutline::Group& part : outline_.groups) {
                PartSource& source = partFor(part.span.attribute);
                if (!source.measures.empty()) continue;  // a second part of the same id
                for (const XmlOutline::Span& measure : part.children) {
                    source.measures.push_back(&measure);
                    NoteNumber(source.measures.size(), measure);
                }
            }
        } else {
            size_t index = 0;
            for (const XmlOutline::Group& measure : outline_.groups) {
                ++index;
                NoteNumber(index, measure.span);
                for (const XmlOutline::Span& part : measure.children) {
                    PartSource& source = partFor(part.attribute);
                    if (source.measures.size() < index) source.measures.resize(index);
                    if (!source.measures[index - 1]) source.measures[index - 1] = &part;
                }
            }
        }
        parts_.erase(std::remove_if(parts_.begin(), parts_.end(),
                                    [](const PartSource& p) { return p.measures.empty(); }),
                     parts_.end());
        if (parts_.empty()) throw ScoreError("the score has no music: no part has a measure");
        if (score_.measureNumbers.size() > static_cast<size_t>(INT16_MAX))
            throw ScoreError("the score has more measures than the host holds (32767)");
        // A measure a part lacks is read as empty, but a part that lacks most of the score is
        // refused: a few bytes would stand for a whole staff of empty measures, parts times over.
        const size_t measures = score_.measureNumbers.size();
        for (const PartSource& part : parts_) {
            const size_t has = static_cast<size_t>(
                std::count_if(part.measures.begin(), part.measures.end(),
                              [](const XmlOutline::Span* m) { return m != nullptr; }));
            if (measures - has > has)
                throw ScoreError("part \"" + part.id + "\" has " + std::to_string(has) +
                                 " of the " + std::to_string(measures) +
                                 " measures of the score; a part lacks at most half of them");
        }
    }

    void NoteNumber(size_t index, const XmlOutline::Span& measure) {
        if (score_.measureNumbers.size() < index) score_.measureNumbers.resize(index);
        std::string& number = score_.measureNumbers[index - 1];
        if (number.empty()) number = std::string(Trim(measure.attribute.c_str()));
    }

    Fraction Duration(pugi::xml_node node, const PartState& state, size_t part, int16_t m,
                      const char* what) const {
        Fraction value;
        const pugi::xml_node duration = node.child("duration");
        if (!duration || !Fraction::ParseDecimal(duration.child_value(), value) || value < 0)
            throw ScoreError(std::string(what) + " without a duration in " + Where(part, m));
        return value / state.divisions;
    }

    void ReadPart(size_t p) {
        PartState& state = states_[p];
        const PartSource& source = parts_[p];
        state.lengths.assign(score_.measureNumbers.size(), Fraction(0));
        if (p == 0) settings_.assign(score_.measureNumbers.size(), MeasureSetting{});
        groupFirst_ = endingClosedAt_ = 0;
        endingOpen_ = false;
        for (size_t i = 0; i < source.measures.size(); ++i) {
            if (!source.measures[i]) continue;
            const int16_t m = static_cast<int16_t>(i + 1);
            Fraction cursor, furthest, chordStart;
            int chordEntry = -1;  // where the notes of a chord gather
            for (pugi::xml_node child : Parse(*source.measures[i]).children()) {
                const std::string_view name = child.name();
                if (name == "attributes") {
                    ReadAttributes(child, state, p, m);
                } else if (name == "barline") {
                    for (pugi::xml_node ending : child.children("ending")) ReadEnding(ending, m);
                } else if (name == "backup") {
                    cursor = cursor - Duration(child, state, p, m, "a backup");
                    if (cursor < 0) cursor = 0;
                    chordEntry = -1;
                } else if (name == "forward") {
                    cursor = cursor + Duration(child, state, p, m, "a forward");
                    furthest = std::max(furthest, cursor);
                    chordEntry = -1;
                } else if (name == "note") {
                    // A grace note takes no time; it and a cue note are not imported, but
                    // their tie marks count.
                    const bool grace = child.child("grace");
                    const bool chord = child.child("chord");
                    Fraction length;
                    if (!grace) {
                        length = Duration(child, state, p, m, "a note");
                        if (length == 0 && !chord)
                            throw ScoreError("a note of no duration in " + Where(p, m));
                    }
                    const Fraction start = chord ? chordStart : cursor;
                    if (!chord) {
                        chordStart = cursor;
                        cursor = cursor + length;
                        furthest = std::max(furthest, cursor);
                    }
                    const Entry::Kind kind = grace                ? Entry::GRACE
                                             : child.child("cue") ? Entry::CUE
                                                                  : Entry::NOTES;
                    ReadNote(child, state, p, m, start, length, kind, chord, chordEntry);
                }
            }
            state.lengths[i] = furthest;
        }
    }

    // An ending begins a group of alternatives unless it is numbered after the first and
    // follows straight on from an ending, or begins while one is still open.
    void ReadEnding(pugi::xml_node ending, int16_t m) {
        const std::string_view type = ending.attribute("type").value();
        if (type != "start") {
            if (type == "stop" || type == "discontinue") {
                endingOpen_ = false;
                endingClosedAt_ = m;
            }
            return;
        }
        bool first = false;  // numbered 1, alone or among others ("1, 2")
        std::string_view numbers = ending.attribute("number").value();
        while (!numbers.empty()) {
            const size_t comma = numbers.find_first_of(", ");
            if (numbers.substr(0, comma) == "1") first = true;
            numbers = comma == std::string_view::npos ? "" : numbers.substr(comma + 1);
        }
        const bool later = !first && groupFirst_ > 0 && groupFirst_ < m &&
                           (endingOpen_ || endingClosedAt_ == m - 1);
        if (later)
            score_.laterEndings.emplace(m, groupFirst_);
        else
            groupFirst_ = m;
        endingOpen_ = true;
    }

    void ReadAttributes(pugi::xml_node attributes, PartState& state, size_t p, int16_t m) {
        if (pugi::xml_node divisions = attributes.child("divisions")) {
            Fraction value;
            if (!Fraction::ParseDecimal(divisions.child_value(), value) || value <= 0)
                throw ScoreError("divisions that are not a positive number in " + Where(p, m));
            state.divisions = value;
        }
        if (pugi::xml_node staves = attributes.child("staves")) {
            int count;
            if (!ParseInt(staves.child_value(), 1, MusicXmlReader::kMaxStavesPerPart, count))
                throw ScoreError("a number of staves the host cannot hold in " + Where(p, m));
            state.staves = std::max(state.staves, count);
        }
        if (p != 0) return;  // the first part's keys and times are the measures'
        MeasureSetting& setting = settings_[static_cast<size_t>(m - 1)];
        for (pugi::xml_node key : attributes.children("key")) {
            if (key.attribute("number") && Trim(key.attribute("number").value()) != "1") continue;
            int fifths = 0;  // a key of its own steps (no fifths) alters no letter here
            if (pugi::xml_node node = key.child("fifths")) {
                if (!ParseInt(node.child_value(), -127, 127, fifths))
                    throw ScoreError("a key that is not a number of fifths in " + Where(p, m));
                if (fifths < -7 || fifths > 7) {
                    // Its notes are held as in C major: as written, so the same written pitches
                    // compare equal.
                    Notice(0, m,
                           "a key of " + std::to_string(fifths < 0 ? -fifths : fifths) +
                               (fifths < 0 ? " flats" : " sharps") +
                               " is held as C major (the host spells at most seven); its notes "
                               "are tied as written");
                    fifths = 0;
                }
            }
            const int mode = Trim(key.child_value("mode")) == "minor" ? 1 : 0;
            setting.keySet = true;
            setting.key = static_cast<int16_t>((mode << 8) | (fifths & 0xFF));
        }
        for (pugi::xml_node time : attributes.children("time")) {
            if (time.attribute("number") && Trim(time.attribute("number").value()) != "1") continue;
            // "3+2" beats count as five; a signature the host cannot hold keeps the last one.
            int beats = 0, part = 0, beatType = 0;
            std::string_view text = Trim(time.child_value("beats"));
            bool ok = !text.empty();
            while (ok && !text.empty()) {
                const size_t plus = text.find('+');
                ok = ParseInt(text.substr(0, plus), 1, 999, part);
                beats += part;
                text = plus == std::string_view::npos ? std::string_view() : text.substr(plus + 1);
            }
            if (!ok || beats > 999 || !ParseInt(time.child_value("beat-type"), 1, 4096, beatType))
                continue;
            setting.timeSet = true;
            setting.beats = static_cast<int16_t>(beats);
            setting.beatDuration = static_cast<int16_t>(std::max(1, 4096 / beatType));
        }
    }

    void ReadNote(pugi::xml_node node, PartState& state, size_t p, int16_t m, const Fraction& start,
                  const Fraction& length, Entry::Kind kind, bool chord, int& chordEntry) {
        // A chord's note that names no staff or voice of its own is on the chord's.
        const RawEntry* chordOf =
            chord && chordEntry >= 0 ? &state.raw[static_cast<size_t>(chordEntry)] : nullptr;
        int staff = chordOf ? chordOf->staff : 1;
        if (pugi::xml_node s = node.child("staff")) {
            if (!ParseInt(s.child_value(), 1, MusicXmlReader::kMaxStavesPerPart, staff))
                throw ScoreError("a note on a staff the host cannot hold in " + Where(p, m));
            state.staves = std::max(state.staves, staff);
        }
        std::string voice(Trim(node.child_value("voice")));
        if (voice.empty()) voice = chordOf ? chordOf->voice : "1";

        Note note;
        note.at = fragmentAt_ + static_cast<size_t>(node.offset_debug()) - 1;
        note.marks = TieMarks(node);
        note.tied = note.Starts();
        if (node.child("rest")) {
            chordEntry = -1;
            // A rest matters to ties only in a voice of the host, or where it carries marks.
            if (kind != Entry::NOTES && note.marks == 0) return;
            note.rest = true;
            RawEntry rest{staff, nextOrder_++, voice, m, kind == Entry::NOTES ? Entry::REST : kind,
                          start, length,       {}};
            if (note.marks != 0) rest.notes.push_back(note);
            Count(state, staff, voice, rest.kind);
            state.raw.push_back(std::move(rest));
            return;
        }
        ReadPitch(node, note, p, m);
        if (chordOf && chordOf->kind == kind) {
            RawEntry& entry = state.raw[static_cast<size_t>(chordEntry)];
            if (entry.staff == staff && entry.voice == voice && entry.start == start) {
                if (kind == Entry::NOTES &&
                    entry.notes.size() == static_cast<size_t>(EXENTRY_MAX_NOTES))
                    throw ScoreError("a chord of more than 12 notes (the host's most) in " +
                                     Where(p, m));
                entry.notes.push_back(note);
                return;
            }
        }
        chordEntry = static_cast<int>(state.raw.size());
        Count(state, staff, voice, kind);
        state.raw.push_back({staff, nextOrder_++, voice, m, kind, start, length, {note}});
    }

    // The voices of each staff in order of appearance, with the entries the host would hold.
    static void Count(PartState& state, int staff, const std::string& voice, Entry::Kind kind) {
        std::vector<VoiceSeen>& seen = state.voices[staff];
        auto it = std::find_if(seen.begin(), seen.end(),
                               [&](const VoiceSeen& v) { return v.voice == voice; });
        if (it == seen.end()) it = seen.insert(seen.end(), {voice, 0});
        if (kind == Entry::NOTES || kind == Entry::REST) ++it->entries;
    }

    void ReadPitch(pugi::xml_node node, Note& note, size_t p, int16_t m) const {
        pugi::xml_node pitch = node.child("pitch");
        const char* stepName = "step";
        const char* octaveName = "octave";
        if (!pitch) {
            // Unpitched notes stand where they are displayed.
            pitch = node.child("unpitched");
            stepName = "display-step";
            octaveName = "display-octave";
        }
        if (!pitch) throw ScoreError("a note with no pitch and no rest in " + Where(p, m));
        const std::string_view step = Trim(pitch.child_value(stepName));
        const char* letter = step.size() == 1 ? std::strchr("CDEFGAB", step[0]) : nullptr;
        if (!letter || !*letter) throw ScoreError("a note with no step in " + Where(p, m));
        note.step = static_cast<int>(letter - "CDEFGAB");
        if (!ParseInt(pitch.child_value(octaveName), -9, 19, note.octave))
            throw ScoreError("a note with no octave in " + Where(p, m));
        note.alter = 0;
        if (pugi::xml_node alter = pitch.child("alter")) {
            if (!Fraction::ParseDecimal(alter.child_value(), note.alter) || note.alter < -8 ||
                note.alter > 8)
                throw ScoreError("a note whose alteration is not a number of semitones in " +
                                 Where(p, m));
        }
    }

    void SetUpDocument() {
        plovikhost::ScoreBuilder builder(doc_);
        MeasureSetting inForce;
        for (MeasureSetting& setting : settings_) {
            if (setting.keySet) inForce.key = setting.key;
            if (setting.timeSet) {
                inForce.beats = setting.beats;
                inForce.beatDuration = setting.beatDuration;
            }
            setting = inForce;
            builder.Measures(1, setting.beats, setting.beatDuration, setting.key);
        }
    }

    Fraction SignatureLength(size_t measureIndex) const {
        const MeasureSetting& s = settings_[measureIndex];
        return Fraction(int64_t{s.beats} * s.beatDuration, kUnitsPerQuarter);
    }

    void EmitPart(size_t p, int16_t& slot) {
        PartState& state = states_[p];
        // Where each measure starts in the part: an empty measure lasts as its time signature.
        std::vector<Fraction> measureAt(state.lengths.size() + 1);
        for (size_t i = 0; i < state.lengths.size(); ++i)
            measureAt[i + 1] =
                measureAt[i] + (state.lengths[i] > 0 ? state.lengths[i] : SignatureLength(i));

        std::vector<std::vector<const RawEntry*>> layers(static_cast<size_t>(state.staves) *
                                                         kLayers);
        std::map<std::pair<int, std::string>, int> layerOf;  // -1: the voice is left out
        for (int staff = 1; staff <= state.staves; ++staff) {
            // The host has four layers: a staff of more voices keeps the four with the most
            // notes and rests (the first to appear among equals), in ascending order.
            std::vector<VoiceSeen> seen = state.voices[staff];
            seen.erase(std::remove_if(seen.begin(), seen.end(),
                                      [](const VoiceSeen& v) { return v.entries == 0; }),
                       seen.end());
            std::stable_sort(seen.begin(), seen.end(), [](const VoiceSeen& a, const VoiceSeen& b) {
                return a.entries > b.entries;
            });
            for (size_t i = static_cast<size_t>(kLayers); i < seen.size(); ++i)
                layerOf[{staff, seen[i].voice}] = -1;
            if (seen.size() > static_cast<size_t>(kLayers)) seen.resize(kLayers);
            std::sort(seen.begin(), seen.end(), [](const VoiceSeen& a, const VoiceSeen& b) {
                return VoiceBefore(a.voice, b.voice);
            });
            for (size_t i = 0; i < seen.size(); ++i)
                layerOf[{staff, seen[i].voice}] = static_cast<int>(i);
        }
        const int16_t firstSlot = slot;
        auto place = [&](const RawEntry& raw, Entry::Kind kind, int16_t layer) {
            Entry entry;
            entry.kind = kind;
            entry.slot = static_cast<int16_t>(firstSlot + raw.staff - 1);
            entry.layer = layer;
            entry.measure = raw.measure;
            entry.start = raw.start;
            entry.length = raw.length;
            entry.at = measureAt[static_cast<size_t>(raw.measure - 1)] + raw.start;
            entry.voice = raw.voice;
            entry.order = raw.order;
            entry.notes = raw.notes;
            return entry;
        };
        for (const RawEntry& raw : state.raw) {
            const auto layer = layerOf.find({raw.staff, raw.voice});
            if (raw.kind == Entry::GRACE || raw.kind == Entry::CUE) {
                score_.others.push_back(place(raw, raw.kind, -1));
            } else if (layer == layerOf.end() || layer->second < 0) {
                score_.others.push_back(place(raw, Entry::LEFT_OUT, -1));
                Notice(
                    static_cast<int16_t>(firstSlot + raw.staff - 1), raw.measure,
                    "voice " + raw.voice + " is left out (the host holds four voices on a staff)");
            } else {
                layers[static_cast<size_t>((raw.staff - 1) * kLayers + layer->second)].push_back(
                    &raw);
            }
        }

        for (int staff = 1; staff <= state.staves; ++staff, ++slot) {
            if (slot == INT16_MAX)
                throw ScoreError("the score has more staves than the host holds");
            plovikhost::ScoreBuilder(doc_).Staves({slot});
            score_.staves.push_back({parts_[p].id, parts_[p].name, staff, state.staves});
            for (int16_t layer = 0; layer < kLayers; ++layer) {
                std::vector<const RawEntry*>& entries =
                    layers[static_cast<size_t>((staff - 1) * kLayers + layer)];
                std::stable_sort(entries.begin(), entries.end(),
                                 [](const RawEntry* a, const RawEntry* b) {
                                     return a->measure != b->measure ? a->measure < b->measure
                                                                     : a->start < b->start;
                                 });
                Fraction reached;  // where the layer's music so far ends
                bool any = false;
                for (const RawEntry* raw : entries) {
                    Entry entry = place(*raw, raw->kind, layer);
                    if (any && reached < entry.at)
                        FillGap(p, slot, layer, measureAt, reached, entry.at, raw->voice);
                    reached = std::max(reached, entry.at + raw->length);
                    any = true;
                    if (((entry.start + entry.length) * kUnitsPerQuarter).Round() -
                            (entry.start * kUnitsPerQuarter).Round() >
                        INT16_MAX) {
                        // Longer than the host holds: left as it is, a rest in its place.
                        Notice(slot, raw->measure,
                               std::string(raw->kind == Entry::REST ? "a rest" : "a note") +
                                   " of " + (raw->length / 4).ToString() +
                                   " whole notes is left out (the host holds at most eight)");
                        Entry standIn = entry;
                        standIn.kind = Entry::GAP;
                        standIn.length = kLongestGapRest;
                        standIn.notes.clear();
                        entry.kind = Entry::LEFT_OUT;
                        entry.layer = -1;
                        score_.others.push_back(std::move(entry));
                        Emit(std::move(standIn), p);
                        continue;
                    }
                    Emit(std::move(entry), p);
                }
            }
        }
        state.raw.clear();
    }

    void FillGap(size_t p, int16_t slot, int16_t layer, const std::vector<Fraction>& measureAt,
                 Fraction from, const Fraction& to, const std::string& voice) {
        size_t m = static_cast<size_t>(std::upper_bound(measureAt.begin(), measureAt.end(), from) -
                                       measureAt.begin());
        m = m == 0 ? 0 : m - 1;  // the measure holding `from`
        while (from < to && m + 1 < measureAt.size()) {
            const Fraction until = std::min({to, measureAt[m + 1], from + kLongestGapRest});
            if (from < until) {
                Entry gap;
                gap.kind = Entry::GAP;
                gap.slot = slot;
                gap.layer = layer;
                gap.measure = static_cast<int16_t>(m + 1);
                gap.start = from - measureAt[m];
                gap.length = until - from;
                gap.at = from;
                gap.voice = voice;
                Emit(std::move(gap), p);
                from = std::min(to, measureAt[m + 1]);
            }
            if (from == measureAt[m + 1]) ++m;
        }
    }

    void Emit(Entry entry, size_t p) {
        EXENTRY record{};
        const int64_t position = (entry.start * kUnitsPerQuarter).Round();
        const int64_t end = ((entry.start + entry.length) * kUnitsPerQuarter).Round();
        if (position > INT32_MAX || end - position > INT16_MAX)
            throw ScoreError("a measure longer than the host holds in " + Where(p, entry.measure));
        record.position = static_cast<int32_t>(position);
        record.duration = static_cast<int16_t>(std::max<int64_t>(1, end - position));
        if (entry.kind == Entry::NOTES) {
            const plovikhost::KeySpelling key(
                settings_[static_cast<size_t>(entry.measure - 1)].key);
            record.flags = ENTRY_FLAG_NOTE;
            for (Note& note : entry.notes) {
                note.displacement =
                    static_cast<int16_t>(7 * (note.octave - 4) + note.step - key.TonicStep());
                const int inKey = key.LetterAlteration(note.step);
                note.raiseLower = static_cast<int16_t>(
                    note.alter.IsInteger() ? note.alter.Numerator() - inKey
                                           : kMicrotones + (note.alter * 1000).Round() - inKey);
                NOTERECORD& n = record.notes[record.noteCount];
                n.displacement = note.displacement;
                n.raiseLower = note.raiseLower;
                n.noteID = static_cast<int16_t>(record.noteCount + 1);
                n.flags = NOTE_FLAG_CREATED | (static_cast<uint32_t>(n.noteID) << 16) |
                          (note.tied ? NOTE_FLAG_TIE : 0u);
                ++record.noteCount;
            }
        }
        plovikhost::Cell& cell = doc_.CellAt(entry.slot, entry.measure, entry.layer);
        if (cell.entries.size() >= static_cast<size_t>(INT16_MAX))
            throw ScoreError("more entries in one measure than the host holds in " +
                             Where(p, entry.measure));
        record.entryNumber = doc_.TakeEntryNumber();
        entry.number = record.entryNumber;
        cell.entries.push_back(record);
        score_.entries.push_back(std::move(entry));
    }

    void Notice(int16_t slot, int16_t measure, const std::string& text) {
        std::vector<std::string>& said = notices_[{slot, measure}];
        if (std::find(said.begin(), said.end(), text) == said.end()) said.push_back(text);
    }

    const std::string& text_;
    const XmlOutline& outline_;
    uint32_t nextOrder_ = 0;
    std::map<std::pair<int16_t, int16_t>, std::vector<std::string>> notices_;
    pugi::xml_document fragment_;  // the measure being read
    size_t fragmentAt_ = 0;        // where it stands in the text
    Document& doc_;
    ImportedScore& score_;
    std::vector<PartSource> parts_;
    std::vector<PartState> states_;
    std::vector<MeasureSetting> settings_;
    // The endings of the part being read.
    int16_t groupFirst_ = 0;      // where the first ending of the last group began
    int16_t endingClosedAt_ = 0;  // where the last ending stopped
    bool endingOpen_ = false;
};

}  // namespace

void MusicXmlReader::Read(const std::string& text, const XmlOutline& outline, Document& doc,
                          ImportedScore& score) {
    if (!doc.Staves().empty() || doc.MeasureCount() != 0)
        throw ScoreError("a score can only be read into an empty document");
    score = ImportedScore{};
    Reader(text, outline, doc, score).Run();
}

}  // namespace plovikxml
