// Property tests of the tag functions over arbitrary text, rich in carets, parentheses and
// commas, with high bytes and zero units. None of them may read or write outside the string:
// beyond the unit array the asan build stops them; between the length and the capacity a
// string whose spare units hold stale carets must give exactly what a clean one gives. And
// they must agree with each other about what a tag is.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "HostTest.h"
#include "finaleframework.h"

namespace {

using Units = std::vector<int16_t>;

Units UnitsOf(const FCString& s) {
    Units out;
    for (int i = 0; i < s.GetLength(); ++i) out.push_back(s.GetItemAt(i));
    return out;
}

// A copy of the text; a dirty copy keeps stale carets between its length and its capacity.
void Copy(FCString* into, FCString* from, bool dirty) {
    if (dirty) into->SetCString(std::string(120, '^').c_str());
    into->SetString(from);
}

struct Outcome {
    std::vector<Units> tags;
    std::vector<std::vector<Units>> components;  // per tag; {{-1}} for none
    std::string fontName;
    int16_t fontSize = 0;
    uint16_t fontEffects = 0;
    Units trimmed, fontTrimmed;
    bool trimmedAny = false, fontTrimmedAny = false;

    bool operator==(const Outcome& o) const {
        return tags == o.tags && components == o.components && fontName == o.fontName &&
               fontSize == o.fontSize && fontEffects == o.fontEffects && trimmed == o.trimmed &&
               fontTrimmed == o.fontTrimmed && trimmedAny == o.trimmedAny &&
               fontTrimmedAny == o.fontTrimmedAny;
    }
};

Outcome Analyse(FCString* source, bool dirty) {
    Outcome out;
    FCString text;
    Copy(&text, source, dirty);
    std::unique_ptr<FCStrings> tags(text.CreateEnigmaStrings());
    for (int i = 0; tags && i < tags->GetCount(); ++i) {
        auto* tag = static_cast<FCString*>(tags->GetItemAt(i));
        out.tags.push_back(UnitsOf(*tag));
        FCString probe;  // the tag again, dirty or not
        Copy(&probe, tag, dirty);
        std::unique_ptr<FCStrings> parts(probe.CreateEnigmaComponents());
        std::vector<Units> split;
        if (!parts) split.push_back({-1});
        for (int k = 0; parts && k < parts->GetCount(); ++k)
            split.push_back(UnitsOf(*static_cast<FCString*>(parts->GetItemAt(k))));
        out.components.push_back(split);
    }
    std::unique_ptr<FCFontInfo> font(text.CreateLastFontInfo());
    out.fontName = font->GetName();
    out.fontSize = font->GetSize();
    out.fontEffects = font->GetEffects();

    FCString fontTrimmed;
    Copy(&fontTrimmed, &text, dirty);
    out.fontTrimmedAny = fontTrimmed.TrimEnigmaFontTags();
    out.fontTrimmed = UnitsOf(fontTrimmed);
    out.trimmedAny = text.TrimEnigmaTags();
    out.trimmed = UnitsOf(text);
    return out;
}

bool IsFontTag(const Units& tag) {
    FCString s;
    for (int16_t unit : tag) s.Append(unit);
    return s.StartsWith("^font") || s.StartsWith("^Font") || s.StartsWith("^nfx") ||
           s.StartsWith("^size");
}

void RandomText(std::mt19937& rng, FCString* s) {
    static const int16_t alphabet[] = {'^', '^', '^', '(', '(', ')', ')', ',', 'f',
                                       'o', 'n', 't', 's', 'i', 'z', 'e', 'x', 'F',
                                       '1', '7', ' ', '-', 0,   -1,  -23};
    s->SetCString("");
    const unsigned length = rng() % 48;
    for (unsigned i = 0; i < length; ++i) {
        if (rng() % 8 == 0)
            s->Append(static_cast<int16_t>(rng() & 0xFFFF));  // any unit at all
        else
            s->Append(alphabet[rng() % (sizeof alphabet / sizeof alphabet[0])]);
    }
}

// Glued from tag-like pieces, so that font tags with arguments are common too.
void RandomTagText(std::mt19937& rng, FCString* s) {
    static const char* const pieces[] = {"^font(",  "^fontMus(", "^Font", "^size(", "^nfx(",
                                         "^other(", "Font7",     "Font",  "Arial",  "12",
                                         "-3",      ",",         "(",     ")",      ")",
                                         "^^",      "^",         "x",     " "};
    s->SetCString("");
    const unsigned count = rng() % 12;
    for (unsigned i = 0; i < count; ++i)
        s->Append(pieces[rng() % (sizeof pieces / sizeof pieces[0])]);
}

}  // namespace

