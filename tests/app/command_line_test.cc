// End-to-end runs of the tavro2 program's command line on fixture data.
#include "app/command_line.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/program_dir.h"
#include "app/storage.h"
#include "test_util.h"

namespace tavro2::test {
namespace {

using Strings = std::vector<std::string>;
// The value of `key`, as written, in the program's one-line JSON object,
// whose members come in this order; "<missing>" when the order is broken.
std::string member(const std::string& json, const std::string& key) {
  static const Strings kKeys = {
      "query",   "found",          "status",         "words",  "translation", "translation_format",
      "related", "related_translation", "related_format", "phrases", "found_in_indonesian"};
  const auto k = std::find(kKeys.begin(), kKeys.end(), key);
  const std::size_t at = json.find((k == kKeys.begin() ? "{\"" : ",\"") + key + "\":");
  const std::size_t end = k + 1 == kKeys.end() ? json.size() - 1 : json.find(",\"" + k[1] + "\":");
  if (k == kKeys.end() || at == std::string::npos || end == std::string::npos || end < at)
    return "<missing>";
  return json.substr(at + key.size() + 4, end - at - key.size() - 4);
}

std::string shellQuote(const std::string& arg) {
  std::string q = "'";
  for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

class CommandLineTest : public ::testing::Test {
 protected:
  ProgramRun run(const Strings& args) {
    std::string cmd = "LC_ALL=C " + shellQuote(TAVRO2_BINARY);
    for (const auto& a : args) cmd += " " + shellQuote(a);
    cmd += " >" + shellQuote(dir.file("out.txt")) + " 2>" + shellQuote(dir.file("err.txt"));
    const int w = std::system(cmd.c_str());
    return {WIFEXITED(w) ? WEXITSTATUS(w) : -1, readFile(dir.file("out.txt")),
            readFile(dir.file("err.txt"))};
  }
  std::string lookup(const std::string& text, int expectedStatus) {
    ProgramRun r = run({"--lookup", text, "--dir", dir.path()});
    EXPECT_EQ(r.status, expectedStatus) << r.err;
    if (!r.out.ends_with("}\n")) throw std::runtime_error("no object line: " + r.out);
    r.out.pop_back();
    EXPECT_EQ(member(r.out, "found"), expectedStatus == 0 ? "true" : "false");
    return r.out;
  }
  void standardData(const std::string& settings = "") {
    writeDictionary(dir.path(), {{"run", "runway", "walk"},
                                 {"kki lari; running", "landasan", "kki berjalan"},
                                 {"lari", "kucing"}, {"run", "cat kb"},
                                 {"saya lari cepat", "kucing lari"}, {"I run fast", "the cat runs"}});
    if (!settings.empty()) writeFile(dir.file("Tavro2.ini"), "[General]\r\n" + settings);
  }

  TempDir dir;
};

// Every member in order; the phrase search takes the box text as typed.
TEST_F(CommandLineTest, LookupOfABaseFormAndSettingsChooseSideWindowAndPhrases) {
  standardData("ShowPhrase=1\r\n");
  const ProgramRun r = run({"--lookup", "Running", "--dir", dir.path()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, R"({"query":"Running","found":true,"status":" English word","words":["run"],)"
                   R"("translation":"run kki lari; running","translation_format":[)"
                   R"({"start":0,"length":3,"bold":true},)"
                   R"({"start":4,"length":3,"bold":true,"color":"#008000"},)"
                   R"({"start":14,"length":7,"bold":true}],)"
                   R"("related":["runway"],"related_translation":"runway landasan",)"
                   R"("related_format":[{"start":0,"length":6,"bold":true}],)"
                   R"("phrases":[],"found_in_indonesian":false})"
                   "\n");
  // Settings choose the side, the window and the phrases; the side looked up comes first.
  standardData("Language=3\r\nWordsAfter=5\r\nShowPhrase=1\r\n");
  std::string j = lookup("lari", 0);
  EXPECT_EQ(member(j, "status"), "\" Indonesian word (2 Phrase)\"");
  EXPECT_EQ(member(j, "words"), R"(["lari","kucing"])");
  EXPECT_EQ(member(j, "translation_format"), R"([{"start":0,"length":4,"bold":true}])");
  EXPECT_EQ(member(j, "phrases"),
            R"([["saya lari cepat","I run fast"],["kucing lari","the cat runs"]])");
  EXPECT_EQ(member(j, "found_in_indonesian"), "true");

  writeFile(dir.file("Tavro2.ini"), "[General]\r\nLanguage=2\r\nWordsBefore=250\r\n");
  j = lookup("lari", 1);
  EXPECT_EQ(member(j, "status"), R"(" not found")");
  EXPECT_EQ(member(j, "words"), "[]");
  lookup("run", 0);  // the command line writes nothing
  EXPECT_FALSE(fileExists(dir.file("History.txt")));
  EXPECT_EQ(readFile(dir.file("Tavro2.ini")), "[General]\r\nLanguage=2\r\nWordsBefore=250\r\n");
}

TEST_F(CommandLineTest, Utf8InAndOutAndStatusWhenNothingIsLookedUpOrFilesAreMissing) {
  standardData();
  writeFile(dir.file("Tavro2id.dat"), "caf\xE9=coffee shop\r\n");
  std::string j = lookup("Caf\xC3\xA9", 0);  // "Café": the user's Indonesian word
  EXPECT_EQ(member(j, "words"), "[\"caf\xC3\xA9\"]");
  EXPECT_EQ(member(j, "translation"), "\"caf\xC3\xA9 coffee shop\"");
  // A character 1252 cannot hold becomes '?', and the filter drops it.
  j = lookup("\xE6\x97\xA5walk", 0);
  EXPECT_EQ(member(j, "query"), "\"\xE6\x97\xA5walk\"");
  EXPECT_EQ(member(j, "words"), R"(["walk"])");
  // Malformed UTF-8 is echoed as U+FFFD, keeping the output valid.
  EXPECT_EQ(member(lookup("walk\xFF", 0), "query"), "\"walk\xEF\xBF\xBD\"");
  j = lookup(" 42 ", 1);
  EXPECT_EQ(member(j, "status"), R"(" Data OK")");  // as loading left it
  EXPECT_EQ(member(j, "words"), "[]");

  ::unlink(dir.file("dataid.dat").c_str());
  ::unlink(dir.file("datapr.dat").c_str());
  EXPECT_EQ(member(lookup("zzz", 1), "status"),
            R"(" not found - Missing: dataid.dat, datapr.dat")");
  EXPECT_EQ(member(lookup("", 1), "status"), R"(" Missing: dataid.dat, datapr.dat")");
}

TEST_F(CommandLineTest, AboutUsageAndWindowArguments) {
  standardData();
  writeFile(dir.file("datapr.dat"), "short");
  const ProgramRun r = run({"--about", "--dir", dir.path()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "English-Indonesian : 3 [01 Jan 09]\n"
            "Indonesian-English : 2 [01 Jan 09]\n"
            "Phrase : 0 [-]\n");
  // A damaged or missing file is said once, on stderr, for both commands.
  EXPECT_EQ(r.err, "tavro2: no complete dictionary data in " + dir.path() +
                       " (Damaged: datapr.dat)\n");
  test::TempDir empty;
  EXPECT_EQ(run({"--lookup", "x", "--dir", empty.path()}).err,
            "tavro2: no complete dictionary data in " + empty.path() +
                " (Missing: dataen.dat, dataid.dat, datapr.dat)\n");
  ProgramRun u = run({"--help"});
  EXPECT_EQ(u.status, 0);
  EXPECT_NE(u.out.find("--lookup TEXT"), std::string::npos);

  const std::pair<Strings, const char*> bad[] = {
      {{"--frobnicate"}, "unknown option '--frobnicate'"},
      {{"--lookup"}, "'--lookup' needs a value"},
      {{"--lookup", "x", "word"}, "unexpected argument 'word'"},
      {{"-platform", "offscreen", "-x"}, "unknown option '-x'"},
      {{"--about", "--lookup", "x"}, "cannot be combined"},
      {{"--dir", "/a", "--dir", "/b"}, "given twice"},
      {{"--lookup", "x", "--dir", "/nonexistent/tavro2"}, "cannot read directory"}};
  for (const auto& [args, message] : bad) {
    u = run(args);
    EXPECT_EQ(u.status, 2) << message;
    EXPECT_NE(u.err.find(message), std::string::npos) << u.err;
    EXPECT_TRUE(u.out.empty());
  }
  char prog[] = "tavro2", dirOpt[] = "--dir", dirVal[] = "/tmp";
  char* none[] = {prog, nullptr};
  EXPECT_FALSE(runCommandLine(1, none));
  char* onlyDir[] = {prog, dirOpt, dirVal, nullptr};
  EXPECT_FALSE(runCommandLine(3, onlyDir));
  EXPECT_EQ(currentStorage().userDir, "/tmp/");

  WindowArguments w;
  EXPECT_FALSE(parseWindowArguments({"-platform", "xcb", "ice", "--style=fusion", "-reverse",
                                     "cream", "--dir=/d"},
                                    w));
  EXPECT_EQ(w.word, "ice cream");
  EXPECT_EQ(w.dir, "/d");
}

TEST_F(CommandLineTest, DefaultDictionaryFindsEverydayWords) {
  const std::string data = std::string(TAVRO2_BUILD_DIR) + "/";
  if (!fileExists(data + "dataen.dat") || !fileExists(data + "DATA-NOTICE"))
    GTEST_SKIP() << "the default dictionary is not built";
  const struct {
    const char* word;
    const char* translationStart;  // the pane shows the headword first
    const char* contains;
  } rows[] = {{"look", "\"look ", "melihat"}, {"went", "\"go ", ""},
              {"children", "\"child ", ""},   {"digunakan", "\"guna ", ""},
              {"memiliki", "\"memiliki ", "own"},  // a headword of its own
              {"at", "\"at ", ""}};
  for (const auto& r : rows) {
    const ProgramRun out = run({"--lookup", r.word, "--dir", data});
    const std::string translation = member(out.out, "translation");
    EXPECT_EQ(out.status, 0) << r.word << ": " << out.err;
    EXPECT_TRUE(translation.starts_with(r.translationStart)) << translation;
    EXPECT_NE(translation.find(r.contains), std::string::npos) << translation;
  }
}

}  // namespace
}  // namespace tavro2::test
