#include "TieWriter.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string_view>
#include <unordered_map>

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

const Note* SameWrittenPitch(const Entry* entry, const Note& note) {
    if (!entry || entry->kind != Entry::NOTES) return nullptr;
    for (const Note& other : entry->notes)
        if (other.SameWrittenPitch(note)) return &other;
    return nullptr;
}

const Note* SameHostPitch(const Entry* entry, const Note& note) {
    if (!entry || entry->kind != Entry::NOTES) return nullptr;
    for (const Note& other : entry->notes)
        if (other.SameHostPitch(note)) return &other;
    return nullptr;
}

// The next entry as the file has it: the silence of a gap is no entry there.
const Entry* NextInFile(const ImportedScore& score, const Entry& entry) {
    const Entry* next = score.Next(entry);
    while (next && next->kind == Entry::GAP) next = score.Next(*next);
    return next;
}

// +1 to add a mark, -1 to remove it, 0 to leave it.
struct NoteEdit {
    int start = 0;
    int stop = 0;
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
    void ScanTies(std::vector<pugi::xml_node>& erase) {
        for (pugi::xml_node tie : note_.children("tie")) {
            const bool start = OfType(tie, "start"), stop = OfType(tie, "stop");
            if ((start && edit_.start < 0) || (stop && edit_.stop < 0)) {
                erase.push_back(tie);
                continue;
            }
            hasTieStart_ = hasTieStart_ || start;
            hasTieStop_ = hasTieStop_ || stop;
            lastTie_ = tie;
        }
    }

    void ScanNotations(std::vector<pugi::xml_node>& erase) {
        for (pugi::xml_node notations : note_.children("notations")) {
            if (!target_) target_ = notations;
            for (pugi::xml_node tied : notations.children("tied")) {
                const bool start = OfType(tied, "start"), stop = OfType(tied, "stop");
                if ((start && edit_.start < 0) || (stop && edit_.stop < 0)) continue;
                hasTiedStart_ = hasTiedStart_ || start;
                hasTiedStop_ = hasTiedStop_ || stop;
            }
        }
        addTiedStart_ = edit_.start > 0 && !hasTiedStart_;
        addTiedStop_ = edit_.stop > 0 && !hasTiedStop_;
        for (pugi::xml_node notations : note_.children("notations")) {
            std::vector<pugi::xml_node> gone;
            bool othersRemain = false;
            for (pugi::xml_node child : notations.children()) {
                if (Named(child, "tied") && ((OfType(child, "start") && edit_.start < 0) ||
                                             (OfType(child, "stop") && edit_.stop < 0))) {
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
            const bool receives = notations == target_ && (addTiedStart_ || addTiedStop_);
            // A <notations> left with nothing in it goes too.
            if (!othersRemain && !receives)
                erase.push_back(notations);
            else
                erase.insert(erase.end(), gone.begin(), gone.end());
        }
    }

    void InsertTies() {
        const bool addStop = edit_.stop > 0 && !hasTieStop_;
        const bool addStart = edit_.start > 0 && !hasTieStart_;
        if (!addStop && !addStart) return;
        // Ties follow the duration; a stop comes before a start.
        pugi::xml_node duration = note_.child("duration");
        if (!duration) throw ScoreError("a note without a duration cannot take a tie");
        if (addStop) s_.Insert(s_.End(duration), s_.LineBefore(duration) + kTieStop);
        if (addStart) {
            const pugi::xml_node after = lastTie_ ? lastTie_ : duration;
            s_.Insert(s_.End(after), s_.LineBefore(after) + kTieStart);
        }
    }

    void InsertTieds() {
        if (!addTiedStart_ && !addTiedStop_) return;
        if (target_ && !s_.IsEmptyTag(target_)) {
            const size_t at = s_.ContentBegin(target_);
            const pugi::xml_node first = FirstElement(target_);
            const std::string line = first ? s_.LineBefore(first) : Deeper(s_.LineBefore(target_));
            if (addTiedStop_) s_.Insert(at, line + kTiedStop);
            if (addTiedStart_) {
                if (lastTied_)
                    s_.Insert(s_.End(lastTied_), s_.LineBefore(lastTied_) + kTiedStart);
                else
                    s_.Insert(at, line + kTiedStart);
            }
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
    bool hasTiedStart_ = false, hasTiedStop_ = false;
    bool addTiedStart_ = false, addTiedStop_ = false;
    pugi::xml_node lastTie_, target_, lastTied_;
};

}  // namespace

std::vector<TieWriter::Change> TieWriter::Compare(const ImportedScore& score,
                                                  const plovikhost::Document& doc) {
    std::unordered_map<uint32_t, const EXENTRY*> stored;
    for (const auto& cell : doc.cells)
        for (const EXENTRY& record : cell.second.entries) {
            const uint32_t number = record.entryNumber;  // a packed field: by value
            stored[number] = &record;
        }

    std::vector<Change> changes;
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
            Change change;
            change.entry = &entry;
            change.note = &note;
            if (tied) {
                change.partnerEntry = score.Next(entry);
                change.partner = SameWrittenPitch(change.partnerEntry, note);
                change.kind = change.partner ? Change::ADDED : Change::NOT_WRITTEN;
                if (!change.partner) change.partner = SameHostPitch(change.partnerEntry, note);
            } else {
                change.kind = Change::REMOVED;
                change.partnerEntry = NextInFile(score, entry);
                change.partner = SameWrittenPitch(change.partnerEntry, note);
            }
            changes.push_back(change);
        }
    }
    return changes;
}

bool TieWriter::TiedAfter(const Note& note, const std::vector<Change>& changes) {
    for (const Change& change : changes) {
        if (change.note != &note) continue;
        if (change.kind == Change::ADDED) return true;
        if (change.kind == Change::REMOVED) return false;
    }
    return note.tied;
}

std::string TieWriter::Write(const std::string& text, const std::vector<Change>& changes) {
    std::map<size_t, NoteEdit> edits;  // by where the note begins: in the text's order
    for (const Change& change : changes) {
        if (change.kind == Change::ADDED) {
            edits[change.note->at].start = 1;
            edits[change.partner->at].stop = 1;
        } else if (change.kind == Change::REMOVED) {
            edits[change.note->at].start = -1;
        }
    }
    for (const Change& change : changes) {
        if (change.kind != Change::REMOVED || !change.partner) continue;
        // The stop stays while another tie still arrives: a unison in the same chord, or a
        // grace note's.
        bool arrives = change.partner->graceTiesInto;
        for (const Note& other : change.entry->notes)
            arrives =
                arrives || (other.SameWrittenPitch(*change.partner) && TiedAfter(other, changes));
        NoteEdit& stop = edits[change.partner->at];
        if (!arrives && stop.stop == 0) stop.stop = -1;
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
