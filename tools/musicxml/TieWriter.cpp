#include "TieWriter.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "ScoreError.h"
#include "XmlSplicer.h"

namespace plovikxml {

namespace {

using Entry = ImportedScore::Entry;
using Note = ImportedScore::Note;

constexpr char kTieStart[] = "<tie type=\"start\"/>";
constexpr char kTieStop[] = "<tie type=\"stop\"/>";
constexpr char kTiedStart[] = "<tied type=\"start\"/>";
constexpr char kTiedStop[] = "<tied type=\"stop\"/>";
constexpr char kLetRing[] = "<tied type=\"let-ring\"/>";

bool Named(pugi::xml_node node, const char* name) {
    return node.type() == pugi::node_element && std::string_view(node.name()) == name;
}

bool OfType(pugi::xml_node node, const char* type) {
    std::string_view value = node.attribute("type").value();
    while (!value.empty() && std::isspace(static_cast<unsigned char>(value.front())))
        value.remove_prefix(1);
    while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back())))
        value.remove_suffix(1);
    return value == type;
}

const Note* SameHostPitch(const Entry* entry, const Note& note) {
    if (!entry || entry->kind != Entry::NOTES) return nullptr;
    for (const Note& other : entry->notes)
        if (other.SameHostPitch(note)) return &other;
    return nullptr;
}

// +1 to add a mark, -1 to remove it, 0 to leave it.
struct NoteEdit {
    int start = 0;
    int stop = 0;
    int letRing = 0;
    bool deduplicate = false;  // a second start or stop of the same element goes
    bool all = false;          // every tie mark goes
};

class NoteEditor {
  public:
    NoteEditor(XmlSplicer& splicer, pugi::xml_node note, const NoteEdit& edit)
        : s_(splicer), note_(note), edit_(edit) {}

    void Run() {
        std::vector<pugi::xml_node> erase;
        ScanTies(erase);
        ScanNotations(erase);
        // Insertions first: an erasure may begin where an insertion goes.
        InsertTies();
        InsertTieds();
        for (pugi::xml_node node : erase) s_.Erase(node);
    }

  private:
    // Whether a <tie> or <tied> goes: taken away, or written a second time on the note.
    bool Goes(pugi::xml_node mark, int& starts, int& stops) const {
        if (edit_.all) return true;
        if (OfType(mark, "start")) return edit_.start < 0 || (edit_.deduplicate && starts++ > 0);
        if (OfType(mark, "stop")) return edit_.stop < 0 || (edit_.deduplicate && stops++ > 0);
        if (OfType(mark, "let-ring")) return edit_.letRing < 0;
        return false;
    }

    void ScanTies(std::vector<pugi::xml_node>& erase) {
        int starts = 0, stops = 0;
        for (pugi::xml_node tie : note_.children("tie")) {
            if (Goes(tie, starts, stops)) {
                erase.push_back(tie);
                continue;
            }
            hasTieStart_ = hasTieStart_ || OfType(tie, "start");
            hasTieStop_ = hasTieStop_ || OfType(tie, "stop");
            lastTie_ = tie;
        }
    }

