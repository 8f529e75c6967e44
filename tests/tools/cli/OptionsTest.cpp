#include <gtest/gtest.h>

#include "HostFields.h"

#include "DemoScore.h"
#include "Options.h"
#include "ScoreView.h"

using plovikcli::Options;

namespace {

class OptionsTest : public ::testing::Test {
  protected:
    void SetUp() override { plovikcli::BuildDemoScore(doc); }
    bool Parse(std::vector<std::string> args) {
        return plovikcli::ParseOptions(args, options, error);
    }
    bool Resolve() { return plovikcli::ResolveRegion(options, doc, region, error); }

    plovikhost::Document doc;
    Options options;
    std::string error;
    EREGION region{};
};

TEST_F(OptionsTest, TheWholeScoreByDefault) {
    ASSERT_TRUE(Parse({}));
    EXPECT_EQ(options.command, Options::Command::DEMO);
    ASSERT_TRUE(Resolve());
    EXPECT_EQ(Copy(region.startSlot), 1);
    EXPECT_EQ(Copy(region.endSlot), 2);
    EXPECT_EQ(Copy(region.startMeasure), 1);
    EXPECT_EQ(Copy(region.endMeasure), 4);
    EXPECT_EQ(Copy(region.endPosition), EREGION_END_OF_MEASURE);
    EXPECT_EQ(plovikcli::DescribeRegion(region),
              "staves 1-2, measures 1-4, from position 0 of measure 1 to the end of measure 4");
}

TEST_F(OptionsTest, ARegionOfTheScore) {
    ASSERT_TRUE(Parse({"--measures", "2-3", "--staves", "2", "--start-pos", "1024", "--end-pos",
                       "2048", "demo"}));
    ASSERT_TRUE(Resolve());
    EXPECT_EQ(Copy(region.startSlot), 2);
    EXPECT_EQ(Copy(region.endSlot), 2);
    EXPECT_EQ(Copy(region.startMeasure), 2);
    EXPECT_EQ(Copy(region.endMeasure), 3);
    EXPECT_EQ(Copy(region.startPosition), 1024);
    EXPECT_EQ(Copy(region.endPosition), 2048);
    EXPECT_EQ(
        plovikcli::DescribeRegion(region),
        "staff 2, measures 2-3, from position 1024 of measure 2 to position 2048 of measure 3");
    ASSERT_TRUE(Parse({"--end-pos", "end"}));
    EXPECT_EQ(Copy(options.endPosition), EREGION_END_OF_MEASURE);
}

TEST_F(OptionsTest, OptionsItCannotTake) {
    for (std::vector<std::string> args :
         std::vector<std::vector<std::string>>{{"--bogus"},
                                               {"tie"},
                                               {"--measures"},
                                               {"--measures", "x"},
                                               {"--measures", "1-"},
                                               {"--staves", "-1"},
                                               {"--start-pos", "-5"},
                                               {"--end-pos", "later"},
                                               {"--measures", "99999"}}) {
        Options fresh;
        options = fresh;
        error.clear();
        EXPECT_FALSE(Parse(args)) << args[0];
        EXPECT_FALSE(error.empty());
    }
    EXPECT_TRUE(Parse({"--help"}));
    EXPECT_EQ(options.command, Options::Command::HELP);
}

TEST_F(OptionsTest, RegionsOutsideTheScore) {
    const std::vector<std::vector<std::string>> bad = {
        {"--measures", "0-2"}, {"--measures", "3-5"},
        {"--measures", "3-2"}, {"--staves", "1-3"},
        {"--staves", "2-1"},   {"--start-pos", "4096"},
        {"--end-pos", "4096"}, {"--measures", "2", "--start-pos", "100", "--end-pos", "99"}};
    for (const auto& args : bad) {
        options = Options{};
        ASSERT_TRUE(Parse(args));
        EXPECT_FALSE(Resolve()) << args[0] << " " << args[1];
        EXPECT_FALSE(error.empty());
    }
}

TEST_F(OptionsTest, TieAndUntieReadAScoreAndWriteIt) {
    ASSERT_TRUE(Parse({"tie", "in.musicxml", "-o", "out.musicxml", "--report"}));
    EXPECT_EQ(options.command, Options::Command::TIE);
    EXPECT_EQ(options.input, "in.musicxml");
    EXPECT_EQ(options.output, "out.musicxml");
    EXPECT_TRUE(options.report);
    options = Options{};
    ASSERT_TRUE(Parse({"--measures", "2", "-o", "-", "untie", "-"}));
    EXPECT_EQ(options.command, Options::Command::UNTIE);
    EXPECT_EQ(options.input, "-");
    EXPECT_EQ(options.output, "-");
    options = Options{};
    ASSERT_TRUE(Parse({"show", "in.mxl"}));
    EXPECT_EQ(options.command, Options::Command::SHOW);
    options = Options{};
    ASSERT_TRUE(Parse({"check", "in.mxl", "--json", "--near-misses", "--staves", "2"}));
    EXPECT_EQ(options.command, Options::Command::CHECK);
    EXPECT_TRUE(options.json && options.nearMisses);
    options = Options{};
    ASSERT_TRUE(Parse({"repair", "in.mxl", "-o", "out.mxl", "--let-ring", "--report"}));
    EXPECT_EQ(options.command, Options::Command::REPAIR);
    EXPECT_TRUE(options.letRing && options.report);
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"tie"}, "tie needs a score to read: plovik-host tie IN -o OUT"},
        {{"tie", "in.musicxml"}, "tie needs -o OUT, where the score goes (- for standard output)"},
        {{"show"}, "show needs a score to read: plovik-host show IN"},
        {{"show", "in.musicxml", "-o", "x"}, "-o and --report go with tie, untie and repair"},
        {{"--report"}, "-o and --report go with tie, untie and repair"},
        {{"check", "in.musicxml", "-o", "x"}, "-o and --report go with tie, untie and repair"},
        {{"repair", "in.musicxml"},
         "repair needs -o OUT, where the score goes (- for standard output)"},
        {{"tie", "a", "-o", "x", "--json"}, "--json and --near-misses go with check"},
        {{"check", "a", "--let-ring"}, "--let-ring goes with repair"},
        {{"tie", "a", "b", "-o", "x"}, "unknown option or command 'b'"},
        {{"demo", "in.musicxml"}, "unknown option or command 'in.musicxml'"},
        {{"tie", "a", "-o", "x", "--start-pos", "0", "--start-beat", "2"},
         "give a place in the measure in beats or in duration units, not both"}};
    for (const auto& [args, message] : refused) {
        options = Options{};
        EXPECT_FALSE(Parse(args)) << args[0];
        EXPECT_EQ(error, message);
    }
}

