#include "engine/data_file.h"

#include <sys/stat.h>
#include <ucl/ucl.h>
#include <unistd.h>

#include <random>
#include <stdexcept>

#include "lookup_fixture.h"
#include "tools/data_writer.h"

namespace tavro2 {
namespace {

using test::lines;
using test::TempDir;
using test::writeFile;
using Strings = std::vector<std::string>;

std::string u32(std::uint32_t v) {
  return std::string(reinterpret_cast<const char*>(&v), 4);  // little-endian host, as the format
}
// Raw NRV2E data of one piece (no ChunkSize), at a fast level.
std::string compressPiece(std::string_view piece) {
  [[maybe_unused]] static const int init = ucl_init();
  std::string out(piece.size() + piece.size() / 8 + 256, '\0');
  ucl_uint len = static_cast<ucl_uint>(out.size());
  if (ucl_nrv2e_99_compress(reinterpret_cast<const unsigned char*>(piece.data()),
                            static_cast<ucl_uint>(piece.size()),
                            reinterpret_cast<unsigned char*>(out.data()), &len, nullptr, 1, nullptr,
                            nullptr) != UCL_E_OK)
    throw std::runtime_error("compress");
  out.resize(len);
  return out;
}

std::string chunk(std::string_view data) {
  return u32(static_cast<std::uint32_t>(data.size())).append(data);
}
std::string join(const Strings& pieces, std::size_t n = SIZE_MAX) {
  std::string out;
  for (std::size_t i = 0; i < n && i < pieces.size(); ++i) out += pieces[i];
  return out;
}

// One chunk per piece (the writer makes 262144-byte pieces only).
std::string blockOf(const Strings& pieces, std::optional<std::uint32_t> textSize = {}) {
  std::string out = u32(textSize.value_or(static_cast<std::uint32_t>(join(pieces).size())));
  for (const auto& p : pieces) out += chunk(compressPiece(p));
  return out;
}
std::string trailer(std::size_t first, std::size_t second, double date = 733408.0) {
  return u32(static_cast<std::uint32_t>(first)) + u32(static_cast<std::uint32_t>(second)) +
         std::string(reinterpret_cast<const char*>(&date), 8);
}
std::string fileOf(const std::string& first, const std::string& second) {
  return first + second + trailer(first.size(), second.size());
}

// Incompressible NRV2E data exactly `size` bytes long.
std::string chunkDataOfSize(std::size_t size) {
  std::mt19937 rng(7);
  std::string noise(size, '\0');
  for (char& c : noise) c = static_cast<char>(rng());
  std::size_t n = size * 8 / 9;
  for (int tries = 0; tries < 64; ++tries) {
    const std::string c = compressPiece(std::string_view(noise).substr(0, n));
    if (c.size() == size) return c;
    const auto diff = static_cast<std::ptrdiff_t>(size) - static_cast<std::ptrdiff_t>(c.size());
    n += diff > 0 ? std::max<std::ptrdiff_t>(1, diff * 8 / 9)
                  : std::min<std::ptrdiff_t>(-1, diff * 8 / 9);
  }
  throw std::runtime_error("no piece compresses to the wanted size");
}
class DataFileTest : public ::testing::Test {
 protected:
  TempDir dir_;
};

// Three pieces per block, the last one short, to cross chunk boundaries.
TEST_F(DataFileTest, ReadsBackWhatTheWriterWrote) {
  std::string text, trans;
  for (int i = 0; text.size() < 2 * kPieceSize + 1000; ++i) {
    text += "word" + std::to_string(i) + "\r\n";
    trans += "n kata " + std::to_string(i * 7) + " (arti)\r\n";
  }
  const double date = dataDateOf(2011, 6, 15) + 0.5;
  ASSERT_TRUE(writeDataFile(dir_.file("dataen.dat"), text, trans, date, 1));
  const DataFileContents c = readDataFile(dir_.file("dataen.dat"));
  EXPECT_TRUE(c.outcome == DataOutcome::kLoaded && c.headwords == text && c.translations == trans);
  EXPECT_EQ(c.dataDate, date);
  EXPECT_EQ(readDataDate(dir_.file("dataen.dat")), date);
  ASSERT_TRUE(writeDataFile(dir_.file("datapr.dat"), "", "", 1.0));
  const DataFileContents empty = readDataFile(dir_.file("datapr.dat"));
  EXPECT_TRUE(empty.outcome == DataOutcome::kLoaded && empty.headwords.empty());

  std::atomic<bool> cancel{true};  // stops between chunks
  EXPECT_TRUE(decompressBlock(compressBlock(text, 1), &cancel).cancelled);
  EXPECT_EQ(parseDataFile(fileOf(blockOf({"a"}), blockOf({"b"})), &cancel).outcome,
            DataOutcome::kCancelled);
}

TEST_F(DataFileTest, TextSizeCutsTheTextOrFallsShortAndChunkSizeLimitIsInclusive) {
  const Strings pieces = {"alpha\r\n", "beta\r\n", "gamma\r\n"};
  const std::pair<std::string, std::string> rows[] = {
      // Shorter: chunks after the cut are never looked at.
      {blockOf(pieces, 9) + "\xFF\xFF\xFF\xFF garbage", "alpha\r\nbe"},
      {blockOf(pieces, 1000), join(pieces)},         // longer: not damage
      {blockOf(pieces, 0xFFFFFFFFu), join(pieces)},  // 4 GiB
      // Trailing bytes too few for a ChunkSize end the block quietly.
      {blockOf(pieces, 1000) + "\x01\x02", join(pieces)},
  };
  for (const auto& [block, text] : rows) {
    const BlockText b = decompressBlock(block);
    EXPECT_TRUE(!b.damaged && b.text == text) << text;
    EXPECT_LT(b.text.capacity(), std::size_t{1} << 20);  // 4 GiB announced, not reserved
  }
  BlockText b = decompressBlock(u32(0xFFFFFFFFu) + chunk(chunkDataOfSize(kMaxChunkSize)));
  EXPECT_TRUE(!b.damaged && b.text.size() > kPieceSize);
  b = decompressBlock(u32(0xFFFFFFFFu) + chunk(compressPiece(std::string(kMaxChunkSize, 'a'))));
  EXPECT_TRUE(!b.damaged && b.text.size() == kMaxChunkSize);  // decoded to the output limit
  // One byte more is refused even though the decoder would take it.
  b = decompressBlock(u32(0xFFFFFFFFu) + chunk(compressPiece("kept\r\n")) +
                      chunk(chunkDataOfSize(kMaxChunkSize + 1)));
  EXPECT_TRUE(b.damaged && b.text == "kept\r\n");
}

TEST_F(DataFileTest, DamagedChunksKeepTheTextBeforeThem) {
  const std::pair<const char*, std::string> tails[] = {
      {"chunk runs past the block", u32(50) + "short"},
      {"decoder rejects the data", chunk(std::string(20, '\xFF'))},
      {"empty chunk", chunk("")},
      {"decodes past the output limit", chunk(compressPiece(std::string(kMaxChunkSize + 1, 'a')))},
  };
  for (const std::uint32_t textSize : {1000u, 0xFFFFFFFFu}) {
    for (const auto& [name, tail] : tails) {
      const BlockText b = decompressBlock(u32(textSize) + chunk(compressPiece("one\r\n")) + tail);
      EXPECT_TRUE(b.damaged && b.text == "one\r\n") << name;
    }
  }
  EXPECT_TRUE(decompressBlock("\x01\x00").damaged);  // no room for TextSize

  // In a file, the line the damage cut ("th", after a bare CR) is dropped.
  const std::string first =
      u32(100) + chunk(compressPiece("one\r\ntwo\rth")) + chunk("\xFF\xFF\xFF\xFF");
  DataFileContents c = parseDataFile(fileOf(first, blockOf({"satu\r\n", "dua"}) + chunk("junk")));
  EXPECT_EQ(c.outcome, DataOutcome::kDamaged);
  EXPECT_EQ(c.headwords + "|" + c.translations, "one\r\ntwo\r|satu\r\ndua");  // TextSize reached

  // A block clipped by the file's end and short of its TextSize likewise.
  const std::string clipped = blockOf({"a\r\nb", "c\r\n"}, 6);
  const std::size_t cut = 4 + 4 + compressPiece("a\r\nb").size() + 2;  // inside ChunkSize 2
  c = parseDataFile(clipped.substr(0, cut) + trailer(clipped.size(), 0));
  EXPECT_TRUE(c.outcome == DataOutcome::kDamaged && c.headwords == "a\r\n");
  const std::string x = blockOf({"x\r\n"});
  c = parseDataFile(x + clipped.substr(0, cut) + trailer(x.size(), clipped.size()));
  EXPECT_EQ(c.outcome, DataOutcome::kDamaged);
  EXPECT_EQ(c.headwords + "|" + c.translations, "x\r\n|a\r\n");
  // Short of TextSize but whole: no damage, the last line stays.
  c = parseDataFile(fileOf(blockOf({"a\r\nb"}, 100), blockOf({"x\r\ny"}, 100)));
  EXPECT_EQ(c.outcome, DataOutcome::kLoaded);
  EXPECT_EQ(c.headwords + "|" + c.translations, "a\r\nb|x\r\ny");
}

// Three chunks or more decode in parallel; a bad chunk leaves no gap.
TEST_F(DataFileTest, ParallelDecodingChecksEveryChunk) {
  std::mt19937 rng(5);
  const auto letters = [&](std::size_t n) {
    std::string s(n, 'a');
    for (char& c : s) c = static_cast<char>('a' + rng() % 26);
    return s;
  };
  const Strings pieces = {letters(kPieceSize), letters(kPieceSize - 100), letters(1000)};
  const BlockText b = decompressBlock(blockOf(pieces, 2 * kPieceSize + 1000));
  EXPECT_TRUE(!b.damaged && b.text == join(pieces));  // no gtest diff of 800 KB
  const std::string junk = chunk(std::string(9000, '\xFF'));
  const BlockText bad = decompressBlock(u32(3 * kPieceSize) + junk + junk + junk);
  EXPECT_TRUE(bad.damaged && bad.text.empty());
}

// Bombs: one piece-sized chunk repeated; past either limit damaged with no text.
TEST_F(DataFileTest, DecodedSizeLimits) {
  const std::string letters = chunk(compressPiece(std::string(kPieceSize, 'a')));
  const std::string lineEnds = chunk(compressPiece(std::string(kPieceSize, '\r')));
  auto bomb = [](const std::string& piece, std::size_t pieces, std::uint64_t textSize) {
    std::string block = u32(static_cast<std::uint32_t>(std::min<std::uint64_t>(textSize, 0xFFFFFFFFu)));
    for (std::size_t i = 0; i < pieces; ++i) block += piece;
    return block;
  };
  const std::size_t overText = kMaxBlockText / kPieceSize + 1;
  const std::size_t atLines = kMaxBlockLines / kPieceSize;
  const struct { const char* what; std::string block; DataOutcome outcome; } rows[] = {
      {"text over the limit", bomb(letters, overText, overText * kPieceSize), DataOutcome::kDamaged},
      {"line ends at the limit", bomb(lineEnds, atLines, atLines * kPieceSize), DataOutcome::kLoaded},
      {"one line end more", bomb(lineEnds, atLines + 1, 0xFFFFFFFFu), DataOutcome::kDamaged},
  };
  // Each in the other block from the one before, so both blocks are checked.
  const std::string small = blockOf({"a\r\n"});
  bool first = true;
  for (const auto& row : rows) {
    const std::string image = first ? fileOf(row.block, small) : fileOf(small, row.block);
    first = !first;
    const DataFileContents c = parseDataFile(image);
    EXPECT_EQ(c.outcome, row.outcome) << row.what;
    if (row.outcome == DataOutcome::kDamaged) {
      EXPECT_TRUE(c.headwords.empty() && c.translations.empty()) << row.what;
    }
  }
  const BlockText b = decompressBlock(rows[0].block);
  EXPECT_TRUE(b.damaged && b.tooLarge && b.text.empty());
}

TEST_F(DataFileTest, MissingFilesAndUserWordLists) {
  EXPECT_FALSE(readDataDate(dir_.file("dataen.dat")));
  ASSERT_EQ(mkdir(dir_.file("dataid.dat").c_str(), 0700), 0);
  ASSERT_EQ(mkfifo(dir_.file("datapr.dat").c_str(), 0600), 0);  // must not block
  for (const char* name : {"dataen.dat", "dataid.dat", "datapr.dat"})
    EXPECT_EQ(readDataFile(dir_.file(name)).outcome, DataOutcome::kMissing) << name;
  writeFile(dir_.file("Tavro2EN.dat"), "bank=tepi\r\n");  // found whatever its case
  EXPECT_EQ(lines(readUserWordList(dir_.file("Tavro2en.dat"))), (Strings{"bank=tepi"}));
  writeFile(dir_.file("empty.dat"), "");
  ASSERT_EQ(mkdir(dir_.file("dir.dat").c_str(), 0700), 0);
  for (const char* name : {"empty.dat", "missing.dat", "dir.dat"})
    EXPECT_TRUE(readUserWordList(dir_.file(name)).empty()) << name;

  // A sparse file past the cap: cut there, and the line it cuts is dropped.
  const std::string path = dir_.file("Tavro2id.dat");
  for (const char* text : {"a=b\r\nc=d\r\nno line end before the cap", "a=b\nc=d\nrest"}) {
    writeFile(path, text);
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(kMaxUserListBytes + 10)), 0);
    EXPECT_EQ(lines(readUserWordList(path)), (Strings{"a=b", "c=d"})) << text;
  }
}