    void ScanNotations(std::vector<pugi::xml_node>& erase) {
        int starts = 0, stops = 0;
        std::vector<pugi::xml_node> going;
        for (pugi::xml_node notations : note_.children("notations")) {
            if (!target_) target_ = notations;
            for (pugi::xml_node tied : notations.children("tied")) {
                if (Goes(tied, starts, stops)) {
                    going.push_back(tied);
                    continue;
                }
                hasTiedStart_ = hasTiedStart_ || OfType(tied, "start");
                hasTiedStop_ = hasTiedStop_ || OfType(tied, "stop");
                hasLetRing_ = hasLetRing_ || OfType(tied, "let-ring");
            }
        }
        addTiedStart_ = edit_.start > 0 && !hasTiedStart_;
        addTiedStop_ = edit_.stop > 0 && !hasTiedStop_;
        addLetRing_ = edit_.letRing > 0 && !hasLetRing_;
        for (pugi::xml_node notations : note_.children("notations")) {
            std::vector<pugi::xml_node> gone;
            bool othersRemain = false;
            for (pugi::xml_node child : notations.children()) {
                if (std::find(going.begin(), going.end(), child) != going.end()) {
                    gone.push_back(child);
                    continue;
                }
                if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
                    const std::string_view text = child.value();
                    othersRemain =
                        othersRemain || text.find_first_not_of(" \t\r\n") != std::string_view::npos;
                    continue;
                }
                othersRemain = true;
                if (notations == target_ && Named(child, "tied")) lastTied_ = child;
            }
            if (gone.empty()) continue;
            const bool receives = notations == target_ && Adds();
            // A <notations> left with nothing in it goes too.
            if (!othersRemain && !receives)
                erase.push_back(notations);
            else
                erase.insert(erase.end(), gone.begin(), gone.end());
        }
    }

    bool Adds() const { return addTiedStart_ || addTiedStop_ || addLetRing_; }

    void InsertTies() {
        const bool addStop = edit_.stop > 0 && !hasTieStop_;
        const bool addStart = edit_.start > 0 && !hasTieStart_;
        if (!addStop && !addStart) return;
        // Ties follow the duration, or a grace note's pitch; a stop comes before a start.
        pugi::xml_node anchor = note_.child("duration");
        for (const char* name : {"pitch", "unpitched", "rest"})
            if (!anchor) anchor = note_.child(name);
        if (!anchor) throw ScoreError("a note without a duration cannot take a tie");
        if (addStop) s_.Insert(s_.End(anchor), s_.LineBefore(anchor) + kTieStop);
        if (addStart) {
            const pugi::xml_node after = lastTie_ ? lastTie_ : anchor;
            s_.Insert(s_.End(after), s_.LineBefore(after) + kTieStart);
        }
    }

    void InsertTieds() {
        if (!Adds()) return;
        if (target_ && !s_.IsEmptyTag(target_)) {
            const size_t at = s_.ContentBegin(target_);
            const pugi::xml_node first = FirstElement(target_);
            const std::string line = first ? s_.LineBefore(first) : Deeper(s_.LineBefore(target_));
            if (addTiedStop_) s_.Insert(at, line + kTiedStop);
            std::string starts;
            const std::string before = lastTied_ ? s_.LineBefore(lastTied_) : line;
            if (addTiedStart_) starts += before + kTiedStart;
            if (addLetRing_) starts += before + kLetRing;
            if (!starts.empty()) s_.Insert(lastTied_ ? s_.End(lastTied_) : at, starts);
            return;
        }
        if (target_) {
            // <notations/>: written out in full in its place.
            const std::string line = s_.LineBefore(target_);
            s_.Insert(s_.Begin(target_) - line.size(), line + NewNotations(line));
            s_.Erase(target_);
            return;
        }
        // A new <notations> goes after everything but lyrics and playback.
        pugi::xml_node anchor;
        for (pugi::xml_node child : note_.children()) {
            if (child.type() != pugi::node_element) continue;
            const std::string_view name = child.name();
            if (name == "lyric" || name == "play" || name == "listen") break;
            anchor = child;
        }
        if (!anchor) throw ScoreError("a note with nothing in it cannot take a tie");
        const std::string line = s_.LineBefore(anchor);
        s_.Insert(s_.End(anchor), line + NewNotations(line));
    }

    // <notations> holding the added marks, laid out as the note's children are.
    std::string NewNotations(const std::string& line) const {
        const std::string inner = line.empty() ? "" : line + s_.IndentStep(note_);
        std::string text = "<notations>";
        if (addTiedStop_) text += inner + kTiedStop;
        if (addTiedStart_) text += inner + kTiedStart;
        if (addLetRing_) text += inner + kLetRing;
        return text + line + "</notations>";
    }

    std::string Deeper(const std::string& line) const {
        return line.empty() ? line : line + s_.IndentStep(note_);
    }

    static pugi::xml_node FirstElement(pugi::xml_node parent) {
        for (pugi::xml_node child : parent.children())
            if (child.type() == pugi::node_element) return child;
        return pugi::xml_node();
    }

    XmlSplicer& s_;
    pugi::xml_node note_;
    NoteEdit edit_;
    bool hasTieStart_ = false, hasTieStop_ = false;
    bool hasTiedStart_ = false, hasTiedStop_ = false, hasLetRing_ = false;
    bool addTiedStart_ = false, addTiedStop_ = false, addLetRing_ = false;
    pugi::xml_node lastTie_, target_, lastTied_;
};

}  // namespace

