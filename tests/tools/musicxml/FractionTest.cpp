// Exact time: decimals as MusicXML writes them, rounding to duration units, and the refusal
// of values a hostile file can make overflow.
#include <gtest/gtest.h>

#include "Fraction.h"
#include "ScoreError.h"

using plovikxml::Fraction;

TEST(MusicXmlFractionTest, DecimalsAreReadExactly) {
    Fraction f;
    ASSERT_TRUE(Fraction::ParseDecimal(" 12 ", f));
    EXPECT_EQ(f, Fraction(12));
    ASSERT_TRUE(Fraction::ParseDecimal("-0.50", f));
    EXPECT_EQ(f, Fraction(-1, 2));
    ASSERT_TRUE(Fraction::ParseDecimal("+1.25", f));
    EXPECT_EQ(f, Fraction(5, 4));
    ASSERT_TRUE(Fraction::ParseDecimal("3.", f));
    EXPECT_EQ(f, Fraction(3));
    for (const char* bad :
         {"", " ", "-", ".", "1.2.3", "1e3", "0x10", "1 2", "1234567890123456789"})
        EXPECT_FALSE(Fraction::ParseDecimal(bad, f)) << bad;
}

TEST(MusicXmlFractionTest, ArithmeticStaysReduced) {
    const Fraction third(1, 3);
    EXPECT_EQ(third + third + third, Fraction(1));
    EXPECT_EQ(Fraction(3, 4) - Fraction(1, 4), Fraction(1, 2));
    EXPECT_EQ(Fraction(2, -4), Fraction(-1, 2));
    EXPECT_EQ((Fraction(2, 3) / Fraction(4, 9)).ToString(), "3/2");
    EXPECT_TRUE(Fraction(1, 3) < Fraction(1, 2));
    EXPECT_TRUE(Fraction(-1, 2) < Fraction(0));
}

TEST(MusicXmlFractionTest, RoundsHalvesAwayFromZero) {
    EXPECT_EQ((Fraction(1, 3) * 1024).Round(), 341);
    EXPECT_EQ((Fraction(2, 3) * 1024).Round(), 683);
    EXPECT_EQ(Fraction(5, 2).Round(), 3);
    EXPECT_EQ(Fraction(-5, 2).Round(), -3);
    EXPECT_EQ(Fraction(-7, 3).Round(), -2);
}

TEST(MusicXmlFractionTest, ValuesBeyondCountingAreRefused) {
    EXPECT_THROW(Fraction(1, 0), plovikxml::ScoreError);
    const Fraction huge(INT64_MAX / 2);
    EXPECT_THROW(huge * Fraction(4), plovikxml::ScoreError);
    // Denominators that share no factor multiply up quickly.
    const Fraction fine(1, 1000000007), finer(1, 998244353), finest(1, 1000000009);
    EXPECT_THROW(fine + finer + finest, plovikxml::ScoreError);
}
