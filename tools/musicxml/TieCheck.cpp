#include "TieCheck.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "TieReport.h"

namespace plovikxml {

namespace {

constexpr size_t kNone = static_cast<size_t>(-1);

bool Pitched(const ImportedScore::Note& note) {
    return !note.rest;
}

}  // namespace

TieCheck::Severity TieCheck::SeverityOf(Kind kind) {
    if (kind <= OTHER_PITCH) return ERROR;
    if (kind <= NOT_ADJACENT) return WARNING;
    return NEAR_MISS;
}

const char* TieCheck::Id(Kind kind) {
    switch (kind) {
        case NO_STOP:
            return "start-without-stop";
        case NO_START:
            return "stop-without-start";
        case TIE_WITHOUT_TIED:
            return "tie-without-tied";
        case TIED_WITHOUT_TIE:
            return "tied-without-tie";
        case DUPLICATE_START:
            return "duplicate-start";
        case DUPLICATE_STOP:
            return "duplicate-stop";
        case ON_REST:
            return "tie-on-rest";
        case OTHER_PITCH:
            return "different-pitches";
        case ENHARMONIC:
            return "enharmonic";
        case OTHER_VOICE:
            return "other-voice";
        case NOT_ADJACENT:
            return "not-adjacent";
        case NEAR_OTHER_ALTERATION:
            return "near-miss-alteration";
        case NEAR_OTHER_LAYER:
            return "near-miss-other-layer";
        case NEAR_AFTER_REST:
            return "near-miss-after-rest";
    }
    return "";
}

TieCheck::TieCheck(const ImportedScore& score) : score_(score) {
    auto take = [&](const std::vector<Entry>& entries) {
        for (const Entry& entry : entries)
            if (entry.kind != Entry::GAP)
                events_.push_back({&entry, entry.kind == Entry::GRACE, 0});
    };
    take(score.entries);
    take(score.others);
    std::sort(events_.begin(), events_.end(), [](const Event& a, const Event& b) {
        const Entry& x = *a.entry;
        const Entry& y = *b.entry;
        if (x.slot != y.slot) return x.slot < y.slot;
        if (x.voice != y.voice) return x.voice < y.voice;
        if (x.at != y.at) return x.at < y.at;
        if (a.grace != b.grace) return a.grace;
        return x.order < y.order;
    });
    previousMain_.assign(events_.size(), kNone);
    size_t begin = 0;
    for (size_t i = 0; i < events_.size(); ++i) {
        const Entry& e = *events_[i].entry;
        if (i > 0) {
            const Entry& before = *events_[i - 1].entry;
            const bool same = before.slot == e.slot && before.voice == e.voice;
            events_[i].sequence = events_[i - 1].sequence + (same ? 0 : 1);
            if (same)
                previousMain_[i] = events_[i - 1].grace ? previousMain_[i - 1] : i - 1;
            else {
                Walk(begin, i);
                begin = i;
            }
        }
        for (const Note& note : e.notes) eventOf_.emplace(&note, i);
    }
    Walk(begin, events_.size());
    PairAcrossVoices();
    PairOtherPitches();
}

bool TieCheck::Adjacent(size_t from, size_t to) const {
    if (from >= events_.size() || to >= events_.size() ||
        events_[from].sequence != events_[to].sequence)
        return false;
    return events_[from].grace ? to == from + 1 : previousMain_[to] == from;
}

void TieCheck::Add(const NoteAt& start, const NoteAt& stop, Kind kind) {
    if (!from_.emplace(start.note, ties_.size()).second)
        endingTies_.emplace(start.note, ties_.size());
    into_[stop.note] = ties_.size();
    ties_.push_back({start, stop, kind});
}

bool TieCheck::OpensMeasure(size_t event) const {
    const Event& e = events_[event];
    for (size_t j = event; j-- > 0;) {
        const Event& before = events_[j];
        if (before.sequence != e.sequence || before.entry->measure != e.entry->measure) return true;
        if (!before.grace) return false;
    }
    return true;
}

size_t TieCheck::TieIntoFirstEnding(size_t event, const Note& stop) const {
    const Entry& entry = *events_[event].entry;
    const auto group = score_.laterEndings.find(entry.measure);
    if (group == score_.laterEndings.end() || !OpensMeasure(event)) return kNone;
    for (size_t t = ties_.size(); t-- > 0;) {
        const Tie& tie = ties_[t];
        if (tie.stop.entry->measure != group->second || tie.start.entry->measure >= group->second ||
            tie.kind != NO_STOP || !tie.stop.note->SameWrittenPitch(stop))
            continue;
        const size_t into = eventOf_.at(tie.stop.note);
        if (events_[into].sequence == events_[event].sequence && OpensMeasure(into)) return t;
    }
    return kNone;
}

void TieCheck::Walk(size_t begin, size_t end) {
    struct Open {
        size_t event;
        NoteAt at;
    };
    std::vector<Open> open;  // starts still looking for their stop
    for (size_t i = begin; i < end; ++i) {
        const Entry* entry = events_[i].entry;
        for (const Note& note : entry->notes) {
            if (!Pitched(note) || !note.Stops()) continue;
            // At the start of a second ending, a tie into the first one plays on.
            const size_t into = TieIntoFirstEnding(i, note);
            if (into != kNone) {
                Add(ties_[into].start, {entry, &note}, NO_STOP);
                continue;
            }
            // The start of the same pitch just before, one further back, or the same sound
            // spelled otherwise just before.
            auto pick = [&](auto&& fits) {
                for (size_t k = open.size(); k-- > 0;)
                    if (fits(open[k])) return k;
                return kNone;
            };
            Kind kind = NO_STOP;
            size_t k = pick([&](const Open& o) {
                return Adjacent(o.event, i) && o.at.note->SameWrittenPitch(note);
            });
            if (k == kNone) {
                kind = NOT_ADJACENT;
                k = pick([&](const Open& o) { return o.at.note->SameWrittenPitch(note); });
            }
            if (k == kNone) {
                kind = ENHARMONIC;
                k = pick([&](const Open& o) {
                    return Adjacent(o.event, i) && o.at.note->SameSound(note);
                });
            }
            if (k == kNone) {
                loneStops_.push_back({entry, &note});
                continue;
            }
            Add(open[k].at, {entry, &note}, kind);
            open.erase(open.begin() + static_cast<ptrdiff_t>(k));
        }
        // A start whose pitch comes again without taking its tie ties to nothing.
        for (const Note& note : entry->notes) {
            if (!Pitched(note)) continue;
            for (size_t k = 0; k < open.size();) {
                if (open[k].at.note->SameWrittenPitch(note)) {
                    loneStarts_.push_back(open[k].at);
                    open.erase(open.begin() + static_cast<ptrdiff_t>(k));
                } else {
                    ++k;
                }
            }
        }
        for (const Note& note : entry->notes)
            if (Pitched(note) && note.Starts()) open.push_back({i, {entry, &note}});
    }
    for (const Open& o : open) loneStarts_.push_back(o.at);
}

void TieCheck::KeepLone(std::vector<NoteAt>& lone,
                        const std::unordered_map<const Note*, size_t>& paired) {
    lone.erase(std::remove_if(lone.begin(), lone.end(),
                              [&](const NoteAt& n) { return paired.count(n.note) != 0; }),
               lone.end());
}

void TieCheck::PairAcrossVoices() {
    if (loneStarts_.empty() || loneStops_.empty()) return;
    // Lone stops by the time they sound.
    std::map<std::pair<int64_t, int64_t>, std::vector<size_t>> stopsAt;
    for (size_t i = 0; i < loneStops_.size(); ++i) {
        const Fraction& at = loneStops_[i].entry->at;
        stopsAt[{at.Numerator(), at.Denominator()}].push_back(i);
    }
    const auto part = [&](const Entry* e) -> const std::string& {
        return score_.staves[static_cast<size_t>(e->slot - 1)].partId;
    };
    for (const NoteAt& start : loneStarts_) {
        if (start.entry->kind == Entry::GRACE) continue;
        const Fraction end = start.entry->at + start.entry->length;
        const auto found = stopsAt.find({end.Numerator(), end.Denominator()});
        if (found == stopsAt.end()) continue;
        for (size_t i : found->second) {
            const NoteAt& stop = loneStops_[i];
            if (into_.count(stop.note) || part(stop.entry) != part(start.entry) ||
                (stop.entry->slot == start.entry->slot &&
                 stop.entry->voice == start.entry->voice) ||
                !stop.note->SameWrittenPitch(*start.note))
                continue;
            Add(start, stop, OTHER_VOICE);
            break;
        }
    }
    KeepLone(loneStarts_, from_);
    KeepLone(loneStops_, into_);
}

void TieCheck::PairOtherPitches() {
    if (loneStarts_.empty() || loneStops_.empty()) return;
    std::unordered_map<size_t, std::vector<size_t>> startsIn;  // by event
    for (size_t i = 0; i < loneStarts_.size(); ++i)
        startsIn[eventOf_.at(loneStarts_[i].note)].push_back(i);
    for (const NoteAt& stop : loneStops_) {
        const size_t to = eventOf_.at(stop.note);
        for (size_t from : {previousMain_[to], to > 0 ? to - 1 : kNone}) {
            const auto found = startsIn.find(from);
            if (from == kNone || found == startsIn.end() || !Adjacent(from, to)) continue;
            for (size_t i : found->second) {
                const NoteAt& start = loneStarts_[i];
                if (from_.count(start.note)) continue;
                // The same pitch here has a grace note of that pitch between the two.
                Add(start, stop,
                    start.note->SameWrittenPitch(*stop.note) ? NOT_ADJACENT
                    : start.note->SameSound(*stop.note)      ? ENHARMONIC
                                                             : OTHER_PITCH);
                break;
            }
            if (into_.count(stop.note)) break;
        }
    }
    KeepLone(loneStarts_, from_);
    KeepLone(loneStops_, into_);
}

const TieCheck::Tie* TieCheck::From(const Note* note) const {
    const auto found = from_.find(note);
    return found == from_.end() ? nullptr : &ties_[found->second];
}

std::vector<const TieCheck::Tie*> TieCheck::EndingTies(const Note* start) const {
    std::vector<const Tie*> ties;
    const auto range = endingTies_.equal_range(start);
    for (auto it = range.first; it != range.second; ++it) ties.push_back(&ties_[it->second]);
    return ties;
}

const TieCheck::Tie* TieCheck::Into(const Note* note) const {
    const auto found = into_.find(note);
    return found == into_.end() ? nullptr : &ties_[found->second];
}

TieCheck::NoteAt TieCheck::NextOfPitch(const Note* note, bool& adjacent) const {
    adjacent = false;
    const auto found = eventOf_.find(note);
    if (found == eventOf_.end() || note->rest) return {};
    const size_t from = found->second;
    for (size_t i = from + 1; i < events_.size() && events_[i].sequence == events_[from].sequence;
         ++i)
        for (const Note& other : events_[i].entry->notes)
            if (Pitched(other) && other.SameWrittenPitch(*note)) {
                adjacent = Adjacent(from, i);
                return {events_[i].entry, &other};
            }
    return {};
}

std::vector<TieCheck::Finding> TieCheck::Findings(const EREGION* region, bool nearMisses) const {
    std::vector<Finding> findings;
    const auto inside = [&](const NoteAt& n) {
        return !region || ImportedScore::InRegion(*n.entry, *region);
    };
    for (const Tie& tie : ties_)
        if (tie.kind != NO_STOP && inside(tie.start))
            findings.push_back({tie.kind, tie.start, tie.stop});
    for (const NoteAt& start : loneStarts_) {
        if (!inside(start)) continue;
        bool adjacent = false;
        findings.push_back({NO_STOP, start, NextOfPitch(start.note, adjacent)});
    }
    for (const NoteAt& stop : loneStops_)
        if (inside(stop)) findings.push_back({NO_START, stop, {}});
    for (const Event& event : events_) {
        if (!inside({event.entry, nullptr})) continue;
        for (const Note& note : event.entry->notes) {
            const NoteAt at{event.entry, &note};
            if (note.rest) {
                if (note.marks != 0) findings.push_back({ON_REST, at, {}});
                continue;
            }
            const auto half = [&](uint8_t tie, uint8_t tied, bool stopSide) {
                const bool hasTie = (note.marks & tie) != 0, hasTied = (note.marks & tied) != 0;
                if (hasTie == hasTied) return;
                const Tie* partner = stopSide ? Into(&note) : From(&note);
                findings.push_back(
                    {hasTie ? TIE_WITHOUT_TIED : TIED_WITHOUT_TIE, at,
                     partner ? (stopSide ? partner->start : partner->stop) : NoteAt{}, stopSide});
            };
            half(Note::TIE_START, Note::TIED_START, false);
            half(Note::TIE_STOP, Note::TIED_STOP, true);
            if (note.marks & Note::DUPLICATE_START) findings.push_back({DUPLICATE_START, at, {}});
            if (note.marks & Note::DUPLICATE_STOP)
                findings.push_back({DUPLICATE_STOP, at, {}, true});
        }
    }
    if (nearMisses) {
        EREGION whole{};
        whole.startSlot = 1;
        whole.endSlot = static_cast<int16_t>(score_.staves.size());
        whole.startMeasure = 1;
        whole.endMeasure = static_cast<int16_t>(score_.measureNumbers.size());
        whole.endPosition = EREGION_END_OF_MEASURE;
        for (const TieReport::NearMiss& miss :
             TieReport::NearMisses(score_, region ? *region : whole, {})) {
            const Kind kind = miss.kind == TieReport::NearMiss::OTHER_ALTERATION
                                  ? NEAR_OTHER_ALTERATION
                              : miss.kind == TieReport::NearMiss::OTHER_LAYER ? NEAR_OTHER_LAYER
                                                                              : NEAR_AFTER_REST;
            findings.push_back({kind, {miss.entry, miss.note}, {miss.partnerEntry, miss.partner}});
        }
    }
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
        const Entry& x = *a.note.entry;
        const Entry& y = *b.note.entry;
        return std::make_tuple(SeverityOf(a.kind), x.slot, x.at, x.order) <
               std::make_tuple(SeverityOf(b.kind), y.slot, y.at, y.order);
    });
    return findings;
}

}  // namespace plovikxml
