// Compressed dictionary data files and plain-text user word lists.
//
// A data file is laid out as
//
//   [block 1: headwords][block 2: translation texts] ... [trailer, 16 bytes]
//
// trailer:  u32 FirstBlockSize, u32 SecondBlockSize, f64 DataDate (all LE)
// block:    u32 TextSize, then chunks back to back
// chunk:    u32 ChunkSize (<= 295168), then ChunkSize bytes of NRV2E data in
//           the 8-bit bit-buffer form, decoding to at most 295168 bytes
//
// Block 2 starts at offset FirstBlockSize; bytes between block 2 and the
// trailer are never looked at. A block's text is the chunks' output joined
// and cut to TextSize bytes; fewer bytes than TextSize is not an error. The
// file carries no checksum, so damage is whatever the bounds checks and the
// decoder reject. DataDate counts days with 1 for 1 January of year 1
// (733408 is 1 January 2009); its fraction is the time of day.
//
// Damage is a value, not an exception: every reader returns what it could
// decode before the first damaged chunk together with an outcome.
//
// Decoded size. A few hundred bytes of NRV2E can stand for 256 KiB of text,
// so neither TextSize nor the file's size says what a block costs in memory.
// A block's text may not exceed kMaxBlockText bytes nor hold more than
// kMaxBlockLines line ends (CRs); a file that breaks either limit, or whose decoding runs
// out of memory, is damaged and yields no text at all. The limits sit far
// above any real dictionary (a million headwords with their translations
// take 10 MB and 30 MB) and keep a hostile file's cost near 200 MB: the
// text, plus at most 8 bytes a line for the line table.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/word_list.h"

namespace tavro2 {

inline constexpr std::uint32_t kMaxChunkSize = 295168;  // 262144 + 262144/8 + 256
inline constexpr std::uint32_t kPieceSize = 262144;
inline constexpr std::size_t kTrailerSize = 16;
inline constexpr std::size_t kMaxBlockText = std::size_t{128} << 20;
inline constexpr std::size_t kMaxBlockLines = std::size_t{8} << 20;

enum class DataOutcome {
  kLoaded,     // both blocks decoded completely
  kMissing,    // no such file, or it could not be opened
  kDamaged,    // too short for its trailer, sizes outside the file, or a bad chunk
  kCancelled,  // the caller asked to stop between chunks
};

struct BlockText {
  std::string text;  // what decoded before any damage, cut to TextSize
  bool damaged = false;
  bool cancelled = false;
  bool tooLarge = false;  // past kMaxBlockText or out of memory; `text` is empty
};

struct DataFileContents {
  std::string headwords;     // text of block 1
  std::string translations;  // text of block 2
  double dataDate = 0;
  DataOutcome outcome = DataOutcome::kMissing;
};

// Decodes one block. Never reads outside `block`. TextSize is trusted only
// as far as the block's own size vouches for it: at most 32 times the block's
// size (and never more than kMaxBlockText) is reserved ahead, and beyond that
// the output grows only by what the chunks actually decode to, so a TextSize
// of 4 GiB in a small block costs nothing. An honest block ends with a buffer
// of exactly TextSize bytes. `damaged` is set at the first chunk whose
// ChunkSize is over the limit or past the block's end, or that the decoder
// rejects (including output past 295168 bytes); the text is what decoded
// before it. A text that would pass kMaxBlockText sets `damaged` and
// `tooLarge` and is dropped. Stops between chunks when *cancel becomes true.
BlockText decompressBlock(std::string_view block, const std::atomic<bool>* cancel = nullptr);

// Reads and decodes both blocks of the data file at `path` (the name is found
// whatever its case on disk, see ResolvePath). Only the bytes the trailer
// names are read, and only after its sizes are checked against the file's
// length. Outcome:
//   kMissing   no regular file of that name, or it cannot be opened;
//   kDamaged   shorter than the trailer, a block reaching into the trailer or
//              past the end, a block shorter than its TextSize field, a
//              chunk DecompressBlock rejects, a block over the decoded-size
//              limits (then both texts are empty), or memory ran out;
//   kCancelled *cancel became true (the texts are then incomplete).
// A damaged block keeps its text up to its last line end: a line cut short
// by the damage is dropped rather than taken for a whole headword. The other
// block is decoded all the same.
DataFileContents readDataFile(const std::string& path, const std::atomic<bool>* cancel = nullptr);

// The same for a whole file image already in memory (the last 16 bytes are
// the trailer). ReadDataFile and the fuzzer share this path.
DataFileContents parseDataFile(std::string_view image, const std::atomic<bool>* cancel = nullptr);

// The trailer's DataDate, from the last 8 bytes only; nothing when the file is
// missing or shorter than 8 bytes.
std::optional<double> readDataDate(const std::string& path);

// On a case-sensitive file system: the path of the file in path's directory
// whose name equals path's name without regard to A-Z case. An exact match
// wins; among several others the first in byte order. Returns `path` itself
// when nothing matches.
std::string resolvePath(const std::string& path);

// Most of a user word list that is read. The lists are plain text the user
// edits, read afresh for every query; a file beyond this size is not a word
// list, and the cap keeps WordList's 32-bit offsets safe. Only the first
// kMaxUserListBytes are read and the line they cut short is dropped.
inline constexpr std::size_t kMaxUserListBytes = std::size_t{64} << 20;

// User word lists: the file's lines (SplitLines) after UserListTo1252, so a
// UTF-8 file with LF line ends reads as well as a Windows one; empty when the
// file is missing, unreadable or not a regular file. The name is found
// whatever its case on disk.
WordList readUserWordList(const std::string& path);

// The word of a user line: its text before the first '=', or the whole line.
std::string_view entryWord(std::string_view line);

// The translation of the first line whose word equals `word` with A-Z folded,
// or the empty text (also for an empty word).
std::string_view findTranslation(const WordList& list, std::string_view word);

}  // namespace tavro2
