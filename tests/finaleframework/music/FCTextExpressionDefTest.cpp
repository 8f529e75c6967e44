// Text expression definitions: text through text block and raw text, description, category and
// rehearsal marks.
#include <memory>
#include <string>
#include <vector>

#include "FCCategoryDef.h"
#include "FCString.h"
#include "FCTextExpressionDef.h"
#include "HostTest.h"
#include "RecordBuilders.h"
#include "finalepdk.h"

using namespace plovikhost;

namespace {
std::string Text(FCString* s) {
    std::unique_ptr<FCString> owned(s);
    return owned->GetCString();
}
const uint8_t* Bytes(FCTextExpressionDef& def) {
    return static_cast<const uint8_t*>(def.GetDataBuffer());
}
}  // namespace

class FCTextExpressionDefTest : public HostTest {
  protected:
    // Mark `number` in `style`, or "<false>" followed by what out still holds.
    std::string Mark(int style, int number) {
        FCTextExpressionDef def;
        def.SetRehearsalMarkStyle(static_cast<int16_t>(style));
        FCString out;
        out.SetCString("before");
        if (!def.MakeRehearsalMark(number, &out)) return std::string("<false>") + out.GetCString();
        return out.GetCString();
    }
};

TEST_F(FCTextExpressionDefTest, NewDefinitionIsAZeroedMadeBlock) {
    FCTextExpressionDef def;
    ASSERT_EQ(def.GetDataSize(), 36);
    for (int i = 0; i < 36; ++i) EXPECT_EQ(Bytes(def)[i], 0) << i;
    std::unique_ptr<__FCBaseData> clone(def.CreateClone());
    EXPECT_EQ(clone->GetDataSize(), 36);
    EXPECT_NE(clone->GetDataBuffer(), def.GetDataBuffer());
}

TEST_F(FCTextExpressionDefTest, LoadsARecordOfTheHostsSize) {
    PutTextExpressionDef(doc(), 4, 7, 5, "Allegro molto");
    FCTextExpressionDef def;
    ASSERT_TRUE(def.Load(4));
    EXPECT_EQ(def.GetDataSize(), 34 + 14);
    EXPECT_EQ(def.GetTextBlockID(), 7);
    EXPECT_EQ(def.GetRehearsalMarkStyle(), 5);
    EXPECT_EQ(host().LastCall("FX_LoadEData")->args[4], 0x0F000000);
    FCString description;
    def.GetDescription(&description);
    EXPECT_STREQ(description.GetCString(), "Allegro molto");
}

TEST_F(FCTextExpressionDefTest, AFailedLoadKeepsSaveRefused) {
    FCTextExpressionDef def;
    EXPECT_FALSE(def.Load(9));
    def.SetRehearsalMarkStyle(3);  // grows a made block
    FCString description;
    description.SetCString("x");
    def.SetDescription(&description);
    EXPECT_FALSE(def.Save()) << "the key names no record";
    std::unique_ptr<__FCBaseData> clone(def.CreateClone());
    EXPECT_FALSE(clone->Save());
    EXPECT_EQ(host().Count("FX_SaveEData"), 0);

    ASSERT_TRUE(def.SaveNew());  // now it names one
    def.SetRehearsalMarkStyle(4);
    EXPECT_TRUE(def.Save());
    FCTextExpressionDef stored;
    ASSERT_TRUE(stored.Load(def.GetItemNo()));
    EXPECT_EQ(stored.GetRehearsalMarkStyle(), 4);
}

TEST_F(FCTextExpressionDefTest, TextComesThroughTheExpressionRawText) {
    PutRawText(doc(), TAG_EXPRESSION_RAW_TEXT, 2, "^fontTxt(Times,4096)rit.");
    PutRawText(doc(), TAG_RAW_TEXT, 2, "wrong kind");
    PutTextBlock(doc(), 6, 2, 0x7870);
    PutTextExpressionDef(doc(), 1, 6, 0, "");
    FCTextExpressionDef def;
    ASSERT_TRUE(def.Load(1));
    EXPECT_EQ(Text(def.CreateTextString()), "^fontTxt(Times,4096)rit.");
}

