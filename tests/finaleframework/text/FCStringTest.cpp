#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "finaleframework.h"

#if !defined(_WIN32)
#include "StandIn.h"
#endif

namespace {

std::vector<int16_t> Units(const FCString& s) {
    std::vector<int16_t> out(static_cast<size_t>(s.GetLength()) + 1, 0x7777);
    s.GetUnicodeString(out.data());
    return out;
}

}  // namespace

TEST(FCStringTest, NewStringHasNoStorageAndGrowsInStepsOfTen) {
    FCString s;
    EXPECT_STREQ(s.ClassName(), "FCString");
    EXPECT_EQ(s.GetLength(), 0);
    EXPECT_EQ(s.GetCapacity(), 0);
    for (int i = 0; i < 9; ++i) s.Append(static_cast<int16_t>('a'));
    EXPECT_EQ(s.GetCapacity(), 10);
    s.Append(static_cast<int16_t>('a'));  // needs 10: the capacity must stay above the length
    EXPECT_EQ(s.GetCapacity(), 20);
    s.Append("0123456789abcde");  // 25 units
    EXPECT_EQ(s.GetLength(), 25);
    EXPECT_EQ(s.GetCapacity(), 30);
    EXPECT_STREQ(s.GetCString(), "aaaaaaaaaa0123456789abcde");

    s.SetCString("");
    EXPECT_EQ(s.GetLength(), 0);
    EXPECT_EQ(s.GetCapacity(), 0);
    s.SetCString("abc");
    EXPECT_EQ(s.GetCapacity(), 10);
}

TEST(FCStringTest, EveryByteSurvivesTheRoundTripSignExtended) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    FCString s;
    s.SetCString(all.c_str());
    ASSERT_EQ(s.GetLength(), 255);
    for (int b = 1; b < 256; ++b) {
        const int16_t expected = b < 0x80 ? static_cast<int16_t>(b) : static_cast<int16_t>(b - 256);
        ASSERT_EQ(s.GetItemAt(b - 1), expected) << "byte " << b;
    }
    EXPECT_EQ(s.GetItemAt(0xE9 - 1), static_cast<int16_t>(0xFFE9));
    EXPECT_EQ(std::string(s.GetCString()), all);

    // Through 16-bit units and back.
    FCString copy;
    copy.SetUnicodeString(Units(s).data());
    EXPECT_EQ(std::string(copy.GetCString()), all);
    EXPECT_TRUE(copy.IsEqual(all.c_str()));
    EXPECT_TRUE(copy.IsCharacter(0xE9 - 1, "x\xE9"));
    EXPECT_FALSE(copy.IsCharacter(0xE9 - 1, static_cast<int16_t>(0xE9)));  // not zero-extended
}

TEST(FCStringTest, UnicodeStringsCopyUnitsUnchanged) {
    const int16_t text[] = {0x263A, -1, 0x41, 0};
    FCString s;
    s.SetUnicodeString(text);
    ASSERT_EQ(s.GetLength(), 3);
    EXPECT_EQ(s.GetItemAt(0), 0x263A);
    EXPECT_EQ(Units(s), (std::vector<int16_t>{0x263A, -1, 0x41, 0}));
    EXPECT_STREQ(s.GetCString(),
                 ":\xFF"
                 "A");  // low bytes only

    const int16_t empty[] = {0};
    s.SetUnicodeString(empty);
    EXPECT_EQ(s.GetLength(), 0);
    EXPECT_EQ(s.GetCapacity(), 0);
    EXPECT_EQ(Units(s), std::vector<int16_t>{0});
}

TEST(FCStringTest, ZeroUnitEndsTheCStringFormOnly) {
    FCString s;
    s.SetCString("12");
    s.Append(static_cast<int16_t>(0));
    s.Append("34");
    EXPECT_EQ(s.GetLength(), 5);
    EXPECT_STREQ(s.GetCString(), "12");
    EXPECT_TRUE(s.IsEqual("12"));
    EXPECT_FALSE(s.StartsWith("12\x01"));
    EXPECT_TRUE(s.StartsWith("12"));
    EXPECT_EQ(s.GetInteger(0), 12);
    EXPECT_EQ(s.GetInteger(3), 34);  // beyond the zero, still inside the string
    FCString part;
    part.SetCString("34");
    EXPECT_TRUE(s.Contains(&part));  // units are compared, not the C-string form
}

