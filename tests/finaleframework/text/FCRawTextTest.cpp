// Raw text records of any length and the text blocks that point to them.
#include <memory>
#include <string>

#include "FCRawText.h"
#include "FCString.h"
#include "FCTextBlock.h"
#include "HostTest.h"
#include "RecordBuilders.h"
#include "finalepdk.h"

using namespace plovikhost;

namespace {
std::string Text(FCString* s) {
    std::unique_ptr<FCString> owned(s);
    return owned->GetCString();
}
std::string Stored(Document& doc, uint32_t tag, uint16_t number) {
    const auto* bytes = doc.records.Find(RecordId{tag, number, 0, 0});
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<none>";
}
}  // namespace

class FCRawTextTest : public HostTest {};

TEST_F(FCRawTextTest, LoadsTextOfItsOwnSize) {
    PutRawText(doc(), TAG_RAW_TEXT, 2, "^font(Arial,4096)Violin");
    FCRawText raw;
    ASSERT_TRUE(raw.Load(2));
    EXPECT_EQ(raw.GetDataSize(), 24);
    EXPECT_EQ(Text(raw.CreateString()), "^font(Arial,4096)Violin");

    PutRawText(doc(), TAG_RAW_TEXT, 3, "Vla");
    ASSERT_TRUE(raw.Load(3));  // the first block is freed, a smaller one taken
    EXPECT_EQ(raw.GetDataSize(), 4);
    EXPECT_EQ(Text(raw.CreateString()), "Vla");

    EXPECT_FALSE(raw.Load(9));
    EXPECT_EQ(raw.GetDataSize(), 0);
    EXPECT_EQ(Text(raw.CreateString()), "");  // a failed load gives an empty string
}

TEST_F(FCRawTextTest, TextWithoutItsZeroIsReadOnlyAsFarAsDelivered) {
    doc().records.Put(RecordId{TAG_RAW_TEXT, 1, 0, 0}, {'a', 'b', 'c'});
    FCRawText raw;
    ASSERT_TRUE(raw.Load(1));
    EXPECT_EQ(raw.GetDataSize(), 3);
    EXPECT_EQ(Text(raw.CreateString()), "abc");  // the asan build sees any read beyond
}

TEST_F(FCRawTextTest, CustomTagChoosesTheKindOfText) {
    PutRawText(doc(), TAG_RAW_TEXT, 1, "block text");
    PutRawText(doc(), TAG_EXPRESSION_RAW_TEXT, 1, "expression text");
    FCRawText raw;
    EXPECT_EQ(raw.Tag(), 0x7478626Cu);
    ASSERT_TRUE(raw.Load(1));
    EXPECT_EQ(Text(raw.CreateString()), "block text");

    raw.SetCustomTag(FCRawText::TAG_EXPRESSION);
    EXPECT_EQ(raw.Tag(), 0x74787870u);
    ASSERT_TRUE(raw.Load(1));
    EXPECT_EQ(Text(raw.CreateString()), "expression text");
    FCString changed;
    changed.SetCString("changed");
    raw.SetText(&changed);
    ASSERT_TRUE(raw.SaveAs(1));
    EXPECT_EQ(host().LastCall("FX_SaveEData")->args[0], 0x74787870);
    EXPECT_EQ(Stored(doc(), TAG_EXPRESSION_RAW_TEXT, 1), std::string("changed\0", 8));
    EXPECT_EQ(Stored(doc(), TAG_RAW_TEXT, 1), std::string("block text\0", 11));
}

TEST_F(FCRawTextTest, SaveNewNeedsTextAndTakesTheHostsNumber) {
    FCRawText raw;
    EXPECT_FALSE(raw.SaveNew());  // never given text
    EXPECT_EQ(host().Count("FX_CreateEData"), 0);

    PutRawText(doc(), TAG_RAW_TEXT, 5, "five");
    FCString empty;
    raw.SetText(&empty);
    EXPECT_EQ(raw.GetDataSize(), 1);  // the zero alone
    ASSERT_TRUE(raw.SaveNew());
    EXPECT_EQ(raw.GetItemNo(), 6);
    EXPECT_EQ(Stored(doc(), TAG_RAW_TEXT, 6), std::string("\0", 1));

    FCString text;
    text.SetCString("Flute");
    raw.SetText(&text);
    EXPECT_EQ(raw.GetDataSize(), 6);
    ASSERT_TRUE(raw.SaveNew());
    EXPECT_EQ(raw.GetItemNo(), 7);
    EXPECT_EQ(Stored(doc(), TAG_RAW_TEXT, 7), std::string("Flute\0", 6));
}

TEST_F(FCRawTextTest, LoadFirstStepsFromNumberZero) {
    PutRawText(doc(), TAG_RAW_TEXT, 4, "four");
    PutRawText(doc(), TAG_RAW_TEXT, 8, "eight");
    FCRawText raw;
    ASSERT_TRUE(raw.LoadFirst());
    EXPECT_EQ(raw.GetItemNo(), 4);
    ASSERT_TRUE(raw.LoadNext());
    EXPECT_EQ(Text(raw.CreateString()), "eight");
    EXPECT_FALSE(raw.LoadNext());
    EXPECT_EQ(raw.CreateClone(), nullptr);  // raw texts are not cloned
}

TEST_F(FCRawTextTest, TextBlockDefaultRecordAndCreation) {
    FCTextBlock block;
    const auto* record = static_cast<const uint8_t*>(block.GetDataBuffer());
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(block.GetDataSize(), 26);
    EXPECT_EQ(FXRead<uint16_t>(record, 0x0E), 0x1A08);
    EXPECT_EQ(FXRead<int16_t>(record, 0x08), 100);
    EXPECT_EQ(FXRead<int16_t>(record, 0x00), 0);

    block.SetRawTextNumber(3);
    block.SetRawTextKind(0x7870);
    ASSERT_TRUE(block.SaveNew());
    const auto* stored = doc().records.Find(RecordId{TAG_TEXT_BLOCK, block.GetItemNo(), 0, 0});
    ASSERT_NE(stored, nullptr);
    ASSERT_EQ(stored->size(), 26u);
    EXPECT_EQ(FXRead<uint16_t>(stored->data(), 0x18), 0x7870);
    EXPECT_EQ(FXRead<int16_t>(stored->data(), 0x00), 3);

    std::unique_ptr<__FCBaseData> clone(block.CreateClone());
    auto* copy = dynamic_cast<FCTextBlock*>(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetRawTextNumber(), 3);
    EXPECT_NE(copy->GetDataBuffer(), block.GetDataBuffer());
}

TEST_F(FCRawTextTest, TextBlockReadsItsRawTextOfTheBlockKind) {
    PutRawText(doc(), TAG_RAW_TEXT, 0, "number zero");
    PutRawText(doc(), TAG_RAW_TEXT, 2, "Oboe");
    PutRawText(doc(), TAG_EXPRESSION_RAW_TEXT, 2, "not this");
    PutTextBlock(doc(), 1, 2, 0x7870);  // the kind word is not consulted
    FCTextBlock block;
    ASSERT_TRUE(block.Load(1));
    EXPECT_EQ(Text(block.CreateRawTextString()), "Oboe");

    FCTextBlock fresh;
    EXPECT_EQ(Text(fresh.CreateRawTextString()), "number zero");
}