class EnigmaTagsPropertyTest : public HostTest {
  protected:
    void SetUp() override {
        HostTest::SetUp();
        doc().fonts[7] = "Seven";
    }

    void Check(FCString* text) {
        const Outcome clean = Analyse(text, false);
        ASSERT_TRUE(clean == Analyse(text, true))
            << "differs with stale units: " << text->GetCString();
        const int length = text->GetLength();
        int tagUnits = 0;
        bool anyCompleteFontTag = false;
        for (size_t i = 0; i < clean.tags.size(); ++i) {
            const Units& tag = clean.tags[i];
            tagUnits += static_cast<int>(tag.size());
            ASSERT_EQ(tag.front(), '^');
            // A ')' ends every tag; only the last may run to the end unterminated.
            const bool complete = tag.back() == ')';
            ASSERT_TRUE(complete || i + 1 == clean.tags.size());
            for (size_t k = 0; k + 1 < tag.size(); ++k) ASSERT_NE(tag[k], ')');
            if (complete && IsFontTag(tag)) anyCompleteFontTag = true;
            // Components: none for a lone caret; otherwise non-empty and free of separators.
            if (tag.size() == 1) {
                ASSERT_EQ(clean.components[i], std::vector<Units>{{-1}});
                continue;
            }
            for (const Units& part : clean.components[i]) {
                ASSERT_FALSE(part.empty());
                for (int16_t unit : part) ASSERT_TRUE(unit != ',' && unit != '(' && unit != ')');
            }
        }
        ASSERT_LE(tagUnits, length);
        ASSERT_LT(clean.fontName.size(), 256u);
        ASSERT_EQ(clean.trimmedAny, !clean.tags.empty());
        ASSERT_LE(static_cast<int>(clean.trimmed.size()), length);
        ASSERT_EQ(clean.fontTrimmedAny, anyCompleteFontTag);
        ASSERT_LE(static_cast<int>(clean.fontTrimmed.size()), length);
        // Without escaped carets, removing the font tags and then the rest leaves what
        // removing every tag at once leaves.
        FCString pair;
        pair.SetCString("^^");
        if (!text->Contains(&pair)) {
            FCString twice;
            for (int16_t unit : clean.fontTrimmed) twice.Append(unit);
            twice.TrimEnigmaTags();
            ASSERT_EQ(UnitsOf(twice), clean.trimmed);
        }
    }
};

TEST_F(EnigmaTagsPropertyTest, ArbitraryUnits) {
    std::mt19937 rng(20240601u);
    FCString text;
    for (int round = 0; round < 3000; ++round) {
        RandomText(rng, &text);
        ASSERT_NO_FATAL_FAILURE(Check(&text));
    }
}

TEST_F(EnigmaTagsPropertyTest, TagLikeText) {
    std::mt19937 rng(7u);
    FCString text;
    for (int round = 0; round < 3000; ++round) {
        RandomTagText(rng, &text);
        ASSERT_NO_FATAL_FAILURE(Check(&text));
    }
}

TEST_F(EnigmaTagsPropertyTest, EveryShortCaretText) {
    // Every text of up to six units over the characters that matter.
    const int16_t alphabet[] = {'^', '(', ')', ',', 's'};
    FCString text;
    for (int length = 0; length <= 6; ++length) {
        int combinations = 1;
        for (int i = 0; i < length; ++i) combinations *= 5;
        for (int n = 0; n < combinations; ++n) {
            text.SetCString("");
            for (int i = 0, v = n; i < length; ++i, v /= 5) text.Append(alphabet[v % 5]);
            ASSERT_NO_FATAL_FAILURE(Check(&text));
        }
    }
}
