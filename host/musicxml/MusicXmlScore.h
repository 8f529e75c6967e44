// A MusicXML score as plovik-host works on it: the file's bytes (plain or compressed), the XML
// read from them, and what was imported into the host's document. Writing gives back the same
// file with only the changed ties edited: when nothing changed, the very same bytes.
#pragma once

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "Document.h"
#include "ImportedScore.h"
#include "TieWriter.h"

namespace plovikxml {

class MusicXmlScore {
  public:
    // The bytes of a .musicxml (or .xml) file or of a compressed .mxl. Throws ScoreError.
    void Load(std::string bytes);
    bool IsCompressed() const { return !archivePath_.empty(); }

    // Into a fresh document (see MusicXmlReader). Throws ScoreError.
    void Import(plovikhost::Document& doc);
    const ImportedScore& Imported() const { return score_; }

    // After a command: the ties it changed, and the file with them.
    std::vector<TieWriter::Change> Changes(const plovikhost::Document& doc) const {
        return TieWriter::Compare(score_, doc);
    }
    std::string Write(const std::vector<TieWriter::Change>& changes) const;

  private:
    std::string original_;     // the file as read
    std::string archivePath_;  // the score inside a compressed file
    std::string text_;         // the XML text, in UTF-8
    pugi::xml_encoding encoding_ = pugi::encoding_utf8;
    bool byteOrderMark_ = false;
    pugi::xml_document xml_;
    ImportedScore score_;
};

}  // namespace plovikxml
