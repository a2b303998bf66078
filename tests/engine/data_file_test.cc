#include "engine/data_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <ucl/ucl.h>
#include <unistd.h>

#include <cstring>
#include <random>
#include <stdexcept>

#include "test_util.h"
#include "tools/data_writer.h"

namespace tavro2 {
namespace {

using test::TempDir;
using test::writeFile;

void putU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Raw NRV2E data of one piece (no ChunkSize), at a fast level.
std::string compressPiece(std::string_view piece) {
  static const bool ok = ucl_init() == UCL_E_OK;
  if (!ok) throw std::runtime_error("ucl_init");
  std::string out(piece.size() + piece.size() / 8 + 256, '\0');
  ucl_uint len = static_cast<ucl_uint>(out.size());
  if (ucl_nrv2e_99_compress(reinterpret_cast<const unsigned char*>(piece.data()),
                            static_cast<ucl_uint>(piece.size()),
                            reinterpret_cast<unsigned char*>(out.data()), &len, nullptr, 1,
                            nullptr, nullptr) != UCL_E_OK)
    throw std::runtime_error("compress");
  out.resize(len);
  return out;
}

std::uint32_t u32At(const std::string& s, std::size_t at) {
  std::uint32_t v;
  std::memcpy(&v, s.data() + at, 4);
  return v;  // little-endian host, as the format is
}

// Compares long texts without gtest's line diff, which is quadratic.
::testing::AssertionResult sameText(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  std::size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                       << ", first difference at " << at;
}

std::string chunk(std::string_view data) {
  std::string out;
  putU32(out, static_cast<std::uint32_t>(data.size()));
  return out.append(data);
}

// A block of one chunk per piece, which the writer (fixed 262144-byte
// pieces) cannot make: small chunks let a small file have many of them.
std::string blockOf(const std::vector<std::string>& pieces, std::uint32_t textSize) {
  std::string out;
  putU32(out, textSize);
  for (const auto& p : pieces) out += chunk(compressPiece(p));
  return out;
}
std::string blockOf(const std::vector<std::string>& pieces) {
  std::size_t size = 0;
  for (const auto& p : pieces) size += p.size();
  return blockOf(pieces, static_cast<std::uint32_t>(size));
}

std::string trailer(std::size_t first, std::size_t second, double date = 733408.0) {
  std::string out;
  putU32(out, static_cast<std::uint32_t>(first));
  putU32(out, static_cast<std::uint32_t>(second));
  char d[8];
  std::memcpy(d, &date, 8);
  return out.append(d, 8);
}

std::string fileOf(const std::string& first, const std::string& second) {
  return first + second + trailer(first.size(), second.size());
}

std::string join(const std::vector<std::string>& pieces, std::size_t n) {
  std::string out;
  for (std::size_t i = 0; i < n && i < pieces.size(); ++i) out += pieces[i];
  return out;
}

bool endsAtLineEnd(const std::string& text) {
  return text.empty() || text.back() == '\r' || text.back() == '\n';
}

std::string randomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string out(n, '\0');
  for (char& c : out) c = static_cast<char>(rng());
  return out;
}

// Incompressible data whose NRV2E form is exactly `size` bytes long; it
// decodes to a little more than size * 8 / 9 bytes.
std::string chunkDataOfSize(std::size_t size) {
  const std::string noise = randomBytes(size, 7);
  std::size_t n = size * 8 / 9;
  for (int tries = 0; tries < 64; ++tries) {
    const std::string c = compressPiece(std::string_view(noise).substr(0, n));
    if (c.size() == size) return c;
    const std::ptrdiff_t diff = static_cast<std::ptrdiff_t>(size) - static_cast<std::ptrdiff_t>(c.size());
    n += diff > 0 ? std::max<std::ptrdiff_t>(1, diff * 8 / 9) : std::min<std::ptrdiff_t>(-1, diff * 8 / 9);
  }
  throw std::runtime_error("no piece compresses to the wanted size");
}

// --- Line ends ----------------------------------------------------------

// The line rule written the plain way, to check the fast splitter against.
std::vector<std::string> referenceLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t cr = text.find('\r', pos);
    if (cr == std::string::npos) cr = text.size();
    lines.push_back(text.substr(pos, cr - pos));
    pos = cr + 1;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  return lines;
}

