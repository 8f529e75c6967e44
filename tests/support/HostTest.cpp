#include "HostTest.h"

#include "finalepdk.h"

#if !defined(_WIN32)
#include "StandIn.h"
#endif

void HostTest::SetUp() {
    host().Reset();
    host().Install("FINALE.EXE");
    Relookup();
}

void HostTest::TearDown() {
    EXPECT_TRUE(host().Problems().empty()) << "host problem: " << host().Problems().front();
    EXPECT_EQ(host().Frames().Outstanding(), 0) << "entry frames were not given back";
}

void HostTest::Relookup() {
    _ResetFinaleBinding();
#if !defined(_WIN32)
    platform::ResetLookupCounts();
#endif
}

int HostTest::Lookups(const char* name) {
#if !defined(_WIN32)
    return platform::LookupCount(name);
#else
    (void)name;
    return -1;
#endif
}
