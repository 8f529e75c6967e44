#include "MusicXmlScore.h"

#include "MusicXmlReader.h"
#include "MxlArchive.h"
#include "ScoreError.h"
#include "TextEncoding.h"

namespace plovikxml {

void MusicXmlScore::Load(std::string bytes) {
    original_ = std::move(bytes);
    archivePath_.clear();
    member_.clear();
    text_.clear();
    converted_ = false;
    encoding_ = TextEncoding::UTF8;
    byteOrderMark_.clear();
    std::string where;
    if (MxlArchive::Looks(original_)) {
        MxlArchive::ReadScore(original_, archivePath_, member_);
        where = "of " + archivePath_ + " in the archive";
    }
    const std::string& source = Source();
    outline_.Scan(source, where);
    if (outline_.IsUtf8()) return;

    // Read and edited as UTF-8, written back in its own encoding: the conversion keeps every
    // character as it stands, so the text converts back to the very same bytes.
    encoding_ = TextEncoding::Detect(source, outline_.DeclaredEncoding());
    if (encoding_ == TextEncoding::UTF8) return;
    byteOrderMark_ = TextEncoding::ByteOrderMark(source, encoding_);
    text_ = TextEncoding::Decode(source, encoding_);
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
        if (converted_) xml = TextEncoding::Encode(xml, encoding_, byteOrderMark_);
    }
    if (!compress) return xml;
    return IsCompressed() ? MxlArchive::ReplaceMember(original_, archivePath_, xml)
                          : MxlArchive::Create(memberName, xml);
}

}  // namespace plovikxml
