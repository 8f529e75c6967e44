#include "FCKeySignature.h"

#include "FCString.h"

int FCKeySignature::CalcMode() const {
    if (_keyValue & 0xC000) return -1;
    return _keyValue >> 8;
}

int16_t FCKeySignature::CalcSharps() const {
    if (!IsStandard()) return -1;
    return static_cast<int16_t>(_Alteration() > 0 ? _Alteration() : 0);
}

int16_t FCKeySignature::CalcFlats() const {
    if (!IsStandard()) return -1;
    return static_cast<int16_t>(_Alteration() < 0 ? -_Alteration() : 0);
}

int FCKeySignature::CalcScaleRootIndex() const {
    if (!IsStandard()) return -1;
    static const int kMajor[8] = {2, 6, 3, 0, 4, 1, 5, 2};
    static const int kMinor[8] = {0, 4, 1, 5, 2, 6, 3, 0};
    const int flats = CalcFlats();
    const int index = flats != 0 ? 7 - flats % 7 : CalcSharps() % 7;
    return CalcMode() == 1 ? kMinor[index] : kMajor[index];
}

int FCKeySignature::CalcRootRelationIndex() const {
    if (!IsStandard()) return -1;
    const int sharps = CalcSharps();
    const int flats = CalcFlats();
    if (sharps > 0) return 4 * sharps % 7;
    if (flats > 0) return 7 - 4 * flats % 7;
    return 0;
}

int FCKeySignature::CalcRootRelationAbsoluteIndex() const {
    if (!IsStandard()) return -1;
    int index = CalcRootRelationIndex();
    // The minor tonic lies two steps below its relative major's.
    if (CalcMode() == 1) index -= 2;
    if (index < 0) index += 7;
    return index;
}

bool FCKeySignature::IsSharpNote(int letter) const {
    const int sharps = CalcSharps();
    if (sharps <= 0 || letter < 0 || letter > 6) return false;
    // Place in the order of sharps: F C G D A E B.
    int place = (2 * letter + 5) % 7;
    if (place == 0) place = 7;
    return sharps >= place;
}

bool FCKeySignature::IsFlatNote(int letter) const {
    const int flats = CalcFlats();
    if (flats <= 0 || letter < 0 || letter > 6) return false;
    // Place in the order of flats: B E A D G C F.
    int place = (2 * (6 - letter) + 5) % 7;
    if (place == 0) place = 7;
    return flats >= place;
}

int FCKeySignature::CalcLetterAlteration(int letter) const {
    if (!IsStandard() || letter < 0 || letter > 6) return 0;
    // The i-th sharp falls on letter (5 + 4i) mod 7, the i-th flat on (1 + 3i) mod 7: a letter
    // is reached first at the i that solves this (2 and 5 undo the 4 and the 3 mod 7), then
    // every seven accidentals.
    const int sharps = CalcSharps();
    const int count = sharps > 0 ? sharps : CalcFlats();
    const int first = sharps > 0 ? (2 * (letter + 2)) % 7 : (5 * (letter + 6)) % 7;
    const int times = count > first ? (count - 1 - first) / 7 + 1 : 0;
    return sharps > 0 ? times : -times;
}

bool FCKeySignature::IsIdentical(FCKeySignature* other) {
    if (!other) return false;
    const int mode = CalcMode();
    const int otherMode = other->CalcMode();
    if ((mode == 1) != (otherMode == 1)) return false;
    if ((mode == 0) != (otherMode == 0)) return false;
    return CalcScaleRootIndex() == other->CalcScaleRootIndex() &&
           CalcFlats() == other->CalcFlats() && CalcSharps() == other->CalcSharps();
}

void FCKeySignature::MakeString(FCString* out) const {
    if (!out) return;
    out->SetCString("");
    if (!IsStandard()) return;
    const int root = CalcScaleRootIndex();
    const bool minor = CalcMode() == 1;
    out->Append(static_cast<int16_t>((minor ? 'a' : 'A') + root));
    if (IsSharpNote(root)) out->Append(" sharp");
    if (IsFlatNote(root)) out->Append(" flat");
    out->Append(minor ? " minor" : " major");
}
