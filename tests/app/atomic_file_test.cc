#include "app/atomic_file.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST_F(AtomicFileTest, CreatesAndReplacesKeepingPermissionsAndLinksButRefusesLoops) {
  const std::string path = dir_.file("a.txt");
  ASSERT_TRUE(writeFileAtomically(path, "one"));
  EXPECT_EQ(readFile(path), "one");
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(modeOf(path), 0666 & ~mask);

  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(writeFileAtomically(path, std::string("t\0wo", 4)));
  EXPECT_EQ(readFile(path), std::string("t\0wo", 4));
  EXPECT_EQ(modeOf(path), 0640u);

  std::filesystem::create_symlink(path, dir_.file("link.txt"));
  ASSERT_TRUE(writeFileAtomically(dir_.file("link.txt"), "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir_.file("link.txt")));
  EXPECT_EQ(readFile(path), "new");
  EXPECT_EQ(entries(), 2);
  std::filesystem::create_symlink("loop2", dir_.file("loop1"));
  std::filesystem::create_symlink("loop1", dir_.file("loop2"));
  EXPECT_FALSE(writeFileAtomically(dir_.file("loop1"), "x"));
}

TEST_F(AtomicFileTest, RefusedWritesChangeNothing) {
  EXPECT_FALSE(writeFileAtomically(dir_.file("no-such-dir/a.txt"), "x"));
  writeFile(dir_.file("plain"), "file");
  EXPECT_FALSE(writeFileAtomically(dir_.file("plain/a.txt"), "x"));  // a file as directory
  std::filesystem::create_directory(dir_.file("sub"));
  EXPECT_FALSE(writeFileAtomically(dir_.file("sub"), "x"));  // the target is a directory
  EXPECT_FALSE(writeFileAtomically("", "x"));

  // A read-only file stays, even for root.
  writeFile(dir_.file("ro.txt"), "keep");
  ::chmod(dir_.file("ro.txt").c_str(), 0444);
  EXPECT_FALSE(writeFileAtomically(dir_.file("ro.txt"), "x"));
  EXPECT_EQ(readFile(dir_.file("ro.txt")), "keep");
  EXPECT_EQ(entries(), 3);  // plain, sub, ro.txt: no temporary left

  if (::geteuid() != 0) {  // root may write into a read-only directory
    ::chmod(dir_.path().c_str(), 0555);
    EXPECT_FALSE(writeFileAtomically(dir_.file("plain"), "x"));
    ::chmod(dir_.path().c_str(), 0755);
    EXPECT_EQ(readFile(dir_.file("plain")), "file");
  }
}

TEST_F(AtomicFileTest, ReadsAreBoundedAndStaleTemporariesOfDeadWritersGo) {
  ASSERT_EQ(::mkfifo(dir_.file("fifo").c_str(), 0600), 0);
  bool missing = true;
  EXPECT_TRUE(!readFileBytes(dir_.file("fifo"), &missing) && !missing);
  EXPECT_FALSE(readFileTail(dir_.file("fifo"), 10));

  writeFile(dir_.file("ten"), "0123456789");
  EXPECT_EQ(readFileBytes(dir_.file("ten"), &missing, 10), "0123456789");
  EXPECT_FALSE(readFileBytes(dir_.file("ten"), &missing, 9));
  EXPECT_FALSE(missing);  // too large is not missing: a writer must not replace it
  bool cut = true;
  EXPECT_EQ(readFileTail(dir_.file("ten"), 10, &cut), "0123456789");
  EXPECT_FALSE(cut);
  EXPECT_EQ(readFileTail(dir_.file("ten"), 4, &cut), "6789");
  EXPECT_TRUE(cut);
  // Stale: only our own names, from processes that are gone, older than this process.
  const std::string target = dir_.file("History.txt");
  const std::string self = std::to_string(::getpid());
  const struct { std::string name; bool old; bool removed; } rows[] = {
      {"History.txt.tmp.999999999.3", true, true},  // above any pid: gone
      {"History.txt.tmp." + self + ".0", true, false},
      {"History.txt.tmp.999999999.4", false, false},
      {"History.txt.tmp.999999999", true, false},
      {"Other.txt.tmp.999999999.3", true, false},
  };
  for (const auto& row : rows) {
    writeFile(dir_.file(row.name), "partial");
    const time_t when = row.old ? 946684800 : 4102444800;  // 2000 or 2100
    const struct timespec times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, dir_.file(row.name).c_str(), times, 0), 0);
  }
  EXPECT_EQ(removeStaleTemporaries(target), 1u);
  for (const auto& row : rows)
    EXPECT_EQ(test::fileExists(dir_.file(row.name)), !row.removed) << row.name;
}

}  // namespace
}  // namespace tavro2
