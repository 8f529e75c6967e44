// One pass of expat over a score's text: whether it is well-formed XML (every rule of XML 1.0,
// valid characters in the document's encoding included), and where the elements the reader
// walks stand in it. Nothing is built but the outline, so a large score costs no tree: the
// reader parses one measure at a time.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace plovikxml {

class XmlOutline {
  public:
    // An element of the text: from its "<" to just past its end tag (or "/>"), and the value
    // of the one attribute the reader asks of it (a part's id, a measure's number).
    struct Span {
        size_t begin = 0;
        size_t end = 0;
        std::string attribute;
    };
    // Partwise: a part and its measures. Timewise: a measure and its parts.
    struct Group {
        Span span;
        std::vector<Span> children;
    };

    // Checks the text in whatever encoding it is in, and outlines it: the offsets are of its
    // bytes. Throws ScoreError naming the line and column of the first error; `where` follows
    // the column ("of score.xml in the archive"), or is empty. `utf8`: the text is UTF-8
    // whatever its declaration says (a score converted from its own encoding).
    void Scan(const std::string& text, const std::string& where, bool utf8 = false);
    // Whether the text is UTF-8 (or ASCII), so that the offsets are those of its UTF-8 text.
    bool IsUtf8() const { return utf8_; }
    // The encoding the XML declaration names, as written ("" when it names none).
    const std::string& DeclaredEncoding() const { return declared_; }

    std::string root;  // the name of the document element
    bool hasPartList = false;
    Span partList;  // the first <part-list> under the root
    std::vector<Group> groups;

  private:
    bool utf8_ = true;
    std::string declared_;
};

}  // namespace plovikxml