TEST_F(FCTextExpressionDefTest, SaveNewTextBlockMakesRawTextAndBlock) {
    PutRawText(doc(), TAG_EXPRESSION_RAW_TEXT, 3, "old");
    PutTextBlock(doc(), 5, 3, 0x7870);
    FCTextExpressionDef def;
    def.SetTextBlockID(5);
    FCString text;
    text.SetCString("a tempo");
    ASSERT_TRUE(def.SaveNewTextBlock(&text));
    EXPECT_EQ(def.GetTextBlockID(), 6);
    const auto* block = doc().records.Find(RecordId{TAG_TEXT_BLOCK, 6, 0, 0});
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(FXRead<int16_t>(block->data(), 0x00), 4);
    EXPECT_EQ(FXRead<uint16_t>(block->data(), 0x18), 0x7870);
    EXPECT_EQ(FXRead<uint16_t>(block->data(), 0x0E), 0x1A08);
    EXPECT_EQ(FXRead<int16_t>(block->data(), 0x08), 100);
    EXPECT_EQ(Text(def.CreateTextString()), "a tempo");
}

TEST_F(FCTextExpressionDefTest, AFailedSaveOfTextLeavesTheDefinitionWhereItPointed) {
    FCTextExpressionDef def;
    def.SetTextBlockID(5);
    FCString text;
    text.SetCString("x");
    // The raw text is refused: no text block is made.
    host().refuseCreateEData = [](const RecordId& id) { return id.tag == TAG_EXPRESSION_RAW_TEXT; };
    EXPECT_FALSE(def.SaveNewTextBlock(&text));
    EXPECT_EQ(def.GetTextBlockID(), 5);
    EXPECT_EQ(host().Count("FX_CreateEData"), 1);

    // The raw text is stored, the text block refused: the raw text stays in the document.
    host().refuseCreateEData = [](const RecordId& id) { return id.tag == TAG_TEXT_BLOCK; };
    EXPECT_FALSE(def.SaveNewTextBlock(&text));
    EXPECT_EQ(def.GetTextBlockID(), 5);
    EXPECT_EQ(doc().records.All(TAG_EXPRESSION_RAW_TEXT).size(), 1u);
    EXPECT_TRUE(doc().records.All(TAG_TEXT_BLOCK).empty());
}

TEST_F(FCTextExpressionDefTest, DescriptionGrowsTheRecord) {
    PutTextExpressionDef(doc(), 1, 9, 3, "");
    FCTextExpressionDef def;
    ASSERT_TRUE(def.Load(1));
    FCCategoryDef category;
    category.SetID(2);
    for (int i = 1; i <= 6; ++i) category.SetValue(i, static_cast<uint16_t>(0x1100 * i));
    def.AssignToCategory(&category);
    const std::vector<uint8_t> before(Bytes(def), Bytes(def) + 34);

    FCString description;
    description.SetCString("0123456789");
    def.SetDescription(&description);
    ASSERT_EQ(def.GetDataSize(), 46);
    EXPECT_EQ(std::vector<uint8_t>(Bytes(def), Bytes(def) + 34), before);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(Bytes(def)) + 34), "0123456789");
    FCString back;
    def.GetDescription(&back);
    EXPECT_STREQ(back.GetCString(), "0123456789");

    ASSERT_TRUE(def.Save());
    EXPECT_EQ(doc().records.Find(RecordId{TAG_TEXT_EXPRESSION_DEF, 1, 0, 0})->size(), 46u);
}

TEST_F(FCTextExpressionDefTest, ShortRecordsKeepWhatTheyHave) {
    // A host record shorter than the fixed part.
    doc().records.Put(RecordId{TAG_TEXT_EXPRESSION_DEF, 1, 0, 0}, {0x07, 0x00, 0x05, 0x00, 0xAA});
    FCTextExpressionDef def;
    ASSERT_TRUE(def.Load(1));
    EXPECT_EQ(def.GetDataSize(), 5);
    EXPECT_EQ(def.GetTextBlockID(), 7);
    EXPECT_EQ(def.GetCategoryID(), 0);  // beyond the record: 0, never read past it
    FCString description;
    description.SetCString("x");
    def.GetDescription(&description);
    EXPECT_STREQ(description.GetCString(), "");

    description.SetCString("abc");
    def.SetDescription(&description);
    ASSERT_EQ(def.GetDataSize(), 39);
    const std::vector<uint8_t> expected = {0x07, 0x00, 0x05, 0x00, 0xAA};
    EXPECT_EQ(std::vector<uint8_t>(Bytes(def), Bytes(def) + 5), expected);
    for (int i = 5; i < 34; ++i) EXPECT_EQ(Bytes(def)[i], 0) << i;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(Bytes(def)) + 34), "abc");

    FCTextExpressionDef tiny;
    doc().records.Put(RecordId{TAG_TEXT_EXPRESSION_DEF, 2, 0, 0}, {0x01});
    ASSERT_TRUE(tiny.Load(2));
    tiny.SetRehearsalMarkStyle(4);  // grows to a made block first
    EXPECT_EQ(tiny.GetDataSize(), 36);
    EXPECT_EQ(Bytes(tiny)[0], 0x01);
    EXPECT_EQ(tiny.GetRehearsalMarkStyle(), 4);
}