TEST(FCStringTest, GetCStringBufferIsOwnedAndRebuilt) {
    FCString s;
    s.SetCString("abc");
    const char* first = s.GetCString();
    EXPECT_STREQ(first, "abc");
    s.Append("d");
    EXPECT_STREQ(s.GetCString(), "abcd");
    // Setting from the string's own buffer must not read freed memory.
    s.SetCString(s.GetCString());
    EXPECT_STREQ(s.GetCString(), "abcd");
    s.Append(s.GetCString());
    EXPECT_STREQ(s.GetCString(), "abcdabcd");
    s.Insert(s.GetCString(), 4);
    EXPECT_STREQ(s.GetCString(), "abcdabcdabcdabcd");
    EXPECT_TRUE(s.IsEqual(s.GetCString()));
    EXPECT_TRUE(s.StartsWith(s.GetCString()));
}

TEST(FCStringTest, IndexedAccessIsBounded) {
    FCString s;
    s.SetCString("ab");
    EXPECT_EQ(s.GetItemAt(-1), 0);
    EXPECT_EQ(s.GetItemAt(2), 0);
    EXPECT_EQ(s.GetItemAt(INT_MAX), 0);
    EXPECT_EQ(s.GetItemAt(1), 'b');
    EXPECT_FALSE(s.IsCharacter(-1, static_cast<int16_t>('a')));
    EXPECT_FALSE(s.IsCharacter(2, static_cast<int16_t>(0)));
    EXPECT_TRUE(s.IsCharacter(1, static_cast<int16_t>('b')));
    EXPECT_TRUE(s.IsCharacter(1, "xyb"));
    EXPECT_FALSE(s.IsCharacter(1, ""));
    EXPECT_FALSE(s.IsCharacter(1, static_cast<const char*>(nullptr)));
    EXPECT_FALSE(s.IsCharacter(2, "ab"));

    FCString empty;
    EXPECT_EQ(empty.GetItemAt(0), 0);
    EXPECT_FALSE(empty.IsCharacter(0, "a"));
}

TEST(FCStringTest, ComparisonsAndTheirBounds) {
    FCString s;
    s.SetCString("Hello");
    EXPECT_TRUE(s.IsEqual("Hello"));
    EXPECT_FALSE(s.IsEqual("Hell"));
    EXPECT_FALSE(s.IsEqual("Hello!"));
    EXPECT_FALSE(s.IsEqual(static_cast<const char*>(nullptr)));
    EXPECT_FALSE(s.IsEqual(static_cast<FCString*>(nullptr)));
    EXPECT_TRUE(s.IsEqual(&s));
    FCString other;
    other.SetCString("Hello");
    EXPECT_TRUE(s.IsEqual(&other));
    other.Append("!");
    EXPECT_FALSE(s.IsEqual(&other));
    EXPECT_FALSE(other.IsEqual(&s));

    EXPECT_TRUE(s.StartsWith(""));
    EXPECT_TRUE(s.StartsWith("Hel"));
    EXPECT_TRUE(s.StartsWith("Hello"));
    EXPECT_FALSE(s.StartsWith("Hello!"));  // longer than the string
    EXPECT_FALSE(s.StartsWith("hel"));
    EXPECT_FALSE(s.StartsWith(nullptr));
    FCString empty;
    EXPECT_TRUE(empty.StartsWith(""));
    EXPECT_FALSE(empty.StartsWith("a"));
    EXPECT_TRUE(empty.IsEqual(""));

    FCString part;
    EXPECT_TRUE(s.Contains(&part));  // the empty part
    EXPECT_TRUE(empty.Contains(&part));
    part.SetCString("llo");
    EXPECT_TRUE(s.Contains(&part));  // at the very end
    part.SetCString("He");
    EXPECT_TRUE(s.Contains(&part));  // at the very start
    part.SetCString("Hello!");
    EXPECT_FALSE(s.Contains(&part));  // one unit longer
    part.SetCString("lol");
    EXPECT_FALSE(s.Contains(&part));
    EXPECT_TRUE(s.Contains(&s));
    EXPECT_FALSE(s.Contains(nullptr));
}

