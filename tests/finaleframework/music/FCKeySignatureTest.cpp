#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "finaleframework.h"

namespace {

std::string Name(FCKeySignature& key) {
    FCString s;
    s.SetCString("stale");
    key.MakeString(&s);
    return s.GetCString();
}

// The letters (A-based) a key alters, in letter order.
std::string Altered(FCKeySignature& key, bool sharps) {
    std::string out;
    for (int letter = 0; letter < 7; ++letter)
        if (sharps ? key.IsSharpNote(letter) : key.IsFlatNote(letter))
            out.push_back(static_cast<char>('A' + letter));
    return out;
}

struct KeyRow {
    int alteration;
    int root;      // letter index of the tonic, A = 0
    int relation;  // step above C of the major tonic
    int absolute;  // step above C of the tonic
    const char* name;
    const char* altered;  // the letters the key sharpens or flattens
};

// Every standard key from 7 flats to 7 sharps.
const KeyRow kMajor[] = {
    {-7, 2, 7, 7, "C flat major", "ABCDEFG"},
    {-6, 6, 4, 4, "G flat major", "ABCDEG"},
    {-5, 3, 1, 1, "D flat major", "ABDEG"},
    {-4, 0, 5, 5, "A flat major", "ABDE"},
    {-3, 4, 2, 2, "E flat major", "ABE"},
    {-2, 1, 6, 6, "B flat major", "BE"},
    {-1, 5, 3, 3, "F major", "B"},
    {0, 2, 0, 0, "C major", ""},
    {1, 6, 4, 4, "G major", "F"},
    {2, 3, 1, 1, "D major", "CF"},
    {3, 0, 5, 5, "A major", "CFG"},
    {4, 4, 2, 2, "E major", "CDFG"},
    {5, 1, 6, 6, "B major", "ACDFG"},
    {6, 5, 3, 3, "F sharp major", "ACDEFG"},
    {7, 2, 0, 0, "C sharp major", "ABCDEFG"},
};
const KeyRow kMinor[] = {
    {-7, 0, 7, 5, "a flat minor", "ABCDEFG"},
    {-6, 4, 4, 2, "e flat minor", "ABCDEG"},
    {-5, 1, 1, 6, "b flat minor", "ABDEG"},
    {-4, 5, 5, 3, "f minor", "ABDE"},
    {-3, 2, 2, 0, "c minor", "ABE"},
    {-2, 6, 6, 4, "g minor", "BE"},
    {-1, 3, 3, 1, "d minor", "B"},
    {0, 0, 0, 5, "a minor", ""},
    {1, 4, 4, 2, "e minor", "F"},
    {2, 1, 1, 6, "b minor", "CF"},
    {3, 5, 5, 3, "f sharp minor", "CFG"},
    {4, 2, 2, 0, "c sharp minor", "CDFG"},
    {5, 6, 6, 4, "g sharp minor", "ACDFG"},
    {6, 3, 3, 1, "d sharp minor", "ACDEFG"},
    {7, 0, 0, 5, "a sharp minor", "ABCDEFG"},
};

void CheckKeys(const KeyRow* rows, size_t count, uint16_t mode) {
    for (size_t i = 0; i < count; ++i) {
        const KeyRow& row = rows[i];
        FCKeySignature key;
        key.SetKeyValue(static_cast<uint16_t>(mode << 8 | (row.alteration & 0xFF)));
        SCOPED_TRACE(row.name);
        EXPECT_EQ(key.CalcMode(), mode);
        EXPECT_EQ(key.CalcSharps(), row.alteration > 0 ? row.alteration : 0);
        EXPECT_EQ(key.CalcFlats(), row.alteration < 0 ? -row.alteration : 0);
        EXPECT_EQ(key.CalcScaleRootIndex(), row.root);
        EXPECT_EQ(key.CalcRootRelationIndex(), row.relation);
        EXPECT_EQ(key.CalcRootRelationAbsoluteIndex(), row.absolute);
        EXPECT_EQ(Name(key), row.name);
        EXPECT_EQ(Altered(key, row.alteration > 0), row.altered);
        EXPECT_EQ(Altered(key, row.alteration <= 0), "");
        for (int letter = 0; letter < 7; ++letter)
            EXPECT_EQ(key.CalcLetterAlteration(letter), key.IsSharpNote(letter)  ? 1
                                                        : key.IsFlatNote(letter) ? -1
                                                                                 : 0)
                << letter;
    }
}

}  // namespace

TEST(FCKeySignatureTest, EveryMajorKey) {
    CheckKeys(kMajor, sizeof kMajor / sizeof kMajor[0], 0);
}

TEST(FCKeySignatureTest, EveryMinorKey) {
    CheckKeys(kMinor, sizeof kMinor / sizeof kMinor[0], 1);
}

