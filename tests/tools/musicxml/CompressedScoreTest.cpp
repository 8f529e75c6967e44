// Compressed MusicXML (.mxl) and scores in other encodings: read, tied, written back in the
// form they came in.
#include <gtest/gtest.h>

#include <zip.h>

#include "MusicXmlTest.h"
#include "MxlArchive.h"
#include "ScoreError.h"

using plovikxml::MxlArchive;
using plovikxml::ScoreError;

namespace {

struct Member {
    std::string name;
    std::string bytes;
    bool stored;
};

// A zip archive in memory, members in order.
std::string Zip(const std::vector<Member>& members) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(source);
    zip_t* archive = zip_open_from_source(source, ZIP_TRUNCATE, &error);
    for (const Member& m : members) {
        zip_source_t* data = zip_source_buffer(archive, m.bytes.data(), m.bytes.size(), 0);
        const zip_int64_t index = zip_file_add(archive, m.name.c_str(), data, 0);
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                 m.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    }
    zip_close(archive);
    zip_source_open(source);
    zip_source_seek(source, 0, SEEK_END);
    std::string bytes(static_cast<size_t>(zip_source_tell(source)), '\0');
    zip_source_seek(source, 0, SEEK_SET);
    zip_source_read(source, bytes.data(), bytes.size());
    zip_source_close(source);
    zip_source_free(source);
    return bytes;
}

// The members of an archive in order: name, compression, bytes.
std::vector<std::tuple<std::string, int, std::string>> Unzip(const std::string& bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    std::vector<std::tuple<std::string, int, std::string>> members;
    for (zip_int64_t i = 0; archive && i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat);
        std::string data(static_cast<size_t>(stat.size), '\0');
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        zip_fread(file, data.data(), data.size());
        zip_fclose(file);
        members.emplace_back(stat.name, stat.comp_method, data);
    }
    if (archive) zip_discard(archive);
    return members;
}

const char kContainer[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<container><rootfiles>"
    "<rootfile full-path=\"music/score.musicxml\" "
    "media-type=\"application/vnd.recordare.musicxml+xml\"/></rootfiles></container>";

class MusicXmlCompressedScoreTest : public MusicXmlTest {};

TEST_F(MusicXmlCompressedScoreTest, TheScoreInsideIsTiedAndEveryOtherMemberKept) {
    const std::string before = OneStaff({"C4 C4 E4:2"});
    const std::string archive = Zip({{"mimetype", "application/vnd.recordare.musicxml", true},
                                     {"META-INF/container.xml", kContainer, false},
                                     {"music/score.musicxml", before, false},
                                     {"cover.png", std::string("\x89PNG\0\1", 6), true}});
    const std::string written = Tie(archive);
    EXPECT_TRUE(score.IsCompressed());
    const auto members = Unzip(written);
    ASSERT_EQ(members.size(), 4u);
    EXPECT_EQ(members[0], std::make_tuple(std::string("mimetype"), ZIP_CM_STORE,
                                          std::string("application/vnd.recordare.musicxml")));
    EXPECT_EQ(std::get<0>(members[1]), "META-INF/container.xml");
    EXPECT_EQ(std::get<0>(members[2]), "music/score.musicxml");
    EXPECT_EQ(std::get<1>(members[2]), ZIP_CM_DEFLATE);
    EXPECT_EQ(std::get<2>(members[2]), OneStaff({"C4~ ~C4 E4:2"}));
    EXPECT_EQ(members[3], std::make_tuple(std::string("cover.png"), ZIP_CM_STORE,
                                          std::string("\x89PNG\0\1", 6)));
    // Nothing to change: the very same archive.
    EXPECT_EQ(Tie(written), written);
}

TEST_F(MusicXmlCompressedScoreTest, ArchivesThatHoldNoScoreAreRefused) {
    auto refusal = [](const std::string& bytes) -> std::string {
        try {
            plovikxml::MusicXmlScore s;
            s.Load(bytes);
        } catch (const ScoreError& e) {
            return e.what();
        }
        return "(read)";
    };
    EXPECT_EQ(refusal(Zip({{"score.musicxml", OneStaff({"C4:4"}), false}})),
              "not a MusicXML archive: it has no container META-INF/container.xml");
    EXPECT_EQ(refusal(Zip({{"META-INF/container.xml", kContainer, false}})),
              "not a MusicXML archive: it has no score music/score.musicxml");
    EXPECT_EQ(refusal(Zip({{"META-INF/container.xml", "<container/>", false}})),
              "not a MusicXML archive: its container names no score");
    std::string truncated = Zip({{"META-INF/container.xml", kContainer, false}});
    truncated.resize(truncated.size() / 2);
    EXPECT_EQ(refusal(truncated).rfind("not a MusicXML archive: ", 0), 0u) << refusal(truncated);
}

TEST_F(MusicXmlCompressedScoreTest, AScoreInAnotherEncodingIsWrittenInItsOwn) {
    // Latin-1, with a part name that is not ASCII.
    std::string latin = OneStaff({"D5 D5 F5:2"});
    latin.replace(latin.find("UTF-8"), 5, "ISO-8859-1");
    latin.replace(latin.find("Flute"), 5, "Fl\xFBte");
    const std::string written = Tie(latin);
    EXPECT_NE(written.find("<part-name>Fl\xFBte</part-name>"), std::string::npos);
    EXPECT_EQ(score.Imported().staves[0].partName, "Fl\xC3\xBBte");
    // Windows-1252, which older programs write: its bytes go back as they came.
    auto windows = [](std::string text) {
        text.replace(text.find("UTF-8"), 5, "windows-1252");
        return text.replace(text.find("Flute"), 5, "Fl\xFBte \x80");
    };
    EXPECT_EQ(Tie(windows(OneStaff({"E5 E5 F5:2"}))), windows(OneStaff({"E5~ ~E5 F5:2"})));
    // UTF-16 with its byte order mark.
    std::string utf8 = OneStaff({"G4 G4 A4:2"});
    utf8.replace(utf8.find("UTF-8"), 5, "UTF-16");
    std::string utf16 = "\xFF\xFE";
    for (char c : utf8) utf16 += std::string{c, '\0'};
    const std::string tied = Tie(utf16);
    ASSERT_GE(tied.size(), 2u);
    EXPECT_EQ(tied.substr(0, 2), "\xFF\xFE");
    plovikhost::Document again;
    plovikxml::MusicXmlScore reread;
    reread.Load(tied);
    reread.Import(again);
    EXPECT_EQ(plovikhost::CellNotation(again, 1, 1, 0), "G4~/q G4/q A4/h");
}

}  // namespace
