// The preference maps and the services that assemble preference records from other records and
// spread them back. The tables are constant: the work marks of a pass live in the pass itself.
#include "PreferenceMaps.h"

#include <cstring>
#include <iterator>
#include <vector>

#include "FXBinding.h"
#include "FXRecordAccess.h"

namespace {

using MapRow = PREFERENCE_LOCATION_MAPRECORD;

// Structure maps, one row per field in the order the fields are handled. Columns: mark, the
// other record's tag characters 3 and 4, item (0: PREFS_OTHER_ITEM), incidence, offset in the
// structure, word of the record, field size, conversion.
// clang-format off
constexpr PREFERENCE_LOCATION_MAPRECORD EDTPageFormatPrefsScore_MAP_ARRAY[] = {
    {0, '1', '4',  0, 0,   0, 0, 4, MAP_CONV_HIGH_LOW},
    {0, '1', '5',  0, 0,   4, 2, 4, MAP_CONV_HIGH_LOW},
    {0, '3', '9',  0, 0,   8, 2, 2, MAP_CONV_WORD},
    {0, '1', '6',  0, 0,  10, 0, 2, MAP_CONV_WORD},
    {0, '1', '6',  0, 0,  12, 1, 2, MAP_CONV_WORD},
    {0, '1', '6',  0, 0,  14, 2, 2, MAP_CONV_WORD},
    {0, '1', '6',  0, 0,  16, 3, 2, MAP_CONV_WORD},
    {0, '0', '2',  0, 0,  18, 0, 2, MAP_CONV_WORD},
    {0, '0', '2',  0, 0,  20, 1, 2, MAP_CONV_WORD},
    {0, '0', '2',  0, 0,  22, 2, 2, MAP_CONV_WORD},
    {0, '0', '2',  0, 0,  24, 3, 2, MAP_CONV_WORD},
    {0, '1', '7',  0, 0,  26, 0, 2, MAP_CONV_WORD},
    {0, '1', '7',  0, 0,  28, 1, 2, MAP_CONV_WORD},
    {0, '1', '7',  0, 0,  30, 3, 2, MAP_CONV_WORD},
    {0, '1', '7',  0, 0,  32, 2, 2, MAP_CONV_WORD},
    {0, '0', '1',  0, 0,  34, 4, 2, MAP_CONV_WORD},
    {0, '0', '2',  0, 0,  36, 4, 2, MAP_CONV_WORD},
    {0, '1', '3',  0, 0,  38, 5, 2, MAP_CONV_WORD},
    {0, '1', '3',  0, 0,  40, 4, 2, MAP_CONV_WORD},
    {0, '0', '2',  0, 0,  42, 5, 2, MAP_CONV_WORD},
    {0, '0', '3',  0, 0,  44, 0, 2, MAP_CONV_WORD},
    {0, '0', '3',  0, 0,  46, 1, 2, MAP_CONV_WORD},
};

constexpr PREFERENCE_LOCATION_MAPRECORD EDTExtractPrefs_MAP_ARRAY[] = {
    {0, '7', '7',  0, 4,   0, 1, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 4,   2, 2, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 4,   4, 3, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 4,   6, 4, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 4,   8, 5, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 5,  10, 0, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 5,  12, 1, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 5,  14, 2, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 5,  16, 3, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 5,  18, 4, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 5,  20, 5, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 6,  22, 0, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 6,  24, 1, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 6,  26, 2, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 6,  28, 3, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 6,  30, 4, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 6,  32, 5, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 7,  34, 0, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 7,  36, 1, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 7,  38, 2, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 7,  40, 3, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 7,  46, 4, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 7,  48, 5, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 8,  42, 0, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 8,  44, 1, 2, MAP_CONV_WORD},
};

constexpr PREFERENCE_LOCATION_MAPRECORD EDTPlaybackPrefs_MAP_ARRAY[] = {
    {0, '1', '3',  0, 0,   0, 1, 2, MAP_CONV_WORD},
    {0, '3', '9',  0, 0,   2, 3, 2, MAP_CONV_WORD},
    {0, '3', '6',  0, 0,   4, 0, 2, MAP_CONV_WORD},
    {0, '3', '6',  0, 0,   6, 5, 2, MAP_CONV_WORD},
    {0, '3', '7',  0, 0,   8, 0, 2, MAP_CONV_WORD},
    {0, '3', '7',  0, 0,  10, 1, 2, MAP_CONV_WORD},
    {0, '3', '7',  0, 0,  12, 2, 2, MAP_CONV_WORD},
};

constexpr PREFERENCE_LOCATION_MAPRECORD EDTSmartShapePrefs_MAP_ARRAY[] = {
    {0, '9', '2',  0, 0,   0, 0, 2, MAP_CONV_WORD},
    {0, '9', '2',  0, 0,   2, 1, 2, MAP_CONV_WORD},
    {0, '9', '2',  0, 0,   4, 2, 2, MAP_CONV_WORD},
    {0, '9', '2',  0, 0,   6, 3, 2, MAP_CONV_WORD},
    {0, 'F', 'I', 11, 0,   8, 0, 2, MAP_CONV_WORD},
    {0, 'F', 'I', 11, 0,  10, 1, 2, MAP_CONV_WORD},
    {0, 'F', 'I', 12, 0,  12, 4, 2, MAP_CONV_WORD},
    {0, 'F', 'I', 11, 0,  14, 4, 2, MAP_CONV_WORD},
    {0, 'F', 'I', 12, 0,  16, 0, 4, MAP_CONV_HIGH_LOW},
    {0, 'F', 'I', 12, 0,  20, 2, 4, MAP_CONV_HIGH_LOW},
    {0, 'F', 'I', 11, 0,  24, 2, 2, MAP_CONV_WORD},
    {0, 'F', 'I', 11, 0,  26, 5, 2, MAP_CONV_WORD},
    {0, '1', '2',  0, 0,  28, 5, 2, MAP_CONV_BYTE},
    {0, '1', '1',  0, 0,  30, 5, 2, MAP_CONV_BYTE},
    {0, '6', '9',  0, 0,  32, 4, 2, MAP_CONV_BYTE},
    {0, '6', '9',  0, 0,  34, 5, 2, MAP_CONV_BYTE},
    {0, '6', '9',  0, 0,  36, 2, 2, MAP_CONV_BYTE},
    {0, '6', '9',  0, 0,  38, 3, 2, MAP_CONV_BYTE},
    {0, '5', '1',  0, 0,  40, 5, 2, MAP_CONV_WORD},
    {0, '5', '3',  0, 0,  42, 5, 2, MAP_CONV_WORD},
    {0, '5', '1',  0, 0,  44, 4, 2, MAP_CONV_WORD},
    {0, '5', '3',  0, 0,  46, 4, 2, MAP_CONV_WORD},
    {0, '5', '0',  0, 0,  48, 4, 2, MAP_CONV_WORD},
    {0, '5', '3',  0, 1,  50, 0, 2, MAP_CONV_WORD},
    {0, '5', '3',  0, 1,  52, 1, 2, MAP_CONV_WORD},
    {0, '5', '3',  0, 1,  54, 2, 2, MAP_CONV_WORD},
    {0, '5', '3',  0, 1,  56, 3, 2, MAP_CONV_WORD},
    {0, '5', '1',  0, 0,  58, 0, 4, MAP_CONV_HIGH_LOW},
    {0, '5', '1',  0, 0,  62, 2, 4, MAP_CONV_HIGH_LOW},
    {0, '5', '3',  0, 0,  66, 2, 2, MAP_CONV_WORD},
    {0, '5', '3',  0, 0,  68, 0, 2, MAP_CONV_WORD},
    {0, '5', '3',  0, 0,  70, 1, 2, MAP_CONV_WORD},
    {0, '9', '3',  0, 0,  72, 0, 4, MAP_CONV_HIGH_LOW},
    {0, '5', '3',  0, 0,  76, 3, 2, MAP_CONV_WORD},
    {0, '5', '0',  0, 0,  78, 5, 2, MAP_CONV_WORD},
    {0, '5', '0',  0, 0,  80, 0, 2, MAP_CONV_WORD},
    {0, '5', '0',  0, 0,  82, 1, 2, MAP_CONV_WORD},
    {0, '5', '0',  0, 0,  84, 2, 2, MAP_CONV_WORD},
    {0, '5', '0',  0, 0,  86, 3, 2, MAP_CONV_WORD},
    {0, '9', '7',  0, 1,  88, 0, 2, MAP_CONV_WORD},
    {0, '9', '7',  0, 1,  90, 1, 2, MAP_CONV_WORD},
    {0, '9', '7',  0, 1,  92, 2, 2, MAP_CONV_WORD},
    {0, '9', '7',  0, 1,  94, 3, 2, MAP_CONV_WORD},
};

constexpr PREFERENCE_LOCATION_MAPRECORD EDTPianoBracePrefs_MAP_ARRAY[] = {
    {0, '6', '5',  0, 0,   0, 2, 4, MAP_CONV_HIGH_LOW},
    {0, '6', '0',  0, 0,   4, 2, 4, MAP_CONV_HIGH_LOW},
    {0, '6', '5',  0, 0,   8, 4, 4, MAP_CONV_HIGH_LOW},
    {0, '6', '0',  0, 0,  12, 4, 4, MAP_CONV_HIGH_LOW},
    {0, '6', '1',  0, 0,  16, 0, 4, MAP_CONV_HIGH_LOW},
    {0, '6', '1',  0, 0,  20, 2, 4, MAP_CONV_HIGH_LOW},
    {0, '6', '1',  0, 0,  24, 4, 4, MAP_CONV_HIGH_LOW},
    {0, '6', '0',  0, 0,  28, 0, 4, MAP_CONV_HIGH_LOW},
    {0, '6', '4',  0, 0,  32, 2, 4, MAP_CONV_HIGH_LOW},
    {0, '4', '5',  0, 0,  36, 2, 4, MAP_CONV_HIGH_LOW},
    {0, '4', '5',  0, 0,  40, 4, 4, MAP_CONV_HIGH_LOW},
};

constexpr PREFERENCE_LOCATION_MAPRECORD EDTRepeatPrefs_MAP_ARRAY[] = {
    {0, '7', '0',  0, 0,   0, 0, 2, MAP_CONV_WORD},
    {0, '7', '0',  0, 0,   2, 1, 2, MAP_CONV_WORD},
    {0, '7', '0',  0, 0,   4, 2, 2, MAP_CONV_WORD},
    {0, '7', '0',  0, 0,   6, 3, 2, MAP_CONV_WORD},
    {0, '7', '0',  0, 0,   8, 4, 2, MAP_CONV_WORD},
    {0, '7', '0',  0, 0,  10, 5, 2, MAP_CONV_WORD},
    {0, '7', '1',  0, 0,  12, 0, 2, MAP_CONV_WORD},
    {0, '7', '1',  0, 0,  14, 1, 2, MAP_CONV_WORD},
    {0, '7', '1',  0, 0,  16, 2, 2, MAP_CONV_WORD},
    {0, '7', '1',  0, 0,  18, 3, 2, MAP_CONV_WORD},
    {0, '7', '1',  0, 0,  20, 4, 2, MAP_CONV_WORD},
    {0, '7', '1',  0, 0,  22, 5, 2, MAP_CONV_WORD},
    {0, '0', '5',  0, 0,  24, 3, 2, MAP_CONV_WORD},
    {0, '7', '2',  0, 0,  26, 0, 2, MAP_CONV_WORD},
    {0, '7', '6',  0, 0,  28, 2, 2, MAP_CONV_WORD},
    {0, '7', '2',  0, 0,  30, 1, 2, MAP_CONV_WORD},
    {0, '7', '2',  0, 0,  32, 2, 2, MAP_CONV_WORD},
    {0, '7', '2',  0, 0,  34, 3, 2, MAP_CONV_WORD},
    {0, '7', '2',  0, 0,  36, 4, 2, MAP_CONV_WORD},
    {0, '7', '2',  0, 0,  38, 5, 2, MAP_CONV_WORD},
};

constexpr PREFERENCE_LOCATION_MAPRECORD EDTMiscDocPrefs_MAP_ARRAY[] = {
    {0, '3', '6',  0, 0,   0, 4, 2, MAP_CONV_WORD},
    {0, '0', '3',  0, 0,   2, 4, 2, MAP_CONV_WORD},
    {0, '0', '3',  0, 0,   4, 5, 2, MAP_CONV_WORD},
    {0, '0', '9',  0, 0,   6, 5, 2, MAP_CONV_WORD},
    {0, '3', '6',  0, 0,   8, 2, 2, MAP_CONV_WORD},
    {0, '3', '6',  0, 0,  10, 3, 2, MAP_CONV_WORD},
    {0, '3', '6',  0, 0,  12, 1, 2, MAP_CONV_NOT},
    {0, '4', '1',  0, 0,  14, 0, 2, MAP_CONV_WORD},
    {0, '4', '1',  0, 0,  16, 1, 2, MAP_CONV_WORD},
    {0, '2', '0',  0, 0,  18, 0, 2, MAP_CONV_WORD},
    {0, '2', '7',  0, 0,  20, 1, 2, MAP_CONV_WORD},
    {0, '0', '1',  0, 0,  22, 0, 2, MAP_CONV_WORD},
    {0, '1', '3',  0, 0,  24, 2, 2, MAP_CONV_WORD},
    {0, '1', '5',  0, 0,  26, 4, 2, MAP_CONV_WORD},
    {0, '2', '7',  0, 0,  28, 0, 2, MAP_CONV_WORD},
    {0, '2', '7',  0, 0,  30, 4, 2, MAP_CONV_WORD},
    {0, '4', '4',  0, 0,  32, 4, 2, MAP_CONV_WORD},
    {0, '2', '7',  0, 0,  34, 2, 2, MAP_CONV_WORD},
    {0, '1', '2',  0, 0,  36, 2, 2, MAP_CONV_WORD},
    {0, '1', '2',  0, 0,  38, 3, 2, MAP_CONV_WORD},
    {0, '1', '2',  0, 0,  40, 1, 2, MAP_CONV_WORD},
    {0, '4', '1',  0, 2,  42, 1, 2, MAP_CONV_WORD},
    {0, '2', '3',  0, 0,  44, 1, 2, MAP_CONV_WORD},
    {0, '1', '9',  0, 0,  46, 2, 2, MAP_CONV_WORD},
    {0, '1', '9',  0, 0,  48, 3, 2, MAP_CONV_WORD},
    {0, '3', '1',  0, 0,  50, 5, 2, MAP_CONV_WORD},
    {0, '1', '9',  0, 0,  52, 4, 2, MAP_CONV_BYTE},
    {0, '1', '9',  0, 0,  54, 5, 2, MAP_CONV_BYTE},
    {0, '4', '4',  0, 0,  56, 3, 2, MAP_CONV_WORD},
    {0, '0', '5',  0, 0,  58, 4, 2, MAP_CONV_WORD},
    {0, '0', '5',  0, 0,  60, 5, 2, MAP_CONV_WORD},
    {0, '1', '3',  0, 0,  62, 0, 2, MAP_CONV_WORD},
    {0, '4', '1',  0, 0,  64, 5, 2, MAP_CONV_WORD},
    {0, '1', '2',  0, 0,  66, 4, 2, MAP_CONV_WORD},
    {0, '0', '1',  0, 0,  68, 1, 2, MAP_CONV_WORD},
    {0, '9', '3',  0, 0,  70, 4, 2, MAP_CONV_WORD},
    {0, '7', '6',  0, 0,  72, 4, 2, MAP_CONV_WORD},
    {0, '9', '3',  0, 0,  74, 2, 2, MAP_CONV_WORD},
    {0, '7', '6',  0, 0,  76, 3, 2, MAP_CONV_WORD},
    {0, '1', '7',  0, 0,  78, 5, 2, MAP_CONV_WORD},
    {0, '2', '3',  0, 0,  80, 4, 2, MAP_CONV_WORD},
    {0, '1', '6',  0, 0,  82, 5, 2, MAP_CONV_WORD},
    {0, '6', '2',  0, 0,  84, 0, 4, MAP_CONV_HIGH_LOW},
    {0, '6', '2',  0, 0,  88, 2, 4, MAP_CONV_HIGH_LOW},
    {0, '4', '1',  0, 2,  92, 0, 2, MAP_CONV_WORD},
    {0, '4', '1',  0, 0,  94, 2, 2, MAP_CONV_WORD},
    {0, '4', '1',  0, 1,  96, 3, 4, MAP_CONV_HIGH_LOW},
    {0, '7', '6',  0, 0, 100, 5, 2, MAP_CONV_WORD},
    {0, 'F', 'I', 10, 0, 102, 2, 2, MAP_CONV_WORD},
};

constexpr PREFERENCE_LOCATION_MAPRECORD EDTSizePrefs_MAP_ARRAY[] = {
    {0, '6', '7',  0, 0,   0, 2, 2, MAP_CONV_WORD},
    {0, '5', '8',  0, 0,   2, 4, 2, MAP_CONV_WORD},
    {0, '6', '8',  0, 0,   4, 2, 4, MAP_CONV_HIGH_LOW},
    {0, '6', '2',  0, 0,   8, 4, 4, MAP_CONV_HIGH_LOW},
    {0, '0', '3',  0, 0,  12, 3, 2, MAP_CONV_WORD},
    {0, '2', '3',  0, 0,  14, 0, 2, MAP_CONV_WORD},
    {0, '1', '4',  0, 0,  16, 2, 2, MAP_CONV_WORD},
    {0, '6', '4',  0, 0,  18, 1, 2, MAP_CONV_WORD},
    {0, '2', '7',  0, 0,  20, 3, 2, MAP_CONV_WORD},
    {0, '5', '8',  0, 0,  22, 5, 2, MAP_CONV_WORD},
    {0, '5', '9',  0, 0,  24, 0, 2, MAP_CONV_WORD},
    {0, '5', '9',  0, 0,  26, 1, 2, MAP_CONV_WORD},
    {0, '0', '1',  0, 0,  28, 2, 2, MAP_CONV_WORD},
    {0, '5', '9',  0, 0,  30, 2, 2, MAP_CONV_WORD},
    {0, '0', '1',  0, 0,  32, 3, 2, MAP_CONV_WORD},
    {0, '9', '7',  0, 0,  34, 0, 4, MAP_CONV_HIGH_LOW},
    {0, '2', '0',  0, 0,  38, 4, 2, MAP_CONV_WORD},
    {0, '2', '0',  0, 0,  40, 5, 2, MAP_CONV_WORD},
    {0, '0', '3',  0, 0,  42, 2, 2, MAP_CONV_WORD},
    {0, '2', '1',  0, 0,  44, 2, 2, MAP_CONV_WORD},
    {0, '6', '4',  0, 0,  46, 5, 2, MAP_CONV_WORD},
    {0, '9', '7',  0, 0,  48, 2, 4, MAP_CONV_HIGH_LOW},
    {0, '6', '9',  0, 0,  52, 0, 2, MAP_CONV_WORD},
};

constexpr PREFERENCE_LOCATION_MAPRECORD EDTDistancePrefs_MAP_ARRAY[] = {
    {0, '2', '1',  0, 0,   0, 3, 2, MAP_CONV_WORD},
    {0, '2', '1',  0, 0,   2, 5, 2, MAP_CONV_WORD},
    {0, '5', '9',  0, 0,   4, 3, 2, MAP_CONV_WORD},
    {0, '5', '9',  0, 0,   6, 4, 2, MAP_CONV_WORD},
    {0, '2', '2',  0, 0,   8, 1, 2, MAP_CONV_WORD},
    {0, '2', '2',  0, 0,  10, 2, 2, MAP_CONV_WORD},
    {0, '2', '2',  0, 0,  12, 3, 2, MAP_CONV_WORD},
    {0, '6', '7',  0, 0,  14, 3, 2, MAP_CONV_WORD},
    {0, '6', '7',  0, 0,  16, 4, 2, MAP_CONV_WORD},
    {0, '6', '8',  0, 0,  18, 4, 4, MAP_CONV_HIGH_LOW},
    {0, '2', '0',  0, 0,  22, 1, 2, MAP_CONV_WORD},
    {0, '2', '0',  0, 0,  24, 2, 2, MAP_CONV_WORD},
    {0, '1', '3',  0, 0,  26, 3, 2, MAP_CONV_WORD},
    {0, '1', '9',  0, 0,  28, 0, 2, MAP_CONV_WORD},
    {0, '1', '9',  0, 0,  30, 1, 2, MAP_CONV_WORD},
    {0, '6', '8',  0, 0,  32, 0, 2, MAP_CONV_WORD},
    {0, '2', '1',  0, 0,  34, 1, 2, MAP_CONV_WORD},
    {0, '6', '8',  0, 0,  36, 1, 2, MAP_CONV_WORD},
    {0, '2', '1',  0, 0,  38, 0, 2, MAP_CONV_WORD},
    {0, '2', '7',  0, 0,  40, 5, 2, MAP_CONV_WORD},
    {0, '1', '8',  0, 0,  42, 0, 2, MAP_CONV_WORD},
    {0, '1', '8',  0, 0,  44, 2, 2, MAP_CONV_WORD},
    {0, '1', '8',  0, 0,  46, 1, 2, MAP_CONV_WORD},
    {0, '2', '1',  0, 0,  48, 4, 2, MAP_CONV_WORD},
    {0, '3', '9',  0, 0,  50, 0, 2, MAP_CONV_WORD},
    {0, '3', '9',  0, 0,  52, 1, 2, MAP_CONV_WORD},
    {0, '6', '5',  0, 0,  54, 0, 4, MAP_CONV_HIGH_LOW},
    {0, '6', '7',  0, 0,  58, 1, 2, MAP_CONV_WORD},
    {0, '1', '8',  0, 0,  60, 5, 2, MAP_CONV_WORD},
    {0, '6', '7',  0, 0,  62, 0, 2, MAP_CONV_WORD},
    {0, '1', '8',  0, 0,  64, 3, 2, MAP_CONV_WORD},
    {0, '1', '8',  0, 0,  66, 4, 2, MAP_CONV_WORD},
    {0, '1', '4',  0, 0,  68, 4, 2, MAP_CONV_WORD},
    {0, '1', '4',  0, 0,  70, 5, 2, MAP_CONV_WORD},
    {0, '0', '1',  0, 0,  74, 5, 2, MAP_CONV_WORD},
    {0, '7', '7',  0, 4,  72, 0, 2, MAP_CONV_WORD},
};

// clang-format on

constexpr int32_t FieldSizeOf(MAP_ARRAY_CONVERSION conversion) {
    return conversion == MAP_CONV_HIGH_LOW || conversion == MAP_CONV_LOW_HIGH ? 4 : 2;
}

constexpr int32_t SizeOfStruct(const MapRow* table, int32_t rows) {
    int32_t size = 0;
    for (int32_t i = 0; i < rows; ++i) size += table[i].fieldSize;
    return size;
}

// Every row sound (size agrees with the conversion, words inside the record) and every byte of
// the structure covered by exactly one row.
template <size_t N>
constexpr bool IsSoundMap(const MapRow (&table)[N]) {
    const int32_t rows = static_cast<int32_t>(N);
    for (const MapRow& row : table) {
        if (row.mark != 0 || row.fieldSize != FieldSizeOf(row.conversion)) return false;
        if (row.wordIndex < 0 || row.wordIndex + row.fieldSize / 2 > PREFS_OTHER_RECORD_WORDS)
            return false;
    }
    const int32_t size = SizeOfStruct(table, rows);
    for (int32_t byte = 0; byte < size; ++byte) {
        int covering = 0;
        for (const MapRow& row : table)
            if (byte >= row.offset && byte < row.offset + row.fieldSize) ++covering;
        if (covering != 1) return false;
    }
    return true;
}

// Row counts and structure sizes as the preference layouts give them.
#define PREFS_CHECK_MAP(table, rowCount, structSize)                              \
    static_assert(std::size(table) == (rowCount), #table " rows");                \
    static_assert(SizeOfStruct(table, rowCount) == (structSize), #table " size"); \
    static_assert(IsSoundMap(table), #table " covers its structure")
PREFS_CHECK_MAP(EDTPageFormatPrefsScore_MAP_ARRAY, 22, 48);
PREFS_CHECK_MAP(EDTExtractPrefs_MAP_ARRAY, 25, 50);
PREFS_CHECK_MAP(EDTPlaybackPrefs_MAP_ARRAY, 7, 14);
PREFS_CHECK_MAP(EDTSmartShapePrefs_MAP_ARRAY, 43, 96);
PREFS_CHECK_MAP(EDTPianoBracePrefs_MAP_ARRAY, 11, 44);
PREFS_CHECK_MAP(EDTRepeatPrefs_MAP_ARRAY, 20, 40);
PREFS_CHECK_MAP(EDTMiscDocPrefs_MAP_ARRAY, 49, 104);
PREFS_CHECK_MAP(EDTSizePrefs_MAP_ARRAY, 23, 54);
PREFS_CHECK_MAP(EDTDistancePrefs_MAP_ARRAY, 36, 76);
#undef PREFS_CHECK_MAP

struct StructMap {
    uint32_t tag;
    bool itemZeroOnly;
    const MapRow* table;
    int32_t rows;
};

template <size_t N>
constexpr StructMap Struct(uint32_t tag, bool itemZeroOnly, const MapRow (&table)[N]) {
    return {tag, itemZeroOnly, table, static_cast<int32_t>(N)};
}

// clang-format off
constexpr StructMap kStructMaps[] = {
    Struct(0x70665046, true,  EDTPageFormatPrefsScore_MAP_ARRAY),  // pfPF, item 0 only
    Struct(0x70664558, false, EDTExtractPrefs_MAP_ARRAY),          // pfEX
    Struct(0x7066504C, false, EDTPlaybackPrefs_MAP_ARRAY),         // pfPL
    Struct(0x70665353, false, EDTSmartShapePrefs_MAP_ARRAY),       // pfSS
    Struct(0x70665042, false, EDTPianoBracePrefs_MAP_ARRAY),       // pfPB
    Struct(0x70665250, false, EDTRepeatPrefs_MAP_ARRAY),           // pfRP
    Struct(0x70664D53, false, EDTMiscDocPrefs_MAP_ARRAY),          // pfMS
    Struct(0x70665349, false, EDTSizePrefs_MAP_ARRAY),             // pfSI
    Struct(0x70664450, false, EDTDistancePrefs_MAP_ARRAY),         // pfDP
};
// clang-format on

// A tag map row. With a condition, the item must lie in firstItem..lastItem and the first
// incidence is the item - 1; without one, any item reads from incidence 0.
struct TagMap {
    uint32_t tag;
    uint32_t otherTag;
    int32_t count;
    bool conditioned;
    uint16_t firstItem;
    uint16_t lastItem;
};

// clang-format off
constexpr TagMap kTagMaps[] = {
    {0x70664744, 0x6F743739,  1, false, 0,   0},  // pfGD  ot79
    {0x70664747, 0x6F743838, 11, false, 0,   0},  // pfGG  ot88
    {0x70664762, 0x6F743938,  1, true,  1,   4},  // pfGb  ot98
    {0x70664764, 0x6F743830,  1, false, 0,   0},  // pfGd  ot80
    {0x70664773, 0x6F743931,  1, true,  1,   1},  // pfGs  ot91
    {0x70664D4D, 0x6F743235,  2, false, 0,   0},  // pfMM  ot25
    {0x70664E44, 0x6F743034,  1, false, 0,   0},  // pfND  ot04
    {0x70664E64, 0x6F743636,  1, false, 0,   0},  // pfNd  ot66
    {0x70665046, 0x6F743737,  4, true,  1,   1},  // pfPF  ot77
    {0x70665343, 0x6F743532,  2, false, 0,   0},  // pfSC  ot52
    {0x7066534E, 0x6F743430,  1, true,  1, 128},  // pfSN  ot40
    {0x70665350, 0x6F743934,  3, false, 0,   0},  // pfSP  ot94
    {0x7066536C, 0x6F743236,  1, true,  1,  15},  // pfSl  ot26
    {0x70665443, 0x6F743836,  5, false, 0,   0},  // pfTC  ot86
    {0x70665449, 0x6F743834,  4, false, 0,   0},  // pfTI  ot84
    {0x70665458, 0x6F743738,  8, false, 0,   0},  // pfTX  ot78
    {0x70665470, 0x6F743835,  4, false, 0,   0},  // pfTp  ot85
    {0x70665473, 0x6F743930,  1, true,  1,   9},  // pfTs  ot90
};
// clang-format on

bool SameRecord(const MapRow& a, const MapRow& b) {
    return a.tagChar3 == b.tagChar3 && a.tagChar4 == b.tagChar4 && a.item == b.item &&
           a.incidence == b.incidence;
}

// One other record as six words. The scratch block starts cleared, so a record the host cannot
// deliver reads as zeros rather than as whatever the previous record held.
struct OtherRecord {
    int16_t words[PREFS_OTHER_RECORD_WORDS] = {};

    static void KeyOf(uint16_t item, int16_t incidence, uint8_t (&key)[8]) {
        std::memset(key, 0, sizeof key);
        FXWrite<uint16_t>(key, 0, item);
        FXWrite<int16_t>(key, 2, incidence);
    }

    bool Load(uint32_t tag, uint16_t item, int16_t incidence) {
        uint8_t key[8];
        KeyOf(item, incidence, key);
        int32_t size = PREFS_OTHER_RECORD_SIZE;
        return FX_LoadEData(tag, key, words, &size, FRAMEWORK_ENIGMA_VERSION) != 0;
    }

    bool Save(uint32_t tag, uint16_t item, int16_t incidence) {
        uint8_t key[8];
        KeyOf(item, incidence, key);
        return FX_SaveEData(tag, key, words, PREFS_OTHER_RECORD_SIZE, FRAMEWORK_ENIGMA_VERSION) !=
               0;
    }
};

static_assert(sizeof(OtherRecord::words) == PREFS_OTHER_RECORD_SIZE, "other record");

// Hands each other record a map draws on to `fn` once, with the rows that use it: rows in table
// order, each record at its first unmarked row together with every later row naming it.
template <typename Fn>
void ForEachRecord(const MapRow* table, int32_t rows, Fn&& fn) {
    std::vector<bool> marked(static_cast<size_t>(rows), false);
    std::vector<const MapRow*> group;
    for (int32_t i = 0; i < rows; ++i) {
        if (marked[i]) continue;
        group.clear();
        for (int32_t j = i; j < rows; ++j) {
            if (marked[j] || !SameRecord(table[i], table[j])) continue;
            marked[j] = true;
            group.push_back(&table[j]);
        }
        fn(table[i], group);
    }
}

int32_t LoadThroughStruct(const MapRow* table, int32_t rows, void* buffer, int32_t* size) {
    const int32_t structSize = SizeOfStruct(table, rows);
    if (!buffer) {
        if (size) *size = structSize;
        return 1;
    }
    // Every field of the structure is written: a smaller buffer is refused untouched.
    if (!size || *size < structSize) return 0;
    *size = structSize;
    ForEachRecord(table, rows, [&](const MapRow& first, const std::vector<const MapRow*>& group) {
        OtherRecord record;
        record.Load(PrefsOtherTag(first), PrefsOtherItem(first),
                    static_cast<int16_t>(first.incidence));
        for (const MapRow* row : group) PrefsFieldFromWords(*row, record.words, buffer);
    });
    return 1;
}

int32_t SaveThroughStruct(const MapRow* table, int32_t rows, const void* buffer, int32_t size) {
    // Every field of the structure is read: a smaller buffer is refused before any host call.
    if (!buffer || size < SizeOfStruct(table, rows)) return 0;
    bool stored = true;
    ForEachRecord(table, rows, [&](const MapRow& first, const std::vector<const MapRow*>& group) {
        const uint32_t tag = PrefsOtherTag(first);
        const uint16_t item = PrefsOtherItem(first);
        const int16_t incidence = static_cast<int16_t>(first.incidence);
        OtherRecord record;
        const bool loaded = record.Load(tag, item, incidence);
        bool changed = false;
        for (const MapRow* row : group) changed |= PrefsFieldToWords(*row, buffer, record.words);
        if (!changed) return;
        // A record that could not be read is not written over: its other words are unknown.
        if (!loaded || !record.Save(tag, item, incidence)) stored = false;
    });
    return stored ? 1 : 0;
}

int32_t LoadThroughTag(uint32_t otherTag, int32_t count, int16_t first, void* buffer,
                       int32_t* size) {
    const int32_t blockSize = count * PREFS_OTHER_RECORD_SIZE;
    if (!buffer) {
        if (size) *size = blockSize;
        return 1;
    }
    if (!size || *size < blockSize) return 0;
    uint8_t* out = static_cast<uint8_t*>(buffer);
    for (int32_t i = 0; i < count; ++i) {
        OtherRecord record;
        record.Load(otherTag, PREFS_OTHER_ITEM, static_cast<int16_t>(first + i));
        std::memcpy(out + i * PREFS_OTHER_RECORD_SIZE, record.words, PREFS_OTHER_RECORD_SIZE);
    }
    *size = blockSize;
    return 1;
}

int32_t SaveThroughTag(uint32_t otherTag, int32_t count, int16_t first, const void* buffer,
                       int32_t size) {
    if (!buffer || size < count * PREFS_OTHER_RECORD_SIZE) return 0;
    const uint8_t* in = static_cast<const uint8_t*>(buffer);
    bool stored = true;
    for (int32_t i = 0; i < count; ++i) {
        OtherRecord record;
        std::memcpy(record.words, in + i * PREFS_OTHER_RECORD_SIZE, PREFS_OTHER_RECORD_SIZE);
        if (!record.Save(otherTag, PREFS_OTHER_ITEM, static_cast<int16_t>(first + i)))
            stored = false;
    }
    return stored ? 1 : 0;
}

// Whether a row's words lie inside the record (the tables are checked when compiled; rows from
// elsewhere are not trusted).
bool WordsInRecord(const MapRow& row) {
    const int needed = FieldSizeOf(row.conversion) / 2;
    return row.wordIndex >= 0 && row.wordIndex + needed <= PREFS_OTHER_RECORD_WORDS;
}

}  // namespace

uint32_t PrefsOtherTag(const PREFERENCE_LOCATION_MAPRECORD& row) {
    return PREFS_OTHER_TAG_BASE | (static_cast<uint32_t>(static_cast<uint8_t>(row.tagChar3)) << 8) |
           static_cast<uint8_t>(row.tagChar4);
}

uint16_t PrefsOtherItem(const PREFERENCE_LOCATION_MAPRECORD& row) {
    return row.item == 0 ? PREFS_OTHER_ITEM : row.item;
}

bool mapPrefStruct(uint32_t tag, uint16_t item, const PREFERENCE_LOCATION_MAPRECORD** table,
                   int32_t* rows) {
    for (const StructMap& map : kStructMaps) {
        if (map.tag != tag || (map.itemZeroOnly && item != 0)) continue;
        if (table) *table = map.table;
        if (rows) *rows = map.rows;
        return true;
    }
    return false;
}

int32_t PrefStructSize(const PREFERENCE_LOCATION_MAPRECORD* table, int32_t rows) {
    return table ? SizeOfStruct(table, rows) : 0;
}

bool mapPrefTag(uint32_t tag, uint16_t item, uint32_t* otherTag, int32_t* count,
                int16_t* firstIncidence) {
    for (const TagMap& map : kTagMaps) {
        if (map.tag != tag) continue;
        if (map.conditioned && (item < map.firstItem || item > map.lastItem)) return false;
        if (otherTag) *otherTag = map.otherTag;
        if (count) *count = map.count;
        if (firstIncidence) *firstIncidence = map.conditioned ? static_cast<int16_t>(item - 1) : 0;
        return true;
    }
    return false;
}

int32_t makePrefsFourbyte(int16_t word, int16_t nextWord, MAP_ARRAY_CONVERSION conversion) {
    const uint32_t first = static_cast<uint16_t>(word);
    const uint32_t next = static_cast<uint16_t>(nextWord);
    switch (conversion) {
        case MAP_CONV_HIGH_LOW:
            return static_cast<int32_t>(first << 16 | next);
        case MAP_CONV_LOW_HIGH:
            return static_cast<int32_t>(next << 16 | first);
        default:
            return 0;
    }
}

void makePrefsTwobytes(int32_t value, int16_t* word, int16_t* nextWord,
                       MAP_ARRAY_CONVERSION conversion) {
    const auto high = static_cast<int16_t>(static_cast<uint32_t>(value) >> 16);
    const auto low = static_cast<int16_t>(static_cast<uint32_t>(value) & 0xFFFF);
    switch (conversion) {
        case MAP_CONV_HIGH_LOW:
            if (word) *word = high;
            if (nextWord) *nextWord = low;
            break;
        case MAP_CONV_LOW_HIGH:
            if (word) *word = low;
            if (nextWord) *nextWord = high;
            break;
        default:
            break;
    }
}

void PrefsFieldFromWords(const PREFERENCE_LOCATION_MAPRECORD& row, const int16_t* words,
                         void* structure) {
    if (!WordsInRecord(row)) return;
    const int16_t word = words[row.wordIndex];
    switch (row.conversion) {
        case MAP_CONV_WORD:
            FXWrite<int16_t>(structure, row.offset, word);
            break;
        case MAP_CONV_HIGH_LOW:
        case MAP_CONV_LOW_HIGH:
            FXWrite<int32_t>(structure, row.offset,
                             makePrefsFourbyte(word, words[row.wordIndex + 1], row.conversion));
            break;
        case MAP_CONV_NOT:
            FXWrite<int16_t>(structure, row.offset, word == 0 ? 1 : 0);
            break;
        case MAP_CONV_BYTE:
            FXWrite<int16_t>(structure, row.offset, static_cast<int16_t>(word & 0xFF));
            break;
    }
}

bool PrefsFieldToWords(const PREFERENCE_LOCATION_MAPRECORD& row, const void* structure,
                       int16_t* words) {
    if (!WordsInRecord(row)) return false;
    int16_t& word = words[row.wordIndex];
    int16_t wanted = 0;
    switch (row.conversion) {
        case MAP_CONV_HIGH_LOW:
        case MAP_CONV_LOW_HIGH: {
            // Compared as a whole; split only when the record holds another value.
            const int32_t value = FXRead<int32_t>(structure, row.offset);
            int16_t& next = words[row.wordIndex + 1];
            if (makePrefsFourbyte(word, next, row.conversion) == value) return false;
            makePrefsTwobytes(value, &word, &next, row.conversion);
            return true;
        }
        case MAP_CONV_WORD:
            wanted = FXRead<int16_t>(structure, row.offset);
            break;
        case MAP_CONV_NOT:
            wanted = FXRead<int16_t>(structure, row.offset) == 0 ? 1 : 0;
            break;
        case MAP_CONV_BYTE:
            wanted = static_cast<int8_t>(FXRead<int16_t>(structure, row.offset) & 0xFF);
            break;
        default:
            return false;
    }
    if (word == wanted) return false;
    word = wanted;
    return true;
}

std::optional<int32_t> LoadMappedPrefs(uint32_t tag, const void* key, void* buffer, int32_t* size) {
    if (!key) return std::nullopt;
    const uint16_t item = FXRead<uint16_t>(key, 0);
    const MapRow* table = nullptr;
    int32_t rows = 0;
    if (mapPrefStruct(tag, item, &table, &rows))
        return LoadThroughStruct(table, rows, buffer, size);
    uint32_t otherTag = 0;
    int32_t count = 0;
    int16_t first = 0;
    if (mapPrefTag(tag, item, &otherTag, &count, &first))
        return LoadThroughTag(otherTag, count, first, buffer, size);
    return std::nullopt;
}

std::optional<int32_t> SaveMappedPrefs(uint32_t tag, const void* key, const void* buffer,
                                       int32_t size) {
    if (!key) return std::nullopt;
    const uint16_t item = FXRead<uint16_t>(key, 0);
    const MapRow* table = nullptr;
    int32_t rows = 0;
    if (mapPrefStruct(tag, item, &table, &rows))
        return SaveThroughStruct(table, rows, buffer, size);
    uint32_t otherTag = 0;
    int32_t count = 0;
    int16_t first = 0;
    if (mapPrefTag(tag, item, &otherTag, &count, &first))
        return SaveThroughTag(otherTag, count, first, buffer, size);
    return std::nullopt;
}