std::vector<std::string> linesOf(const WordList& list) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < list.count(); ++i) out.emplace_back(list[i]);
  return out;
}

TEST(SplitLinesTest, LineEndRules) {
  using V = std::vector<std::string>;
  const struct {
    std::string text;
    V lines;
  } rows[] = {
      {"", {}},
      {"a\r\nb", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b"}},            // no empty last line
      {"a\r\n\r\nb\r\n", {"a", "", "b"}},  // an empty line between two line ends
      {"a\rb", {"a", "b"}},                   // CR alone ends a line
      {"a\nb\r\n", {"a\nb"}},                // LF alone is a character
      {"a\r\n\nb", {"a", "\nb"}},            // only one LF is skipped
      {"\r\n", {""}},
      {"\r\r", {"", ""}},
      {"x", {"x"}},
  };
  for (const auto& r : rows) EXPECT_EQ(linesOf(SplitLines(r.text)), r.lines) << r.text;
}

TEST(SplitLinesTest, AgreesWithThePlainRuleOnRandomText) {
  std::mt19937 rng(42);
  const char alphabet[] = {'a', 'b', '\r', '\n', '\r'};
  for (int round = 0; round < 300; ++round) {
    std::string text(rng() % 100, '\0');
    for (char& c : text) c = alphabet[rng() % sizeof alphabet];
    const WordList list = SplitLines(text);
    ASSERT_EQ(linesOf(list), referenceLines(text)) << round;
    for (std::size_t i = 0; i < list.count(); ++i)
      ASSERT_EQ(list.lineAt(list.lineStart(i)), i);
  }
}

class DataFileTest : public ::testing::Test {
 protected:
  TempDir dir_;
};

// --- Reading what the writer wrote --------------------------------------

TEST_F(DataFileTest, ReadsBackWhatTheWriterWrote) {
  // Three pieces per block, the last one short, to cross chunk boundaries.
  std::string heads, trans;
  for (int i = 0; heads.size() < 2 * kPieceSize + 1000; ++i) {
    heads += "word" + std::to_string(i) + "\r\n";
    trans += "n kata " + std::to_string(i * 7) + " (arti)\r\n";
  }
  const double date = DataDateOf(2011, 6, 15) + 0.5;
  ASSERT_TRUE(WriteDataFile(dir_.file("dataen.dat"), heads, trans, date, 1));

  const DataFileContents c = ReadDataFile(dir_.file("dataen.dat"));
  EXPECT_EQ(c.outcome, DataOutcome::kLoaded);
  EXPECT_TRUE(sameText(c.headwords, heads));
  EXPECT_TRUE(sameText(c.translations, trans));
  EXPECT_EQ(c.dataDate, date);
  EXPECT_EQ(ReadDataDate(dir_.file("dataen.dat")), date);
}

// Blocks of several full pieces may be decoded on several threads; whatever
// road the decoder takes, the text is the one the chunk-by-chunk rule gives.
TEST_F(DataFileTest, LargeBlocksGiveTheSameTextOnAnyRoad) {
  std::string text;
  for (int i = 0; text.size() < 2 * kPieceSize + 1000; ++i) text += "line" + std::to_string(i) + "\r\n";
  const std::string block = CompressBlock(text, 1);
  EXPECT_TRUE(sameText(DecompressBlock(block).text, text));

  // TextSize short of what the last chunk gives.
  std::string cut = block;
  const std::uint32_t shorter = 2 * kPieceSize + 10;
  std::memcpy(cut.data(), &shorter, 4);
  EXPECT_TRUE(sameText(DecompressBlock(cut).text, text.substr(0, shorter)));

  // Pieces of other sizes than the writer's.
  const std::vector<std::string> pieces = {text.substr(0, kPieceSize - 1),
                                           text.substr(kPieceSize - 1, kPieceSize + 1),
                                           text.substr(2 * kPieceSize)};
  const BlockText odd = DecompressBlock(blockOf(pieces));
  EXPECT_FALSE(odd.damaged);
  EXPECT_TRUE(sameText(odd.text, text));
  // A short first piece, and a TextSize one byte more than the chunks give.
  const std::vector<std::string> short1 = {text.substr(0, kPieceSize - 1),
                                           text.substr(kPieceSize - 1, kPieceSize),
                                           text.substr(2 * kPieceSize - 1, 500)};
  const BlockText gap = DecompressBlock(blockOf(short1, 2 * kPieceSize + 500));
  EXPECT_FALSE(gap.damaged);
  EXPECT_TRUE(sameText(gap.text, text.substr(0, 2 * kPieceSize + 499)));

  // Damage in the second chunk keeps the first chunk's whole lines.
  std::string damaged = block;
  const std::size_t second = 4 + 4 + u32At(block, 4) + 4;
  for (std::size_t i = second; i < second + 64; ++i) damaged[i] = '\xFF';
  const DataFileContents c = ParseDataFile(fileOf(damaged, blockOf({"x\r\n"})));
  EXPECT_EQ(c.outcome, DataOutcome::kDamaged);
  const std::size_t kept = text.rfind("\r\n", kPieceSize - 2) + 2;
  EXPECT_TRUE(sameText(c.headwords, text.substr(0, kept)));

  std::atomic<bool> cancel{true};
  EXPECT_TRUE(DecompressBlock(block, &cancel).cancelled);
}

TEST_F(DataFileTest, EmptyTextsReadAsLoaded) {
  ASSERT_TRUE(WriteDataFile(dir_.file("datapr.dat"), "", "", 1.0));
  const DataFileContents c = ReadDataFile(dir_.file("datapr.dat"));
  EXPECT_EQ(c.outcome, DataOutcome::kLoaded);
  EXPECT_TRUE(c.headwords.empty());
  EXPECT_TRUE(c.translations.empty());
}

TEST_F(DataFileTest, BytesBetweenBlockTwoAndTrailerAreIgnored) {
  const std::string first = blockOf({"a\r\n"}), second = blockOf({"b\r\n"});
  const std::string image =
      first + second + std::string(100, '\xEE') + trailer(first.size(), second.size());
  const DataFileContents c = ParseDataFile(image);
  EXPECT_EQ(c.outcome, DataOutcome::kLoaded);
  EXPECT_EQ(c.headwords, "a\r\n");
  EXPECT_EQ(c.translations, "b\r\n");
}

// --- TextSize and ChunkSize rules ---------------------------------------

TEST_F(DataFileTest, TextSizeCutsTheTextOrFallsShort) {
  const std::vector<std::string> pieces = {"alpha\r\n", "beta\r\n", "gamma\r\n"};
  // Shorter: the text is cut, and chunks after the cut are never looked at.
  std::string shorter = blockOf(pieces, 9) + "\xFF\xFF\xFF\xFF garbage";
  BlockText b = DecompressBlock(shorter);
  EXPECT_EQ(b.text, "alpha\r\nbe");
  EXPECT_FALSE(b.damaged);

  // Longer: the text is what the chunks give, and that is not damage.
  b = DecompressBlock(blockOf(pieces, 1000));
  EXPECT_EQ(b.text, join(pieces, 3));
  EXPECT_FALSE(b.damaged);

  // 4 GiB announced by a few dozen bytes must not reserve 4 GiB.
  b = DecompressBlock(blockOf(pieces, 0xFFFFFFFFu));
  EXPECT_EQ(b.text, join(pieces, 3));
  EXPECT_FALSE(b.damaged);
  EXPECT_LT(b.text.capacity(), std::size_t{1} << 20);

  // Trailing bytes too few for a ChunkSize end the block quietly.
  b = DecompressBlock(blockOf(pieces, 1000) + "\x01\x02");
  EXPECT_EQ(b.text, join(pieces, 3));
  EXPECT_FALSE(b.damaged);
}

TEST_F(DataFileTest, ChunkSizeLimitIsInclusive) {
  const std::string atLimit = chunkDataOfSize(kMaxChunkSize);
  std::string block;
  putU32(block, 0xFFFFFFFFu);
  block += chunk(atLimit);
  BlockText b = DecompressBlock(block);
  EXPECT_FALSE(b.damaged);
  EXPECT_GT(b.text.size(), kPieceSize);  // more than a writer's piece, within the limit

  // One byte more is refused even though the decoder would take it.
  const std::string overLimit = chunkDataOfSize(kMaxChunkSize + 1);
  block.clear();
  putU32(block, 0xFFFFFFFFu);
  block += chunk(compressPiece("kept\r\n")) + chunk(overLimit);
  b = DecompressBlock(block);
  EXPECT_TRUE(b.damaged);
  EXPECT_EQ(b.text, "kept\r\n");
}

TEST_F(DataFileTest, ChunkDecodingPastTheOutputLimitIsDamage) {
  std::string block;
  putU32(block, 0xFFFFFFFFu);
  block += chunk(compressPiece("ok\r\n")) + chunk(compressPiece(std::string(kMaxChunkSize + 1, 'a')));
  const BlockText b = DecompressBlock(block);
  EXPECT_TRUE(b.damaged);
  EXPECT_EQ(b.text, "ok\r\n");
}

TEST_F(DataFileTest, DamagedChunksKeepTheTextBeforeThem) {
  const std::string good = compressPiece("one\r\n");
  struct Case {
    const char* name;
    std::string tail;  // what follows the good chunk
  };
  std::string pastEnd;
  putU32(pastEnd, 50);
  pastEnd += "short";
  const Case cases[] = {
      {"chunk runs past the block", pastEnd},
      {"decoder rejects the data", chunk(std::string(20, '\xFF'))},
      {"empty chunk", chunk("")},
  };
  for (const Case& c : cases) {
    std::string block;
    putU32(block, 1000);
    block += chunk(good) + c.tail;
    const BlockText b = DecompressBlock(block);
    EXPECT_TRUE(b.damaged) << c.name;
    EXPECT_EQ(b.text, "one\r\n") << c.name;
  }
  EXPECT_TRUE(DecompressBlock("\x01\x00").damaged);  // no room for TextSize
}

TEST_F(DataFileTest, DamageDropsTheLineItCut) {
  // "tw" would otherwise become a headword of its own.
  std::string first;
  putU32(first, 100);
  first += chunk(compressPiece("one\r\ntw")) + chunk("\xFF\xFF\xFF\xFF");
  const std::string second = blockOf({"satu\r\n", "dua"}) + chunk("junk");
  DataFileContents c = ParseDataFile(fileOf(first, second));
  EXPECT_EQ(c.outcome, DataOutcome::kDamaged);
  EXPECT_EQ(c.headwords, "one\r\n");
  EXPECT_EQ(c.translations, "satu\r\ndua");  // whole: TextSize was reached

  // A block clipped by the file's end and short of its TextSize likewise.
  const std::string clipped = blockOf({"a\r\nb", "c\r\n"}, 6);
  const std::size_t cut = 4 + 4 + compressPiece("a\r\nb").size() + 2;  // inside ChunkSize 2
  c = ParseDataFile(clipped.substr(0, cut) + trailer(clipped.size(), 0));
  EXPECT_EQ(c.outcome, DataOutcome::kDamaged);
  EXPECT_EQ(c.headwords, "a\r\n");
}

TEST_F(DataFileTest, StopsBetweenChunksWhenCancelled) {
  std::atomic<bool> cancel{true};
  const BlockText b = DecompressBlock(blockOf({"a\r\n", "b\r\n"}), &cancel);
  EXPECT_TRUE(b.cancelled);
  EXPECT_EQ(ParseDataFile(fileOf(blockOf({"a"}), blockOf({"b"})), &cancel).outcome,
            DataOutcome::kCancelled);
}

// --- Damaged and missing files ------------------------------------------

TEST_F(DataFileTest, MissingFilesAndOtherThingsOfThatName) {
  EXPECT_EQ(ReadDataFile(dir_.file("dataen.dat")).outcome, DataOutcome::kMissing);
  ASSERT_EQ(mkdir(dir_.file("dataid.dat").c_str(), 0700), 0);
  EXPECT_EQ(ReadDataFile(dir_.file("dataid.dat")).outcome, DataOutcome::kMissing);
  ASSERT_EQ(mkfifo(dir_.file("datapr.dat").c_str(), 0600), 0);  // must not block
  EXPECT_EQ(ReadDataFile(dir_.file("datapr.dat")).outcome, DataOutcome::kMissing);
  EXPECT_FALSE(ReadDataDate(dir_.file("dataen.dat")));
}

TEST_F(DataFileTest, TrailerSizesAreCheckedAgainstTheFile) {
  const std::vector<std::string> heads = {"a\r\n", "b\r\n", "c\r\n"};
  const std::string first = blockOf(heads), second = blockOf({"x\r\n"});
  const std::string body = first + second;

  // Shorter than a trailer.
  writeFile(dir_.file("dataen.dat"), std::string(15, '\0'));
  EXPECT_EQ(ReadDataFile(dir_.file("dataen.dat")).outcome, DataOutcome::kDamaged);

  // Block 2 announced far past the end: block 1 is still whole.
  writeFile(dir_.file("dataen.dat"), body + trailer(first.size(), 0xFFFFFFF0u));
  DataFileContents c = ReadDataFile(dir_.file("dataen.dat"));
  EXPECT_EQ(c.outcome, DataOutcome::kDamaged);
  EXPECT_EQ(c.headwords, join(heads, 3));
  EXPECT_EQ(c.translations, "x\r\n");

  // Both sizes at their maximum: nothing is allocated from them.
  writeFile(dir_.file("dataen.dat"), body + trailer(0xFFFFFFFFu, 0xFFFFFFFFu));
  c = ReadDataFile(dir_.file("dataen.dat"));
  EXPECT_EQ(c.outcome, DataOutcome::kDamaged);
  EXPECT_EQ(c.headwords, join(heads, 3));  // block 1 runs to the trailer, its chunks are whole
  EXPECT_TRUE(c.translations.empty());

  // A block reaching into the trailer is damage too.
  writeFile(dir_.file("dataen.dat"), body + trailer(first.size(), second.size() + 1));
  EXPECT_EQ(ReadDataFile(dir_.file("dataen.dat")).outcome, DataOutcome::kDamaged);
}

// Small files with one chunk per line, so damage can fall between lines.
class DamagedFileTest : public ::testing::Test {
 protected:
  const std::vector<std::string> heads_ = {"one\r\n", "two\r\n", "three\r\n", "four\r\n"};
  const std::vector<std::string> trans_ = {"satu\r\n", "dua\r\n", "tiga\r\n", "empat\r\n"};
  const std::string first_ = blockOf(heads_);
  const std::string second_ = blockOf(trans_);
  const std::string image_ = fileOf(first_, second_);
  TempDir dir_;

  // Offset where chunk k of a block starts.
  static std::size_t chunkStart(const std::vector<std::string>& pieces, std::size_t k) {
    std::size_t at = 4;
    for (std::size_t i = 0; i < k; ++i) at += 4 + compressPiece(pieces[i]).size();
    return at;
  }
  // How many pieces lie wholly before offset `at` of a block.
  static std::size_t piecesBefore(const std::vector<std::string>& pieces, std::size_t at) {
    std::size_t k = 0;
    while (k < pieces.size() && chunkStart(pieces, k + 1) <= at) ++k;
    return k;
  }
};

TEST_F(DamagedFileTest, EveryTruncationOfTheFile) {
  const std::string full = join(heads_, heads_.size());
  for (std::size_t n = 0; n < image_.size(); ++n) {
    const DataFileContents c = ParseDataFile(std::string_view(image_).substr(0, n));
    ASSERT_EQ(c.outcome, DataOutcome::kDamaged) << n;
    // The trailer is gone, so block 2 is anywhere; block 1 always starts at 0.
    EXPECT_EQ(full.substr(0, c.headwords.size()), c.headwords) << n;
    EXPECT_TRUE(endsAtLineEnd(c.headwords)) << n;
  }
}

TEST_F(DamagedFileTest, EveryTruncationOfTheBlocksUnderAWholeTrailer) {
  const std::string tail = trailer(first_.size(), second_.size());
  for (std::size_t n = 0; n < first_.size() + second_.size(); ++n) {
    const std::string image = (first_ + second_).substr(0, n) + tail;
    writeFile(dir_.file("dataen.dat"), image);
    // From memory and from disk alike.
    for (const DataFileContents& c : {ParseDataFile(image), ReadDataFile(dir_.file("dataen.dat"))}) {
      ASSERT_EQ(c.outcome, DataOutcome::kDamaged) << n;
      const std::size_t firstCut = std::min(n, first_.size());
      EXPECT_EQ(c.headwords, join(heads_, piecesBefore(heads_, firstCut))) << n;
      const std::size_t secondCut = n > first_.size() ? n - first_.size() : 0;
      EXPECT_EQ(c.translations, join(trans_, piecesBefore(trans_, secondCut))) << n;
    }
  }
}

TEST_F(DamagedFileTest, FlippedBytesNeverCrashAndKeepEarlierChunks) {
  for (std::size_t p = 0; p < image_.size(); ++p) {
    for (const unsigned char mask : {0x01, 0x80, 0xFF}) {
      std::string image = image_;
      image[p] = static_cast<char>(image[p] ^ mask);
      const DataFileContents c = ParseDataFile(image);
      if (c.outcome == DataOutcome::kDamaged && p < image_.size() - 16) {
        EXPECT_TRUE(endsAtLineEnd(c.headwords)) << p;
        EXPECT_TRUE(endsAtLineEnd(c.translations)) << p;
      }
      if (p >= 4 && p < first_.size()) {
        EXPECT_EQ(c.headwords.substr(0, join(heads_, piecesBefore(heads_, p)).size()),
                  join(heads_, piecesBefore(heads_, p)))
            << p;
        EXPECT_EQ(c.translations, join(trans_, trans_.size())) << p;
      } else if (p >= image_.size() - 8) {  // the date
        EXPECT_EQ(c.outcome, DataOutcome::kLoaded) << p;
        EXPECT_EQ(c.headwords, join(heads_, heads_.size())) << p;
      }
    }
  }
}

// --- File names and user word lists -------------------------------------

TEST_F(DataFileTest, FindsTheNameWhateverItsCaseOnDisk) {
  writeFile(dir_.file("DataEn.dat"), "x");
  EXPECT_EQ(ResolvePath(dir_.file("dataen.dat")), dir_.file("DataEn.dat"));
  EXPECT_EQ(ResolvePath(dir_.file("DATAEN.DAT")), dir_.file("DataEn.dat"));

  // Among several, an exact match wins, else the first in byte order.
  writeFile(dir_.file("dataEN.dat"), "x");
  writeFile(dir_.file("DATAEN.dat"), "x");
  EXPECT_EQ(ResolvePath(dir_.file("dataen.dat")), dir_.file("DATAEN.dat"));
  EXPECT_EQ(ResolvePath(dir_.file("dataEN.dat")), dir_.file("dataEN.dat"));

  // Only A-Z fold: a name differing in another letter is not the same name.
  writeFile(dir_.file("\xC9t\xE9.txt"), "x");
  EXPECT_EQ(ResolvePath(dir_.file("\xE9t\xE9.txt")), dir_.file("\xE9t\xE9.txt"));
  EXPECT_EQ(ResolvePath(dir_.file("nothing.dat")), dir_.file("nothing.dat"));
  EXPECT_EQ(ResolvePath("/no/such/dir/x"), "/no/such/dir/x");

  test::writeDataFile(dir_.file("DataId.dat"), {"kata"}, {"word"});
  EXPECT_EQ(ReadDataFile(dir_.file("dataid.dat")).headwords, "kata\r\n");
  EXPECT_EQ(ReadDataDate(dir_.file("DATAID.DAT")), DataDateOf(2009, 1, 1));
}

TEST_F(DataFileTest, UserWordListsReadTheirLines) {
  writeFile(dir_.file("Tavro2EN.dat"), "bank=tepi\r\n\r\nkata\rx=y\n=z");
  const WordList list = ReadUserWordList(dir_.file("Tavro2en.dat"));
  ASSERT_EQ(list.count(), 4u);
  EXPECT_EQ(list[0], "bank=tepi");
  EXPECT_EQ(list[1], "");
  EXPECT_EQ(list[2], "kata");
  EXPECT_EQ(list[3], "x=y\n=z");

  writeFile(dir_.file("empty.dat"), "");
  EXPECT_TRUE(ReadUserWordList(dir_.file("empty.dat")).empty());
  EXPECT_TRUE(ReadUserWordList(dir_.file("missing.dat")).empty());
  ASSERT_EQ(mkdir(dir_.file("dir.dat").c_str(), 0700), 0);
  EXPECT_TRUE(ReadUserWordList(dir_.file("dir.dat")).empty());
}

TEST_F(DataFileTest, HugeUserWordListIsCutAtTheCapBetweenLines) {
  // A sparse file: two lines, then zeros up to past the cap.
  const std::string path = dir_.file("Tavro2id.dat");
  writeFile(path, "a=b\r\nc=d\r\nno line end before the cap");
  ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(kMaxUserListBytes + 10)), 0);
  const WordList list = ReadUserWordList(path);
  ASSERT_EQ(list.count(), 2u);
  EXPECT_EQ(list[1], "c=d");
}

