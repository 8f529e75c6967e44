// Expressions in measures, the staff lists that show them on more staves, and MIDI expressions
// of cells.
#include <memory>
#include <vector>

#include "FCCell.h"
#include "FCExpression.h"
#include "FCMidiExpression.h"
#include "FCStaffListElement.h"
#include "FCTextExpressionDef.h"
#include "RecordBuilders.h"
#include "ScoreTest.h"
#include "finalepdk.h"

using namespace plovikhost;

namespace {

constexpr uint32_t kMeasureTag = 0x534F4D53;

class FCExpressionTest : public ScoreTest {
  protected:
    void SetUp() override {
        ScoreTest::SetUp();
        Score().Staves({1, 3, 5}).Measures(2);
    }
    // The first expression of measure 1, loaded.
    FCExpression& First() {
        EXPECT_TRUE(expression.Load(1, 0));
        return expression;
    }
    uint16_t MeasureFlags(int measure) {
        return FXRead<uint16_t>(doc().records.Find(RecordId{kMeasureTag, measure, 0, 0})->data(),
                                10);
    }
    const EDTExpression* StoredExpression(int measure, int incidence) {
        const auto* bytes = doc().records.Find(RecordId{TAG_EXPRESSION, measure, incidence, 0});
        return bytes ? reinterpret_cast<const EDTExpression*>(bytes->data()) : nullptr;
    }
    // The definitions of the collection's expressions, in order.
    static std::vector<int> Definitions(const FCExpressions& all) {
        std::vector<int> ids;
        for (int i = 0; i < all.GetCount(); ++i) ids.push_back(all.GetItemAt(i)->GetID());
        return ids;
    }

    FCExpression expression;
};

}  // namespace

TEST_F(FCExpressionTest, RecordsAndTheirFamilies) {
    EXPECT_STREQ(expression.ClassName(), "FCExpression");
    EXPECT_EQ(expression.Tag(), 0x534F4459u);
    EXPECT_EQ(expression.GetDataSize(), 24) << "a new one is ready to be saved";
    std::unique_ptr<__FCBaseData> made(expression.CreateObject());
    EXPECT_EQ(made->GetDataSize(), 24);
    EXPECT_EQ(made->GetDataBuffer(), made->Allocate());
    EXPECT_FALSE(expression.LoadFirst()) << "no first expression without a measure";

    FCStaffListElement element;
    EXPECT_STREQ(element.ClassName(), "FCStaffListElement");
    EXPECT_EQ(element.Tag(), 0x6F744443u);
    EXPECT_EQ(element.GetDataBuffer(), nullptr);
    element.SetCustomTag(0x6F746463);
    EXPECT_EQ(element.Tag(), 0x6F746463u);

    FCMidiExpression midi;
    EXPECT_STREQ(midi.ClassName(), "FCMidiExpression");
    EXPECT_EQ(midi.Tag(), 0x64744D45u);
    EXPECT_EQ(midi.GetDataBuffer(), nullptr);

    FCExpressions expressions;
    FCStaffListElements list;
    EXPECT_STREQ(expressions.ClassName(), "FCExpressions");
    EXPECT_STREQ(list.ClassName(), "FCStaffListElements");
}

TEST_F(FCExpressionTest, PositionFromTwoSignedHalves) {
    for (int32_t position : {0, 1024, -1, 70000, -70000, INT32_MIN, 0x7FFF7FFF}) {
        expression.SetMeasurePos(position);
        EXPECT_EQ(expression.GetMeasurePos(), position);
    }
    expression.SetMeasurePos(INT32_MAX);
    EXPECT_EQ(expression.GetMeasurePos(), 0x7FFF7FFF) << "the highest the halves can hold";

    ExpressionFields f;
    f.position = -5000;
    PutExpression(doc(), 1, f);
    EXPECT_EQ(First().GetMeasurePos(), -5000);
    // Both halves at their lowest: below any 32-bit value, so the lowest one is answered.
    std::vector<uint8_t> bytes(24, 0);
    FXWrite<int16_t>(bytes.data(), 2, INT16_MIN);
    FXWrite<int16_t>(bytes.data(), 16, INT16_MIN);
    doc().records.Put(RecordId{TAG_EXPRESSION, 1, 0, 0}, bytes);
    EXPECT_EQ(First().GetMeasurePos(), INT32_MIN);
}

