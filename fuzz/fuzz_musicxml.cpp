// Arbitrary bytes as a MusicXML score, plain or packed into an .mxl archive: read, tied or
// untied through FinaleExtensionInvoke, written; and repaired. The first byte chooses the form
// read (bit 0), the command (bit 1) and the form written (bits 2-3: as read, plain, archive);
// the rest is the score. When the score reads, the host must be left clean, the written score
// must be well-formed XML, reading it again must give the same score with exactly the ties
// the writer says it wrote, and check must find no error in it that it did not find in the
// input. What repair writes must read again as the same music, differ from the input in tie
// marks only, hold no error but ties between two pitches, and be left as it is by a second
// repair. Any disagreement aborts.
#include <expat.h>
#include <zip.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "MusicXmlScore.h"
#include "MxlArchive.h"
#include "PlovikTie.h"
#include "ScoreError.h"
#include "SubstituteHost.h"
#include "TextEncoding.h"
#include "TieCheck.h"

namespace {

using plovikxml::ImportedScore;
using plovikxml::MusicXmlScore;

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_musicxml: %s\n", what);
    std::abort();
}

// An archive holding the score as its container names it.
std::string Pack(const std::string& score) {
    static const std::string container =
        "<?xml version=\"1.0\"?><container><rootfiles>"
        "<rootfile full-path=\"score.musicxml\"/></rootfiles></container>";
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(source);
    zip_t* archive = zip_open_from_source(source, ZIP_TRUNCATE, &error);
    Require(archive != nullptr, "cannot make an archive");
    zip_file_add(archive, "META-INF/container.xml",
                 zip_source_buffer(archive, container.data(), container.size(), 0), 0);
    zip_file_add(archive, "score.musicxml",
                 zip_source_buffer(archive, score.data(), score.size(), 0), 0);
    Require(zip_close(archive) == 0, "cannot close the archive");
    std::string bytes;
    if (zip_source_open(source) == 0) {
        zip_source_seek(source, 0, SEEK_END);
        bytes.resize(static_cast<size_t>(zip_source_tell(source)));
        zip_source_seek(source, 0, SEEK_SET);
        zip_source_read(source, bytes.data(), bytes.size());
        zip_source_close(source);
    }
    zip_source_free(source);
    return bytes;
}

bool WellFormed(const std::string& xml) {
    XML_Parser parser = XML_ParserCreate(nullptr);
    const bool ok = XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), 1) != 0;
    XML_ParserFree(parser);
    return ok;
}

bool Read(MusicXmlScore& score, const std::string& bytes) {
    plovikhost::Host& host = plovikhost::Host::Get();
    host.Reset();
    host.Install("FINALE.EXE");
    try {
        score.Load(bytes);
        score.Import(host.CurrentDocument());
    } catch (const plovikxml::ScoreError&) {
        return false;
    }
    return true;
}

void RequireSameScore(const ImportedScore& before, const ImportedScore& after,
                      const std::vector<plovikxml::TieWriter::Change>& changes) {
    Require(before.staves.size() == after.staves.size(), "staves differ when read again");
    Require(before.measureNumbers == after.measureNumbers, "measures differ when read again");
    Require(before.entries.size() == after.entries.size(), "entries differ when read again");
    for (size_t i = 0; i < before.entries.size(); ++i) {
        const ImportedScore::Entry& a = before.entries[i];
        const ImportedScore::Entry& b = after.entries[i];
        Require(a.kind == b.kind && a.slot == b.slot && a.layer == b.layer &&
                    a.measure == b.measure && a.start == b.start && a.length == b.length &&
                    a.voice == b.voice,
                "an entry differs when read again");
        if (a.kind != ImportedScore::Entry::NOTES) continue;  // a rest's marks may go
        Require(a.notes.size() == b.notes.size(), "a chord differs when read again");
        for (size_t n = 0; n < a.notes.size(); ++n) {
            Require(a.notes[n].SameWrittenPitch(b.notes[n]), "a pitch differs when read again");
            Require(b.notes[n].tied == plovikxml::TieWriter::TiedAfter(a.notes[n], changes),
                    "a tie was not written as the writer says");
        }
    }
}

// The errors check finds, by kind and place.
std::multiset<std::string> Errors(const ImportedScore& score) {
    std::multiset<std::string> errors;
    const plovikxml::TieCheck check(score);
    for (const plovikxml::TieCheck::Finding& f : check.Findings(nullptr, false)) {
        if (plovikxml::TieCheck::SeverityOf(f.kind) != plovikxml::TieCheck::ERROR) continue;
        // What repair leaves: a tie between two pitches, and the marks of its ends.
        const plovikxml::TieCheck::Tie* tie =
            f.stopSide ? check.Into(f.note.note) : check.From(f.note.note);
        const bool otherPitch = f.kind == plovikxml::TieCheck::OTHER_PITCH ||
                                (tie && tie->kind == plovikxml::TieCheck::OTHER_PITCH &&
                                 (f.kind == plovikxml::TieCheck::TIE_WITHOUT_TIED ||
                                  f.kind == plovikxml::TieCheck::TIED_WITHOUT_TIE));
        const auto& e = *f.note.entry;
        errors.insert(std::string(otherPitch ? "=" : "!") + plovikxml::TieCheck::Id(f.kind) + " " +
                      std::to_string(e.slot) + " " + e.voice + " " + e.at.ToString() + " " +
                      f.note.note->Name() + (f.stopSide ? " stop" : ""));
    }
    return errors;
}