TEST(EntryTest, WordIsTheTextBeforeTheFirstEquals) {
  EXPECT_EQ(EntryWord("a=b=c"), "a");
  EXPECT_EQ(EntryWord("bank = tepi"), "bank ");
  EXPECT_EQ(EntryWord("kata"), "kata");
  EXPECT_EQ(EntryWord("=x"), "");
  EXPECT_EQ(EntryWord(""), "");
}

TEST(EntryTest, FindTranslationFoldsOnlyAToZAndNeedsTheWholeWord) {
  WordList list;
  for (const char* l : {"Bank=tepi", "bank=sungai", "a=b=c", "kata", "KATA=word", "bank =spasi",
                        "\xC9t\xE9=summer", "=empty word", "banking=perbankan"})
    list.append(l);
  const struct {
    const char* word;
    const char* translation;
  } rows[] = {
      {"bank", "tepi"},   {"BANK", "tepi"},   {"bAnK", "tepi"},        {"a", "b=c"},
      {"kata", "word"},   {"bank ", "spasi"}, {"\xC9t\xE9", "summer"}, {"\xE9t\xE9", ""},
      {"ban", ""},        {"", ""},           {"banking", "perbankan"}, {"tepi", ""},
  };
  for (const auto& r : rows) EXPECT_EQ(FindTranslation(list, r.word), r.translation) << r.word;
}

}  // namespace
}  // namespace tavro2