TEST_F(FCExpressionTest, VisibleThroughEachKindOfStaffList) {
    ExpressionFields f;
    f.staff = 5;
    f.staffList = 4;
    PutExpression(doc(), 1, f);
    PutStaffList(doc(), TAG_STAFF_LIST_DC, 4, {3, 5});
    PutStaffList(doc(), TAG_STAFF_LIST_dc, 4, {5});
    PutStaffList(doc(), TAG_STAFF_LIST_IO, 4, {1, 3});
    PutStaffList(doc(), TAG_STAFF_LIST_io, 7, {3});
    FCExpression& e = First();

    host().ClearCalls();
    EXPECT_TRUE(e.IsVisibleOnStaff(5, FCStaffListElement::STAFFLIST_NONE)) << "its own staff";
    EXPECT_FALSE(e.IsVisibleOnStaff(3, FCStaffListElement::STAFFLIST_NONE)) << "lists ignored";
    EXPECT_EQ(host().Count("FX_LoadEData"), 0);

    EXPECT_TRUE(e.IsVisibleOnStaff(3, FCStaffListElement::STAFFLIST_DC));
    EXPECT_EQ(static_cast<uint32_t>(host().LastCall("FX_LoadEData")->args[0]), 0x6F744443u);
    EXPECT_FALSE(e.IsVisibleOnStaff(3, FCStaffListElement::STAFFLIST_DC_SMALL));
    EXPECT_EQ(static_cast<uint32_t>(host().LastCall("FX_LoadEData")->args[0]), 0x6F746463u);
    EXPECT_TRUE(e.IsVisibleOnStaff(1, FCStaffListElement::STAFFLIST_IO));
    EXPECT_EQ(static_cast<uint32_t>(host().LastCall("FX_LoadEData")->args[0]), 0x6F74494Fu);
    EXPECT_FALSE(e.IsVisibleOnStaff(3, FCStaffListElement::STAFFLIST_IO_SMALL)) << "list 7 only";
    EXPECT_EQ(static_cast<uint32_t>(host().LastCall("FX_LoadEData")->args[0]), 0x6F74696Fu);
    EXPECT_EQ(host().LastCall("FX_LoadEData")->text, "4,0,0");
    // Any other mode: the element's own tag.
    EXPECT_TRUE(e.IsVisibleOnStaff(3, static_cast<FCStaffListElement::STAFFLIST_MODES>(9)));
    EXPECT_EQ(static_cast<uint32_t>(host().LastCall("FX_LoadEData")->args[0]), 0x6F744443u);
}

TEST_F(FCExpressionTest, ListNumberZeroNeverLoadsAList) {
    ExpressionFields f;
    f.staff = 5;
    PutExpression(doc(), 1, f);
    PutStaffList(doc(), TAG_STAFF_LIST_DC, 0, {3});
    FCExpression& e = First();
    host().ClearCalls();
    EXPECT_FALSE(e.IsVisibleOnStaff(3, FCStaffListElement::STAFFLIST_DC));
    EXPECT_EQ(host().Count("FX_LoadEData"), 0);
}

