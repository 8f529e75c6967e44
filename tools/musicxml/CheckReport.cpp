#include "CheckReport.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "TieReport.h"

namespace plovikxml {

namespace {

using Finding = TieCheck::Finding;
using Change = TieWriter::Change;

const char* SeverityName(TieCheck::Severity severity) {
    return severity == TieCheck::ERROR     ? "error"
           : severity == TieCheck::WARNING ? "warning"
                                           : "near miss";
}

std::string When(const ImportedScore& score, const plovikhost::Document& doc,
                 const TieCheck::NoteAt& at) {
    return score.MeasureLabel(at.entry->measure) + ", " + TieReport::Beat(doc, *at.entry);
}

std::string Plural(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// What the finding says after its place.
std::string Message(const ImportedScore& score, const plovikhost::Document& doc, const Finding& f) {
    const std::string name = f.note.note->Name();
    const std::string partner = f.partner ? f.partner.note->Name() : "";
    const char* side = f.stopSide ? "stop" : "start";
    switch (f.kind) {
        case TieCheck::NO_STOP:
            return name + ": a tie starts and " +
                   (f.partner ? "the next " + partner + " (" + When(score, doc, f.partner) +
                                    ") has no stop"
                              : "no " + name + " follows in the voice");
        case TieCheck::NO_START:
            return name + ": a tie stops with no start";
        case TieCheck::TIE_WITHOUT_TIED:
            return name + ": <tie type=\"" + side + "\"/> without <tied type=\"" + side +
                   "\"/> (held, not drawn)";
        case TieCheck::TIED_WITHOUT_TIE:
            return name + ": <tied type=\"" + side + "\"/> without <tie type=\"" + side +
                   "\"/> (drawn, not held)";
        case TieCheck::DUPLICATE_START:
            return name + ": two tie starts on one note";
        case TieCheck::DUPLICATE_STOP:
            return name + ": two tie stops on one note";
        case TieCheck::ON_REST:
            return "a tie on a rest";
        case TieCheck::OTHER_PITCH:
            return name + " tied to " + partner + " (" + When(score, doc, f.partner) +
                   "): two different pitches";
        case TieCheck::ENHARMONIC:
            return name + " tied to " + partner + " (" + When(score, doc, f.partner) +
                   "): the same sound spelled otherwise";
        case TieCheck::OTHER_VOICE:
            return name + " tied to " + partner + " in " + score.Place(doc, *f.partner.entry) +
                   ": another " + (f.partner.entry->slot == f.note.entry->slot ? "voice" : "staff");
        case TieCheck::NOT_ADJACENT:
            return name + " tied to " + partner + " (" + When(score, doc, f.partner) +
                   "): not the next note of the voice";
        case TieCheck::NEAR_OTHER_ALTERATION:
            return name + "; the next note is " + partner +
                   ", the same letter with another alteration";
        case TieCheck::NEAR_OTHER_LAYER:
            return name + "; " + partner + " follows in voice " + f.partner.entry->voice +
                   ", another layer";
        case TieCheck::NEAR_AFTER_REST:
            return name + "; " + partner + " follows after a rest (" + When(score, doc, f.partner) +
                   ")";
    }
    return name;
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string Beat(const plovikhost::Document& doc, const ImportedScore::Entry& entry) {
    return TieReport::Beat(doc, entry).substr(5);  // without "beat "
}

std::string JsonPlace(const ImportedScore& score, const plovikhost::Document& doc,
                      const TieCheck::NoteAt& at) {
    if (!at) return "null";
    const ImportedScore::Entry& e = *at.entry;
    const ImportedScore::Staff& staff = score.staves[static_cast<size_t>(e.slot - 1)];
    const size_t m = static_cast<size_t>(e.measure - 1);
    return "{\"staff\": " + std::to_string(e.slot) + ", \"part\": " + Quoted(staff.partId) +
           ", \"partName\": " + Quoted(staff.partName) +
           ", \"staffInPart\": " + std::to_string(staff.staffInPart) +
           ", \"measure\": " + std::to_string(e.measure) + ", \"measureNumber\": " +
           Quoted(m < score.measureNumbers.size() ? score.measureNumbers[m] : "") +
           ", \"beat\": " + Quoted(Beat(doc, e)) + ", \"voice\": " + Quoted(e.voice) +
           ", \"pitch\": " + Quoted(at.note->Name()) + "}";
}

}  // namespace

size_t CheckReport::Count(const std::vector<Finding>& findings, TieCheck::Severity severity) {
    size_t n = 0;
    for (const Finding& f : findings) n += TieCheck::SeverityOf(f.kind) == severity;
    return n;
}

std::string CheckReport::Line(const ImportedScore& score, const plovikhost::Document& doc,
                              const Finding& finding) {
    return std::string(SeverityName(TieCheck::SeverityOf(finding.kind))) + ": " +
           score.Place(doc, *finding.note.entry) + ": " + Message(score, doc, finding);
}

std::string CheckReport::Text(const ImportedScore& score, const plovikhost::Document& doc,
                              const std::vector<Finding>& findings, bool nearMisses) {
    std::string out;
    for (const Finding& f : findings) out += Line(score, doc, f) + "\n";
    for (const ImportedScore::Notice& notice : score.notices)
        out += "note: " + score.NoticeLine(notice) + "\n";
    out += Plural(Count(findings, TieCheck::ERROR), "error", "errors") + ", " +
           Plural(Count(findings, TieCheck::WARNING), "warning", "warnings");
    if (nearMisses)
        out += ", " + Plural(Count(findings, TieCheck::NEAR_MISS), "near miss", "near misses");
    return out + "\n";
}

std::string CheckReport::Json(const ImportedScore& score, const plovikhost::Document& doc,
                              const std::vector<Finding>& findings, bool nearMisses,
                              const std::string& scoreName, const EREGION& region) {
    std::string out =
        "{\n  \"schema\": \"plovik-check/1\",\n  \"score\": " + Quoted(scoreName) +
        ",\n  \"region\": {\"staves\": [" + std::to_string(region.startSlot) + ", " +
        std::to_string(region.endSlot) + "], \"measures\": [" +
        std::to_string(region.startMeasure) + ", " + std::to_string(region.endMeasure) +
        "], \"startPosition\": " + std::to_string(region.startPosition) + ", \"endPosition\": " +
        (region.endPosition == EREGION_END_OF_MEASURE ? std::string("null")
                                                      : std::to_string(region.endPosition)) +
        "},\n  \"summary\": {\"errors\": " + std::to_string(Count(findings, TieCheck::ERROR)) +
        ", \"warnings\": " + std::to_string(Count(findings, TieCheck::WARNING)) +
        ", \"nearMisses\": " +
        (nearMisses ? std::to_string(Count(findings, TieCheck::NEAR_MISS)) : std::string("null")) +
        "},\n  \"findings\": [";
    for (size_t i = 0; i < findings.size(); ++i) {
        const Finding& f = findings[i];
        out += std::string(i ? "," : "") +
               "\n    {\"severity\": " + Quoted(SeverityName(TieCheck::SeverityOf(f.kind))) +
               ", \"kind\": " + Quoted(TieCheck::Id(f.kind)) +
               ", \"mark\": " + Quoted(f.stopSide ? "stop" : "start") +
               ",\n     \"at\": " + JsonPlace(score, doc, f.note) +
               ",\n     \"partner\": " + JsonPlace(score, doc, f.partner) +
               ",\n     \"message\": " + Quoted(Message(score, doc, f)) + "}";
    }
    out += findings.empty() ? "],\n  \"notes\": [" : "\n  ],\n  \"notes\": [";
    for (size_t i = 0; i < score.notices.size(); ++i) {
        const ImportedScore::Notice& n = score.notices[i];
        out += std::string(i ? "," : "") +
               "\n    {\"staff\": " + (n.slot > 0 ? std::to_string(n.slot) : std::string("null")) +
               ", \"measure\": " + std::to_string(n.measure) +
               ", \"text\": " + Quoted(score.NoticeLine(n)) + "}";
    }
    return out + (score.notices.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

std::string CheckReport::RepairText(const ImportedScore& score, const plovikhost::Document& doc,
                                    const std::vector<Change>& mends,
                                    const std::vector<Finding>& left) {
    std::vector<const Change*> sorted;
    for (const Change& c : mends) sorted.push_back(&c);
    std::stable_sort(sorted.begin(), sorted.end(), [](const Change* a, const Change* b) {
        return std::make_tuple(a->entry->slot, a->entry->at, a->entry->order) <
               std::make_tuple(b->entry->slot, b->entry->at, b->entry->order);
    });
    std::string out = "Mends: " + std::to_string(mends.size()) + "\n";
    for (const Change* c : sorted) {
        const std::string name = c->note->Name();
        const auto to = [&]() {
            return c->partner->Name() + " (" + score.MeasureLabel(c->partnerEntry->measure) + ", " +
                   TieReport::Beat(doc, *c->partnerEntry) + ")";
        };
        out += "  " + score.Place(doc, *c->entry) + ": ";
        switch (c->kind) {
            case Change::COMPLETED:
                out += name + " to " + to() + ": the tie's missing <tie> or <tied> written";
                break;
            case Change::STOP_ADDED:
                out += name + ": the missing stop written on the next " + to();
                break;
            case Change::DEDUPLICATED:
                out += name + ": a tie mark written twice taken away";
                break;
            case Change::DROPPED:
                out += c->note->rest ? "the tie marks of a rest taken away"
                       : c->stopOnly ? name + ": a tie stop with no start taken away"
                                     : name + ": a tie start with no stop taken away";
                break;
            case Change::LET_RING:
                out += name + ": a tie start with no stop made <tied type=\"let-ring\"/>";
                break;
            default:
                out += name;
                break;
        }
        out += "\n";
    }
    out += "Left as they are: " + std::to_string(left.size()) + "\n";
    for (const Finding& f : left) out += "  " + Line(score, doc, f) + "\n";
    return out;
}

}  // namespace plovikxml
