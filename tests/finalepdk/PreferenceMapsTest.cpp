// The preference maps: the tables against the preference layouts as listed, the conversions,
// and loading and saving preference records through other records of the substitute host.
#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "HostTest.h"
#include "finalepdk.h"

using plovikhost::RecordId;

namespace {

// The preference layouts in their compact notation: offset=record:word, the record its last two
// tag characters (with /item/incidence unless both are 0), L a 4-byte field in high-low order,
// ! an inverted flag, b a byte. Rows in the order the fields are handled.
struct Listing {
    uint32_t tag;
    int rows;
    int size;
    const char* name;
    const char* text;
};

// Tag maps: any item reads from incidence 0; with a condition, items firstItem..lastItem read
// from incidence item - 1.
struct TagListing {
    uint32_t tag;
    uint32_t otherTag;
    int32_t count;
    bool conditioned;
    uint16_t firstItem;
    uint16_t lastItem;
    const char* name;
    const char* otherName;
};

// clang-format off
const Listing kListings[] = {
    {0x70665046, 22, 48, "pfPF",
     "0=14:0L, 4=15:2L, 8=39:2, 10=16:0, 12=16:1, 14=16:2, 16=16:3, 18=02:0, 20=02:1, "
     "22=02:2, 24=02:3, 26=17:0, 28=17:1, 30=17:3, 32=17:2, 34=01:4, 36=02:4, 38=13:5, "
     "40=13:4, 42=02:5, 44=03:0, 46=03:1"},
    {0x70664558, 25, 50, "pfEX",
     "0=77/0/4:1, 2=77/0/4:2, 4=77/0/4:3, 6=77/0/4:4, 8=77/0/4:5, 10=77/0/5:0, "
     "12=77/0/5:1, 14=77/0/5:2, 16=77/0/5:3, 18=77/0/5:4, 20=77/0/5:5, 22=77/0/6:0, "
     "24=77/0/6:1, 26=77/0/6:2, 28=77/0/6:3, 30=77/0/6:4, 32=77/0/6:5, 34=77/0/7:0, "
     "36=77/0/7:1, 38=77/0/7:2, 40=77/0/7:3, 46=77/0/7:4, 48=77/0/7:5, 42=77/0/8:0, "
     "44=77/0/8:1"},
    {0x7066504C, 7, 14, "pfPL",
     "0=13:1, 2=39:3, 4=36:0, 6=36:5, 8=37:0, 10=37:1, 12=37:2"},
    {0x70665353, 43, 96, "pfSS",
     "0=92:0, 2=92:1, 4=92:2, 6=92:3, 8=FI/11/0:0, 10=FI/11/0:1, 12=FI/12/0:4, "
     "14=FI/11/0:4, 16=FI/12/0:0L, 20=FI/12/0:2L, 24=FI/11/0:2, 26=FI/11/0:5, 28=12:5b, "
     "30=11:5b, 32=69:4b, 34=69:5b, 36=69:2b, 38=69:3b, 40=51:5, 42=53:5, 44=51:4, "
     "46=53:4, 48=50:4, 50=53/0/1:0, 52=53/0/1:1, 54=53/0/1:2, 56=53/0/1:3, 58=51:0L, "
     "62=51:2L, 66=53:2, 68=53:0, 70=53:1, 72=93:0L, 76=53:3, 78=50:5, 80=50:0, 82=50:1, "
     "84=50:2, 86=50:3, 88=97/0/1:0, 90=97/0/1:1, 92=97/0/1:2, 94=97/0/1:3"},
    {0x70665042, 11, 44, "pfPB",
     "0=65:2L, 4=60:2L, 8=65:4L, 12=60:4L, 16=61:0L, 20=61:2L, 24=61:4L, 28=60:0L, "
     "32=64:2L, 36=45:2L, 40=45:4L"},
    {0x70665250, 20, 40, "pfRP",
     "0=70:0, 2=70:1, 4=70:2, 6=70:3, 8=70:4, 10=70:5, 12=71:0, 14=71:1, 16=71:2, "
     "18=71:3, 20=71:4, 22=71:5, 24=05:3, 26=72:0, 28=76:2, 30=72:1, 32=72:2, 34=72:3, "
     "36=72:4, 38=72:5"},
    {0x70664D53, 49, 104, "pfMS",
     "0=36:4, 2=03:4, 4=03:5, 6=09:5, 8=36:2, 10=36:3, 12=36:1!, 14=41:0, 16=41:1, "
     "18=20:0, 20=27:1, 22=01:0, 24=13:2, 26=15:4, 28=27:0, 30=27:4, 32=44:4, 34=27:2, "
     "36=12:2, 38=12:3, 40=12:1, 42=41/0/2:1, 44=23:1, 46=19:2, 48=19:3, 50=31:5, "
     "52=19:4b, 54=19:5b, 56=44:3, 58=05:4, 60=05:5, 62=13:0, 64=41:5, 66=12:4, 68=01:1, "
     "70=93:4, 72=76:4, 74=93:2, 76=76:3, 78=17:5, 80=23:4, 82=16:5, 84=62:0L, 88=62:2L, "
     "92=41/0/2:0, 94=41:2, 96=41/0/1:3L, 100=76:5, 102=FI/10/0:2"},
    {0x70665349, 23, 54, "pfSI",
     "0=67:2, 2=58:4, 4=68:2L, 8=62:4L, 12=03:3, 14=23:0, 16=14:2, 18=64:1, 20=27:3, "
     "22=58:5, 24=59:0, 26=59:1, 28=01:2, 30=59:2, 32=01:3, 34=97:0L, 38=20:4, 40=20:5, "
     "42=03:2, 44=21:2, 46=64:5, 48=97:2L, 52=69:0"},
    {0x70664450, 36, 76, "pfDP",
     "0=21:3, 2=21:5, 4=59:3, 6=59:4, 8=22:1, 10=22:2, 12=22:3, 14=67:3, 16=67:4, "
     "18=68:4L, 22=20:1, 24=20:2, 26=13:3, 28=19:0, 30=19:1, 32=68:0, 34=21:1, 36=68:1, "
     "38=21:0, 40=27:5, 42=18:0, 44=18:2, 46=18:1, 48=21:4, 50=39:0, 52=39:1, 54=65:0L, "
     "58=67:1, 60=18:5, 62=67:0, 64=18:3, 66=18:4, 68=14:4, 70=14:5, 74=01:5, "
     "72=77/0/4:0"},
};

const TagListing kTagListings[] = {
    {0x70664744, 0x6F743739, 1, false, 0, 65535, "pfGD", "ot79"},  // none; 0
    {0x70664747, 0x6F743838, 11, false, 0, 65535, "pfGG", "ot88"},  // none; 0
    {0x70664762, 0x6F743938, 1, true, 1, 4, "pfGb", "ot98"},  // k from 1 to 4; k - 1
    {0x70664764, 0x6F743830, 1, false, 0, 65535, "pfGd", "ot80"},  // none; 0
    {0x70664773, 0x6F743931, 1, true, 1, 1, "pfGs", "ot91"},  // k = 1; 0
    {0x70664D4D, 0x6F743235, 2, false, 0, 65535, "pfMM", "ot25"},  // none; 0
    {0x70664E44, 0x6F743034, 1, false, 0, 65535, "pfND", "ot04"},  // none; 0
    {0x70664E64, 0x6F743636, 1, false, 0, 65535, "pfNd", "ot66"},  // none; 0
    {0x70665046, 0x6F743737, 4, true, 1, 1, "pfPF", "ot77"},  // k = 1; 0
    {0x70665343, 0x6F743532, 2, false, 0, 65535, "pfSC", "ot52"},  // none; 0
    {0x7066534E, 0x6F743430, 1, true, 1, 128, "pfSN", "ot40"},  // k from 1 to 128; k - 1
    {0x70665350, 0x6F743934, 3, false, 0, 65535, "pfSP", "ot94"},  // none; 0
    {0x7066536C, 0x6F743236, 1, true, 1, 15, "pfSl", "ot26"},  // k from 1 to 15; k - 1
    {0x70665443, 0x6F743836, 5, false, 0, 65535, "pfTC", "ot86"},  // none; 0
    {0x70665449, 0x6F743834, 4, false, 0, 65535, "pfTI", "ot84"},  // none; 0
    {0x70665458, 0x6F743738, 8, false, 0, 65535, "pfTX", "ot78"},  // none; 0
    {0x70665470, 0x6F743835, 4, false, 0, 65535, "pfTp", "ot85"},  // none; 0
    {0x70665473, 0x6F743930, 1, true, 1, 9, "pfTs", "ot90"},  // k from 1 to 9; k - 1
};
// clang-format on

constexpr uint32_t kPageFormat = 0x70665046;  // pfPF
constexpr uint32_t kPlayback = 0x7066504C;    // pfPL
constexpr uint32_t kPianoBrace = 0x70665042;  // pfPB
constexpr uint32_t kMiscDoc = 0x70664D53;     // pfMS
constexpr uint32_t kSize = 0x70665349;        // pfSI
constexpr uint32_t kStaffNames = 0x7066534E;  // pfSN
constexpr uint32_t kTC = 0x70665443;          // pfTC

using Words = std::array<int16_t, 6>;

struct ListedRow {
    int offset = 0;
    char c3 = 0, c4 = 0;
    uint16_t item = 0, incidence = 0;
    int word = 0;
    int size = 2;
    MAP_ARRAY_CONVERSION conversion = MAP_CONV_WORD;