std::vector<TieWriter::Change> TieWriter::Compare(const ImportedScore& score,
                                                  const plovikhost::Document& doc,
                                                  const Command& command) {
    std::unordered_map<uint32_t, const EXENTRY*> stored;
    for (const auto& cell : doc.cells)
        for (const EXENTRY& record : cell.second.entries) {
            const uint32_t number = record.entryNumber;  // a packed field: by value
            stored[number] = &record;
        }
    // The file's ties, read only when a tie changed or untie may take one away.
    std::unique_ptr<TieCheck> analysed;
    const auto check = [&]() -> const TieCheck& {
        if (!analysed) analysed = std::make_unique<TieCheck>(score);
        return *analysed;
    };

    // Without a tie mark or a grace note in the file, the next note of a voice in the file is
    // the next entry of its layer, and no tie arrives anywhere: nothing to look up.
    bool plain = command.kind != Command::UNTIE;
    for (const Entry& entry : score.others) plain = plain && entry.kind != Entry::GRACE;
    for (const Entry& entry : score.entries)
        for (const Note& note : entry.notes) plain = plain && note.marks == 0;

    std::vector<Change> changes;
    std::unordered_set<const Note*> startsGone, stopsGone;
    std::unordered_set<const Note*> reached;  // the stops of the ties written
    const auto remove = [&](const Entry& entry, const Note& note) {
        Change change;
        change.kind = Change::REMOVED;
        change.entry = &entry;
        change.note = &note;
        if (const TieCheck::Tie* tie = check().From(&note)) {
            change.partnerEntry = tie->stop.entry;
            change.partner = tie->stop.note;
            stopsGone.insert(change.partner);
        }
        startsGone.insert(&note);
        changes.push_back(change);
        for (const TieCheck::Tie* tie : check().EndingTies(&note)) {
            Change stop;
            stop.kind = Change::REMOVED;
            stop.entry = tie->stop.entry;
            stop.note = tie->stop.note;
            stop.stopOnly = true;
            stopsGone.insert(stop.note);
            changes.push_back(stop);
        }
    };
    for (const Entry& entry : score.entries) {
        if (entry.kind != Entry::NOTES) continue;
        auto found = stored.find(entry.number);
        if (found == stored.end()) continue;
        const EXENTRY& record = *found->second;
        const int count = EntryNoteCount(&record);
        for (size_t i = 0; i < entry.notes.size(); ++i) {
            const Note& note = entry.notes[i];
            const NOTERECORD* stored_note = nullptr;
            for (int k = 0; k < count; ++k)
                if (record.notes[k].noteID == static_cast<int16_t>(i + 1))
                    stored_note = &record.notes[k];
            if (!stored_note) continue;
            const bool tied = (stored_note->flags & NOTE_FLAG_TIE) != 0;
            if (tied == note.tied) continue;
            if (!tied) {
                remove(entry, note);
                continue;
            }
            Change change;
            change.entry = &entry;
            change.note = &note;
            change.partnerEntry = score.Next(entry);
            // A stop ends one tie: a chord's unison that the plug-in tied twice into one note
            // is written once.
            change.partner = ImportedScore::OfWrittenPitch(change.partnerEntry, note, &reached);
            const Note* taken =
                change.partner ? nullptr : ImportedScore::OfWrittenPitch(change.partnerEntry, note);
            change.kind = Change::NOT_WRITTEN;
            if (taken) {
                change.partner = taken;
            } else if (!change.partner) {
                change.partner = SameHostPitch(change.partnerEntry, note);
            } else if (plain) {
                change.kind = Change::ADDED;
            } else {
                // Written only where the file reads it back as this tie: into the next note
                // of the pitch, which no other tie reaches yet.
                bool adjacent = false;
                const TieCheck::NoteAt next = check().NextOfPitch(&note, adjacent);
                if (next.note == change.partner && adjacent && !check().Into(change.partner))
                    change.kind = Change::ADDED;
            }
            if (change.kind == Change::ADDED) reached.insert(change.partner);
            changes.push_back(change);
        }
    }
    if (command.kind != Command::UNTIE) return changes;

    // Untie: every mark of every note in the region, and the other end of each tie.
    const auto untie = [&](const Entry& entry) {
        if (!ImportedScore::InRegion(entry, command.region)) return;
        for (const Note& note : entry.notes) {
            if ((note.Starts() || (note.marks & Note::LET_RING)) && !startsGone.count(&note))
                remove(entry, note);
            if (!note.Stops() || stopsGone.count(&note)) continue;
            if (const TieCheck::Tie* tie = check().Into(&note)) {
                if (!startsGone.count(tie->start.note)) remove(*tie->start.entry, *tie->start.note);
                continue;
            }
            Change change;
            change.kind = Change::REMOVED;
            change.entry = &entry;
            change.note = &note;
            change.stopOnly = true;
            stopsGone.insert(&note);
            changes.push_back(change);
        }
    };
    for (const Entry& entry : score.entries)
        if (!entry.notes.empty()) untie(entry);
    for (const Entry& entry : score.others) untie(entry);
    return changes;
}

