// Reading a dictd dictionary (the .index / .dict[.dz] pair of the dictd
// server) as FreeDict publishes it.
//
// .index: one line per entry, "headword TAB offset TAB length", the numbers
//         in dictd's base64 digits (A-Z a-z 0-9 + /, most significant first),
//         sorted in the dictionary's alphabetical order. Headwords there are
//         normalised (lower case, punctuation dropped); the real headword is
//         the first line of the entry text.
// .dict:  the entry texts back to back, UTF-8; .dict.dz is the same text
//         gzip-compressed (dictzip adds only a random-access table that a
//         plain gzip reader skips).
//
// A FreeDict entry text reads
//
//   run //ɹʊn// //ɹʌn// <v>            headword, pronunciations, part of speech
//   1. menjalankan 2.                  sense 1: translations, then a gloss list
//   to be in charge of                   gloss
//    3.                                  next gloss of the list
//   to execute or carry out a plan       gloss
//   2. lari, jalan                     sense 2: translations
//   to move quickly on two feet          its one gloss
//
// An entry with one sense leaves out the "1. "; a sense may have no gloss.
// Everything here is plain parsing: no character-set conversion happens.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavro2 {

struct DictdIndexLine {
  std::string key;  // the index's normalised headword
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
};

struct DictdIndex {
  std::vector<DictdIndexLine> lines;  // in file order
  std::size_t badLines = 0;           // lines without three fields or with bad numbers
};

struct DictdSense {
  std::string translations;          // the sense's translation line, numbering removed
  std::vector<std::string> glosses;  // its English glosses, in order
};

struct DictdEntry {
  std::string headword;      // UTF-8, pronunciations removed
  std::string partOfSpeech;  // the text between < and >, or empty
  std::vector<DictdSense> senses;
  // The pronunciations as written, slashes included ("//haʊs//", "/[ˈæɾm̩]/").
  std::vector<std::string> pronunciations = {};
};

struct EditionDate {
  int year = 0;
  int month = 0;
  int day = 0;
};

// A dictd base64 number; nothing for an empty text, a character outside the
// digit set, or a value above 2^48 (no dictionary file is that large).
std::optional<std::uint64_t> decodeDictdNumber(std::string_view digits);

// Parses the whole text of a .index file. Lines may end in LF or CR LF.
DictdIndex parseDictdIndex(std::string_view text);

inline constexpr std::size_t kMaxDictdText = std::size_t{512} << 20;

// Inflates a gzip stream (several members back to back are joined). Fails on
// damaged data or when the output would exceed `maxOutput` bytes.
bool inflateGzip(std::string_view gz, std::string& out, std::string& error,
                 std::size_t maxOutput = kMaxDictdText);

// Reads a .dict file whole; a file that starts with the gzip signature is
// inflated. `error` says what went wrong when it returns false.
bool readDictdText(const std::string& path, std::string& out, std::string& error);

// Appends the whole file to `out`; false with `error` set when it cannot be
// read or is larger than kMaxDictdText bytes.
bool readWholeFile(const std::string& path, std::string& out, std::string& error);

// True for the index keys of dictd's own header entries (00databaseinfo,
// 00-database-short, ...), which are not dictionary entries.
bool isDictdHeaderKey(std::string_view key);

// Splits one entry text as laid out above. Never fails: text that does not
// fit the layout ends up as translations or glosses.
DictdEntry parseDictdEntry(std::string_view text);

// The edition date that a header entry states: an "Edition:" line, else a
// "Publication date:" line, else a "ver. " mark, each followed by a date
// written YYYY.MM.DD or YYYY-MM-DD.
std::optional<EditionDate> findEditionDate(std::string_view headerText);

}  // namespace tavro2
