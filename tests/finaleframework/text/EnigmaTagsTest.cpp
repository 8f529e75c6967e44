#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "HostTest.h"
#include "finaleframework.h"

namespace {

std::vector<std::string> Texts(FCStrings* strings) {
    std::vector<std::string> out;
    for (int i = 0; i < strings->GetCount(); ++i)
        out.push_back(static_cast<FCString*>(strings->GetItemAt(i))->GetCString());
    return out;
}

std::vector<std::string> Tags(const char* text) {
    FCString s;
    s.SetCString(text);
    std::unique_ptr<FCStrings> tags(s.CreateEnigmaStrings());
    EXPECT_TRUE(tags);
    EXPECT_STREQ(tags->ClassName(), "FCStrings");
    return Texts(tags.get());
}

std::vector<std::string> Components(const char* text) {
    FCString s;
    s.SetCString(text);
    std::unique_ptr<FCStrings> parts(s.CreateEnigmaComponents());
    if (!parts) return {"<null>"};
    return Texts(parts.get());
}

std::string Trimmed(const char* text, bool* removed) {
    FCString s;
    s.SetCString(text);
    *removed = s.TrimEnigmaTags();
    return s.GetCString();
}

std::string FontTrimmed(const char* text, bool* removed) {
    FCString s;
    s.SetCString(text);
    *removed = s.TrimEnigmaFontTags();
    return s.GetCString();
}

}  // namespace

TEST(EnigmaTagsTest, TrimEnigmaTagsRemovesEveryTag) {
    const struct {
        const char* text;
        const char* expected;
        bool removed;
    } cases[] = {
        {"^font(Arial,4096)Hello ^^ world", "Hello ^ world", true},
        {"plain text", "plain text", false},
        {"", "", false},
        {"^^", "^", false},
        {"^^^^", "^^", false},
        {"a^^^size(12)b", "a^b", true},  // an escaped caret, then a tag
        {"a^size(12", "a", true},        // unterminated: to the end
        {"a^", "a", true},               // a lone caret at the end
        {"^)x", "x", true},
        {"a)b(c", "a)b(c", false},  // parentheses outside tags are text
        {"^a(^b)c)", "c)", true},   // a caret inside a tag is part of it
        {"x^fontMus(Maestro,0)^nfx(1)y", "xy", true},
    };
    for (const auto& c : cases) {
        bool removed = false;
        EXPECT_EQ(Trimmed(c.text, &removed), c.expected) << c.text;
        EXPECT_EQ(removed, c.removed) << c.text;
    }
}

TEST(EnigmaTagsTest, TrimEnigmaFontTagsKeepsOtherTags) {
    const struct {
        const char* text;
        const char* expected;
        bool removed;
    } cases[] = {
        {"^size(12)A^other(1,2)B", "A^other(1,2)B", true},
        {"^font(Arial,4096)^Font(x)^fontMus(M)^fontTxt(T)^fontNum(N)^nfx(3)^size(9)X", "X", true},
        {"^fontsize(1)^sizeable()^nfxy()X", "X", true},  // by the start of the tag text
        {"^fon(1)^Size(2)^NFX(3)", "^fon(1)^Size(2)^NFX(3)", false},
        {"a^^font(x)b", "a^font(x)b", false},  // an escaped caret begins no tag
        {"a^size(12", "a", false},             // unterminated: dropped, not counted
        {"a^other(1", "a", false},
        {"a^", "a", false},
        {"plain", "plain", false},
        {"", "", false},
    };
    for (const auto& c : cases) {
        bool removed = false;
        EXPECT_EQ(FontTrimmed(c.text, &removed), c.expected) << c.text;
        EXPECT_EQ(removed, c.removed) << c.text;
    }
}

TEST(EnigmaTagsTest, CreateEnigmaStringsSplitsIntoTags) {
    EXPECT_EQ(Tags("no caret here"), std::vector<std::string>{});
    EXPECT_EQ(Tags(""), std::vector<std::string>{});
    EXPECT_EQ(Tags("^font(Times,4096)text^size(12)more"),
              (std::vector<std::string>{"^font(Times,4096)", "^size(12)"}));
    EXPECT_EQ(Tags("^^size(12)"), std::vector<std::string>{});         // escaped
    EXPECT_EQ(Tags("a^size(1"), std::vector<std::string>{"^size(1"});  // as far as it goes
    EXPECT_EQ(Tags("a^"), std::vector<std::string>{"^"});
    EXPECT_EQ(Tags("^a(^b)^c()"), (std::vector<std::string>{"^a(^b)", "^c()"}));
}