    uint32_t Tag() const { return 0x6F740000u | uint8_t(c3) << 8 | uint8_t(c4); }
    uint16_t Item() const { return item == 0 ? 0xFFFE : item; }
    RecordId Id() const { return {Tag(), Item(), incidence, 0}; }
};

int Number(const std::string& s, size_t& at) {
    int n = 0;
    while (at < s.size() && s[at] >= '0' && s[at] <= '9') n = n * 10 + (s[at++] - '0');
    return n;
}

std::vector<ListedRow> Parse(const std::string& text) {
    std::vector<ListedRow> rows;
    size_t at = 0;
    while (at < text.size()) {
        ListedRow row;
        row.offset = Number(text, at);
        EXPECT_EQ(text[at++], '=') << text.substr(0, at);
        row.c3 = text[at++];
        row.c4 = text[at++];
        if (text[at] == '/') {
            row.item = static_cast<uint16_t>(Number(text, ++at));
            row.incidence = static_cast<uint16_t>(Number(text, ++at));
        }
        EXPECT_EQ(text[at++], ':') << text.substr(0, at);
        row.word = Number(text, at);
        if (at < text.size() && text[at] != ',') {
            const char suffix = text[at++];
            row.conversion = suffix == 'L'   ? MAP_CONV_HIGH_LOW
                             : suffix == '!' ? MAP_CONV_NOT
                                             : MAP_CONV_BYTE;
            EXPECT_TRUE(suffix == 'L' || suffix == '!' || suffix == 'b') << suffix;
            if (suffix == 'L') row.size = 4;
        }
        rows.push_back(row);
        if (at < text.size()) {
            EXPECT_EQ(text.substr(at, 2), ", ");
            at += 2;
        }
    }
    return rows;
}

std::string FourChars(uint32_t tag) {
    return {char(tag >> 24), char(tag >> 16 & 0xFF), char(tag >> 8 & 0xFF), char(tag & 0xFF)};
}

// A word per record and index that tells records and words apart.
int16_t SeedWord(const RecordId& id, int index) {
    uint32_t h = id.tag * 2654435761u ^ uint32_t(id.a) * 40503u ^ uint32_t(id.b) * 9973u;
    h ^= uint32_t(index + 1) * 0x9E3779B9u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    return static_cast<int16_t>(h >> 16);
}

// The field a row gives from its record's words, worked out from the notation alone.
int64_t Expected(const ListedRow& row, const Words& w) {
    const int16_t word = w[row.word];
    switch (row.conversion) {
        case MAP_CONV_HIGH_LOW:
            return int32_t(uint32_t(uint16_t(word)) << 16 | uint16_t(w[row.word + 1]));
        case MAP_CONV_NOT:
            return word == 0 ? 1 : 0;
        case MAP_CONV_BYTE:
            return word & 0xFF;
        default:
            return word;
    }
}

int64_t FieldAt(const std::vector<uint8_t>& block, const ListedRow& row) {
    return row.size == 4 ? FXRead<int32_t>(block.data(), row.offset)
                         : FXRead<int16_t>(block.data(), row.offset);
}

const Listing& ListingOf(uint32_t tag) {
    for (const Listing& l : kListings)
        if (l.tag == tag) return l;
    ADD_FAILURE() << FourChars(tag);
    return kListings[0];
}

class PreferenceMapsTest : public HostTest {
  protected:
    void Put(const RecordId& id, const Words& w) {
        doc().records.Put(id, {reinterpret_cast<const uint8_t*>(w.data()),
                               reinterpret_cast<const uint8_t*>(w.data()) + 12});
    }
    Words Get(const RecordId& id) {
        Words w{};
        const auto* bytes = doc().records.Find(id);
        EXPECT_TRUE(bytes && bytes->size() == 12) << FourChars(id.tag) << " " << id.b;
        if (bytes && bytes->size() == 12) std::memcpy(w.data(), bytes->data(), 12);
        return w;
    }
    // Every record a structure draws on, with words a save gives back unchanged (flags 0 or 1,
    // bytes sign-extended as saving writes them).
    void SeedAll(const std::vector<ListedRow>& rows) {
        for (const ListedRow& row : rows) {
            Words w;
            for (int i = 0; i < 6; ++i) w[i] = SeedWord(row.Id(), i);
            if (!doc().records.Find(row.Id())) Put(row.Id(), w);
        }
        for (const ListedRow& row : rows) {
            Words w = Get(row.Id());
            if (row.conversion == MAP_CONV_NOT) w[row.word] &= 1;
            if (row.conversion == MAP_CONV_BYTE) w[row.word] = int8_t(w[row.word] & 0xFF);
            Put(row.Id(), w);
        }
    }
    int Calls(const std::string& name, uint32_t tag) {
        int n = 0;
        for (const auto& call : host().Calls())
            if (call.name == name && call.args.at(0) == int64_t(tag)) ++n;
        return n;
    }
    std::vector<uint8_t> Load(uint32_t tag, uint16_t item, int32_t capacity,
                              int32_t* result = nullptr) {
        std::vector<uint8_t> block(size_t(capacity), 0xAA);
        uint8_t key[8] = {};
        FXWrite<uint16_t>(key, 0, item);
        int32_t size = capacity;
        const int32_t r = FX_LoadEData(tag, key, block.data(), &size, FRAMEWORK_ENIGMA_VERSION);
        if (result)
            *result = r;
        else
            EXPECT_EQ(r, 1) << FourChars(tag);
        if (r) {
            EXPECT_EQ(size, capacity);
        }
        return block;
    }
    int32_t Save(uint32_t tag, uint16_t item, std::vector<uint8_t>& block,
                 uint32_t version = FRAMEWORK_ENIGMA_VERSION) {
        uint8_t key[8] = {};
        FXWrite<uint16_t>(key, 0, item);
        return FX_SaveEData(tag, key, block.data(), int32_t(block.size()), version);
    }
};

}  // namespace

