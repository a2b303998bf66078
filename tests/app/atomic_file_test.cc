#include "app/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "app/failing_rename.h"
#include "test_util.h"

namespace tavro2 {
namespace {

using test::FailingRename;
using test::readFile;
using test::TempDir;
using test::writeFile;

std::size_t entriesIn(const std::string& dir) {
  std::size_t n = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir)) ++n;
  return n;
}

mode_t modeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0);
  return st.st_mode & 07777;
}

TEST(AtomicFileTest, CreatesAndReplacesKeepingPermissions) {
  TempDir dir;
  const std::string path = dir.file("a.txt");
  ASSERT_TRUE(WriteFileAtomically(path, "one"));
  EXPECT_EQ(readFile(path), "one");
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(modeOf(path), 0666 & ~mask);

  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomically(path, std::string("t\0wo", 4)));
  EXPECT_EQ(readFile(path), std::string("t\0wo", 4));
  EXPECT_EQ(modeOf(path), 0640u);
  EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(AtomicFileTest, FollowsASymbolicLink) {
  TempDir dir;
  writeFile(dir.file("real.txt"), "old");
  std::filesystem::create_symlink(dir.file("real.txt"), dir.file("link.txt"));
  ASSERT_TRUE(WriteFileAtomically(dir.file("link.txt"), "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.txt")));
  EXPECT_EQ(readFile(dir.file("real.txt")), "new");
}

TEST(AtomicFileTest, RefusedWritesChangeNothing) {
  TempDir dir;
  EXPECT_FALSE(WriteFileAtomically(dir.file("no-such-dir/a.txt"), "x"));
  writeFile(dir.file("plain"), "file");
  EXPECT_FALSE(WriteFileAtomically(dir.file("plain/a.txt"), "x"));  // a file as directory
  std::filesystem::create_directory(dir.file("sub"));
  EXPECT_FALSE(WriteFileAtomically(dir.file("sub"), "x"));  // the target is a directory
  EXPECT_FALSE(WriteFileAtomically("", "x"));

  // A read-only file stays, even for root.
  writeFile(dir.file("ro.txt"), "keep");
  ::chmod(dir.file("ro.txt").c_str(), 0444);
  EXPECT_FALSE(WriteFileAtomically(dir.file("ro.txt"), "x"));
  EXPECT_EQ(readFile(dir.file("ro.txt")), "keep");
  EXPECT_EQ(entriesIn(dir.path()), 3u);  // plain, sub, ro.txt: no temporary left
}

TEST(AtomicFileTest, FailedRenameLeavesOldFileWholeAndNoTemporary) {
  TempDir dir;
  writeFile(dir.file("a.txt"), "old contents");
  {
    FailingRename failing;
    EXPECT_FALSE(WriteFileAtomically(dir.file("a.txt"), "new"));
  }
  EXPECT_EQ(readFile(dir.file("a.txt")), "old contents");
  EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(AtomicFileTest, ReadTellsMissingFromUnreadable) {
  TempDir dir;
  bool missing = false;
  EXPECT_FALSE(readFileBytes(dir.file("none"), &missing));
  EXPECT_TRUE(missing);
  EXPECT_FALSE(readFileBytes(dir.path(), &missing));  // a directory exists but is no file
  EXPECT_FALSE(missing);
  writeFile(dir.file("a"), std::string("x\0y", 3));
  EXPECT_EQ(readFileBytes(dir.file("a"), &missing), std::string("x\0y", 3));
}

}  // namespace
}  // namespace tavro2
