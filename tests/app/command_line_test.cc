// The tavro2 program's command line on fixture data, run in this process (the package test
// runs the installed program itself).
#include "app/command_line.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "app/storage.h"
#include "app/text_output.h"
#include "engine/lookup_state.h"
#include "test_util.h"

namespace tavro2::test {
namespace {

using Strings = std::vector<std::string>;
// Whether the program's one-line JSON object holds `member` ("key":value) whole.
bool has(const std::string& json, const std::string& member) {
  return json.find(member + ",") != std::string::npos || json.ends_with(member + "}");
}

struct ProgramRun {
  int status = -1;  // -1: the command line left it to the window
  std::string out, err;
};

class CommandLineTest : public ::testing::Test {
 protected:
  ProgramRun run(Strings args) {
    args.insert(args.begin(), "tavro2");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const std::optional<int> status = runCommandLine(static_cast<int>(args.size()), argv.data());
    std::fflush(stdout);
    return {status.value_or(-1), testing::internal::GetCapturedStdout(),
            testing::internal::GetCapturedStderr()};
  }
  std::string lookup(const std::string& text, int expectedStatus) {
    ProgramRun r = run({"--lookup", text, "--dir", dir.path()});
    EXPECT_EQ(r.status, expectedStatus) << r.err;
    if (!r.out.ends_with("}\n")) throw std::runtime_error("no object line: " + r.out);
    r.out.pop_back();
    EXPECT_PRED2(has, r.out, expectedStatus == 0 ? "\"found\":true" : "\"found\":false");
    return r.out;
  }
  void standardData(const std::string& settings = "") {
    writeDictionary(dir.path(), {{"run", "runway", "walk"},
                                 {"kki lari; running", "landasan", "kki berjalan"},
                                 {"lari", "kucing"}, {"run", "cat kb"},
                                 {"saya lari cepat", "kucing lari"}, {"I run fast", "the cat runs"}});
    writeEntries(dir.file("dataipa.dat"), {"run"}, {"ɹʌn"});  // walk has none
    if (!settings.empty()) writeFile(dir.file("Tavro2.ini"), "[General]\r\n" + settings);
  }

