#include "tools/data_writer.h"

#include <gtest/gtest.h>

#include "app/failing_rename.h"
#include "engine/data_file.h"
#include "test_util.h"

namespace tavro2 {
namespace {

std::uint32_t u32At(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(s[at + i]);
  return v;
}

// The sizes of the chunks of a block, walking its ChunkSize fields; each
// must lie within the limit, and together they must fill the block.
std::vector<std::uint32_t> chunkSizes(const std::string& block) {
  std::vector<std::uint32_t> sizes;
  std::size_t pos = 4;
  for (; pos + 4 <= block.size(); pos += 4 + sizes.back()) {
    sizes.push_back(u32At(block, pos));
    EXPECT_LE(sizes.back(), kMaxChunkSize);
  }
  EXPECT_EQ(pos, block.size());
  return sizes;
}

// The trailer is read back by every data-file test; here the pieces, the dates and a failed write.
TEST(DataWriterTest, PiecesOfOneChunkDatesAndAFailedWriteKeepingTheOldFile) {
  const std::pair<std::size_t, std::size_t> rows[] = {
      {0, 0}, {1, 1}, {kPieceSize, 1}, {kPieceSize + 1, 2}, {2 * kPieceSize + 5, 3}};
  for (const auto& [length, chunks] : rows) {
    std::string text(length, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i * 7 % 26);
    const std::string block = compressBlock(text, 1);
    EXPECT_EQ(u32At(block, 0), length);
    EXPECT_EQ(chunkSizes(block).size(), chunks) << length;
    const BlockText decoded = decompressBlock(block);
    EXPECT_FALSE(decoded.damaged);
    EXPECT_EQ(decoded.text, text) << length;
  }

  // Incompressible pieces stay within the chunk limit.
  std::string noise(kPieceSize, '\0');
  std::uint32_t x = 12345;
  for (char& c : noise) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
  const std::string block = compressBlock(noise, 10);
  ASSERT_EQ(chunkSizes(block).size(), 1u);
  EXPECT_GT(chunkSizes(block)[0], kPieceSize);  // really incompressible
  EXPECT_EQ(decompressBlock(block).text, noise);
  EXPECT_EQ(dataDateOf(1, 1, 1), 1.0);
  EXPECT_EQ(dataDateOf(2009, 1, 1), 733408.0);
  EXPECT_EQ(dataDateOf(1899, 12, 30), 693594.0);
  EXPECT_EQ(dataDateOf(2000, 3, 1) - dataDateOf(2000, 2, 28), 2.0);  // leap year
  EXPECT_EQ(dataDateOf(1900, 3, 1) - dataDateOf(1900, 2, 28), 1.0);  // no leap day in 1900
  test::TempDir dir;
  const std::string path = dir.file("dataen.dat");
  ASSERT_TRUE(writeDataFile(path, "old\r\n", "lama\r\n", 1.0));
  {
    test::FailingRename crash;
    EXPECT_FALSE(writeDataFile(path, "new\r\n", "baru\r\n", 1.0));
  }
  EXPECT_EQ(readDataFile(path).headwords, "old\r\n");
  EXPECT_FALSE(writeDataFile(dir.file("no/such/dir.dat"), "a", "b", 1.0));
}

}  // namespace
}  // namespace tavro2
