// Articulation definitions: symbol fonts through the host's font table, sizes, font
// descriptions, placement sides and the identity test.
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "FCArticulationDef.h"
#include "FCFontInfo.h"
#include "HostTest.h"
#include "RecordBuilders.h"
#include "finalepdk.h"

using namespace plovikhost;

namespace {

using Record = std::vector<uint8_t>;

Record Plain() {
    Record r(48, 0);
    r[0x00] = '>';
    r[0x01] = 0x01;  // bold
    r[0x02] = 3;     // font 3
    r[0x03] = 24;
    r[0x0C] = 'v';
    r[0x0E] = 3;
    r[0x0F] = 24;
    return r;
}

void Set16(Record& r, size_t offset, uint16_t value) {
    FXWrite<uint16_t>(r.data(), offset, value);
}
void Flip16(Record& r, size_t offset, uint16_t mask) {
    Set16(r, offset, static_cast<uint16_t>(FXRead<uint16_t>(r.data(), offset) ^ mask));
}

}  // namespace

class FCArticulationDefTest : public HostTest {
  protected:
    void SetUp() override {
        HostTest::SetUp();
        doc().fonts[3] = "Maestro";
        doc().fonts[7] = "Engraver Font Set";
    }
    void Put(uint16_t number, const Record& r) {
        doc().records.Put(RecordId{TAG_ARTICULATION_DEF, number, 0, 0}, r);
    }
    bool Identical(const Record& a, const Record& b) {
        Put(1, a);
        Put(2, b);
        FCArticulationDef first, second;
        EXPECT_TRUE(first.Load(1));
        EXPECT_TRUE(second.Load(2));
        const bool forth = first.IsIdenticalTo(&second);
        EXPECT_EQ(forth, second.IsIdenticalTo(&first));
        return forth;
    }
    int Side(uint16_t placement) {
        Record r = Plain();
        Set16(r, 0x0A, placement);
        Put(1, r);
        FCArticulationDef def;
        EXPECT_TRUE(def.Load(1));
        return def.GetAutoPosSide();
    }
};

TEST_F(FCArticulationDefTest, MainSymbolFontByTheHostsNumber) {
    Put(1, Plain());
    FCArticulationDef def;
    ASSERT_TRUE(def.Load(1));
    char name[256];
    std::memset(name, 'z', sizeof name);
    def.GetMainSymbolFont(&name);
    EXPECT_STREQ(name, "Maestro");
    const char maestro[256] = "Maestro";
    const char maestroLower[256] = "maestro";
    EXPECT_TRUE(def.IsMainSymbolFont(&maestro));
    EXPECT_FALSE(def.IsMainSymbolFont(&maestroLower));

    const char engraver[256] = "Engraver Font Set";
    def.SetMainSymbolFont(&engraver);
    EXPECT_EQ(def.GetMainSymbolFontNumber(), 7);
    EXPECT_EQ(def.GetMainSymbolSize(), 24);  // untouched
    const char unknown[256] = "Petrucci";
    def.SetMainSymbolFont(&unknown);  // the host adds it under its next free number
    EXPECT_EQ(def.GetMainSymbolFontNumber(), 1);

    // A host that answers failure for a name it does not know: its answer is stored.
    host().refuseUnknownFonts = true;
    const char bravura[256] = "Bravura";
    def.SetMainSymbolFont(&bravura);
    EXPECT_EQ(def.GetMainSymbolFontNumber(), 0);
    EXPECT_EQ(def.GetMainSymbolSize(), 24);
    EXPECT_EQ(host().LastCall("FX_FontNameToNum")->text, "Bravura");
    EXPECT_EQ(doc().fonts.size(), 3u) << "nothing added";
}