// Each table row for row against its listing: same order, records, words, sizes, conversions;
// the rows cover the structure without gaps and sum to the listed size.
TEST_F(PreferenceMapsTest, TablesMatchTheListedLayouts) {
    for (const Listing& listing : kListings) {
        SCOPED_TRACE(listing.name);
        EXPECT_EQ(FourChars(listing.tag), listing.name);
        const auto listed = Parse(listing.text);
        const PREFERENCE_LOCATION_MAPRECORD* table = nullptr;
        int32_t rows = 0;
        ASSERT_TRUE(mapPrefStruct(listing.tag, 0, &table, &rows));
        ASSERT_EQ(rows, listing.rows);
        ASSERT_EQ(int(listed.size()), listing.rows);
        EXPECT_EQ(PrefStructSize(table, rows), listing.size);
        for (int i = 0; i < rows; ++i) {
            SCOPED_TRACE(i);
            const auto& row = table[i];
            const ListedRow& want = listed[size_t(i)];
            EXPECT_EQ(+row.mark, 0);
            EXPECT_EQ(+row.offset, want.offset);
            EXPECT_EQ(+row.tagChar3, +want.c3);
            EXPECT_EQ(+row.tagChar4, +want.c4);
            EXPECT_EQ(+row.item, want.item);
            EXPECT_EQ(+row.incidence, want.incidence);
            EXPECT_EQ(+row.wordIndex, want.word);
            EXPECT_EQ(+row.fieldSize, want.size);
            EXPECT_EQ(MAP_ARRAY_CONVERSION{row.conversion}, want.conversion);
            EXPECT_EQ(PrefsOtherTag(row), want.Tag());
            EXPECT_EQ(PrefsOtherItem(row), want.Item());
        }
        std::vector<std::pair<int, int>> spans;
        int sum = 0;
        for (int i = 0; i < rows; ++i) {
            spans.emplace_back(table[i].offset, table[i].fieldSize);
            sum += table[i].fieldSize;
            EXPECT_LE(table[i].wordIndex + table[i].fieldSize / 2, 6);
        }
        std::sort(spans.begin(), spans.end());
        int next = 0;
        for (const auto& span : spans) {
            EXPECT_EQ(span.first, next) << "gap or overlap";
            next = span.first + span.second;
        }
        EXPECT_EQ(next, listing.size);
        EXPECT_EQ(sum, listing.size);
    }
}

