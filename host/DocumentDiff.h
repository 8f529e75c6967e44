// Comparing documents entry by entry, for the checks that run the plug-in on a document and look
// at what it left (the fuzz targets, plovik-validate): the first difference, in words.
#pragma once

#include <functional>
#include <set>
#include <string>

#include "Document.h"

namespace plovikhost {

// "staff 3 measure 2 layer 0".
std::string Where(const CellKey& key);

// The first field in which the entries differ ("note 1 flags 0x..., expected 0x..."), or "".
std::string EntryDifference(const EXENTRY& got, const EXENTRY& want);

// The cells either document has, in order.
std::set<CellKey> CellKeys(const Document& a, const Document& b);

// The first cell, among those the filter keeps, in which the two documents differ, or "".
std::string CellDifference(const Document& got, const Document& want,
                           const std::function<bool(const CellKey&)>& keep);

// An entry as the host expects it once the binding has cleaned it: the same entry with unique
// note IDs (of notes sharing one the last keeps it; the others and those without one take fresh
// IDs above the highest there was), each ID's low five bits in bits 16 to 20 of its note's flags,
// no note record beyond the count, and a rest given a note record. Written from that contract,
// apart from the binding's own code, so that the two can disagree.
void CleanEntry(EXENTRY& entry);

}  // namespace plovikhost