std::vector<TieWriter::Change> TieWriter::Repair(const ImportedScore& score, bool letRing,
                                                 const EREGION* region) {
    const TieCheck check(score);
    const auto inside = [&](const Entry* entry) {
        return !region || ImportedScore::InRegion(*entry, *region);
    };
    const auto change = [](Change::Kind kind, const TieCheck::NoteAt& note,
                           const TieCheck::NoteAt& partner = {}) {
        Change c;
        c.kind = kind;
        c.entry = note.entry;
        c.note = note.note;
        c.partnerEntry = partner.entry;
        c.partner = partner.note;
        return c;
    };
    std::vector<Change> changes;
    const auto half = [](const Note& note, uint8_t a, uint8_t b) {
        return ((note.marks & a) != 0) != ((note.marks & b) != 0);
    };
    for (const TieCheck::Tie& tie : check.Ties()) {
        // A tie between two pitches is the musician's to mend.
        if (tie.kind == TieCheck::OTHER_PITCH || !inside(tie.start.entry)) continue;
        if (half(*tie.start.note, Note::TIE_START, Note::TIED_START) ||
            half(*tie.stop.note, Note::TIE_STOP, Note::TIED_STOP))
            changes.push_back(change(Change::COMPLETED, tie.start, tie.stop));
    }
    std::unordered_set<const Note*> stopped;
    for (const TieCheck::NoteAt& start : check.LoneStarts()) {
        if (!inside(start.entry)) continue;
        bool adjacent = false;
        const TieCheck::NoteAt next = check.NextOfPitch(start.note, adjacent);
        if (next && adjacent && !next.note->Stops() && next.entry->kind != Entry::CUE &&
            stopped.insert(next.note).second) {
            changes.push_back(change(Change::STOP_ADDED, start, next));
            continue;
        }
        changes.push_back(change(letRing ? Change::LET_RING : Change::DROPPED, start));
    }
    for (const TieCheck::NoteAt& stop : check.LoneStops()) {
        if (!inside(stop.entry)) continue;
        changes.push_back(change(Change::DROPPED, stop));
        changes.back().stopOnly = true;
    }
    const auto marks = [&](const Entry& entry) {
        if (!inside(&entry)) return;
        for (const Note& note : entry.notes) {
            if (note.rest && note.marks != 0)
                changes.push_back(change(Change::DROPPED, {&entry, &note}));
            else if (note.marks & (Note::DUPLICATE_START | Note::DUPLICATE_STOP))
                changes.push_back(change(Change::DEDUPLICATED, {&entry, &note}));
        }
    };
    for (const Entry& entry : score.entries) marks(entry);
    for (const Entry& entry : score.others) marks(entry);
    return changes;
}