TEST(EnigmaTagsTest, CreateEnigmaComponentsSplitsOneTag) {
    EXPECT_EQ(Components("^size(12)"), (std::vector<std::string>{"size", "12"}));
    EXPECT_EQ(Components("^font(Times New Roman,4096)"),
              (std::vector<std::string>{"font", "Times New Roman", "4096"}));
    EXPECT_EQ(Components("^a((,,)b, c)"), (std::vector<std::string>{"a", "b", " c"}));
    EXPECT_EQ(Components("^x"), std::vector<std::string>{"x"});
    EXPECT_EQ(Components("^()"), std::vector<std::string>{});
    EXPECT_EQ(Components("^"), std::vector<std::string>{"<null>"});
    EXPECT_EQ(Components(""), std::vector<std::string>{"<null>"});
    EXPECT_EQ(Components("size(12)"), std::vector<std::string>{"<null>"});
}

class FontInfoTest : public HostTest {};

TEST_F(FontInfoTest, CreateLastFontInfoDefaultsWithoutTags) {
    FCString s;
    s.SetCString("Plain text ^^ with an escaped caret");
    std::unique_ptr<FCFontInfo> font(s.CreateLastFontInfo());
    ASSERT_TRUE(font);
    EXPECT_STREQ(font->GetName(), "Times New Roman");
    EXPECT_EQ(font->GetSize(), 12);
    EXPECT_EQ(font->GetEffects(), 0);
    EXPECT_STREQ(font->ClassName(), "__FCBase");
    EXPECT_EQ(host().Count("FX_FontNumToName"), 0);
}

TEST_F(FontInfoTest, LaterTagsOverrideEarlierOnes) {
    FCString s;
    s.SetCString("^font(Arial,4096)^size(10)A^fontTxt(Courier,0)^nfx(3)B^size(14)C^other(9)");
    std::unique_ptr<FCFontInfo> font(s.CreateLastFontInfo());
    EXPECT_STREQ(font->GetName(), "Courier");
    EXPECT_EQ(font->GetSize(), 14);
    EXPECT_EQ(font->GetEffects(), 3);

    s.SetCString("^fontMus(Maestro,1)^Font(Ignored,2)");
    font.reset(s.CreateLastFontInfo());
    EXPECT_STREQ(font->GetName(), "Maestro");
    s.SetCString("^fontNum(Arial Narrow)");
    font.reset(s.CreateLastFontInfo());
    EXPECT_STREQ(font->GetName(), "Arial Narrow");
}

TEST_F(FontInfoTest, FontNumbersAreAskedOfTheHost) {
    doc().fonts[7] = "Engraver";
    FCString s;
    s.SetCString("^font(Font7,4096)");
    std::unique_ptr<FCFontInfo> font(s.CreateLastFontInfo());
    EXPECT_STREQ(font->GetName(), "Engraver");
    const plovikhost::CallRecord* call = host().LastCall("FX_FontNumToName");
    ASSERT_TRUE(call);
    EXPECT_EQ(call->args[0], 7);
    EXPECT_EQ(call->args[2], FRAMEWORK_ENIGMA_VERSION);

    s.SetCString("^font(Arial)^font(Font8,4096)");  // a number the host does not know
    font.reset(s.CreateLastFontInfo());
    EXPECT_STREQ(font->GetName(), "Times New Roman");

    host().Hide("FX_FontNumToName");
    Relookup();
    s.SetCString("^font(Font7,4096)");
    font.reset(s.CreateLastFontInfo());
    EXPECT_STREQ(font->GetName(), "Times New Roman");
}

TEST_F(FontInfoTest, TagsWithoutArgumentsAreIgnored) {
    const char* texts[] = {"^font",    "^font()",  "^nfx", "^nfx()", "^size", "^size(",
                           "^size(,)", "^fontMus", "^",    "A^",     "^()",   "^(12)"};
    for (const char* text : texts) {
        FCString s;
        s.SetCString("^font(Arial,4096)^size(9)^nfx(2)");
        s.Append(text);
        std::unique_ptr<FCFontInfo> font(s.CreateLastFontInfo());
        ASSERT_TRUE(font) << text;
        EXPECT_STREQ(font->GetName(), "Arial") << text;
        EXPECT_EQ(font->GetSize(), 9) << text;
        EXPECT_EQ(font->GetEffects(), 2) << text;
    }
    // An unterminated tag counts as far as it goes.
    FCString s;
    s.SetCString("^size(14");
    std::unique_ptr<FCFontInfo> font(s.CreateLastFontInfo());
    EXPECT_EQ(font->GetSize(), 14);
}

