// Preference records that the host does not keep under their own tag (tags 'pf..'). They are
// assembled from, and spread back over, the host's other records (tags 'ot..', 12 bytes each:
// six 16-bit words). A structure map places single words of many other records at offsets of a
// preference structure; a tag map lays a run of whole other records one after another.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// How a field of a preference structure is made from the words of an other record.
enum MAP_ARRAY_CONVERSION : int32_t {
    MAP_CONV_WORD = 0,      // 2 bytes: the word as it is
    MAP_CONV_HIGH_LOW = 1,  // 4 bytes: word[index] the high half, word[index + 1] the low half
    MAP_CONV_LOW_HIGH = 2,  // 4 bytes: word[index] the low half, word[index + 1] the high half
    MAP_CONV_NOT = 3,       // 2 bytes: 1 when the word is 0, else 0 (both ways)
    MAP_CONV_BYTE = 4,      // 2 bytes: the low byte; zero-extended in, sign-extended out
};

#pragma pack(push, 1)

// One row of a structure map: one field of the preference structure and where it lives.
struct PREFERENCE_LOCATION_MAPRECORD {
    int16_t mark;        // work mark of the original layout; the tables hold 0 and stay const
    char tagChar3;       // third and fourth characters of the other record's tag
    char tagChar4;       //
    uint16_t item;       // 0 stands for PREFS_OTHER_ITEM
    uint16_t incidence;  //
    int16_t offset;      // byte offset of the field in the preference structure
    int16_t wordIndex;   // 0 to 5: the word of the other record
    int16_t fieldSize;   // 2 or 4
    MAP_ARRAY_CONVERSION conversion;
};

#pragma pack(pop)

static_assert(sizeof(MAP_ARRAY_CONVERSION) == 4, "MAP_ARRAY_CONVERSION");
static_assert(sizeof(PREFERENCE_LOCATION_MAPRECORD) == 18, "PREFERENCE_LOCATION_MAPRECORD");
static_assert(offsetof(PREFERENCE_LOCATION_MAPRECORD, tagChar3) == 2 &&
                  offsetof(PREFERENCE_LOCATION_MAPRECORD, tagChar4) == 3 &&
                  offsetof(PREFERENCE_LOCATION_MAPRECORD, item) == 4 &&
                  offsetof(PREFERENCE_LOCATION_MAPRECORD, incidence) == 6 &&
                  offsetof(PREFERENCE_LOCATION_MAPRECORD, offset) == 8 &&
                  offsetof(PREFERENCE_LOCATION_MAPRECORD, wordIndex) == 10 &&
                  offsetof(PREFERENCE_LOCATION_MAPRECORD, fieldSize) == 12 &&
                  offsetof(PREFERENCE_LOCATION_MAPRECORD, conversion) == 14,
              "PREFERENCE_LOCATION_MAPRECORD offsets");

// Other records: tag 'o','t' and two characters; 12 bytes; the item the maps mean by 0.
inline constexpr uint32_t PREFS_OTHER_TAG_BASE = 0x6F740000;
inline constexpr int32_t PREFS_OTHER_RECORD_SIZE = 12;
inline constexpr int PREFS_OTHER_RECORD_WORDS = 6;
inline constexpr uint16_t PREFS_OTHER_ITEM = 0xFFFE;

// Saves below this version never go through the maps.
inline constexpr uint32_t PREFS_MAPPED_SAVE_VERSION = 0x08000000;

// The other record's tag and item that a structure map row names.
uint32_t PrefsOtherTag(const PREFERENCE_LOCATION_MAPRECORD& row);
uint16_t PrefsOtherItem(const PREFERENCE_LOCATION_MAPRECORD& row);

// The structure map of a preference tag, for the item of the caller's key.
bool mapPrefStruct(uint32_t tag, uint16_t item, const PREFERENCE_LOCATION_MAPRECORD** table,
                   int32_t* rows);
// The size of the structure a map builds: the sum of its rows' field sizes.
int32_t PrefStructSize(const PREFERENCE_LOCATION_MAPRECORD* table, int32_t rows);

// The tag map of a preference tag, when its condition on the item holds: the block is `count`
// whole other records of `otherTag`, item PREFS_OTHER_ITEM, incidences from `firstIncidence`.
bool mapPrefTag(uint32_t tag, uint16_t item, uint32_t* otherTag, int32_t* count,
                int16_t* firstIncidence);

// Joins two words into a 4-byte field (conversions 1 and 2; 0 for any other) and splits a field
// into its two words (1 and 2 only; nothing written for any other).
int32_t makePrefsFourbyte(int16_t word, int16_t nextWord, MAP_ARRAY_CONVERSION conversion);
void makePrefsTwobytes(int32_t value, int16_t* word, int16_t* nextWord,
                       MAP_ARRAY_CONVERSION conversion);

// A field's value from a record's words, and the words a field's value gives, for one row.
// Words are written only where the value differs from the words the record already holds; the
// answer tells whether any word changed.
void PrefsFieldFromWords(const PREFERENCE_LOCATION_MAPRECORD& row, const int16_t* words,
                         void* structure);
bool PrefsFieldToWords(const PREFERENCE_LOCATION_MAPRECORD& row, const void* structure,
                       int16_t* words);

// The preference services of FX_LoadEData and FX_SaveEData: the host's result for a preference
// tag that a map serves, or nothing when the tag (with its item) is the host's own business.
// A null key names no item: no map applies.
std::optional<int32_t> LoadMappedPrefs(uint32_t tag, const void* key, void* buffer, int32_t* size);
std::optional<int32_t> SaveMappedPrefs(uint32_t tag, const void* key, const void* buffer,
                                       int32_t size);
