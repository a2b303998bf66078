// End-to-end runs of the tavro2 program's command line on fixture data.
#include "app/command_line.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/program_dir.h"
#include "test_util.h"

namespace tavro2::test {
namespace {

using Strings = std::vector<std::string>;

// One parsed JSON value. Objects keep their members in order; an array's
// items have empty keys; a scalar keeps its text (a string unescaped, a
// number or literal as written).
struct Json {
  char kind = 0;  // '{', '[', '"', or 0 for a number or literal
  std::string text;
  std::vector<std::pair<std::string, Json>> items;

  const Json& operator[](std::string_view key) const {
    for (const auto& [k, v] : items)
      if (k == key) return v;
    throw std::runtime_error("no member " + std::string(key));
  }
  const Json& operator[](std::size_t i) const { return items.at(i).second; }
  Strings strings(bool keys = false) const {
    Strings out;
    for (const auto& [k, v] : items) out.push_back(keys ? k : v.text);
    return out;
  }
};

// A strict reader: anything but one well-formed value throws. The program
// writes non-ASCII characters as UTF-8, so only ASCII \u escapes are taken.
class JsonReader {
 public:
  static Json parse(std::string_view text) {
    JsonReader r(text);
    Json j = r.value();
    if (r.peek() != '\0') r.fail("trailing text");
    return j;
  }

 private:
  explicit JsonReader(std::string_view s) : s_(s) {}
  [[noreturn]] void fail(const char* why) const {
    throw std::runtime_error(std::string("JSON: ") + why + " at " + std::to_string(i_));
  }
  char peek() {
    while (i_ < s_.size() && std::string_view(" \t\r\n").find(s_[i_]) != std::string_view::npos)
      ++i_;
    return i_ < s_.size() ? s_[i_] : '\0';
  }
  bool eat(char c) {
    if (peek() != c) return false;
    ++i_;
    return true;
  }
  void expect(char c) {
    if (!eat(c)) fail("unexpected character");
  }
  std::string str() {
    expect('"');
    std::string out;
    for (char c; (c = i_ < s_.size() ? s_[i_++] : '\0') != '"'; out.push_back(c)) {
      if (static_cast<unsigned char>(c) < 0x20) fail("open string or raw control character");
      if (c != '\\' || i_ >= s_.size()) continue;
      const std::size_t e = std::string_view("\"\\/bfnrt").find(c = s_[i_++]);
      if (e != std::string_view::npos) {
        c = "\"\\/\b\f\n\r\t"[e];
        continue;
      }
      const int cp = c == 'u' ? std::stoi(std::string(s_.substr(i_, 4)), nullptr, 16) : 0x80;
      if (cp >= 0x80) fail("bad or non-ASCII escape");
      c = static_cast<char>(cp);
      i_ += 4;
    }
    return out;
  }
  Json value() {
    Json j;
    j.kind = peek();
    if (j.kind == '"') {
      j.text = str();
    } else if (j.kind == '{' || j.kind == '[') {
      const char close = j.kind == '{' ? '}' : ']';
      ++i_;
      for (bool more = peek() != close; more; more = eat(',')) {
        std::string key;
        if (j.kind == '{') {
          key = str();
          expect(':');
        }
        j.items.emplace_back(std::move(key), value());
      }
      expect(close);
    } else {
      j.kind = 0;
      j.text = s_.substr(i_, s_.find_first_of(",]} \t\r\n", i_) - i_);
      i_ += j.text.size();
      std::size_t used = 0;
      if (j.text != "true" && j.text != "false" && j.text != "null" &&
          (static_cast<void>(std::stod(j.text, &used)), used != j.text.size()))
        fail("bad literal");
    }
    return j;
  }