TEST(FCStringTest, GetIntegerReadsFromThePositionWithinBounds) {
    FCString s;
    s.SetCString("12abc");
    EXPECT_EQ(s.GetInteger(0), 12);
    EXPECT_EQ(s.GetInteger(1), 2);
    EXPECT_EQ(s.GetInteger(2), 0);
    EXPECT_EQ(s.GetInteger(5), 0);  // the length: the empty rest
    EXPECT_EQ(s.GetInteger(6), 0);  // beyond: no conversion at all
    EXPECT_EQ(s.GetInteger(INT_MAX), 0);
    // A negative position is out of range like one beyond the length.
    EXPECT_EQ(s.GetInteger(-1), 0);
    EXPECT_EQ(s.GetInteger(INT_MIN), 0);

    s.SetCString("Font  -42x");
    EXPECT_EQ(s.GetInteger(4), -42);  // leading blanks and a sign
    s.SetCString("+7");
    EXPECT_EQ(s.GetInteger(0), 7);
    s.SetCString("abc");
    EXPECT_EQ(s.GetInteger(0), 0);
    // Numbers beyond int saturate instead of being undefined.
    s.SetCString("99999999999999999999");
    EXPECT_EQ(s.GetInteger(0), INT_MAX);
    s.SetCString("-99999999999999999999");
    EXPECT_EQ(s.GetInteger(0), INT_MIN);
}

TEST(FCStringTest, IntegersAreWrittenInDecimal) {
    FCString s;
    s.SetCString("old");
    s.SetInteger(-35);
    EXPECT_STREQ(s.GetCString(), "-35");
    s.SetInteger(0);
    EXPECT_STREQ(s.GetCString(), "0");
    s.SetInteger(INT_MIN);
    EXPECT_STREQ(s.GetCString(), "-2147483648");
    s.SetCString("m");
    s.AppendInteger(7);
    EXPECT_STREQ(s.GetCString(), "m7");
    s.AppendInteger(-10);
    EXPECT_STREQ(s.GetCString(), "m7-10");
}

TEST(FCStringTest, InsertAtEveryPosition) {
    const struct {
        int position;
        const char* expected;
    } cases[] = {{0, "xyab"},
                 {1, "axyb"},
                 {2, "abxy"},
                 // beyond the length appends; below 0 inserts at the front
                 {3, "abxy"},
                 {INT_MAX, "abxy"},
                 {-1, "xyab"},
                 {INT_MIN, "xyab"}};
    for (const auto& c : cases) {
        FCString s;
        s.SetCString("ab");
        s.Insert("xy", c.position);
        EXPECT_STREQ(s.GetCString(), c.expected) << "position " << c.position;
    }
    FCString s;
    s.Insert("xy", 0);
    EXPECT_STREQ(s.GetCString(), "xy");
    s.Insert("", 1);
    EXPECT_STREQ(s.GetCString(), "xy");
    s.Insert(nullptr, 1);
    EXPECT_STREQ(s.GetCString(), "xy");
}

TEST(FCStringTest, NullTextArgumentsNeverCrash) {
    FCString s;
    s.SetCString("abc");
    s.SetCString(nullptr);
    EXPECT_EQ(s.GetLength(), 0);
    EXPECT_EQ(s.GetCapacity(), 0);

    s.SetCString("abc");
    s.SetUnicodeString(nullptr);
    EXPECT_EQ(s.GetLength(), 0);

    s.SetCString("abc");
    s.SetString(nullptr);
    EXPECT_EQ(s.GetLength(), 0);

    s.SetCString("abc");
    s.Append(static_cast<const char*>(nullptr));
    s.Append(static_cast<FCString*>(nullptr));
    s.GetUnicodeString(nullptr);
    EXPECT_STREQ(s.GetCString(), "abc");
}

TEST(FCStringTest, TheReceiverItselfAsArgument) {
    FCString s;
    s.SetCString("abcdefg");  // 7 units in 10: doubling must grow while copying
    s.Append(&s);
    EXPECT_STREQ(s.GetCString(), "abcdefgabcdefg");
    EXPECT_EQ(s.GetLength(), 14);
    s.SetString(&s);
    EXPECT_STREQ(s.GetCString(), "abcdefgabcdefg");

    FCString empty;
    empty.Append(&empty);
    EXPECT_EQ(empty.GetLength(), 0);
}

