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
    std::string xml;
    if (MxlArchive::Looks(original_))
        MxlArchive::ReadScore(original_, archivePath_, xml);
    else
        xml = original_;

    pugi::xml_document probe;
    const pugi::xml_parse_result parsed =
        probe.load_buffer(xml.data(), xml.size(), kKeepAll, pugi::encoding_auto);
    if (!parsed)
        throw ScoreError(std::string("not MusicXML: not well-formed XML (") + parsed.description() +
                         " at byte " + std::to_string(parsed.offset) + ")");
    encoding_ = parsed.encoding;
    byteOrderMark_ = false;
    if (encoding_ == pugi::encoding_utf8) {
        text_ = std::move(xml);
    } else {
        // Edits are made on UTF-8 text; the file is written back in its own encoding.
        byteOrderMark_ = xml.size() >= 2 && ((xml[0] == '\xFF' && xml[1] == '\xFE') ||
                                             (xml[0] == '\xFE' && xml[1] == '\xFF'));
        std::ostringstream utf8;
        probe.save(utf8, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
        text_ = utf8.str();
    }
    if (!xml_.load_buffer(text_.data(), text_.size(), pugi::parse_full, pugi::encoding_utf8))
        throw ScoreError("not MusicXML: its text cannot be read as UTF-8");
}

void MusicXmlScore::Import(plovikhost::Document& doc) {
    MusicXmlReader::Read(xml_, doc, score_);
}

std::string MusicXmlScore::Write(const std::vector<TieWriter::Change>& changes) const {
    bool any = false;
    for (const TieWriter::Change& change : changes)
        any = any || change.kind != TieWriter::Change::NOT_WRITTEN;
    if (!any) return original_;

    std::string xml = TieWriter::Write(text_, changes);
    if (encoding_ != pugi::encoding_utf8) {
        pugi::xml_document doc;
        doc.load_buffer(xml.data(), xml.size(), kKeepAll, pugi::encoding_utf8);
        std::ostringstream out;
        doc.save(out, "",
                 pugi::format_raw | pugi::format_no_declaration |
                     (byteOrderMark_ ? pugi::format_write_bom : 0u),
                 encoding_);
        xml = out.str();
    }
    return IsCompressed() ? MxlArchive::ReplaceMember(original_, archivePath_, xml) : xml;
}

}  // namespace plovikxml
