// Editing XML text through its parsed tree: where elements begin and end, their lines, and
// edits that leave every other byte alone.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "ScoreError.h"
#include "XmlSplicer.h"

using plovikxml::XmlSplicer;

namespace {

struct Parsed {
    std::string text;
    pugi::xml_document doc;
    explicit Parsed(std::string t) : text(std::move(t)) {
        EXPECT_TRUE(doc.load_buffer(text.data(), text.size(), pugi::parse_full));
    }
    pugi::xml_node Find(const char* name) const {
        return doc.find_node([&](pugi::xml_node n) { return std::string(n.name()) == name; });
    }
};

TEST(MusicXmlSplicerTest, FindsWhereElementsBeginAndEnd) {
    const Parsed p(
        "<?xml version=\"1.0\"?>\n<a>\n  <b x='>' y=\"/>\"><!-- </b> --><![CDATA[</b>]]><b/>"
        "<?pi </b>?></b>\n  <c/>\n</a>");
    const XmlSplicer s(p.text);
    const pugi::xml_node b = p.Find("b");
    EXPECT_EQ(p.text.substr(s.Begin(b), s.End(b) - s.Begin(b)),
              "<b x='>' y=\"/>\"><!-- </b> --><![CDATA[</b>]]><b/><?pi </b>?></b>");
    EXPECT_EQ(p.text.substr(s.Begin(b), s.ContentBegin(b) - s.Begin(b)), "<b x='>' y=\"/>\">");
    EXPECT_FALSE(s.IsEmptyTag(b));
    const pugi::xml_node c = p.Find("c");
    EXPECT_TRUE(s.IsEmptyTag(c));
    EXPECT_EQ(s.End(c) - s.Begin(c), 4u);
    EXPECT_EQ(s.LineBefore(c), "\n  ");
    EXPECT_EQ(s.LineBefore(b.first_child().next_sibling().next_sibling()), "");
    EXPECT_EQ(s.IndentStep(p.Find("a")), "  ");
}

TEST(MusicXmlSplicerTest, EditsLeaveEveryOtherByteAlone) {
    const Parsed p("<a>\r\n\t<b>1</b>\r\n\t<c  q = 'v' />\r\n\t<d>&amp;&#233;</d>\r\n</a>");
    XmlSplicer s(p.text);
    const pugi::xml_node b = p.Find("b"), c = p.Find("c");
    s.Insert(s.End(b), s.LineBefore(b) + "<new/>");
    s.Erase(c);
    EXPECT_EQ(s.Apply(), "<a>\r\n\t<b>1</b>\r\n\t<new/>\r\n\t<d>&amp;&#233;</d>\r\n</a>");
}

TEST(MusicXmlSplicerTest, InsertionsAtOnePlaceKeepTheirOrderAndOverlapsAreRefused) {
    const Parsed p("<a><b/><c/></a>");
    XmlSplicer s(p.text);
    const size_t at = s.End(p.Find("b"));
    s.Insert(at, "1");
    s.Insert(at, "2");
    s.Erase(p.Find("c"));
    EXPECT_EQ(s.Apply(), "<a><b/>12</a>");
    XmlSplicer overlapping(p.text);
    overlapping.Erase(p.Find("a"));
    overlapping.Erase(p.Find("b"));
    EXPECT_THROW(overlapping.Apply(), plovikxml::ScoreError);
}

TEST(MusicXmlSplicerTest, ATreeThatIsNotOfTheTextIsRefused) {
    const Parsed p("<a><b/></a>");
    const std::string other = "xxxxxxxxxxx";
    const XmlSplicer s(other);
    EXPECT_THROW(s.Begin(p.Find("b")), plovikxml::ScoreError);
}

}  // namespace