TEST_F(FontInfoTest, LongFontNamesAreCutToTheNameField) {
    FCString s;
    s.SetCString("^font(");
    s.Append(std::string(300, 'N').c_str());
    s.Append(",4096)");
    std::unique_ptr<FCFontInfo> font(s.CreateLastFontInfo());
    EXPECT_EQ(std::strlen(font->GetName()), 255u);

    doc().fonts[3] = std::string(400, 'H');
    font->SetNameByID(3);
    EXPECT_EQ(std::string(font->GetName()), std::string(255, 'H'));
}

TEST_F(FontInfoTest, MakeEnigmaStringRoundTrips) {
    FCFontInfo font;
    font.SetName("Times New Roman");
    font.SetSize(12);
    font.SetEffects(0);
    FCString s;
    s.SetCString("old text");
    font.MakeEnigmaString(&s);
    EXPECT_STREQ(s.GetCString(), "^font(Times New Roman,4096)^size(12)^nfx(0)");

    const struct {
        const char* name;
        int16_t size;
        uint16_t effects;
    } fonts[] = {{"Times New Roman", 12, 0},
                 {"Arial", -5, 0x8000},  // negative size, unsigned effects
                 {"\xC9l\xE9gant", 32767, 0xFFFF},
                 {"", 0, 1}};
    for (const auto& f : fonts) {
        FCFontInfo in;
        in.SetName(f.name);
        in.SetSize(f.size);
        in.SetEffects(f.effects);
        in.MakeEnigmaString(&s);
        std::unique_ptr<FCFontInfo> out(s.CreateLastFontInfo());
        if (*f.name) {
            EXPECT_STREQ(out->GetName(), f.name);
        }
        EXPECT_EQ(out->GetSize(), f.size) << s.GetCString();
        EXPECT_EQ(out->GetEffects(), f.effects) << s.GetCString();
    }
    font.MakeEnigmaString(nullptr);
}

TEST_F(FontInfoTest, IsIdenticalToComparesSomeEffectBits) {
    FCFontInfo a;
    FCFontInfo b;
    a.SetName("Arial");
    b.SetName("Arial");
    a.SetSize(12);
    b.SetSize(12);
    EXPECT_TRUE(a.IsIdenticalTo(&b));
    EXPECT_FALSE(a.IsIdenticalTo(nullptr));
    for (int bit = 0; bit < 16; ++bit) {
        const uint16_t mask = static_cast<uint16_t>(1u << bit);
        const bool compared = mask == 0x01 || mask == 0x02 || mask == 0x04 || mask == 0x20 ||
                              mask == 0x40 || mask == 0x80;
        b.SetEffects(mask);
        EXPECT_EQ(a.IsIdenticalTo(&b), !compared) << "bit " << mask;
        EXPECT_EQ(b.IsIdenticalTo(&a), !compared) << "bit " << mask;
    }
    b.SetEffects(0);
    b.SetSize(13);
    EXPECT_FALSE(a.IsIdenticalTo(&b));
    b.SetSize(12);
    b.SetName("arial");  // case counts
    EXPECT_FALSE(a.IsIdenticalTo(&b));
    b.SetName("Arial ");
    EXPECT_FALSE(a.IsIdenticalTo(&b));
    b.SetName(nullptr);
    EXPECT_STREQ(b.GetName(), "");
    a.SetName(a.GetName());
    EXPECT_STREQ(a.GetName(), "Arial");
}

TEST_F(FontInfoTest, HostFontTableIsPerDocument) {
    EXPECT_EQ(FX_FontNameToNum("Arial", FRAMEWORK_ENIGMA_VERSION), 1);
    EXPECT_EQ(FX_FontNameToNum("Courier", FRAMEWORK_ENIGMA_VERSION), 2);
    EXPECT_EQ(FX_FontNameToNum("Arial", FRAMEWORK_ENIGMA_VERSION), 1);
    char name[256] = "unchanged";
    EXPECT_NE(FX_FontNumToName(2, name, FRAMEWORK_ENIGMA_VERSION), 0);
    EXPECT_STREQ(name, "Courier");
    EXPECT_EQ(FX_FontNumToName(9, name, FRAMEWORK_ENIGMA_VERSION), 0);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(FX_FontNumToName(2, nullptr, FRAMEWORK_ENIGMA_VERSION), 0);
    EXPECT_EQ(FX_FontNameToNum(nullptr, FRAMEWORK_ENIGMA_VERSION), 0);

    host().AddDocument(2);
    ASSERT_TRUE(host().SetCurrentDocument(2));
    EXPECT_EQ(FX_FontNumToName(2, name, FRAMEWORK_ENIGMA_VERSION), 0);
    EXPECT_EQ(FX_FontNameToNum("Courier", FRAMEWORK_ENIGMA_VERSION), 1);
}
