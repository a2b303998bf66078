#include "app/program_dir.h"

#include <errno.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "test_util.h"

namespace tavro2 {
namespace {

TEST(ProgramDirTest, IsTheExecutablesDirectoryWhateverTheWorkingDirectory) {
  const std::string dir = executableDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.front(), '/');
  EXPECT_EQ(dir.back(), '/');
  EXPECT_TRUE(test::fileExists(dir + program_invocation_short_name));

  const std::string cwd = std::filesystem::current_path();
  test::TempDir elsewhere;
  ASSERT_EQ(::chdir(elsewhere.path().c_str()), 0);
  EXPECT_EQ(executableDirectory(), dir);
  ASSERT_EQ(::chdir(cwd.c_str()), 0);
}

}  // namespace
}  // namespace tavro2
