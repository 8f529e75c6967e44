#include "MusicXmlScore.h"

#include <sstream>

#include "MusicXmlReader.h"
#include "MxlArchive.h"
#include "ScoreError.h"

namespace plovikxml {

namespace {

// Everything the text holds, so that a score in another encoding can be written out whole.
constexpr unsigned kKeepAll = pugi::parse_full | pugi::parse_ws_pcdata;

}  // namespace

void MusicXmlScore::Load(std::string bytes) {
    original_ = std::move(bytes);
    archivePath_.clear();
    member_.clear();
    text_.clear();
    converted_ = false;
    encoding_ = pugi::encoding_utf8;
    byteOrderMark_ = false;
    std::string where;
    if (MxlArchive::Looks(original_)) {
        MxlArchive::ReadScore(original_, archivePath_, member_);
        where = "of " + archivePath_ + " in the archive";
    }
    const std::string& source = Source();
    outline_.Scan(source, where);
    if (outline_.IsUtf8()) return;

    // Read and edited as UTF-8; written back in its own encoding.
    pugi::xml_document probe;
    const pugi::xml_parse_result parsed =
        probe.load_buffer(source.data(), source.size(), kKeepAll, pugi::encoding_auto);
    if (!parsed) throw ScoreError(std::string("not MusicXML: ") + parsed.description());
    encoding_ = parsed.encoding;
    if (encoding_ == pugi::encoding_utf8) return;
    byteOrderMark_ = source.size() >= 2 && ((source[0] == '\xFF' && source[1] == '\xFE') ||
                                            (source[0] == '\xFE' && source[1] == '\xFF'));
    std::ostringstream utf8;
    probe.save(utf8, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    text_ = utf8.str();
    converted_ = true;
    outline_.Scan(text_, where, true);
}

void MusicXmlScore::Import(plovikhost::Document& doc) {
    MusicXmlReader::Read(Text(), outline_, doc, score_);
}

std::string MusicXmlScore::Write(const std::vector<TieWriter::Change>& changes, Form form,
                                 const std::string& memberName) const {
    const bool compress = form == Form::COMPRESSED || (form == Form::AS_READ && IsCompressed());
    bool any = false;
    for (const TieWriter::Change& change : changes)
        any = any || change.kind != TieWriter::Change::NOT_WRITTEN;
    if (!any && compress == IsCompressed()) return original_;

    std::string xml;
    if (!any) {
        xml = Source();
    } else {
        xml = TieWriter::Write(Text(), changes);
        if (converted_) {
            pugi::xml_document doc;
            doc.load_buffer(xml.data(), xml.size(), kKeepAll, pugi::encoding_utf8);
            std::ostringstream out;
            doc.save(out, "",
                     pugi::format_raw | pugi::format_no_declaration |
                         (byteOrderMark_ ? pugi::format_write_bom : 0u),
                     encoding_);
            xml = out.str();
        }
    }
    if (!compress) return xml;
    return IsCompressed() ? MxlArchive::ReplaceMember(original_, archivePath_, xml)
                          : MxlArchive::Create(memberName, xml);
}

}  // namespace plovikxml
