#include "app/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "test_util.h"

namespace tavro2 {
namespace {

using test::readFile;
using test::writeFile;

class AtomicFileTest : public ::testing::Test {
 protected:
  long entries() const {
    return std::distance(std::filesystem::directory_iterator(dir_.path()),
                         std::filesystem::directory_iterator());
  }
  static mode_t modeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
  }
  test::TempDir dir_;
};

TEST_F(AtomicFileTest, CreatesAndReplacesKeepingPermissionsAndLinks) {
  const std::string path = dir_.file("a.txt");
  ASSERT_TRUE(WriteFileAtomically(path, "one"));
  EXPECT_EQ(readFile(path), "one");
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(modeOf(path), 0666 & ~mask);

  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomically(path, std::string("t\0wo", 4)));
  EXPECT_EQ(readFile(path), std::string("t\0wo", 4));
  EXPECT_EQ(modeOf(path), 0640u);

  std::filesystem::create_symlink(path, dir_.file("link.txt"));
  ASSERT_TRUE(WriteFileAtomically(dir_.file("link.txt"), "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir_.file("link.txt")));
  EXPECT_EQ(readFile(path), "new");
  EXPECT_EQ(entries(), 2);
}

TEST_F(AtomicFileTest, RefusedWritesChangeNothing) {
  EXPECT_FALSE(WriteFileAtomically(dir_.file("no-such-dir/a.txt"), "x"));
  writeFile(dir_.file("plain"), "file");
  EXPECT_FALSE(WriteFileAtomically(dir_.file("plain/a.txt"), "x"));  // a file as directory
  std::filesystem::create_directory(dir_.file("sub"));
  EXPECT_FALSE(WriteFileAtomically(dir_.file("sub"), "x"));  // the target is a directory
  EXPECT_FALSE(WriteFileAtomically("", "x"));

  // A read-only file stays, even for root.
  writeFile(dir_.file("ro.txt"), "keep");
  ::chmod(dir_.file("ro.txt").c_str(), 0444);
  EXPECT_FALSE(WriteFileAtomically(dir_.file("ro.txt"), "x"));
  EXPECT_EQ(readFile(dir_.file("ro.txt")), "keep");
  EXPECT_EQ(entries(), 3);  // plain, sub, ro.txt: no temporary left
}

}  // namespace
}  // namespace tavro2
