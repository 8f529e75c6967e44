// A MusicXML score as plovik-host works on it: the file's bytes (plain or compressed), its
// outline, and what was imported into the host's document. Writing gives back the same file
// with only the changed ties edited: when nothing changed, the very same bytes.
#pragma once

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "Document.h"
#include "ImportedScore.h"
#include "TextEncoding.h"
#include "TieWriter.h"
#include "XmlOutline.h"

namespace plovikxml {

class MusicXmlScore {
  public:
    // The bytes of a .musicxml (or .xml) file or of a compressed .mxl. A score that is not
    // well-formed XML is refused, naming the line and column. Throws ScoreError.
    void Load(std::string bytes);
    bool IsCompressed() const { return !archivePath_.empty(); }

    // Into a fresh document (see MusicXmlReader). Throws ScoreError.
    void Import(plovikhost::Document& doc);
    const ImportedScore& Imported() const { return score_; }

    // After a command: the ties it changed, and the file with them.
    std::vector<TieWriter::Change> Changes(const plovikhost::Document& doc,
                                           const TieCommand& command = TieCommand()) const {
        return TieWriter::Compare(score_, doc, command);
    }
    // The form written: as the score was read, plain MusicXML, or an archive; a plain score
    // made an archive holds it under that name. The score's own bytes are the same in every
    // form. Throws ScoreError.
    enum class Form { AS_READ, PLAIN, COMPRESSED };
    std::string Write(const std::vector<TieWriter::Change>& changes, Form form = Form::AS_READ,
                      const std::string& memberName = "score.musicxml") const;

  private:
    // The score's XML in UTF-8, whose offsets the outline and the imported notes give.
    const std::string& Text() const { return converted_ ? text_ : Source(); }
    // The score's XML as the file holds it.
    const std::string& Source() const { return IsCompressed() ? member_ : original_; }

    std::string original_;     // the file as read
    std::string archivePath_;  // the score inside a compressed file
    std::string member_;       // its bytes
    bool converted_ = false;   // the score is in another encoding; text_ holds it in UTF-8
    std::string text_;
    TextEncoding::Kind encoding_ = TextEncoding::UTF8;
    std::string byteOrderMark_;
    XmlOutline outline_;
    ImportedScore score_;
};

}  // namespace plovikxml