int TieWriter::Effect(const Change& change) {
    if (change.stopOnly) return 0;
    switch (change.kind) {
        case Change::ADDED:
        case Change::COMPLETED:
        case Change::STOP_ADDED:
            return 1;
        case Change::REMOVED:
        case Change::DROPPED:
        case Change::LET_RING:
            return -1;
        default:
            return 0;
    }
}

bool TieWriter::TiedAfter(const Note& note, const std::vector<Change>& changes) {
    bool tied = note.tied;
    for (const Change& change : changes)
        if (change.note == &note && Effect(change) != 0) tied = Effect(change) > 0;
    return tied;
}

std::string TieWriter::Write(const std::string& text, const std::vector<Change>& changes) {
    std::map<size_t, NoteEdit> edits;  // by where the note begins: in the text's order
    for (const Change& change : changes) {
        if (change.kind == Change::NOT_WRITTEN) continue;
        NoteEdit& edit = edits[change.note->at];
        switch (change.kind) {
            case Change::ADDED:
            case Change::COMPLETED:
            case Change::STOP_ADDED:
                edit.start = 1;
                edits[change.partner->at].stop = 1;
                break;
            case Change::REMOVED:
                if (change.stopOnly) {
                    edit.stop = -1;
                } else {
                    edit.start = -1;
                    edit.letRing = -1;
                }
                if (change.partner) edits[change.partner->at].stop = -1;
                break;
            case Change::DROPPED:
                edit.all = change.note->rest;
                (change.stopOnly ? edit.stop : edit.start) = -1;
                break;
            case Change::DEDUPLICATED:
                edit.deduplicate = true;
                break;
            case Change::LET_RING:
                edit.start = -1;
                edit.letRing = 1;
                break;
            case Change::NOT_WRITTEN:
                break;
        }
    }

    // Each note is parsed on its own, edited, and checked before it takes its place.
    XmlSplicer splicer(text);
    pugi::xml_document note, check;
    // A note's edit adds a mark or two and perhaps a <notations>, each on a line of its own:
    // room for that at the usual indentation. A score that needs more grows it into a string
    // of the size still to come (reserve alone would double it).
    std::string out;
    out.reserve(text.size() + 128 * edits.size());
    size_t done = 0, copied = 0;
    auto room = [&](size_t adding) {
        if (out.size() + adding <= out.capacity()) return;
        const size_t growth =
            out.size() > copied ? (out.size() - copied) / std::max<size_t>(done, 1) : 0;
        std::string larger;
        larger.reserve(out.size() + adding + (text.size() - copied) +
                       (edits.size() - done) * (growth + 128));
        larger += out;
        out.swap(larger);
    };
    for (const auto& e : edits) {
        const size_t begin = e.first;
        const size_t end = splicer.EndAt(begin);
        if (begin < copied || !note.load_buffer(text.data() + begin, end - begin, pugi::parse_full,
                                                pugi::encoding_utf8))
            throw ScoreError("the score's text and its parsed form disagree");
        splicer.Clear();
        splicer.SetBase(begin);
        NoteEditor(splicer, note.document_element(), e.second).Run();
        const std::string edited = splicer.Apply(begin, end);
        if (!check.load_buffer(edited.data(), edited.size(), pugi::parse_minimal,
                               pugi::encoding_utf8))
            throw ScoreError("the score's text came out damaged; nothing was written");
        room(begin - copied + edited.size());
        out.append(text, copied, begin - copied);
        out += edited;
        copied = end;
        ++done;
    }
    room(text.size() - copied);
    out.append(text, copied, std::string::npos);
    return out;
}

}  // namespace plovikxml
