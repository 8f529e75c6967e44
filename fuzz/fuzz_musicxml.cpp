// Arbitrary bytes as a MusicXML score, plain or packed into an .mxl archive: read, tied or
// untied through FinaleExtensionInvoke, written. The first byte chooses the form read (bit 0),
// the command (bit 1) and the form written (bits 2-3: as read, plain, archive); the rest is
// the score. When the score reads, the host must be left
// clean, the written score must be well-formed XML, and reading it again must give the same
// score with exactly the ties the writer says it wrote. Any disagreement aborts.
#include <expat.h>
#include <zip.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "MusicXmlScore.h"
#include "MxlArchive.h"
#include "PlovikTie.h"
#include "ScoreError.h"
#include "SubstituteHost.h"

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
                    a.voice == b.voice && a.notes.size() == b.notes.size(),
                "an entry differs when read again");
        for (size_t n = 0; n < a.notes.size(); ++n) {
            Require(a.notes[n].SameWrittenPitch(b.notes[n]), "a pitch differs when read again");
            Require(b.notes[n].tied == plovikxml::TieWriter::TiedAfter(a.notes[n], changes),
                    "a tie was not written as the writer says");
        }
    }
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
    plovikhost::Host& host = plovikhost::Host::Get();
    EREGION region = host.CurrentDocument().WholeRegion();
    FinaleExtensionInvoke(0, command, &region, 0);
    Require(host.Problems().empty(), "the host saw a problem");
    Require(host.Frames().Outstanding() == 0, "an entry frame was not freed");

    const auto changes = score.Changes(host.CurrentDocument());
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
    return 0;
}