TEST_F(FCExpressionTest, LoadAllInCellKeepsWhatTheStaffShows) {
    ExpressionFields f;
    f.definition = 1;
    f.staff = 3;
    PutExpression(doc(), 1, f);
    f.definition = 2;
    f.staff = 5;
    f.staffList = 4;  // list holds 3 and 5
    PutExpression(doc(), 1, f);
    f.definition = 3;
    f.staff = 1;
    f.staffList = 0;
    PutExpression(doc(), 1, f);
    f.definition = 4;
    f.staff = 5;
    f.staffList = 6;  // list holds 1
    PutExpression(doc(), 1, f);
    f.definition = 5;
    f.staff = 3;
    f.staffList = 0;
    PutExpression(doc(), 2, f);
    PutStaffList(doc(), TAG_STAFF_LIST_DC, 4, {3, 5});
    PutStaffList(doc(), TAG_STAFF_LIST_DC, 6, {1});

    FCExpressions all;
    FCCell staff3(1, 3), staff1(1, 1);
    all.LoadAllInCell(&staff3, FCStaffListElement::STAFFLIST_NONE);
    EXPECT_EQ(Definitions(all), (std::vector<int>{1}));
    all.LoadAllInCell(&staff3, FCStaffListElement::STAFFLIST_DC);
    EXPECT_EQ(Definitions(all), (std::vector<int>{1, 2}));
    EXPECT_EQ(all.GetItemAt(1)->GetMeasure(), 1);
    EXPECT_EQ(all.GetItemAt(1)->GetStaff(), 5);
    all.LoadAllInCell(&staff1, FCStaffListElement::STAFFLIST_DC);
    EXPECT_EQ(Definitions(all), (std::vector<int>{3, 4}));
    all.LoadAllInCell(&staff1, FCStaffListElement::STAFFLIST_DC_SMALL);
    EXPECT_EQ(Definitions(all), (std::vector<int>{3}));

    FCCell nowhere(0, 3);
    all.LoadAllInCell(&nowhere, FCStaffListElement::STAFFLIST_NONE);
    EXPECT_EQ(all.GetCount(), 0);
    all.LoadAllForItem(1);
    all.LoadAllInCell(nullptr, FCStaffListElement::STAFFLIST_NONE);
    EXPECT_EQ(all.GetCount(), 0);
}

TEST_F(FCExpressionTest, SaveNewToCellAttachesItToTheCellsStaffAlone) {
    ExpressionFields f;
    PutExpression(doc(), 2, f);
    expression.SetID(8);
    expression.SetStaff(1);
    expression.SetStaffListID(4);
    FCCell cell(2, 5);
    ASSERT_TRUE(expression.SaveNewToCell(&cell));
    EXPECT_EQ(expression.GetMeasure(), 2);
    const EDTExpression* stored = StoredExpression(2, 1);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(Copy(stored->definition), 8);
    EXPECT_EQ(Copy(stored->staff), 5);
    EXPECT_EQ(Copy(stored->staffList), 0);
    EXPECT_EQ(MeasureFlags(2) & 0x4000, 0x4000);
    EXPECT_EQ(MeasureFlags(1) & 0x4000, 0);
}

TEST_F(FCExpressionTest, SaveNewToCellRefusesAMissingMeasure) {
    expression.SetStaff(1);
    FCCell missing(9, 5), zero(0, 5);
    host().ClearCalls();
    EXPECT_FALSE(expression.SaveNewToCell(&missing));
    EXPECT_FALSE(expression.SaveNewToCell(&zero));
    EXPECT_FALSE(expression.SaveNewToCell(nullptr));
    EXPECT_EQ(host().Count("FX_CreateEData"), 0);
    EXPECT_EQ(host().Count("FX_SaveEData"), 0);
    EXPECT_EQ(expression.GetStaff(), 1) << "nothing changed";
}

TEST_F(FCExpressionTest, AMeasureIsMarkedOnlyWhenItsExpressionIsStored) {
    host().Hide("FX_CreateEData");
    Relookup();
    FCCell cell(1, 3);
    EXPECT_FALSE(expression.SaveNewToCell(&cell));
    EXPECT_EQ(MeasureFlags(1) & 0x4000, 0);
}

