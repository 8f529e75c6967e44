// Edits the text of an XML document in place of re-serialising it: elements are found through
// the parsed tree (pugixml gives each node's offset in the text it parsed), and the edits are
// erasures and insertions in that text. Everything not edited stays byte for byte as it was:
// formatting, quoting, character references, comments.
#pragma once

#include <cstddef>
#include <pugixml.hpp>
#include <string>
#include <vector>

namespace plovikxml {

class XmlSplicer {
  public:
    // The text the tree was parsed from (without conversion: UTF-8); it must outlive this.
    explicit XmlSplicer(const std::string& text) : text_(text) {}
    // The tree is of the text from this offset on (an element parsed on its own).
    void SetBase(size_t base) { base_ = base; }

    // Where an element's "<" stands, and the offset just past its end tag (or its "/>").
    // Throws ScoreError when the tree and the text disagree.
    size_t Begin(pugi::xml_node element) const;
    size_t End(pugi::xml_node element) const { return EndAt(Begin(element)); }
    // Just past the end of the element whose "<" stands at that offset.
    size_t EndAt(size_t begin) const;
    // Just past the ">" of the element's start tag; equal to End for an empty element tag.
    size_t ContentBegin(pugi::xml_node element) const;
    bool IsEmptyTag(pugi::xml_node element) const;

    // The line break and indentation before the element when it begins a line of its own
    // ("\n    "), else "".
    std::string LineBefore(pugi::xml_node element) const;
    // One step of indentation, as the element's children are indented against it ("  " when
    // it cannot tell).
    std::string IndentStep(pugi::xml_node element) const;

    // Removes the element, and its line break and indentation when it begins a line.
    void Erase(pugi::xml_node element);
    void Insert(size_t at, std::string text);

    bool Empty() const { return edits_.empty(); }
    void Clear() { edits_.clear(); }
    // The text from `from` to `to` with every edit made. Throws ScoreError when two edits
    // overlap or one lies outside.
    std::string Apply(size_t from = 0, size_t to = std::string::npos) const;

  private:
    struct Edit {
        size_t at;
        size_t erase;
        std::string insert;
        size_t order;
    };
    size_t TagEnd(size_t from) const;

    const std::string& text_;
    size_t base_ = 0;
    std::vector<Edit> edits_;
};

}  // namespace plovikxml
