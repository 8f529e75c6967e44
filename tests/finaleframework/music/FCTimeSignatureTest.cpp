#include <gtest/gtest.h>

#include <string>

#include "finaleframework.h"

TEST(FCTimeSignatureTest, WrittenForms) {
    const struct {
        int16_t beats, duration;
        const char* written;
    } cases[] = {
        {4, 1024, "4/4"},
        {2, 1536, "6/8"},  // a dotted beat: three beats of a third
        {3, 512, "3/8"},
        {2, 2048, "2/2"},
        {1, 3072, "3/4"},
        {3, 1536, "9/8"},
        {4, 1000, "4/4"},  // a duration that does not divide 4096 truncates
        {5, 0, "???"},
        {3, 0, "???"},
        {0, 1024, "???"},
        {0, 0, "???"},
        {1, 1, "1/4096"},
        {1, 3, "3/4096"},
        {-2, 1024, "-2/4"},
        {2, -1024, "2/-4"},
        {32767, 1536, "98301/8"},  // no 16-bit overflow on the way
    };
    for (const auto& c : cases) {
        FCTimeSignature time(c.beats, c.duration);
        FCString s;
        s.SetCString("stale");
        time.MakeString(&s);
        EXPECT_EQ(std::string(s.GetCString()), c.written) << c.beats << " x " << c.duration;
    }
    FCTimeSignature time;
    EXPECT_STREQ(time.ClassName(), "FCTimeSignature");
    EXPECT_EQ(time.GetBeats(), 0);
    time.SetBeats(6);
    time.SetBeatDuration(512);
    FCString s;
    time.MakeString(&s);
    EXPECT_STREQ(s.GetCString(), "6/8");
    time.MakeString(nullptr);
}