TEST_F(FCExpressionTest, AFreshExpressionIsSavedWithoutALoad) {
    FCExpression fresh;
    fresh.SetID(3);
    fresh.SetStaff(3);
    ASSERT_TRUE(fresh.SaveNew(2));
    ASSERT_TRUE(fresh.SaveNew(2));
    const EDTExpression* second = StoredExpression(2, 1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(Copy(second->definition), 3);
    std::unique_ptr<__FCBaseData> made(fresh.CreateObject());
    EXPECT_TRUE(static_cast<FCExpression*>(made.get())->SaveNew(1));
    EXPECT_EQ(doc().records.Find(RecordId{TAG_EXPRESSION, 1, 0, 0})->size(), 24u);
}

TEST_F(FCExpressionTest, TextExpressionDefinitions) {
    PutTextExpressionDef(doc(), 6, 0, 5, "tempo");
    ExpressionFields f;
    f.definition = 6;
    PutExpression(doc(), 1, f);
    f.definition = 7;
    PutExpression(doc(), 1, f);
    f.shape = true;
    PutExpression(doc(), 1, f);

    std::unique_ptr<FCTextExpressionDef> found(First().CreateTextExpressionDef());
    ASSERT_TRUE(found);
    EXPECT_GT(found->GetDataSize(), 0);
    EXPECT_EQ(found->GetRehearsalMarkStyle(), 5);
    ASSERT_TRUE(expression.Load(1, 1));
    std::unique_ptr<FCTextExpressionDef> missing(expression.CreateTextExpressionDef());
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->GetDataSize(), 0);
    ASSERT_TRUE(expression.Load(1, 2));
    host().ClearCalls();
    EXPECT_EQ(expression.CreateTextExpressionDef(), nullptr) << "a shape";
    EXPECT_EQ(host().Count("FX_LoadEData"), 0);

    FCTextExpressionDef unsaved;
    EXPECT_FALSE(expression.AssignTextExpressionDef(&unsaved));
    EXPECT_FALSE(expression.AssignTextExpressionDef(nullptr));
    EXPECT_TRUE(expression.IsShape());
    EXPECT_EQ(expression.GetID(), 7);
    EXPECT_TRUE(expression.AssignTextExpressionDef(found.get()));
    EXPECT_FALSE(expression.IsShape());
    EXPECT_EQ(expression.GetID(), 6);
    EXPECT_TRUE(StoredExpression(1, 2)->flags & EXPRESSION_FLAG_SHAPE) << "nothing saved";
}

TEST_F(FCExpressionTest, StaffListsUnderTheirCustomTag) {
    PutStaffList(doc(), TAG_STAFF_LIST_dc, 4, {3, 5});
    PutStaffList(doc(), TAG_STAFF_LIST_DC, 4, {1});
    FCStaffListElements list;
    list.SetCustomTag(0x6F746463);
    list.LoadAllForItem(4);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetItemAt(1)->GetStaff(), 5);
    EXPECT_TRUE(list.ContainsStaff(3));
    EXPECT_FALSE(list.ContainsStaff(1));

    // A new list of new elements, saved under another number of the same kind.
    FCStaffListElements fresh;
    fresh.SetCustomTag(0x6F746463);
    for (int16_t staff : {1, 5}) {
        FCStaffListElement* element = new FCStaffListElement;
        element->SetStaff(staff);
        fresh.Add(element);
    }
    ASSERT_TRUE(fresh.SaveAllForItem(9));
    list.LoadAllForItem(9);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetItemAt(0)->GetStaff(), 1);
    EXPECT_EQ(doc().records.Find(RecordId{TAG_STAFF_LIST_DC, 9, 0, 0}), nullptr);

    FCStaffListElements plain;  // custom tag 0: the element's own tag
    plain.LoadAllForItem(4);
    ASSERT_EQ(plain.GetCount(), 1);
    EXPECT_EQ(plain.GetItemAt(0)->GetStaff(), 1);
}

TEST_F(FCExpressionTest, MidiExpressionsOfACell) {
    PutMidiExpression(doc(), 3, 2, 512);
    PutMidiExpression(doc(), 3, 2, 1536);
    PutMidiExpression(doc(), 5, 2, 0);
    FCMidiExpression midi;
    EXPECT_FALSE(midi.LoadFirst()) << "no owning cell";
    FCCell cell(2, 3);
    midi.SetOwningCell(&cell);
    std::vector<int32_t> positions;
    if (midi.LoadFirst()) {
        do positions.push_back(midi.GetMeasurePos());
        while (midi.LoadNext());
    }
    EXPECT_EQ(positions, (std::vector<int32_t>{512, 1536}));
    std::unique_ptr<FCMidiExpression> clone(static_cast<FCMidiExpression*>(midi.CreateClone()));
    EXPECT_EQ(clone->GetOwningCell(), nullptr);
    EXPECT_EQ(clone->GetMeasurePos(), 1536);
}
