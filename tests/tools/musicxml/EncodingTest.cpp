// Scores in every encoding the reader takes come back byte for byte but for their ties: the
// declaration, line ends, empty elements, character references and the last newline (or its
// absence) included. The copies in other encodings are made with iconv, not with the code
// under test.
#include <gtest/gtest.h>
#include <iconv.h>

#include "MusicXmlTest.h"
#include "ScoreError.h"
#include "TextEncoding.h"

namespace {

std::string Convert(const std::string& utf8, const char* to) {
    iconv_t cd = iconv_open(to, "UTF-8");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << to;
    std::string in = utf8, out(4 * utf8.size() + 8, '\0');
    char* src = in.data();
    char* dst = out.data();
    size_t left = in.size(), room = out.size();
    EXPECT_NE(iconv(cd, &src, &left, &dst, &room), static_cast<size_t>(-1)) << to;
    iconv_close(cd);
    out.resize(out.size() - room);
    return out;
}

class MusicXmlEncodingTest : public MusicXmlTest {
  protected:
    // The etude-like score: text out of ASCII, references, an empty element, CR LF line ends,
    // no newline at its end.
    static std::string Score(const std::string& encoding) {
        // A character of Windows-1252 and UTF-16 that Latin-1 lacks, where it can.
        const std::string mark = encoding == "ISO-8859-1" ? "\xC2\xBF" : "\xE2\x80\xA6";
        std::string xml = OneStaff({"C4 C4 E4 E4", "G4 G4 G4 G4"});
        xml.replace(xml.find("UTF-8"), 5, encoding);
        xml.replace(xml.find("<part-name>Flute</part-name>"), 28,
                    "<part-name></part-name><part-abbreviation>Fl\xC3\xBBte " + mark +
                        " &#8364; &#x1D11E;</part-abbreviation>");
        std::string crlf;
        for (char c : xml) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        crlf.resize(crlf.size() - 2);
        return crlf;
    }
};

TEST_F(MusicXmlEncodingTest, EveryEncodingComesBackInItsOwnBytes) {
    struct Case {
        const char* declared;
        const char* iconv;
        const char* bom;
    };
    const Case cases[] = {
        {"ISO-8859-1", "ISO-8859-1", ""},   {"windows-1252", "WINDOWS-1252", ""},
        {"UTF-16", "UTF-16LE", "\xFF\xFE"}, {"UTF-16", "UTF-16BE", "\xFE\xFF"},
        {"UTF-16", "UTF-16LE", ""},         {"UTF-16", "UTF-16BE", ""},
    };
    for (const Case& c : cases) {
        const std::string utf8 = Score(c.declared);
        const std::string bytes = std::string(c.bom) + Convert(utf8, c.iconv);
        const std::string tied = Tie(bytes);
        // The same edits as on the score in UTF-8, in the file's own encoding.
        std::string tiedUtf8 = Tie(Score(c.declared)
                                       .replace(Score(c.declared).find(c.declared),
                                                std::string(c.declared).size(), "UTF-8"));
        tiedUtf8.replace(tiedUtf8.find("UTF-8"), 5, c.declared);
        EXPECT_EQ(tied, std::string(c.bom) + Convert(tiedUtf8, c.iconv)) << c.iconv << c.bom;
        EXPECT_EQ(Untie(tied), bytes) << c.iconv << c.bom;
    }
}

TEST_F(MusicXmlEncodingTest, ACharacterTheEncodingCannotHoldIsRefusedNotReplaced) {
    using plovikxml::TextEncoding;
    EXPECT_THROW(TextEncoding::Encode("\xE2\x82\xAC", TextEncoding::LATIN1, ""),
                 plovikxml::ScoreError);
    EXPECT_THROW(TextEncoding::Encode("\xC2\x81", TextEncoding::WINDOWS1252, ""),
                 plovikxml::ScoreError);
    EXPECT_EQ(TextEncoding::Encode("\xE2\x82\xAC", TextEncoding::WINDOWS1252, ""), "\x80");
    EXPECT_EQ(TextEncoding::Encode("\xF0\x9D\x84\x9E", TextEncoding::UTF16BE, ""),
              std::string("\xD8\x34\xDD\x1E", 4));
}

}  // namespace
