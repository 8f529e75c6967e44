// The host spells pitches with its own copy of the key arithmetic; it must give the framework's
// answers for every key value, or the letters the framework computes back would not match.
#include <gtest/gtest.h>

#include "FCKeySignature.h"
#include "KeySpelling.h"

using plovikhost::KeySpelling;

TEST(KeySpellingTest, AgreesWithTheFrameworkForEveryKeyValueAndLetter) {
    for (int value = 0; value <= 0xFFFF; ++value) {
        FCKeySignature framework;
        framework.SetKeyValue(static_cast<uint16_t>(value));
        const KeySpelling host(static_cast<int16_t>(static_cast<uint16_t>(value)));
        ASSERT_EQ(host.TonicStep(), framework.CalcRootRelationAbsoluteIndex()) << value;
        for (int step = 0; step < 7; ++step) {
            const int letter = (step + 2) % 7;
            const int expected = framework.IsSharpNote(letter)  ? 1
                                 : framework.IsFlatNote(letter) ? -1
                                                                : 0;
            ASSERT_EQ(host.LetterAlteration(step), expected) << value << " step " << step;
        }
    }
}

TEST(KeySpellingTest, TonicsAndLettersOfFamiliarKeys) {
    EXPECT_EQ(KeySpelling(0).TonicStep(), 0);                // C major
    EXPECT_EQ(KeySpelling(1).TonicStep(), 4);                // G major
    EXPECT_EQ(KeySpelling(0x0100).TonicStep(), 5);           // A minor
    EXPECT_EQ(KeySpelling(0x00F9).TonicStep(), 7);           // C flat major, counted as 7
    EXPECT_EQ(KeySpelling(2).LetterAlteration(3), 1);        // D major sharpens F ...
    EXPECT_EQ(KeySpelling(2).LetterAlteration(0), 1);        // ... and C
    EXPECT_EQ(KeySpelling(2).LetterAlteration(4), 0);        // but not G
    EXPECT_EQ(KeySpelling(0x00FF).LetterAlteration(6), -1);  // F major flattens B
    EXPECT_EQ(KeySpelling(0x0200).TonicStep(), -1);
    EXPECT_EQ(KeySpelling(0x0200).LetterAlteration(3), 0);
}