TEST(FCKeySignatureTest, NonStandardKeysAreKeptButNotInterpreted) {
    const uint16_t values[] = {0x0200, 0x0205, 0x3F00, 0x4000, 0x8000, 0xC0F9, 0xFFFF};
    for (uint16_t value : values) {
        FCKeySignature key;
        key.SetKeyValue(value);
        SCOPED_TRACE(value);
        EXPECT_FALSE(key.IsStandard());
        EXPECT_EQ(key.GetKeyValue(), value);
        EXPECT_EQ(key.CalcSharps(), -1);
        EXPECT_EQ(key.CalcFlats(), -1);
        EXPECT_EQ(key.CalcScaleRootIndex(), -1);
        EXPECT_EQ(key.CalcRootRelationIndex(), -1);
        EXPECT_EQ(key.CalcRootRelationAbsoluteIndex(), -1);
        EXPECT_EQ(Altered(key, true), "");
        EXPECT_EQ(Altered(key, false), "");
        EXPECT_EQ(key.CalcLetterAlteration(5), 0);
        EXPECT_EQ(Name(key), "");
    }
    FCKeySignature key;
    key.SetKeyValue(0x0200);
    EXPECT_EQ(key.CalcMode(), 2);
    key.SetKeyValue(0x4000);
    EXPECT_EQ(key.CalcMode(), -1);
    key.SetKeyValue(0x8001);
    EXPECT_EQ(key.CalcMode(), -1);
}

TEST(FCKeySignatureTest, AlterationsBeyondSevenAreCountedWithoutBound) {
    FCKeySignature key;
    key.SetKeyValue(0x007F);  // 127 sharps
    EXPECT_EQ(key.CalcSharps(), 127);
    EXPECT_EQ(key.CalcScaleRootIndex(), 6);  // index 127 mod 7 = 1 of the major table
    EXPECT_EQ(Altered(key, true), "ABCDEFG");
    // The order of sharps comes round every seven: F is the 1st, 8th, ... 127th, C the 2nd,
    // ... 121st.
    EXPECT_EQ(key.CalcLetterAlteration(5), 19);
    EXPECT_EQ(key.CalcLetterAlteration(2), 18);
    key.SetKeyValue(0x0080);  // 128 flats
    EXPECT_EQ(key.CalcFlats(), 128);
    EXPECT_EQ(key.CalcLetterAlteration(1), -19) << "B: the 1st, ... 127th flat";
    EXPECT_EQ(key.CalcLetterAlteration(5), -18) << "F: the 7th, ... 126th flat";
    EXPECT_EQ(key.CalcScaleRootIndex(), 1);  // index 7 - 128 mod 7 = 5
    EXPECT_EQ(key.CalcRootRelationIndex(), 7 - (4 * 128) % 7);
    key.SetKeyValue(0x0008);  // 8 sharps
    EXPECT_EQ(key.CalcScaleRootIndex(), 6);
    EXPECT_EQ(key.CalcRootRelationIndex(), 4);
}

TEST(FCKeySignatureTest, LettersOutsideTheScaleAreNeverAltered) {
    FCKeySignature key;
    key.SetKeyValue(0x0007);
    EXPECT_FALSE(key.IsSharpNote(7));
    EXPECT_FALSE(key.IsSharpNote(-1));
    EXPECT_EQ(key.CalcLetterAlteration(7), 0);
    key.SetKeyValue(0x00F9);
    EXPECT_FALSE(key.IsFlatNote(-1));
    EXPECT_FALSE(key.IsFlatNote(7));
    EXPECT_EQ(key.CalcLetterAlteration(-1), 0);
}

TEST(FCKeySignatureTest, IsIdenticalByModeAndAccidentals) {
    FCKeySignature a;
    FCKeySignature b;
    const struct {
        uint16_t a, b;
        bool identical;
    } cases[] = {
        {0x0000, 0x0000, true},  {0x0000, 0x0100, false},  // major against minor
        {0x0002, 0x0002, true},  {0x0002, 0x0003, false}, {0x00FE, 0x0002, false},
        {0x0200, 0x4000, true},  // two non-standard keys
        {0x0200, 0x0000, false}, {0x0100, 0x0200, false}, {0x0107, 0x0107, true},
    };
    for (const auto& c : cases) {
        a.SetKeyValue(c.a);
        b.SetKeyValue(c.b);
        EXPECT_EQ(a.IsIdentical(&b), c.identical) << c.a << " " << c.b;
        EXPECT_EQ(b.IsIdentical(&a), c.identical) << c.b << " " << c.a;
    }
    EXPECT_FALSE(a.IsIdentical(static_cast<FCKeySignature*>(nullptr)));
}

TEST(FCKeySignatureTest, RecordProtocol) {
    FCKeySignature key;
    EXPECT_STREQ(key.ClassName(), "FCKeySignature");
    EXPECT_EQ(key.Tag(), 0u);
    EXPECT_EQ(key.DataSizeLoad(), 2);
    EXPECT_EQ(key.GetKeyValue(), 0);
    EXPECT_EQ(Name(key), "C major");
    EXPECT_FALSE(key.LoadFirst());
    EXPECT_EQ(key.Allocate(), key.GetDataBuffer());

    key.SetKeyValue(0x0103);
    std::unique_ptr<__FCBaseData> created(key.CreateObject());
    EXPECT_EQ(static_cast<FCKeySignature*>(created.get())->GetKeyValue(), 0);

    std::unique_ptr<__FCBaseData> clone(key.CreateClone());
    auto* copy = static_cast<FCKeySignature*>(clone.get());
    EXPECT_EQ(copy->GetKeyValue(), 0x0103);
    EXPECT_EQ(copy->GetDataSize(), 2);
    EXPECT_EQ(copy->GetDataBuffer(), copy->Allocate());  // its own value, not the source's
    key.SetKeyValue(0);
    EXPECT_EQ(copy->GetKeyValue(), 0x0103);
    EXPECT_EQ(Name(*copy), "f sharp minor");
    copy->MakeString(nullptr);
}