void RequireNoNewError(const std::multiset<std::string>& before, const ImportedScore& after,
                       const char* what) {
    std::multiset<std::string> had;  // as found, whether repair would leave them or not
    for (const std::string& error : before) had.insert(error.substr(1));
    for (const std::string& error : Errors(after))
        if (!had.count(error.substr(1))) {
            std::fprintf(stderr, "fuzz_musicxml: %s added an error: %s\n", what, error.c_str());
            std::abort();
        }
}

// The score's text in UTF-8 without its tie marks, empty <notations> and blanks.
std::string WithoutTies(const std::string& bytes) {
    std::string xml = bytes, path;
    if (plovikxml::MxlArchive::Looks(bytes)) plovikxml::MxlArchive::ReadScore(bytes, path, xml);
    const auto kind = plovikxml::TextEncoding::Detect(xml, "");
    if (kind == plovikxml::TextEncoding::UTF16LE || kind == plovikxml::TextEncoding::UTF16BE)
        xml = plovikxml::TextEncoding::Decode(xml, kind);
    std::string out;
    for (size_t i = 0; i < xml.size();) {
        // <tie or <tied, then a blank of any kind or the end of the tag.
        const size_t name = xml.compare(i, 5, "<tied") == 0  ? 5
                            : xml.compare(i, 4, "<tie") == 0 ? 4
                                                             : 0;
        const char after = name && i + name < xml.size() ? xml[i + name] : '\0';
        if (after == ' ' || after == '\t' || after == '\r' || after == '\n' || after == '/') {
            // An empty element, not the words in a comment or processing instruction.
            const size_t end = xml.find_first_of("<>", i + 1);
            if (end != std::string::npos && xml[end] == '>' && xml[end - 1] == '/') {
                i = end + 1;
                continue;
            }
        }
        const char c = xml[i++];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') out += c;
    }
    for (const char* empty : {"<notations></notations>", "<notations/>"})
        for (size_t at; (at = out.find(empty)) != std::string::npos;)
            out.erase(at, std::strlen(empty));
    return out;
}

void RequireRepaired(const std::string& bytes, const MusicXmlScore& score) {
    const auto mends = plovikxml::TieWriter::Repair(score.Imported(), bytes.size() % 2 == 0);
    std::string written;
    try {
        written = score.Write(mends);
    } catch (const plovikxml::ScoreError&) {
        return;
    }
    MusicXmlScore again;
    Require(Read(again, written), "the repaired score cannot be read again");
    RequireSameScore(score.Imported(), again.Imported(), mends);
    Require(WithoutTies(written) == WithoutTies(bytes), "repair changed more than tie marks");
    for (const std::string& error : Errors(again.Imported()))
        if (error[0] != '=') {
            std::fprintf(stderr, "fuzz_musicxml: repair left an error: %s\n", error.c_str());
            std::abort();
        }
    Require(plovikxml::TieWriter::Repair(again.Imported(), bytes.size() % 2 == 0).empty(),
            "a second repair changed something");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool packed = data[0] & 1;
    const uint32_t command = (data[0] >> 1) & 1;
    const auto form = static_cast<MusicXmlScore::Form>(((data[0] >> 2) & 3) % 3);
    std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    if (packed) bytes = Pack(bytes);

    MusicXmlScore score;
    if (!Read(score, bytes)) return 0;
    const std::multiset<std::string> errors = Errors(score.Imported());
    RequireRepaired(bytes, score);
    Require(Read(score, bytes), "the score no longer reads");
    plovikhost::Host& host = plovikhost::Host::Get();
    EREGION region = host.CurrentDocument().WholeRegion();
    FinaleExtensionInvoke(0, command, &region, 0);
    Require(host.Problems().empty(), "the host saw a problem");
    Require(host.Frames().Outstanding() == 0, "an entry frame was not freed");

    plovikxml::TieCommand what;
    what.kind = command == 0 ? plovikxml::TieCommand::TIE : plovikxml::TieCommand::UNTIE;
    what.region = region;
    const auto changes = score.Changes(host.CurrentDocument(), what);
    std::string written;
    try {
        written = score.Write(changes, form);
    } catch (const plovikxml::ScoreError&) {
        return 0;  // refused with a message; nothing would be written
    }
    const bool compressed = form == MusicXmlScore::Form::COMPRESSED ||
                            (form == MusicXmlScore::Form::AS_READ && score.IsCompressed());
    Require(compressed == plovikxml::MxlArchive::Looks(written), "written in the wrong form");
    std::string xml = written;
    if (compressed) {
        std::string path;
        plovikxml::MxlArchive::ReadScore(written, path, xml);
    }
    Require(WellFormed(xml), "the written score is not well-formed XML");

    MusicXmlScore again;
    Require(Read(again, written), "the written score cannot be read again");
    RequireSameScore(score.Imported(), again.Imported(), changes);
    RequireNoNewError(errors, again.Imported(), command == 0 ? "tie" : "untie");
    return 0;
}
