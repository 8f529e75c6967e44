#include "RecordBuilders.h"

#include <algorithm>
#include <cstring>

#include "finalepdk.h"

namespace plovikhost {

namespace {

template <typename Record>
std::vector<uint8_t> BytesOf(const Record& record) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&record);
    return std::vector<uint8_t>(p, p + sizeof record);
}

// Copies the text into a field, cut so that its zero fits.
template <size_t N>
void PutText(char (&field)[N], const std::string& text) {
    const size_t n = std::min(text.size(), N - 1);
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

template <typename Region>
std::vector<uint8_t> RegionBytes(const MeasureNumberRegionFields& f) {
    Region r{};
    r.startMeasure = f.startMeasure;
    r.endMeasurePlusOne = static_cast<uint16_t>(f.endMeasure + 1);
    r.startChar = f.startChar;
    r.base = f.base;
    r.startNumberMinusOne = static_cast<uint16_t>(f.startNumber - 1);
    PutText(r.prefix, f.prefix);
    PutText(r.suffix, f.suffix);
    r.flags = static_cast<uint8_t>((f.doubleUp ? MNR_FLAG_DOUBLE_UP : 0) |
                                   (f.countFromOne ? MNR_FLAG_COUNT_FROM_ONE : 0));
    return BytesOf(r);
}

EDTStaffSpec StaffSpec(uint16_t transposition, uint16_t fullNameBlock) {
    EDTStaffSpec spec{};
    spec.transposition = transposition;
    spec.fullName = fullNameBlock;
    return spec;
}

}  // namespace

void PutRawText(Document& doc, uint32_t tag, uint16_t number, const std::string& text) {
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    doc.records.Put(RecordId{tag, number, 0, 0}, std::move(bytes));
}

void PutTextBlock(Document& doc, uint16_t number, int16_t rawText, uint16_t rawTextKind) {
    EDTTextBlock2004 block{};
    block.rawText = rawText;
    block.value8 = 100;
    block.flags = 0x1A08;
    block.rawTextKind = rawTextKind;
    doc.records.Put(RecordId{TAG_TEXT_BLOCK, number, 0, 0}, BytesOf(block));
}

void PutStaff(Document& doc, uint16_t staff, uint16_t transposition, uint16_t fullNameBlock) {
    doc.records.Put(RecordId{TAG_STAFF, staff, 0, 0},
                    BytesOf(StaffSpec(transposition, fullNameBlock)));
}

void PutStaffSpecFrom(Document& doc, uint16_t staff, int16_t measure, int32_t position,
                      uint16_t transposition, uint16_t fullNameBlock) {
    doc.records.Put(RecordId{TAG_STAFF_AT_POINT, staff, measure, position},
                    BytesOf(StaffSpec(transposition, fullNameBlock)));
}

void PutMeasureKey(Document& doc, int16_t measure, uint16_t key) {
    const RecordId id{TAG_MEASURE, measure, 0, 0};
    const RecordStore::Bytes* stored = doc.records.Find(id);
    RecordStore::Bytes record = stored ? *stored : RecordStore::Bytes(26, 0);
    record.resize(26);
    FXWrite<uint16_t>(record.data(), 2, key);
    doc.records.Put(id, std::move(record));
}

void PutClefDef(Document& doc, int16_t number, int16_t offset) {
    RecordStore::Bytes record(18, 0);
    FXWrite<int16_t>(record.data(), 0, offset);
    doc.records.Put(RecordId{TAG_CLEF_DEF, number, 0, 0}, std::move(record));
}

void PutMeasureNumberRegion(Document& doc, uint16_t number, const MeasureNumberRegionFields& f,
                            bool newLayout) {
    doc.records.Put(
        RecordId{TAG_MEASURE_NUMBER_REGION, number, 0, 0},
        newLayout ? RegionBytes<EDTMeasNumberRegion2014>(f) : RegionBytes<EDTMeasNumberRegion>(f));
}

void PutTextExpressionDef(Document& doc, uint16_t number, uint16_t textBlock, int16_t style,
                          const std::string& description) {
    EDTTextExpressionDef def{};
    def.textBlock = textBlock;
    def.rehearsalMarkStyle = style;
    std::vector<uint8_t> bytes = BytesOf(def);
    bytes.insert(bytes.end(), description.begin(), description.end());
    bytes.push_back(0);
    doc.records.Put(RecordId{TAG_TEXT_EXPRESSION_DEF, number, 0, 0}, std::move(bytes));
}

namespace {
// The next free incidence of a record's owner: what the host gives when it appends.
int32_t NextIncidence(const Document& doc, RecordId id, int32_t RecordId::*incidence) {
    for (id.*incidence = 0; doc.records.Find(id); ++(id.*incidence)) {
    }
    return id.*incidence;
}
}  // namespace

void PutArticulation(Document& doc, uint32_t entryNumber, int16_t incidence, uint16_t definition) {
    EDTArticulation articulation{};
    articulation.definition = definition;
    doc.records.Put(RecordId{TAG_ARTICULATION, static_cast<int32_t>(entryNumber), incidence, 0},
                    BytesOf(articulation));
}

void PutTuplet(Document& doc, uint32_t entryNumber, int16_t incidence, uint16_t optionFlags,
               uint16_t secondFlags) {
    EDTTuplet2005 tuplet{};
    FXWrite<uint16_t>(tuplet.bytes, TUPLET_OPTION_FLAGS, optionFlags);
    FXWrite<uint16_t>(tuplet.bytes, TUPLET_SECOND_FLAGS, secondFlags);
    doc.records.Put(RecordId{TAG_TUPLET, static_cast<int32_t>(entryNumber), incidence, 0},
                    BytesOf(tuplet));
}

void PutExpression(Document& doc, int16_t measure, const ExpressionFields& f) {
    EDTExpression expression{};
    expression.definition = f.definition;
    expression.staff = f.staff;
    expression.staffList = f.staffList;
    expression.positionLow = static_cast<int16_t>(static_cast<uint16_t>(f.position & 0xFFFF));
    expression.positionHigh =
        static_cast<int16_t>((int64_t{f.position} - expression.positionLow) / 65536);
    expression.flags = f.shape ? EXPRESSION_FLAG_SHAPE : 0;
    RecordId id{TAG_EXPRESSION, static_cast<uint16_t>(measure), 0, 0};
    id.b = NextIncidence(doc, id, &RecordId::b);
    doc.records.Put(id, BytesOf(expression));
}

void PutStaffList(Document& doc, uint32_t tag, uint16_t list, const std::vector<int16_t>& staves) {
    for (size_t i = 0; i < staves.size(); ++i) {
        EDTStaffListElement element{};
        element.staff = staves[i];
        doc.records.Put(RecordId{tag, list, static_cast<int32_t>(i), 0}, BytesOf(element));
    }
}

void PutMidiExpression(Document& doc, int16_t staff, int16_t measure, int32_t position) {
    EDTMidiExpression midi{};
    midi.position = position;
    RecordId id{TAG_MIDI_EXPRESSION, static_cast<uint16_t>(staff), static_cast<uint16_t>(measure),
                0};
    id.c = NextIncidence(doc, id, &RecordId::c);
    doc.records.Put(id, BytesOf(midi));
}

}  // namespace plovikhost
