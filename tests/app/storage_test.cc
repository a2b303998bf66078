#include "app/storage.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <tuple>

#include "test_util.h"

namespace tavro2 {
namespace {

TEST(StorageTest, DecidesReadsAndPreparesEachPlaceAndNamesMissingData) {
  const struct {
    const char* name;
    bool writable, dataBeside, dataShared;
    const char *configHome, *dataHome;
    StoragePlaces want;
  } rows[] = {
      {"writable build tree", true, true, false, "", "", {"/opt/t/", "/opt/t/", "/opt/t/", true}},
      {"writable, no data anywhere", true, false, false, "", "", {"/opt/t/", "/opt/t/", "/opt/t/", true}},
      {"unpacked package (writable)", true, false, true, "", "",
       {"/opt/share/tavro2/", "/home/u/.config/tavro2/", "/home/u/.local/share/tavro2/", false}},
      {"read-only with data beside", false, true, true, "", "",
       {"/opt/t/", "/home/u/.config/tavro2/", "/home/u/.local/share/tavro2/", false}},
      {"read-only, XDG set", false, false, true, "/x/c", "/x/d/",
       {"/opt/share/tavro2/", "/x/c/tavro2/", "/x/d/tavro2/", false}},
      {"relative XDG ignored", false, false, false, "rel", "rel",
       {"/opt/share/tavro2/", "/home/u/.config/tavro2/", "/home/u/.local/share/tavro2/", false}},
  };
  for (const auto& row : rows) {
    const StoragePlaces got = decideStorage({"/opt/t/", row.writable, row.dataBeside,
                                             row.dataShared, "/home/u", row.configHome,
                                             row.dataHome});
    EXPECT_EQ(std::tie(got.dataDir, got.configDir, got.userDir, got.portable),
              std::tie(row.want.dataDir, row.want.configDir, row.want.userDir, row.want.portable))
        << row.name;
  }
  const std::string none = " Missing: dataen.dat, dataid.dat, datapr.dat";
  EXPECT_EQ(noteMissingData(" not found", none), " not found - no dictionary data");
  const std::string missing = " Missing: dataid.dat; Damaged: datapr.dat";
  EXPECT_EQ(noteMissingData(" not found", missing), " not found -" + missing);
  EXPECT_EQ(noteMissingData(" English word", missing), " English word");
  EXPECT_EQ(noteMissingData(" not found", " Data OK"), " not found");
  test::TempDir root;
  ::mkdir((root.path() + "bin").c_str(), 0755);
  ::mkdir((root.path() + "share").c_str(), 0755);
  ::mkdir((root.path() + "share/tavro2").c_str(), 0755);
  test::writeFile(root.file("share/tavro2/DataEn.dat"), "x");  // found whatever its case
  const StorageInputs in = currentStorageInputs(root.path() + "bin");
  EXPECT_EQ(in.programDir, root.path() + "bin/");
  EXPECT_TRUE(!in.programDirHasData && in.shareDirHasData);

  const StoragePlaces places{root.path() + "share/tavro2/", root.file("c/tavro2/"),
                             root.file("d/tavro2/"), false};
  // The first window names its place before creating it; a later one finds
  // it made, and must still meet the first.
  const std::string before = places.identity();
  ASSERT_TRUE(prepareStorage(places));
  EXPECT_EQ(places.identity(), before);
  struct stat st {};
  ASSERT_EQ(::stat(places.userDir.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_TRUE(test::fileExists(places.configDir));
  // One window per place, however the place is named.
  EXPECT_EQ(storageIn(root.path() + "bin/../share").identity(),
            storageIn(root.path() + "share/").identity());
  EXPECT_NE(storageIn(root.path() + "bin").identity(), storageIn(root.path() + "share").identity());
}

}  // namespace
}  // namespace tavro2