TEST_F(PreferenceMapsTest, TagMapsAndTheirConditionsAtTheEdges) {
    for (const TagListing& t : kTagListings) {
        SCOPED_TRACE(t.name);
        EXPECT_EQ(FourChars(t.tag), t.name);
        EXPECT_EQ(FourChars(t.otherTag), t.otherName);
        auto expect = [&](uint16_t item, bool mapped, int16_t first) {
            uint32_t other = 0;
            int32_t count = 0;
            int16_t inci = -1;
            ASSERT_EQ(mapPrefTag(t.tag, item, &other, &count, &inci), mapped) << item;
            if (!mapped) return;
            EXPECT_EQ(other, t.otherTag);
            EXPECT_EQ(count, t.count);
            EXPECT_EQ(inci, first) << item;
        };
        if (t.conditioned) {
            expect(uint16_t(t.firstItem - 1), false, 0);
            expect(t.firstItem, true, int16_t(t.firstItem - 1));
            expect(t.lastItem, true, int16_t(t.lastItem - 1));
            expect(uint16_t(t.lastItem + 1), false, 0);
            expect(0xFFFF, false, 0);
        } else {
            for (uint16_t item : {0, 1, 2, 0xFFFE, 0xFFFF}) expect(item, true, 0);
        }
    }
    // pfPF: a structure for item 0 only, four whole records for item 1, the host's otherwise.
    EXPECT_TRUE(mapPrefStruct(kPageFormat, 0, nullptr, nullptr));
    EXPECT_FALSE(mapPrefStruct(kPageFormat, 1, nullptr, nullptr));
    EXPECT_FALSE(mapPrefStruct(kPageFormat, 2, nullptr, nullptr));
    EXPECT_FALSE(mapPrefTag(kPageFormat, 0, nullptr, nullptr, nullptr));
    EXPECT_FALSE(mapPrefTag(kPageFormat, 2, nullptr, nullptr, nullptr));
    for (uint32_t tag : {0x70665858u, 0x6F743737u, 0u}) {
        EXPECT_FALSE(mapPrefStruct(tag, 0, nullptr, nullptr));
        EXPECT_FALSE(mapPrefTag(tag, 1, nullptr, nullptr, nullptr));
    }
}