  std::string_view s_;
  std::size_t i_ = 0;
};

struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string shellQuote(const std::string& arg) {
  std::string q = "'";
  for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

class CommandLineTest : public ::testing::Test {
 protected:
  ProgramRun run(const Strings& args) {
    std::string cmd = "LC_ALL=C " + shellQuote(TAVRO2_BINARY);
    for (const auto& a : args) cmd += " " + shellQuote(a);
    cmd += " 2>" + shellQuote(dir.file("stderr.txt"));
    ProgramRun r;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) throw std::runtime_error("popen failed");
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
    const int w = pclose(p);
    r.status = WIFEXITED(w) ? WEXITSTATUS(w) : -1;
    r.err = readFile(dir.file("stderr.txt"));
    return r;
  }
  Json lookup(const std::string& text, int expectedStatus) {
    const ProgramRun r = run({"--lookup", text, "--dir", dir.path()});
    EXPECT_EQ(r.status, expectedStatus) << r.err;
    EXPECT_TRUE(!r.out.empty() && r.out.back() == '\n');
    Json j = JsonReader::parse(r.out);
    EXPECT_EQ(j["found"].text, expectedStatus == 0 ? "true" : "false");
    return j;
  }
  void standardData(const std::string& settings = "") {
    writeDataFile(dir.file("dataen.dat"), {"run", "runway", "walk"},
                  {"kki lari; running", "landasan", "kki berjalan"});
    writeDataFile(dir.file("dataid.dat"), {"lari", "kucing"}, {"run", "cat kb"});
    writeDataFile(dir.file("datapr.dat"), {"saya lari cepat", "kucing lari"},
                  {"I run fast", "the cat runs"});
    if (!settings.empty()) writeFile(dir.file("Tavro2.ini"), "[General]\r\n" + settings);
  }

  TempDir dir;
};

TEST_F(CommandLineTest, LookupOfABaseForm) {
  standardData("ShowPhrase=1\r\n");
  const Json j = lookup("Running", 0);
  ASSERT_EQ(j.kind, '{');
  EXPECT_EQ(j.strings(true), (Strings{"query", "found", "status", "words", "translation",
                                      "translation_format", "related", "related_translation",
                                      "related_format", "phrases", "found_in_indonesian"}));
  EXPECT_EQ(j["query"].text, "Running");
  EXPECT_EQ(j["words"].strings(), Strings{"run"});
  EXPECT_EQ(j["translation"].text, "run kki lari; running");
  const Json& f = j["translation_format"];
  ASSERT_EQ(f.items.size(), 3u);
  EXPECT_EQ(f[0].strings(true), (Strings{"start", "length", "bold"}));  // no colour, no background
  EXPECT_EQ(f[0].strings(), (Strings{"0", "3", "true"}));
  EXPECT_EQ(f[1]["start"].text, "4");
  EXPECT_EQ(f[1]["color"].text, "#008000");
  EXPECT_EQ(f[1].items.size(), 4u);
  EXPECT_EQ(f[2]["start"].text, "14");
  EXPECT_EQ(f[2]["length"].text, "7");
  EXPECT_EQ(j["related"].strings(), Strings{"runway"});
  EXPECT_EQ(j["related_translation"].text, "runway landasan");
  // The phrase search takes the box text as typed: "Running" is in no phrase.
  EXPECT_EQ(j["status"].text, " English word");
  EXPECT_TRUE(j["phrases"].items.empty());
  EXPECT_EQ(j["found_in_indonesian"].text, "false");
}

// The side looked up comes first in each phrase pair.
TEST_F(CommandLineTest, SettingsChooseTheSideTheWindowAndThePhrases) {
  standardData("Language=3\r\nWordsAfter=5\r\nShowPhrase=1\r\n");
  Json j = lookup("lari", 0);
  EXPECT_EQ(j["status"].text, " Indonesian word (2 Phrase)");
  EXPECT_EQ(j["words"].strings(), (Strings{"lari", "kucing"}));
  EXPECT_EQ(j["found_in_indonesian"].text, "true");
  EXPECT_EQ(j["translation_format"].items.size(), 1u);
  ASSERT_EQ(j["phrases"].items.size(), 2u);
  EXPECT_EQ(j["phrases"][0].strings(), (Strings{"saya lari cepat", "I run fast"}));
  EXPECT_EQ(j["phrases"][1].strings(), (Strings{"kucing lari", "the cat runs"}));

  writeFile(dir.file("Tavro2.ini"), "[General]\r\nLanguage=2\r\n");
  j = lookup("lari", 1);
  EXPECT_EQ(j["status"].text, " not found");
  EXPECT_TRUE(j["words"].items.empty());
}

TEST_F(CommandLineTest, Utf8InAndOut) {
  standardData();
  writeFile(dir.file("Tavro2id.dat"), "caf\xE9=coffee shop\r\n");
  Json j = lookup("Caf\xC3\xA9", 0);  // "Café": the user's Indonesian word
  EXPECT_EQ(j["words"].strings(), Strings{"caf\xC3\xA9"});
  EXPECT_EQ(j["translation"].text, "caf\xC3\xA9 coffee shop");
  // A character 1252 cannot hold becomes '?', and the filter drops it.
  j = lookup("\xE6\x97\xA5walk", 0);
  EXPECT_EQ(j["query"].text, "\xE6\x97\xA5walk");
  EXPECT_EQ(j["words"].strings(), Strings{"walk"});
  // Malformed UTF-8 is echoed as U+FFFD, keeping the output valid.
  j = lookup("walk\xFF", 0);
  EXPECT_EQ(j["query"].text, "walk\xEF\xBF\xBD");
}

TEST_F(CommandLineTest, StatusWhenNothingIsLookedUpOrFilesAreMissing) {
  standardData();
  Json j = lookup(" 42 ", 1);
  EXPECT_EQ(j["status"].text, " Data OK");  // as loading left it
  EXPECT_TRUE(j["words"].items.empty());

  ::unlink(dir.file("dataid.dat").c_str());
  ::unlink(dir.file("datapr.dat").c_str());
  EXPECT_EQ(lookup("zzz", 1)["status"].text, " not found");
  EXPECT_EQ(lookup("", 1)["status"].text, " Missing: dataid.dat, datapr.dat");
}

TEST_F(CommandLineTest, About) {
  standardData();
  writeFile(dir.file("datapr.dat"), "short");
  const ProgramRun r = run({"--about", "--dir", dir.path()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "English-Indonesian : 3 [01 Jan 09]\n"
            "Indonesian-English : 2 [01 Jan 09]\n"
            "Phrase : 0 [-]\n");
}

TEST_F(CommandLineTest, Usage) {
  ProgramRun r = run({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("--lookup TEXT"), std::string::npos);

  const std::pair<Strings, const char*> bad[] = {
      {{"--frobnicate"}, "unknown option '--frobnicate'"},
      {{"--lookup"}, "'--lookup' needs a value"},
      {{"word"}, "unexpected argument 'word'"},
      {{"--about", "--lookup", "x"}, "cannot be combined"},
      {{"--dir", "/a", "--dir", "/b"}, "given twice"},
      {{"--lookup", "x", "--dir", "/nonexistent/tavro2"}, "cannot read directory"}};
  for (const auto& [args, message] : bad) {
    r = run(args);
    EXPECT_EQ(r.status, 2) << message;
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
}

TEST_F(CommandLineTest, WritesNothing) {
  standardData("WordsBefore=250\r\n");
  lookup("run", 0);
  EXPECT_FALSE(fileExists(dir.file("History.txt")));
  EXPECT_EQ(readFile(dir.file("Tavro2.ini")), "[General]\r\nWordsBefore=250\r\n");
}

TEST(CommandLineParseTest, NoArgumentsOrOnlyADirectoryOpenTheWindow) {
  const std::string saved = ProgramDirectory();
  char prog[] = "tavro2", dirOpt[] = "--dir", dirVal[] = "/tmp";
  char* none[] = {prog, nullptr};
  EXPECT_FALSE(RunCommandLine(1, none));
  char* onlyDir[] = {prog, dirOpt, dirVal, nullptr};
  EXPECT_FALSE(RunCommandLine(3, onlyDir));
  EXPECT_EQ(ProgramDirectory(), "/tmp/");
  SetProgramDirectory(saved);
}

}  // namespace
}  // namespace tavro2::test
