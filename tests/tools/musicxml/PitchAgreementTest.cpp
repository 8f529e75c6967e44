// The pitches the reader stores are the framework's to spell back: FCNote's letter, alteration
// and written pitch of every imported note match the file, in every key a score can have.
#include <gtest/gtest.h>

#include <memory>

#include "FCKeySignature.h"
#include "FCMeasure.h"
#include "FCNote.h"
#include "FCNoteEntryLayer.h"
#include "MusicXmlTest.h"

namespace {

class MusicXmlPitchAgreementTest : public MusicXmlTest {};

TEST_F(MusicXmlPitchAgreementTest, TheFrameworkSpellsImportedNotesAsTheFileDoes) {
    MusicXmlText text;
    text.Part("P1", "Viola");
    int measures = 0;
    for (int fifths = -7; fifths <= 7; ++fifths) {
        for (const char* mode : {"major", "minor"}) {
            text.Measure("Cb3 C#4 Dbb4 E5 F#5 Gb4 A##2 B4",
                         "<key><fifths>" + std::to_string(fifths) + "</fifths><mode>" + mode +
                             "</mode></key><time><beats>8</beats><beat-type>4</beat-type></time>");
            ++measures;
        }
    }
    Read(text.Str());
    FCNoteEntryLayer layer(0, 1, 1, static_cast<int16_t>(measures));
    ASSERT_TRUE(layer.Load());
    const auto& imported = score.Imported().entries;
    ASSERT_EQ(layer.GetCount(), static_cast<int>(imported.size()));
    for (int i = 0; i < layer.GetCount(); ++i) {
        const plovikxml::ImportedScore::Note& expected =
            imported[static_cast<size_t>(i)].notes.at(0);
        FCNote* note = layer.GetItemAt(i)->GetItemAt(0);
        ASSERT_NE(note, nullptr);
        EXPECT_EQ(note->CalcPitchChar(), "CDEFGAB"[expected.step])
            << expected.Name() << " in measure " << layer.GetItemAt(i)->GetMeasure();
        EXPECT_EQ(note->CalcPitchRaiseLower(), expected.alter.Numerator())
            << expected.Name() << " in measure " << layer.GetItemAt(i)->GetMeasure();
        FCMeasure measure;
        ASSERT_TRUE(measure.Load(static_cast<uint16_t>(layer.GetItemAt(i)->GetMeasure())));
        const FCNote::WrittenPitch written = note->CalcWrittenPitch(*measure.GetKeySignature());
        EXPECT_EQ(written.step, 7 * (expected.octave - 4) + expected.step) << expected.Name();
        EXPECT_EQ(written.alteration, expected.alter.Numerator()) << expected.Name();
    }
}

}  // namespace