TEST_F(DataFileTest, TrailerSizesAreCheckedAgainstTheFile) {
  const std::string abc = "a\r\nb\r\nc\r\n";
  const std::string first = blockOf({"a\r\n", "b\r\n", "c\r\n"}), second = blockOf({"x\r\n"});
  const std::string body = first + second;
  const struct { std::string image, headwords, translations; } rows[] = {
      {std::string(15, '\0'), "", ""},                            // shorter than a trailer
      {body + trailer(first.size(), 0xFFFFFFF0u), abc, "x\r\n"},  // block 2 far past the end
      // Nothing is allocated from them; block 1 runs to the trailer, its chunks are whole.
      {body + trailer(0xFFFFFFFFu, 0xFFFFFFFFu), abc, ""},
      {body + trailer(first.size(), second.size() + 1), abc, "x\r\n"},  // into the trailer
  };
  for (const auto& r : rows) {
    const DataFileContents c = parseDataFile(r.image);
    EXPECT_EQ(c.outcome, DataOutcome::kDamaged) << r.image.size();
    EXPECT_EQ(c.headwords + "|" + c.translations, r.headwords + "|" + r.translations);
  }
}

TEST_F(DataFileTest, FindsTheNameWhateverItsCaseOnDisk) {
  writeFile(dir_.file("DataEn.dat"), "x");
  EXPECT_EQ(resolvePath(dir_.file("dataen.dat")), dir_.file("DataEn.dat"));
  // Among several, an exact match wins, else the first in byte order.
  writeFile(dir_.file("dataEN.dat"), "x");
  writeFile(dir_.file("DATAEN.dat"), "x");
  EXPECT_EQ(resolvePath(dir_.file("dataen.dat")), dir_.file("DATAEN.dat"));
  EXPECT_EQ(resolvePath(dir_.file("dataEN.dat")), dir_.file("dataEN.dat"));
  // Only A-Z fold: a name differing in another letter is not the same name.
  writeFile(dir_.file("\xC9t\xE9.txt"), "x");
  EXPECT_EQ(resolvePath(dir_.file("\xE9t\xE9.txt")), dir_.file("\xE9t\xE9.txt"));
  EXPECT_EQ(resolvePath("/no/such/dir/x"), "/no/such/dir/x");
  test::writeEntries(dir_.file("DataId.dat"), {"kata"}, {"word"});
  EXPECT_EQ(readDataFile(dir_.file("dataid.dat")).headwords, "kata\r\n");
}

TEST(EntryTest, EntryWordAndFindTranslation) {
  for (const auto& [line, word] : std::vector<std::pair<const char*, const char*>>{
           {"a=b=c", "a"}, {"bank = tepi", "bank "}, {"kata", "kata"}, {"=x", ""}, {"", ""}})
    EXPECT_EQ(entryWord(line), word) << line;

  // Only A-Z fold, and the whole word must match.
  WordList list;
  for (const char* l : {"Bank=tepi", "bank=sungai", "a=b=c", "kata", "KATA=word", "bank =spasi",
                        "\xC9t\xE9=summer", "=empty word", "banking=perbankan"})
    list.append(l);
  const std::pair<const char*, const char*> rows[] = {
      {"bAnK", "tepi"},  {"a", "b=c"}, {"kata", "word"}, {"bank ", "spasi"},
      {"\xE9t\xE9", ""}, {"ban", ""},  {"", ""},         {"banking", "perbankan"},
  };
  for (const auto& [word, translation] : rows)
    EXPECT_EQ(findTranslation(list, word), translation) << word;
}

}  // namespace
}  // namespace tavro2
