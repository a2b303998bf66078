// The command line on the default dictionary built beside the program:
// everyday words of either language, inflected or not, find an entry.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "test_util.h"

namespace tavro2::test {
namespace {

TEST(DefaultDataLookupTest, EverydayWordsFindTheirEntries) {
  const std::string data = std::string(TAVRO2_BUILD_DIR) + "/";
  if (!fileExists(data + "dataen.dat") || !fileExists(data + "DATA-NOTICE"))
    GTEST_SKIP() << "the default dictionary is not built";
  const struct {
    const char* word;
    const char* translationStart;  // the pane shows the headword first
    const char* contains;
  } rows[] = {
      {"look", "\"translation\":\"look ", "melihat"},
      {"went", "\"translation\":\"go ", ""},
      {"children", "\"translation\":\"child ", ""},
      {"digunakan", "\"translation\":\"guna ", ""},
      {"memiliki", "\"translation\":\"memiliki ", "own"},  // a headword of its own
      {"at", "\"translation\":\"at ", ""},
  };
  TempDir out;
  for (const auto& r : rows) {
    const std::string cmd = std::string("LC_ALL=C '") + TAVRO2_BINARY + "' --lookup " + r.word +
                            " --dir '" + data + "' >'" + out.file("out.json") + "'";
    const int status = std::system(cmd.c_str());
    const std::string json = readFile(out.file("out.json"));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << r.word << ": " << json;
    EXPECT_NE(json.find(r.translationStart), std::string::npos) << json;
    EXPECT_NE(json.find(r.contains), std::string::npos) << json;
  }
}

}  // namespace
}  // namespace tavro2::test
