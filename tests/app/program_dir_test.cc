#include "app/program_dir.h"

#include <errno.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/history_list.h"
#include "app/settings.h"
#include "app/storage.h"
#include "test_util.h"

namespace tavro2 {
namespace {

// Restores the program directory a test changes.
class ProgramDirTest : public ::testing::Test {
 protected:
  ~ProgramDirTest() override { SetProgramDirectory(saved_); }
  std::string saved_ = ProgramDirectory();
};

TEST_F(ProgramDirTest, IsTheExecutablesDirectoryWhateverTheWorkingDirectory) {
  const std::string dir = ExecutableDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.front(), '/');
  EXPECT_EQ(dir.back(), '/');
  EXPECT_TRUE(test::fileExists(dir + program_invocation_short_name));

  const std::string cwd = std::filesystem::current_path();
  test::TempDir elsewhere;
  ASSERT_EQ(::chdir(elsewhere.path().c_str()), 0);
  EXPECT_EQ(ExecutableDirectory(), dir);
  ASSERT_EQ(::chdir(cwd.c_str()), 0);
}

TEST_F(ProgramDirTest, OverrideGainsTrailingSlashAndHoldsTheFiles) {
  SetProgramDirectory("/data/tavro");
  EXPECT_EQ(ProgramDirectory(), "/data/tavro/");
  SetStorage(StorageIn("/data/tavro"));  // as --dir does
  EXPECT_EQ(HistoryFilePath(), "/data/tavro/History.txt");
  EXPECT_EQ(SettingsFilePath(), "/data/tavro/Tavro2.ini");
  SetProgramDirectory("/data/tavro/");
  EXPECT_EQ(ProgramDirectory(), "/data/tavro/");
  SetProgramDirectory("rel");
  EXPECT_EQ(ProgramDirectory(), "rel/");
  SetProgramDirectory("");
  EXPECT_EQ(ProgramDirectory(), "./");
}

}  // namespace
}  // namespace tavro2