TEST_F(PreferenceMapsTest, FourByteFieldsJoinAndSplitInBothOrders) {
    EXPECT_EQ(makePrefsFourbyte(0x1234, 0x5678, MAP_CONV_HIGH_LOW), 0x12345678);
    EXPECT_EQ(makePrefsFourbyte(0x1234, 0x5678, MAP_CONV_LOW_HIGH), 0x56781234);
    // Halves are never sign-extended into each other.
    EXPECT_EQ(uint32_t(makePrefsFourbyte(-1, 1, MAP_CONV_HIGH_LOW)), 0xFFFF0001u);
    EXPECT_EQ(makePrefsFourbyte(1, int16_t(0x8000), MAP_CONV_HIGH_LOW), 0x00018000);
    for (auto c : {MAP_CONV_WORD, MAP_CONV_NOT, MAP_CONV_BYTE})
        EXPECT_EQ(makePrefsFourbyte(0x1234, 0x5678, c), 0);

    int16_t a = 7, b = 9;
    makePrefsTwobytes(int32_t(0xFEDC1234u), &a, &b, MAP_CONV_HIGH_LOW);
    EXPECT_EQ(uint16_t(a), 0xFEDC);
    EXPECT_EQ(b, 0x1234);
    makePrefsTwobytes(0x56781234, &a, &b, MAP_CONV_LOW_HIGH);
    EXPECT_EQ(a, 0x1234);
    EXPECT_EQ(b, 0x5678);
    for (auto c : {MAP_CONV_WORD, MAP_CONV_NOT, MAP_CONV_BYTE}) {
        a = 7, b = 9;
        makePrefsTwobytes(0x56781234, &a, &b, c);
        EXPECT_EQ(a, 7);
        EXPECT_EQ(b, 9);
    }
}