TEST(FCStringTest, SetStringAndAppendCopyEveryUnit) {
    FCString a;
    FCString b;
    a.SetCString("first");
    b.SetCString("x");
    b.Append(static_cast<int16_t>(0));
    b.Append("\xE9");
    a.SetString(&b);
    EXPECT_EQ(Units(a), (std::vector<int16_t>{'x', 0, static_cast<int16_t>(0xFFE9), 0}));
    a.Append(&b);
    EXPECT_EQ(a.GetLength(), 6);
    FCString empty;
    a.SetString(&empty);
    EXPECT_EQ(a.GetLength(), 0);
}

// The string table comes from a module registered with the stand-in; on Windows from
// PlovikStrings.dll (tests/windows/PlovikStrings.rc), whose table the test program, the main
// module there, carries too.
class FCStringResourceTest : public ::testing::Test {
  protected:
    void SetUp() override {
#if defined(_WIN32)
        strings_ = LoadLibraryA(PLOVIK_STRINGS_DLL);
        ASSERT_NE(strings_, nullptr);
#else
        platform::ModuleImage image;
        image.strings[1] = "Plovik Tie Notes";
        image.strings[2] = "Unties the notes in the region.";
        image.strings[3] = std::string(600, 'x');
        image.strings[4] = "\xE9t\xE9";
        platform::RegisterModule("PLOVIKSTRINGS.DLL", image);
#endif
        _ResetStringResourceModule();
    }
    void TearDown() override {
#if defined(_WIN32)
        if (strings_) FreeLibrary(strings_);
#else
        platform::RemoveModule("PLOVIKSTRINGS.DLL");
        platform::SetMainModule("");
#endif
        _ResetStringResourceModule();
    }
    // The null module handle stands for the main module: give it the table.
    void GiveTheMainModuleTheTable() {
#if !defined(_WIN32)
        platform::SetMainModule("PLOVIKSTRINGS.DLL");
#endif
    }
    // Whether the main module has the table before it is given one.
    static constexpr bool kMainModuleHasTheTable =
#if defined(_WIN32)
        true;
#else
        false;
#endif

  private:
#if defined(_WIN32)
    HMODULE strings_ = nullptr;
#endif
};

TEST_F(FCStringResourceTest, LoadsByNumberAndRemembersTheModule) {
    FCString s;
    EXPECT_TRUE(s.LoadResource(1, "PlovikStrings.dll"));
    EXPECT_STREQ(s.GetCString(), "Plovik Tie Notes");
    EXPECT_TRUE(s.LoadResource(2, nullptr));  // the remembered module
    EXPECT_STREQ(s.GetCString(), "Unties the notes in the region.");
    EXPECT_TRUE(s.LoadResource(4, nullptr));
    EXPECT_EQ(s.GetItemAt(0), static_cast<int16_t>(0xFFE9));

    // The buffer holds 500 bytes: a longer string arrives cut, terminated.
    EXPECT_TRUE(s.LoadResource(3, nullptr));
    EXPECT_EQ(s.GetLength(), 499);

    EXPECT_FALSE(s.LoadResource(99, nullptr));
    EXPECT_STREQ(s.GetCString(), "Resource String Error");
    EXPECT_FALSE(s.LoadResource(-1, nullptr));
    EXPECT_STREQ(s.GetCString(), "Resource String Error");
}

TEST_F(FCStringResourceTest, UnknownModuleIsRememberedAsTheNullHandle) {
    FCString s;
    EXPECT_TRUE(s.LoadResource(1, "PLOVIKSTRINGS.DLL"));
    EXPECT_EQ(s.LoadResource(1, "MISSING.DLL"), kMainModuleHasTheTable);
    if (!kMainModuleHasTheTable) {
        EXPECT_STREQ(s.GetCString(), "Resource String Error");
    }
    // The null handle stands for the main module.
    GiveTheMainModuleTheTable();
    EXPECT_TRUE(s.LoadResource(1, nullptr));
    EXPECT_STREQ(s.GetCString(), "Plovik Tie Notes");
}

TEST_F(FCStringResourceTest, NullModuleBeforeAnyNameUsesTheNullHandle) {
    FCString s;
    EXPECT_EQ(s.LoadResource(1, nullptr), kMainModuleHasTheTable);
    GiveTheMainModuleTheTable();
    EXPECT_TRUE(s.LoadResource(1, nullptr));
}