TEST_F(FCArticulationDefTest, FontNumbersBeyondTheByteLeaveTheFont) {
    for (int16_t n = 1; n <= 300; ++n) doc().fonts[n] = "Font " + std::to_string(n);
    doc().fonts[300] = "Far Away";
    Put(1, Plain());
    FCArticulationDef def;
    ASSERT_TRUE(def.Load(1));
    const char farFont[256] = "Far Away";
    def.SetMainSymbolFont(&farFont);
    def.SetFlippedSymbolFont(&farFont);
    EXPECT_EQ(def.GetMainSymbolFontNumber(), 3);
    EXPECT_EQ(def.GetFlippedSymbolFontNumber(), 3);
    const char nearFont[256] = "Font 255";
    def.SetMainSymbolFont(&nearFont);
    EXPECT_EQ(def.GetMainSymbolFontNumber(), 255);
}

TEST_F(FCArticulationDefTest, SizesKeepTheLowByte) {
    FCArticulationDef def;
    def.SetMainSymbolSize(300);
    EXPECT_EQ(def.GetMainSymbolSize(), 44);
    def.SetFlippedSymbolSize(-1);
    EXPECT_EQ(def.GetFlippedSymbolSize(), 255);
}

TEST_F(FCArticulationDefTest, FontInfosInAndOut) {
    Put(1, Plain());
    FCArticulationDef def;
    ASSERT_TRUE(def.Load(1));
    std::unique_ptr<FCFontInfo> info(def.CreateMainSymbolFontInfo());
    EXPECT_STREQ(info->GetName(), "Maestro");
    EXPECT_EQ(info->GetSize(), 24);
    EXPECT_EQ(info->GetEffects(), 0x01);

    FCFontInfo wanted;
    wanted.SetName("Engraver Font Set");
    wanted.SetSize(200);
    wanted.SetEffects(0x0142);
    def.SetMainSymbolFontInfo(&wanted);
    EXPECT_EQ(def.GetMainSymbolFontNumber(), 7);
    EXPECT_EQ(def.GetMainSymbolSize(), 200);  // read back unsigned
    EXPECT_EQ(def.GetMainSymbolEffects(), 0x42);
    info.reset(def.CreateMainSymbolFontInfo());
    EXPECT_EQ(info->GetSize(), 200);
    EXPECT_TRUE(info->IsIdenticalTo(&wanted));  // bit 0x0100 is not compared

    def.SetFlippedSymbolFontInfo(&wanted);
    EXPECT_EQ(def.GetFlippedSymbolFontNumber(), 7);
    EXPECT_EQ(def.GetFlippedSymbolSize(), 200);
    EXPECT_EQ(def.GetFlippedSymbolEffects(), 0x42);
}

TEST_F(FCArticulationDefTest, ShapeSymbolsHaveNoFont) {
    Record r = Plain();
    Set16(r, 0x16, 0x0002);
    Put(1, r);
    FCArticulationDef def;
    ASSERT_TRUE(def.Load(1));
    char name[256] = "stale";
    def.GetMainSymbolFont(&name);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(host().Count("FX_FontNumToName"), 0);
    std::unique_ptr<FCFontInfo> info(def.CreateMainSymbolFontInfo());
    EXPECT_STREQ(info->GetName(), "");
    EXPECT_EQ(info->GetSize(), 24);
    EXPECT_EQ(info->GetEffects(), 0x01);
}

TEST_F(FCArticulationDefTest, AutoPosSides) {
    EXPECT_EQ(Side(0x0003), 0);  // automatic placement off
    EXPECT_EQ(Side(0x0008), 2);
    EXPECT_EQ(Side(0x0009), 3);
    EXPECT_EQ(Side(0x000A), 5);
    EXPECT_EQ(Side(0x000B), 4);
    EXPECT_EQ(Side(0x000C), 1);
    EXPECT_EQ(Side(0x000D), 0);
    EXPECT_EQ(Side(0x000F), 0);
    EXPECT_EQ(Side(0xFFF3), 0);
}