// Every conversion both ways on a single row, and which saves count as a change.
TEST_F(PreferenceMapsTest, EveryConversionLoadsAndSaves) {
    auto rowOf = [](MAP_ARRAY_CONVERSION c) {
        PREFERENCE_LOCATION_MAPRECORD row{};
        row.offset = 2;
        row.wordIndex = 3;
        row.fieldSize = c == MAP_CONV_HIGH_LOW || c == MAP_CONV_LOW_HIGH ? 4 : 2;
        row.conversion = c;
        return row;
    };
    auto load = [&](MAP_ARRAY_CONVERSION c, Words w) {
        uint8_t s[8];
        std::memset(s, 0xAA, sizeof s);
        PrefsFieldFromWords(rowOf(c), w.data(), s);
        EXPECT_EQ(s[0], 0xAA);                                     // nothing before the field
        EXPECT_EQ(s[rowOf(c).offset + rowOf(c).fieldSize], 0xAA);  // nor after it
        return rowOf(c).fieldSize == 4 ? FXRead<int32_t>(s, 2) : FXRead<int16_t>(s, 2);
    };
    // Saves field `v` over words `w`; answers whether it changed them.
    auto save = [&](MAP_ARRAY_CONVERSION c, int32_t v, Words& w) {
        uint8_t s[8] = {};
        if (rowOf(c).fieldSize == 4)
            FXWrite<int32_t>(s, 2, v);
        else
            FXWrite<int16_t>(s, 2, int16_t(v));
        return PrefsFieldToWords(rowOf(c), s, w.data());
    };

    EXPECT_EQ(load(MAP_CONV_WORD, {0, 0, 0, -5, 0, 0}), -5);
    Words w{1, 2, 3, 4, 5, 6};
    EXPECT_FALSE(save(MAP_CONV_WORD, 4, w));
    EXPECT_TRUE(save(MAP_CONV_WORD, -300, w));
    EXPECT_EQ(w, (Words{1, 2, 3, -300, 5, 6}));

    EXPECT_EQ(load(MAP_CONV_HIGH_LOW, {0, 0, 0, 0x0001, int16_t(0x8002), 0}), 0x00018002);
    EXPECT_EQ(load(MAP_CONV_LOW_HIGH, {0, 0, 0, 0x0001, 0x0002, 0}), 0x00020001);
    w = {1, 2, 3, 0x0001, 0x0002, 6};
    EXPECT_FALSE(save(MAP_CONV_HIGH_LOW, 0x00010002, w));  // compared as a whole
    EXPECT_TRUE(save(MAP_CONV_HIGH_LOW, 0x00010003, w));
    EXPECT_EQ(w, (Words{1, 2, 3, 0x0001, 0x0003, 6}));
    EXPECT_FALSE(save(MAP_CONV_LOW_HIGH, 0x00030001, w));
    EXPECT_TRUE(save(MAP_CONV_LOW_HIGH, int32_t(0xABCD0007u), w));
    EXPECT_EQ(w, (Words{1, 2, 3, 0x0007, int16_t(0xABCD), 6}));

    EXPECT_EQ(load(MAP_CONV_NOT, {0, 0, 0, 5, 0, 0}), 0);
    EXPECT_EQ(load(MAP_CONV_NOT, {0, 0, 0, 0, 0, 0}), 1);
    w = {0, 0, 0, 5, 0, 0};
    EXPECT_TRUE(save(MAP_CONV_NOT, 0, w));
    EXPECT_EQ(w[3], 1);
    EXPECT_FALSE(save(MAP_CONV_NOT, 0, w));
    EXPECT_TRUE(save(MAP_CONV_NOT, 7, w));  // any nonzero field saves as 0
    w = {0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(save(MAP_CONV_NOT, 7, w));
    EXPECT_EQ(w[3], 0);

    EXPECT_EQ(load(MAP_CONV_BYTE, {0, 0, 0, 0x01C8, 0, 0}), 0x00C8);
    EXPECT_EQ(load(MAP_CONV_BYTE, {0, 0, 0, -2, 0, 0}), 0x00FE);
    w = {0, 0, 0, 0x01C8, 0, 0};
    EXPECT_TRUE(save(MAP_CONV_BYTE, 0x00C8, w));
    EXPECT_EQ(uint16_t(w[3]), 0xFFC8);
    EXPECT_FALSE(save(MAP_CONV_BYTE, 0x00C8, w));
    EXPECT_TRUE(save(MAP_CONV_BYTE, 0x0312, w));
    EXPECT_EQ(w[3], 0x0012);

    // A row whose words would lie outside the record is not followed.
    PREFERENCE_LOCATION_MAPRECORD bad = rowOf(MAP_CONV_HIGH_LOW);
    bad.wordIndex = 5;
    uint8_t s[8] = {};
    Words none{};
    PrefsFieldFromWords(bad, none.data(), s);
    EXPECT_FALSE(PrefsFieldToWords(bad, s, none.data()));
}

// Every structure assembled through FX_LoadEData from seeded other records, each field checked
// against the value its listing gives; each record read once, the host never asked for the
// preference tag itself.
TEST_F(PreferenceMapsTest, EveryStructureAssemblesFromItsListedWords) {
    for (const Listing& listing : kListings) {
        SCOPED_TRACE(listing.name);
        host().ClearCalls();
        const auto rows = Parse(listing.text);
        SeedAll(rows);
        const auto block = Load(listing.tag, 0, listing.size);
        for (const ListedRow& row : rows)
            EXPECT_EQ(FieldAt(block, row), Expected(row, Get(row.Id()))) << "offset " << row.offset;

        std::map<uint32_t, std::set<std::pair<int32_t, int32_t>>> records;
        for (const ListedRow& row : rows) records[row.Tag()].insert({row.Item(), row.incidence});
        for (const auto& [tag, keys] : records)
            EXPECT_EQ(Calls("FX_LoadEData", tag), int(keys.size())) << FourChars(tag);
        EXPECT_EQ(Calls("FX_LoadEData", listing.tag), 0);
        for (const auto& call : host().Calls())
            EXPECT_EQ(call.args.at(4), FRAMEWORK_ENIGMA_VERSION);
    }
}

TEST_F(PreferenceMapsTest, ConversionsThroughTheTables) {
    // pfMS 12=36:1! and 52=19:4b; pfPB 0=65:2L.
    Put({0x6F743336, 0xFFFE, 0, 0}, {0, 5, 0, 0, 0, 0});
    Put({0x6F743139, 0xFFFE, 0, 0}, {0, 0, 0, 0, 0x01C8, 0});
    auto block = Load(kMiscDoc, 0, 104);
    EXPECT_EQ(FXRead<int16_t>(block.data(), 12), 0);
    EXPECT_EQ(FXRead<int16_t>(block.data(), 52), 0x00C8);
    FXWrite<int16_t>(block.data(), 12, 0);
    ASSERT_EQ(Save(kMiscDoc, 0, block), 1);
    EXPECT_EQ(Get({0x6F743336, 0xFFFE, 0, 0})[1], 1);
    EXPECT_EQ(uint16_t(Get({0x6F743139, 0xFFFE, 0, 0})[4]), 0xFFC8);

    Put({0x6F743635, 0xFFFE, 0, 0}, {0, 0, 0x1234, int16_t(0x8765), 0, 0});
    block = Load(kPianoBrace, 0, 44);
    EXPECT_EQ(uint32_t(FXRead<int32_t>(block.data(), 0)), 0x12348765u);
    FXWrite<int32_t>(block.data(), 0, int32_t(0xCAFE0001u));
    ASSERT_EQ(Save(kPianoBrace, 0, block), 1);
    EXPECT_EQ(Get({0x6F743635, 0xFFFE, 0, 0}), (Words{0, 0, int16_t(0xCAFE), 1, 0, 0}));
}

TEST_F(PreferenceMapsTest, StructureSaveReadsEachRecordOnceAndWritesOnlyChangedOnes) {
    const auto rows = Parse(ListingOf(kMiscDoc).text);
    SeedAll(rows);
    auto block = Load(kMiscDoc, 0, 104);
    std::map<uint32_t, std::set<std::pair<int32_t, int32_t>>> records;
    for (const ListedRow& row : rows) records[row.Tag()].insert({row.Item(), row.incidence});

    host().ClearCalls();
    ASSERT_EQ(Save(kMiscDoc, 0, block), 1);
    EXPECT_EQ(host().Count("FX_SaveEData"), 0);
    for (const auto& [tag, keys] : records)
        EXPECT_EQ(Calls("FX_LoadEData", tag), int(keys.size())) << FourChars(tag);

    // 2=03:4 and the 4-byte 96=41/0/1:3L; every other word of both records stays.
    const RecordId ot03{0x6F743033, 0xFFFE, 0, 0}, ot41{0x6F743431, 0xFFFE, 1, 0};
    Words w03 = Get(ot03), w41 = Get(ot41);
    FXWrite<int16_t>(block.data(), 2, int16_t(w03[4] ^ 0x0101));
    FXWrite<int32_t>(block.data(), 96, 0x11112222);
    host().ClearCalls();
    ASSERT_EQ(Save(kMiscDoc, 0, block), 1);
    EXPECT_EQ(host().Count("FX_SaveEData"), 2);
    EXPECT_EQ(Calls("FX_SaveEData", ot03.tag), 1);
    EXPECT_EQ(Calls("FX_SaveEData", ot41.tag), 1);
    w03[4] = int16_t(w03[4] ^ 0x0101);
    w41[3] = 0x1111;
    w41[4] = 0x2222;
    EXPECT_EQ(Get(ot03), w03);
    EXPECT_EQ(Get(ot41), w41);
    EXPECT_EQ(Load(kMiscDoc, 0, 104), block);
}

// A structure needs a buffer that holds all of it: a smaller one is refused before the host is
// asked, and nothing is read or written past the caller's size (the buffers here are exactly
// the size given, so a stray access shows under the sanitizers).
TEST_F(PreferenceMapsTest, BuffersSmallerThanTheStructureAreRefused) {
    SeedAll(Parse(ListingOf(kSize).text));
    SeedAll(Parse(ListingOf(kPianoBrace).text));
    host().ClearCalls();

    int32_t result = -1;
    const auto untouched = Load(kSize, 0, 53, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(untouched, std::vector<uint8_t>(53, 0xAA));
    uint8_t key[8] = {};
    std::vector<uint8_t> small(53, 0xAA);
    int32_t size = 53;
    EXPECT_EQ(FX_LoadEData(kSize, key, small.data(), &size, FRAMEWORK_ENIGMA_VERSION), 0);
    EXPECT_EQ(size, 53);
    EXPECT_EQ(FX_LoadEData(kSize, key, small.data(), nullptr, FRAMEWORK_ENIGMA_VERSION), 0);

    // pfPB: 11 rows, 44 bytes; 22 bytes (twice the rows) is still too small.
    for (int32_t bytes : {43, 22, 0}) {
        std::vector<uint8_t> part(size_t(bytes), 0);
        EXPECT_EQ(Save(kPianoBrace, 0, part), 0) << bytes;
    }
    EXPECT_EQ(FX_SaveEData(kPianoBrace, key, nullptr, 44, FRAMEWORK_ENIGMA_VERSION), 0);
    EXPECT_TRUE(host().Calls().empty());
}

TEST_F(PreferenceMapsTest, NullBufferAsksForTheSizeOnly) {
    uint8_t key[8] = {};
    auto query = [&](uint32_t tag, uint16_t item) {
        FXWrite<uint16_t>(key, 0, item);
        int32_t size = -1;
        EXPECT_EQ(FX_LoadEData(tag, key, nullptr, &size, FRAMEWORK_ENIGMA_VERSION), 1);
        return size;
    };
    EXPECT_EQ(query(kPlayback, 0), 14);
    EXPECT_EQ(query(kPageFormat, 0), 48);
    EXPECT_EQ(query(kPageFormat, 1), 48);
    EXPECT_EQ(query(kTC, 0), 60);
    EXPECT_EQ(query(kStaffNames, 128), 12);
    EXPECT_EQ(FX_LoadEData(kPlayback, key, nullptr, nullptr, FRAMEWORK_ENIGMA_VERSION), 1);
    EXPECT_TRUE(host().Calls().empty());
}

TEST_F(PreferenceMapsTest, TagMapsLayWholeRecordsByIncidence) {
    // pfSN: item k is incidence k - 1 of ot40; items 0 and 129 are the host's.
    for (int16_t inci : {0, 2, 127}) Put({0x6F743430, 0xFFFE, inci, 0}, {inci, 1, 2, 3, 4, 5});
    EXPECT_EQ(FXRead<int16_t>(Load(kStaffNames, 3, 12).data(), 0), 2);
    EXPECT_EQ(FXRead<int16_t>(Load(kStaffNames, 128, 12).data(), 0), 127);
    EXPECT_EQ(FXRead<int16_t>(Load(kStaffNames, 1, 12).data(), 0), 0);
    host().ClearCalls();
    int32_t result = -1;
    Load(kStaffNames, 129, 12, &result);
    Load(kStaffNames, 0, 12, &result);
    EXPECT_EQ(Calls("FX_LoadEData", kStaffNames), 2);
    EXPECT_EQ(result, 0);  // the host keeps no such record

    // pfPF item 1: ot77 incidences 0 to 3 in order; item 2 goes to the host.
    for (int16_t inci = 0; inci < 5; ++inci)
        Put({0x6F743737, 0xFFFE, inci, 0}, {int16_t(100 + inci), 0, 0, 0, 0, inci});
    auto block = Load(kPageFormat, 1, 48);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(FXRead<int16_t>(block.data(), size_t(12 * i)), 100 + i);
        EXPECT_EQ(FXRead<int16_t>(block.data(), size_t(12 * i + 10)), i);
    }
    host().ClearCalls();
    Load(kPageFormat, 2, 48, &result);
    EXPECT_EQ(Calls("FX_LoadEData", kPageFormat), 1);
    EXPECT_EQ(Calls("FX_LoadEData", 0x6F743737), 0);

    // Too small a buffer is refused untouched.
    host().ClearCalls();
    EXPECT_EQ(Load(kPageFormat, 1, 47, &result), std::vector<uint8_t>(47, 0xAA));
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(host().Calls().empty());

    // Saving spreads the pieces back in order.
    for (uint8_t& b : block) b = uint8_t(b + 1);
    ASSERT_EQ(Save(kPageFormat, 1, block), 1);
    for (int16_t inci = 0; inci < 4; ++inci)
        EXPECT_EQ(Get({0x6F743737, 0xFFFE, inci, 0})[0], 100 + inci + 0x0101);
    EXPECT_EQ(Get({0x6F743737, 0xFFFE, 4, 0})[0], 104);
    host().ClearCalls();
    std::vector<uint8_t> part(47);
    EXPECT_EQ(Save(kPageFormat, 1, part), 0);
    EXPECT_TRUE(host().Calls().empty());
}

TEST_F(PreferenceMapsTest, SavesThatTheHostCannotStoreFail) {
    // pfTC is five ot86 records; the fifth is missing, the first four are still stored.
    for (int16_t inci = 0; inci < 4; ++inci) Put({0x6F743836, 0xFFFE, inci, 0}, {});
    std::vector<uint8_t> block(60, 7);
    EXPECT_EQ(Save(kTC, 0, block), 0);
    EXPECT_EQ(Get({0x6F743836, 0xFFFE, 3, 0})[0], 0x0707);

    // A structure whose record is missing: zeros in, and a change to it is reported, never
    // written over words nobody read. pfPL: 0=13:1, 2=39:3, 4.. from ot36 and ot37.
    Put({0x6F743133, 0xFFFE, 0, 0}, {1, 2, 3, 4, 5, 6});
    Put({0x6F743336, 0xFFFE, 0, 0}, {});
    auto prefs = Load(kPlayback, 0, 14);
    EXPECT_EQ(FXRead<int16_t>(prefs.data(), 0), 2);
    EXPECT_EQ(FXRead<int16_t>(prefs.data(), 8), 0);  // 37:0, missing
    EXPECT_EQ(Save(kPlayback, 0, prefs), 1);         // nothing changed
    FXWrite<int16_t>(prefs.data(), 0, 9);
    FXWrite<int16_t>(prefs.data(), 10, 9);  // 37:1
    host().ClearCalls();
    EXPECT_EQ(Save(kPlayback, 0, prefs), 0);
    EXPECT_EQ(Calls("FX_SaveEData", 0x6F743337), 0);
    EXPECT_EQ(Get({0x6F743133, 0xFFFE, 0, 0})[1], 9);
}

TEST_F(PreferenceMapsTest, SavesBeforeVersion8GoToTheHostUnchanged) {
    SeedAll(Parse(ListingOf(kPlayback).text));
    // The host keeps a pfPL record of its own for old callers.
    doc().records.Put({kPlayback, 0, 0, 0}, std::vector<uint8_t>(14, 0));
    std::vector<uint8_t> block(14, 0x5A);
    EXPECT_EQ(Save(kPlayback, 0, block, 0x07FFFFFF), 1);
    ASSERT_EQ(host().Count("FX_SaveEData"), 1);
    EXPECT_EQ(host().LastCall("FX_SaveEData")->args.at(0), kPlayback);
    EXPECT_EQ(host().LastCall("FX_SaveEData")->args.at(4), 0x07FFFFFF);
    EXPECT_EQ(*doc().records.Find({kPlayback, 0, 0, 0}), block);
    EXPECT_EQ(host().Count("FX_LoadEData"), 0);

    host().ClearCalls();
    EXPECT_EQ(Save(kPlayback, 0, block, 0x08000000), 1);
    EXPECT_EQ(Calls("FX_SaveEData", kPlayback), 0);
    EXPECT_EQ(Get({0x6F743133, 0xFFFE, 0, 0})[1], 0x5A5A);

    // Loads use the maps whatever the version.
    host().ClearCalls();
    uint8_t key[8] = {};
    int32_t size = 14;
    EXPECT_EQ(FX_LoadEData(kPlayback, key, block.data(), &size, 0x01000000), 1);
    EXPECT_EQ(Calls("FX_LoadEData", kPlayback), 0);
}

// The other records sit under item 0xFFFE, an unsigned item of the host's store.
TEST_F(PreferenceMapsTest, OtherRecordsLiveUnderItemFFFE) {
    Put({0x6F743737, 0xFFFE, 4, 0}, {1, 2, 3, 4, 5, 6});
    const uint8_t raw[8] = {0xFE, 0xFF, 0x04, 0x00};
    EXPECT_EQ(plovikhost::DecodeKey(0x6F743737, raw), (RecordId{0x6F743737, 0xFFFE, 4, 0}));
    uint8_t key[8];
    std::memcpy(key, raw, 8);
    Words w{};
    int32_t size = 12;
    ASSERT_EQ(FX_LoadEData(0x6F743737, key, w.data(), &size, FRAMEWORK_ENIGMA_VERSION), 1);
    EXPECT_EQ(w, (Words{1, 2, 3, 4, 5, 6}));
    // pfEX 0=77/0/4:1 reads that very record.
    EXPECT_EQ(FXRead<int16_t>(Load(0x70664558, 0, 50).data(), 0), 2);
}
