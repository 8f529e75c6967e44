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

// An entry as the framework's cleaning leaves it before the host stores it: note IDs made
// unique and copied into the note flags, unused note records cleared, a rest given its note
// record (written from the rules, not from the framework's code).
void CleanEntry(EXENTRY& entry);

}  // namespace plovikhost