TEST_F(OptionsTest, PlacesInBeats) {
    ASSERT_TRUE(Parse({"--measures", "2-3", "--start-beat", "2.5", "--end-beat", "1+1/3"}));
    ASSERT_TRUE(Resolve());
    EXPECT_EQ(Copy(region.startPosition), 1536);
    EXPECT_EQ(Copy(region.endPosition), 341);
    options = Options{};
    ASSERT_TRUE(Parse({"--end-beat", "4"}));
    ASSERT_TRUE(Resolve());
    EXPECT_EQ(Copy(region.endPosition), 3072);
    options = Options{};
    ASSERT_TRUE(Parse({"--start-beat", "5"}));
    EXPECT_FALSE(Resolve()) << "a 4/4 measure has no fifth beat";
    for (const char* bad : {"0.5", "0", "x", "1+1/0", "1+2", "1.1234567", "-2"}) {
        options = Options{};
        EXPECT_FALSE(Parse({"--start-beat", bad})) << bad;
    }
}

TEST(ScoreViewTest, PrintsEveryLayerWithMusicInTheBuildersNotation) {
    plovikhost::Document doc;
    plovikcli::BuildDemoScore(doc);
    const std::string text = plovikcli::ScoreText(doc);
    EXPECT_NE(text.find("2 staves, 4 measures of 4/4\n"), std::string::npos);
    EXPECT_NE(text.find("Staff 3 (slot 1), layer 1\n  m1  C4/q C4/q E4+G4/q E4+C5/q\n"),
              std::string::npos);
    EXPECT_NE(text.find("Staff 7 (slot 2), layer 3 (hidden)\n  m1  E3/w\n"), std::string::npos);
    EXPECT_NE(text.find("  m4  G4~/h G4/h\n"), std::string::npos);
    EXPECT_EQ(text.find("layer 4"), std::string::npos);
}

}  // namespace