  TempDir dir;
};

// Every member in order; the phrase search takes the box text as typed; a
// form found through its base shows the base's transcription.
TEST_F(CommandLineTest, LookupOfABaseFormAndSettingsChooseSideWindowAndPhrases) {
  standardData("ShowPhrase=1\r\n");
  const ProgramRun r = run({"--lookup", "Running", "--dir", dir.path()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, R"({"query":"Running","found":true,"status":)"
                   "\" English word: running -> run (-ing form)\"" R"(,"words":["run"],)"
                   R"("ipa":"ɹʌn","translation":"run kki lari; running","translation_format":[)"
                   R"({"start":0,"length":3,"bold":true},)"
                   R"({"start":4,"length":3,"bold":true,"color":"#008000"},)"
                   R"({"start":14,"length":7,"bold":true}],)"
                   R"("related":["runway"],"related_translation":"runway landasan",)"
                   R"("related_format":[{"start":0,"length":6,"bold":true}],)"
                   R"("phrases":[],"found_in_indonesian":false,"also_indonesian":false,)"
                   R"("suggestions":[]})"
                   "\n");
  // Settings choose the side, the window and the phrases; the side looked up comes first.
  standardData("Language=3\r\nWordsAfter=5\r\nShowPhrase=1\r\n");
  const std::string j = lookup("lari", 0);
  EXPECT_PRED2(has, j, R"("words":["lari","kucing"])");
  EXPECT_PRED2(has, j, R"("phrases":[["saya lari cepat","I run fast"],["kucing lari","the cat runs"]])");
  EXPECT_PRED2(has, j, R"("found_in_indonesian":true)");
  writeFile(dir.file("Tavro2.ini"), "[General]\r\nLanguage=2\r\nWordsBefore=250\r\n");
  EXPECT_PRED2(has, lookup("lari", 1), R"("status":" not found")");  // and writes nothing
  EXPECT_FALSE(fileExists(dir.file("History.txt")));
  EXPECT_EQ(readFile(dir.file("Tavro2.ini")), "[General]\r\nLanguage=2\r\nWordsBefore=250\r\n");
}

TEST_F(CommandLineTest, Utf8InAndOutAndStatusWhenNothingIsLookedUpOrFilesAreMissing) {
  standardData();
  writeFile(dir.file("Tavro2id.dat"), "caf\xE9=coffee shop\r\nwalk=jalan kaki\r\n");
  std::string j = lookup("Caf\xC3\xA9", 0);  // "Café": the user's Indonesian word
  EXPECT_PRED2(has, j, R"("words":["café"],"ipa":"","translation":"café coffee shop")");
  EXPECT_PRED2(has, j, R"("found_in_indonesian":true,"also_indonesian":false)");
  // A character 1252 cannot hold becomes '?', and the filter drops it.
  j = lookup("\xE6\x97\xA5walk", 0);
  EXPECT_PRED2(has, j, "{\"query\":\"\xE6\x97\xA5walk\"");
  EXPECT_PRED2(has, j, R"("words":["walk"])");
  // "walk" is also one of the user's Indonesian words: its entry follows on a line of its own.
  EXPECT_PRED2(has, j, R"("translation":"walk kki berjalan\nwalk jalan kaki")");
  EXPECT_PRED2(has, j, R"("found_in_indonesian":false,"also_indonesian":true)");
  // Malformed UTF-8 is echoed as U+FFFD, keeping the output valid.
  EXPECT_PRED2(has, lookup("walk\xFF", 0), "{\"query\":\"walk\xEF\xBF\xBD\"");
  j = lookup(" 42 ", 1);
  EXPECT_PRED2(has, j, R"("status":" Data OK","words":[])");  // as loading left it

  ::unlink(dir.file("dataid.dat").c_str());
  ::unlink(dir.file("datapr.dat").c_str());
  ::unlink(dir.file("dataipa.dat").c_str());  // optional: never named
  EXPECT_PRED2(has, lookup("zzz", 1), R"("status":" not found - Missing: dataid.dat, datapr.dat")");
  EXPECT_PRED2(has, lookup("", 1), R"("status":" Missing: dataid.dat, datapr.dat")");
}

TEST_F(CommandLineTest, AboutUsageAndWindowArguments) {
  standardData();
  writeFile(dir.file("datapr.dat"), "short");
  const ProgramRun r = run({"--about", "--dir", dir.path()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "English-Indonesian : 3 [01 Jan 09]\n"
            "Indonesian-English : 2 [01 Jan 09]\n"
            "Phrase : 0 [-]\n"
            "Pronunciation : 1 [01 Jan 09]\n");
  // A damaged or missing file is said once, on stderr, for both commands.
  EXPECT_EQ(r.err, "tavro2: no complete dictionary data in " + dir.path() +
                       " (Damaged: datapr.dat)\n");
  test::TempDir empty;
  EXPECT_EQ(run({"--lookup", "x", "--dir", empty.path()}).err,
            "tavro2: no complete dictionary data in " + empty.path() +
                " (Missing: dataen.dat, dataid.dat, datapr.dat)\n");
  const std::pair<Strings, const char*> bad[] = {
      {{"--frobnicate"}, "unknown option '--frobnicate'"},
      {{"--lookup"}, "'--lookup' needs a value"},
      {{"--lookup", "x", "word"}, "unexpected argument 'word'"},
      {{"-platform", "offscreen", "-x"}, "unknown option '-x'"},
      {{"--about", "--lookup", "x"}, "cannot be combined"},
      {{"--dir", "/a", "--dir", "/b"}, "given twice"},
      {{"--lookup", "x", "--dir", "/nonexistent/tavro2"}, "cannot read directory"},
      {{"--lookup", "x", "--from", "fr"}, "--from takes en, id or auto, not 'fr'"},
      {{"--text"}, "--text needs --lookup"},
      {{"--from", "en"}, "--from needs --lookup or --pronounce"},
      {{"--pronounce", "house"}, "--pronounce needs --wav FILE"},
      {{"--pronounce", " ", "--wav", "x.wav"}, "--pronounce needs a word"},
      {{"--pronounce", std::string(300, 'a'), "--wav", "x.wav"}, "at most 256 bytes"},
      {{"--wav", "x.wav"}, "--wav needs --pronounce"},
      {{"--pronounce", "x", "--wav", "x.wav", "--lookup", "x"}, "cannot be combined"},
      {{"--pronounce", "x", "--wav", "x.wav", "--text"}, "--text needs --lookup"}};
  for (const auto& [args, message] : bad) {
    const ProgramRun u = run(args);
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

// --from overrides the settings' direction for this run only; a miss
// carries its suggestions; --text reads as a person reads it, in colour only
// on a terminal without NO_COLOR.
TEST_F(CommandLineTest, DirectionSuggestionsAndText) {
  standardData("Language=2\r\nShowPhrase=1\r\n");
  EXPECT_PRED2(has, lookup("lari", 1), R"("suggestions":[])");  // English only: not there
  ProgramRun r = run({"--lookup", "lari", "--from", "id", "--dir", dir.path()});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find(R"("found_in_indonesian":true)"), std::string::npos);
  EXPECT_NE(r.out.find(R"("suggestions":[])"), std::string::npos);
  EXPECT_EQ(readFile(dir.file("Tavro2.ini")), "[General]\r\nLanguage=2\r\nShowPhrase=1\r\n");
  r = run({"--lookup", "runn", "--from=auto", "--dir", dir.path()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find(R"("suggestions":["run"]})"), std::string::npos) << r.out;

  r = run({"--lookup", "run", "--text", "--dir", dir.path()});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "English word (1 Phrase)\n"
            "run /ɹʌn/ kki lari; running\n"
            "\n"
            "Related: runway\n"
            "Phrases:\n"
            "  I run fast  saya lari cepat\n");  // not a terminal: no colour
  r = run({"--lookup", "wlak", "--text", "--dir", dir.path()});
  EXPECT_EQ(r.out, "not found\nDid you mean: walk\n");

  // The colours: the markers' nearest terminal colours, the forms in bold.
  EXPECT_EQ(styledText("run kki lari", {{0, 3, true}, {4, 3, true, 0x008000}}, true),
            "\x1b[1mrun\x1b[0m \x1b[1;32mkki\x1b[0m lari");
  EXPECT_EQ(styledText("run kki lari", {{0, 3, true}}, false), "run kki lari");
  EXPECT_EQ(std::tuple(ansiColorOf(0x0000FF), ansiColorOf(0x800000), ansiColorOf(0xFF00FF),
                       ansiColorOf(0x008080)),
            std::tuple(94, 31, 95, 36));
  int controller = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(controller, 0);
  ASSERT_EQ(::grantpt(controller) | ::unlockpt(controller), 0);
  const int terminal = ::open(::ptsname(controller), O_RDWR | O_NOCTTY);
  ASSERT_GE(terminal, 0);
  ::unsetenv("NO_COLOR");
  ::setenv("TERM", "xterm", 1);
  EXPECT_TRUE(colorWanted(terminal));
  EXPECT_FALSE(colorWanted(STDOUT_FILENO));  // captured: a pipe
  ::setenv("NO_COLOR", "", 1);  // set but empty counts as unset
  EXPECT_TRUE(colorWanted(terminal));
  ::setenv("NO_COLOR", "1", 1);
  EXPECT_FALSE(colorWanted(terminal));
  ::unsetenv("NO_COLOR");
  ::setenv("TERM", "dumb", 1);
  EXPECT_FALSE(colorWanted(terminal));
  ::close(terminal);
  ::close(controller);
}

// --lookup -: a JSON line for every input line, whatever it holds, the data
// loaded once; exit 1 when a line was not found.
TEST_F(CommandLineTest, LinesOfStandardInputAreAnsweredOneJsonLineEach) {
  standardData();
  const std::string input = std::string("run\n\nwalk\r\nwa\xFFlk\nr\0un\n", 22) +
                            std::string(1 << 20, 'x') + "\nwalk";  // no line end at the end
  writeFile(dir.file("input.txt"), input);
  ASSERT_NE(std::freopen(dir.file("input.txt").c_str(), "r", stdin), nullptr);
  ProgramRun r = run({"--lookup", "-", "--dir", dir.path()});
  std::freopen("/dev/null", "r", stdin);
  EXPECT_EQ(r.status, 1);
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < r.out.size();) {
    const std::size_t end = r.out.find('\n', at);
    ASSERT_NE(end, std::string::npos);
    lines.push_back(r.out.substr(at, end - at));
    at = end + 1;
  }
  ASSERT_EQ(lines.size(), 7u) << r.out.substr(0, 2000);
  EXPECT_PRED2(has, lines[0], R"({"query":"run","found":true)");
  EXPECT_PRED2(has, lines[1], R"({"query":"","found":false)");
  EXPECT_PRED2(has, lines[2], R"({"query":"walk","found":true)");
  EXPECT_PRED2(has, lines[3], "{\"query\":\"wa\xEF\xBF\xBDlk\",\"found\":true");  // the filter drops it
  EXPECT_PRED2(has, lines[4], R"({"query":"r\u0000un","found":true)");
  EXPECT_EQ(lines[5], "{\"query\":\"" + std::string(64, 'x') +
                          "\xE2\x80\xA6\",\"found\":false,\"error\":\"line longer than 65536 "
                          "bytes\",\"suggestions\":[]}");
  EXPECT_PRED2(has, lines[6], R"({"query":"walk","found":true)");

  writeFile(dir.file("input.txt"), "run\nwalk\n");
  ASSERT_NE(std::freopen(dir.file("input.txt").c_str(), "r", stdin), nullptr);
  r = run({"--lookup", "-", "--text", "--dir", dir.path()});
  std::freopen("/dev/null", "r", stdin);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "English word\nrun /ɹʌn/ kki lari; running\n\nRelated: runway\n\n"
                   "English word\nwalk kki berjalan\n\n");
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
              {"children", "\"child ", ""},   {"dipakai", "\"pakai ", ""},
              {"memiliki", "\"memiliki ", "own"},  // a headword of its own
              // The everyday word first, names and symbols nowhere first.
              {"at", "\"at kd di", ""}, {"he", "\"he dia", ""}, {"or", "\"or ksam atau", ""},
              {"house", "\"house kb rumah", ""}, {"go", "\"go kki pergi", ""},
              {"minutes", "\"minutes form of minute: kb menit", ""},
              // Doubled letters before -ed and -ing keep the whole stem.
              {"added", "\"add ", ""}, {"passed", "\"pass ", ""}, {"stopped", "\"stop ", ""},
              {"calling", "\"calling form of call:", ""}, {"running", "\"running form of run:", ""},
              // Automatic: both languages for a word of both, Indonesian for the rest.
              {"orang", "\"orang ", "\"also_indonesian\":true"},
              {"dia", "\"dia ", "\"found_in_indonesian\":true"},
              {"ada", "\"ada ", "\"found_in_indonesian\":true"}};
  for (const auto& r : rows) {
    const ProgramRun out = run({"--lookup", r.word, "--dir", data});
    const std::size_t at = out.out.find(std::string("\"translation\":") + r.translationStart);
    EXPECT_EQ(out.status, 0) << r.word << ": " << out.err;
    EXPECT_TRUE(at != std::string::npos && out.out.find(r.contains, at) != std::string::npos)
        << out.out;
  }
}

TEST_F(CommandLineTest, DefaultDictionaryReadsIndonesianBySense) {
  const std::string data = std::string(TAVRO2_BUILD_DIR) + "/";
  if (!fileExists(data + "dataid.dat") || !fileExists(data + "DATA-NOTICE"))
    GTEST_SKIP() << "the default dictionary is not built";
  // "Indonesian - English", with the default data beside the settings.
  TempDir dir;
  for (const char* name : {"dataen.dat", "dataid.dat", "datapr.dat"})
    std::filesystem::create_symlink(data + name, dir.path() + "/" + name);
  writeFile(dir.path() + "/Tavro2.ini", "[General]\r\nLanguage=3\r\n");
  const struct {
    const char* word;
    const char* translationStart;
    const char* status;
  } rows[] = {{"tahu", "\"tahu kkt know", " Indonesian word"},
              {"enam", "\"enam six", " Indonesian word"},
              {"lima", "\"lima five", " Indonesian word"},
              {"kamu", "\"kamu you", " Indonesian word"},
              {"tunggu", "\"tunggu ", " Indonesian word"},
              {"nggak", "\"nggak kk not", " Indonesian word"},
              {"udah", "\"udah kk already", " Indonesian word"},
              {"bila", "\"bila ", " Indonesian word"},
              {"nya", "\"nya ", " Indonesian word"},
              // The box keeps the hyphen of a reduplicated word.
              {"Benar-benar!", "\"benar-benar ", " Indonesian word"},
              {"laki-laki", "\"laki-laki kb man", " Indonesian word"},
              {"anak-anak", "\"anak-anak ", " Indonesian word"},
              {"rumahnya", "\"rumah kb", " Indonesian word: rumah + -nya (his, her, its; the)"},
              {"rumah-rumah", "\"rumah kb", " Indonesian word: rumah, repeated"}};
  for (const auto& r : rows) {
    const ProgramRun out = run({"--lookup", r.word, "--dir", dir.path()});
    EXPECT_EQ(out.status, 0) << r.word << ": " << out.err;
    EXPECT_NE(out.out.find(std::string("\"translation\":") + r.translationStart), std::string::npos)
        << out.out;
    EXPECT_NE(out.out.find(std::string("\"status\":\"") + r.status), std::string::npos) << out.out;
  }
  // No sexual sense of tahu, no name for orang.
  for (const auto& [word, never] : {std::pair{"tahu", "love"}, std::pair{"orang", "Finn"}})
    EXPECT_EQ(run({"--lookup", word, "--dir", dir.path()}).out.find(never), std::string::npos)
        << word;
}

}  // namespace
}  // namespace tavro2::test