TEST_F(FCArticulationDefTest, EveryComparedFieldTellsDefinitionsApart) {
    const std::vector<std::pair<const char*, std::function<void(Record&)>>> changes = {
        {"main character", [](Record& r) { r[0x00] = '^'; }},
        {"flipped character", [](Record& r) { r[0x0C] = '^'; }},
        {"main font", [](Record& r) { r[0x02] = 7; }},
        {"main size", [](Record& r) { r[0x03] = 25; }},
        {"main effect 0x04", [](Record& r) { r[0x01] ^= 0x04; }},
        {"main effect 0x80", [](Record& r) { r[0x01] ^= 0x80; }},
        {"auto position side", [](Record& r) { Flip16(r, 0x0A, 0x0008); }},
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(change.first);
        Record b = Plain();
        change.second(b);
        EXPECT_FALSE(Identical(Plain(), b));
    }
    for (uint16_t bit : {0x0100, 0x2000, 0x4000, 0x0040, 0x0020, 0x1000, 0x0080, 0x0010, 0x0200}) {
        SCOPED_TRACE(bit);
        Record b = Plain();
        Flip16(b, 0x0A, bit);
        EXPECT_FALSE(Identical(Plain(), b));
    }
    for (uint16_t bit : {0x0001, 0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x0040}) {
        SCOPED_TRACE(bit);
        Record b = Plain();
        Flip16(b, 0x16, bit);
        EXPECT_FALSE(Identical(Plain(), b));
    }
    for (size_t offset : {0x10, 0x12, 0x14, 0x1C, 0x1E, 0x24, 0x26, 0x28, 0x2A, 0x2C, 0x2E}) {
        SCOPED_TRACE(offset);
        Record b = Plain();
        Set16(b, offset, 0x0101);
        EXPECT_FALSE(Identical(Plain(), b));
    }
}

TEST_F(FCArticulationDefTest, FieldsNotComparedLeaveDefinitionsIdentical) {
    const std::vector<std::pair<const char*, std::function<void(Record&)>>> changes = {
        {"flipped font", [](Record& r) { r[0x0E] = 7; }},
        {"flipped size", [](Record& r) { r[0x0F] = 99; }},
        {"flipped effects", [](Record& r) { r[0x0D] = 0xFF; }},
        {"main effects 0x08 and 0x10", [](Record& r) { r[0x01] ^= 0x18; }},
        {"placement code of the same side", [](Record& r) { Set16(r, 0x0A, 0x0005); }},
        {"unnamed bytes", [](Record& r) { r[0x04] = r[0x18] = r[0x20] = 0x55; }},
        {"placement bits not named", [](Record& r) { Flip16(r, 0x0A, 0x8C00); }},
        {"symbol flags not named", [](Record& r) { Flip16(r, 0x16, 0xFF80); }},
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(change.first);
        Record b = Plain();
        change.second(b);
        EXPECT_TRUE(Identical(Plain(), b));
    }
    // Automatic placement off: the codes all give side 0.
    Record a = Plain(), b = Plain();
    Set16(b, 0x0A, 0x0003);
    EXPECT_TRUE(Identical(a, b));
    // Codes 5 and 6 both give side 0 when automatic.
    Set16(a, 0x0A, 0x000D);
    Set16(b, 0x0A, 0x000E);
    EXPECT_TRUE(Identical(a, b));
}

TEST_F(FCArticulationDefTest, ShapeSymbolsIgnoreTheirCharacters) {
    Record a = Plain(), b = Plain();
    Set16(a, 0x16, 0x0006);
    Set16(b, 0x16, 0x0006);
    b[0x00] = 'x';
    b[0x0C] = 'y';
    b[0x02] = 7;  // no font either: both main symbols have the empty name
    EXPECT_TRUE(Identical(a, b));
    FCArticulationDef def;
    EXPECT_TRUE(def.IsIdenticalTo(&def));
    EXPECT_FALSE(def.IsIdenticalTo(nullptr));
}