TEST_F(FCTextExpressionDefTest, AssignToCategory) {
    FCTextExpressionDef def;
    FXWrite<uint16_t>(def.GetDataBuffer(), 0x1A, 0xC123);
    FCCategoryDef category;
    for (int i = 1; i <= 6; ++i) category.SetValue(i, static_cast<uint16_t>(i));
    category.SetID(0);
    EXPECT_FALSE(def.AssignToCategory(&category));
    category.SetID(-3);
    EXPECT_FALSE(def.AssignToCategory(&category));
    EXPECT_EQ(FXRead<uint16_t>(Bytes(def), 0x0E), 0);  // nothing changed

    category.SetID(0x4005);
    ASSERT_TRUE(def.AssignToCategory(&category));
    EXPECT_EQ(FXRead<uint16_t>(Bytes(def), 0x1A), 0xC005);  // bits 14-15 kept
    EXPECT_EQ(def.GetCategoryID(), 5);
    EXPECT_EQ(FXRead<uint16_t>(Bytes(def), 0x0E), 1);
    EXPECT_EQ(FXRead<uint16_t>(Bytes(def), 0x0C), 2);
    EXPECT_EQ(FXRead<uint16_t>(Bytes(def), 0x10), 3);
    EXPECT_EQ(FXRead<uint16_t>(Bytes(def), 0x18), 4);
    EXPECT_EQ(FXRead<uint16_t>(Bytes(def), 0x20), 5);
    EXPECT_EQ(FXRead<uint16_t>(Bytes(def), 0x1E), 6);
    EXPECT_FALSE(def.AssignToCategory(nullptr));
}

TEST_F(FCTextExpressionDefTest, RehearsalMarksInLetterStyles) {
    const int marks[] = {1, 2, 26, 27, 28, 52, 53, 79, 104};
    const char* const style1[] = {"A", "B", "Z", "AA", "BB", "ZZ", "AAA", "AAAA", "ZZZZ"};
    const char* const style2[] = {"A", "B", "Z", "A1", "B1", "Z1", "A2", "A3", "Z3"};
    const char* const style3[] = {"a", "b", "z", "aa", "bb", "zz", "aaa", "aaaa", "zzzz"};
    const char* const style4[] = {"a", "b", "z", "a1", "b1", "z1", "a2", "a3", "z3"};
    for (size_t i = 0; i < sizeof marks / sizeof marks[0]; ++i) {
        SCOPED_TRACE(marks[i]);
        EXPECT_EQ(Mark(1, marks[i]), style1[i]);
        EXPECT_EQ(Mark(2, marks[i]), style2[i]);
        EXPECT_EQ(Mark(3, marks[i]), style3[i]);
        EXPECT_EQ(Mark(4, marks[i]), style4[i]);
        EXPECT_EQ(Mark(5, marks[i]), std::to_string(marks[i]));
    }
}

TEST_F(FCTextExpressionDefTest, RehearsalMarksRefuseWhatHasNoMark) {
    for (int style : {0, 7, -1, 0x7FFF}) EXPECT_EQ(Mark(style, 3), "<false>before") << style;
    for (int style = 1; style <= 6; ++style) {
        EXPECT_EQ(Mark(style, 0), "<false>before") << style;
        EXPECT_EQ(Mark(style, -27), "<false>before") << style;
    }
}

TEST_F(FCTextExpressionDefTest, RehearsalMarksByMeasureNumber) {
    MeasureNumberRegionFields decimal;
    decimal.endMeasure = 20;
    PutMeasureNumberRegion(doc(), 1, decimal);
    MeasureNumberRegionFields letters;
    letters.startMeasure = 21;
    letters.endMeasure = 80;
    letters.startChar = 'a';
    letters.base = 26;
    letters.doubleUp = true;
    letters.prefix = "never";
    PutMeasureNumberRegion(doc(), 2, letters);
    EXPECT_EQ(Mark(6, 12), "12");
    EXPECT_EQ(Mark(6, 21), "b");  // counts from one
    EXPECT_EQ(Mark(6, 46), "aa");
    EXPECT_EQ(Mark(6, 104), "104");  // in no region
}
