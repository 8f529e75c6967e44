// The encodings a score may come in besides UTF-8, each read into UTF-8 and written back into
// its own bytes: what was not edited comes back byte for byte (declaration, line ends,
// character references, a byte order mark), since nothing is parsed and written again.
#pragma once

#include <string>

namespace plovikxml {

class TextEncoding {
  public:
    enum Kind { UTF8, UTF16LE, UTF16BE, LATIN1, WINDOWS1252 };

    // The encoding of a well-formed document from its first bytes and the name its
    // declaration gives (empty when none).
    static Kind Detect(const std::string& bytes, const std::string& declared);
    static const char* Name(Kind kind);

    // The text in UTF-8, a byte order mark left out. Throws ScoreError on bytes that are not
    // text in that encoding.
    static std::string Decode(const std::string& bytes, Kind kind);
    // The UTF-8 text in that encoding, after the byte order mark `bom` (empty for none).
    // A character the encoding cannot hold is refused with a ScoreError, never replaced.
    static std::string Encode(const std::string& utf8, Kind kind, const std::string& bom);
    // The byte order mark the bytes begin with, or "".
    static std::string ByteOrderMark(const std::string& bytes, Kind kind);
};

}  // namespace plovikxml
