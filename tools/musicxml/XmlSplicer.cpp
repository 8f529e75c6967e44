#include "XmlSplicer.h"

#include <algorithm>
#include <cstring>

#include "ScoreError.h"

namespace plovikxml {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

ScoreError Disagree() {
    return ScoreError("the score's text and its parsed form disagree");
}

}  // namespace

size_t XmlSplicer::Begin(pugi::xml_node element) const {
    const ptrdiff_t offset = element.offset_debug();
    if (element.type() != pugi::node_element || offset < 1) throw Disagree();
    const size_t name = base_ + static_cast<size_t>(offset);
    if (name >= text_.size() || text_[name - 1] != '<') throw Disagree();
    return name - 1;
}

// Just past the ">" that closes the tag beginning at `from` (a "<"), quotes respected.
size_t XmlSplicer::TagEnd(size_t from) const {
    char quote = 0;
    for (size_t i = from + 1; i < text_.size(); ++i) {
        const char c = text_[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    throw Disagree();
}

size_t XmlSplicer::ContentBegin(pugi::xml_node element) const {
    return TagEnd(Begin(element));
}

bool XmlSplicer::IsEmptyTag(pugi::xml_node element) const {
    const size_t end = ContentBegin(element);
    return end >= 2 && text_[end - 2] == '/';
}

size_t XmlSplicer::EndAt(size_t begin) const {
    if (begin >= text_.size() || text_[begin] != '<') throw Disagree();
    size_t at = TagEnd(begin);
    if (text_[at - 2] == '/') return at;
    // The text is well formed (it parsed): count nesting until the matching end tag, stepping
    // over comments, CDATA and processing instructions whole.
    int depth = 1;
    while (at < text_.size()) {
        const size_t open = text_.find('<', at);
        if (open == std::string::npos) break;
        auto skip = [&](const char* start, const char* stop) {
            if (text_.compare(open, std::strlen(start), start) != 0) return false;
            const size_t close = text_.find(stop, open + std::strlen(start));
            if (close == std::string::npos) throw Disagree();
            at = close + std::strlen(stop);
            return true;
        };
        const char next = open + 1 < text_.size() ? text_[open + 1] : '\0';
        if ((next == '!' || next == '?') &&
            (skip("<!--", "-->") || skip("<![CDATA[", "]]>") || skip("<?", "?>")))
            continue;
        const size_t close = TagEnd(open);
        if (text_[open + 1] == '/') {
            if (--depth == 0) return close;
        } else if (text_[close - 2] != '/') {
            ++depth;
        }
        at = close;
    }
    throw Disagree();
}

std::string XmlSplicer::LineBefore(pugi::xml_node element) const {
    size_t at = Begin(element);
    while (at > 0 && IsBlank(text_[at - 1])) --at;
    if (at == 0 || text_[at - 1] != '\n') return "";
    --at;
    if (at > 0 && text_[at - 1] == '\r') --at;
    return text_.substr(at, Begin(element) - at);
}

std::string XmlSplicer::IndentStep(pugi::xml_node element) const {
    auto indent = [](const std::string& line) {
        const size_t nl = line.rfind('\n');
        return nl == std::string::npos ? std::string() : line.substr(nl + 1);
    };
    const std::string outer = indent(LineBefore(element));
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        const std::string inner = indent(LineBefore(child));
        if (inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0)
            return inner.substr(outer.size());
        break;
    }
    return "  ";
}

void XmlSplicer::Erase(pugi::xml_node element) {
    const size_t begin = Begin(element);
    const size_t from = begin - LineBefore(element).size();
    edits_.push_back({from, End(element) - from, std::string(), edits_.size()});
}

void XmlSplicer::Insert(size_t at, std::string text) {
    if (at > text_.size()) throw Disagree();
    edits_.push_back({at, 0, std::move(text), edits_.size()});
}

std::string XmlSplicer::Apply(size_t from, size_t to) const {
    to = std::min(to, text_.size());
    std::vector<const Edit*> order;
    for (const Edit& edit : edits_) order.push_back(&edit);
    // Insertions at one place keep the order they were made in.
    std::sort(order.begin(), order.end(), [](const Edit* a, const Edit* b) {
        return a->at != b->at ? a->at < b->at : a->order < b->order;
    });
    std::string out;
    out.reserve(to - std::min(from, to) + 64 * edits_.size());
    size_t copied = from;
    for (const Edit* edit : order) {
        if (edit->at < copied) throw ScoreError("two changes to the score's text overlap");
        if (edit->at + edit->erase > to) throw Disagree();
        out.append(text_, copied, edit->at - copied);
        out += edit->insert;
        copied = edit->at + edit->erase;
    }
    if (copied < to) out.append(text_, copied, to - copied);
    return out;
}

}  // namespace plovikxml
