// End-to-end runs of the tavro2 program's command line on fixture data.
#include "app/command_line.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "test_util.h"

namespace tavro2::test {
namespace {

// --- A small JSON reader, enough to check the program's output ----------

struct Json {
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject } kind = Kind::kNull;
  bool boolean = false;
  double number = 0;
  std::string string;
  std::vector<Json> array;
  std::vector<std::pair<std::string, Json>> members;  // in order

  const Json& operator[](const std::string& key) const {
    for (const auto& [k, v] : members)
      if (k == key) return v;
    throw std::runtime_error("no member " + key);
  }
  const Json& operator[](std::size_t i) const { return array.at(i); }
  std::vector<std::string> strings() const {
    std::vector<std::string> out;
    for (const Json& j : array) out.push_back(j.string);
    return out;
  }
};

class JsonReader {
 public:
  explicit JsonReader(std::string_view text) : s_(text) {}
  Json document() {
    Json j = value();
    space();
    if (i_ != s_.size()) fail("trailing text");
    return j;
  }

 private:
  [[noreturn]] void fail(const std::string& why) {
    throw std::runtime_error("JSON: " + why + " at " + std::to_string(i_));
  }
  void space() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\t' || s_[i_] == '\r'))
      ++i_;
  }
  bool eat(char c) {
    space();
    if (i_ < s_.size() && s_[i_] == c) {
      ++i_;
      return true;
    }
    return false;
  }
  void expect(char c) {
    if (!eat(c)) fail(std::string("expected ") + c);
  }
  bool word(std::string_view w) {
    if (s_.substr(i_, w.size()) != w) return false;
    i_ += w.size();
    return true;
  }
  std::string str() {
    expect('"');
    std::string out;
    while (true) {
      if (i_ >= s_.size()) fail("open string");
      const char c = s_[i_++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) fail("raw control character");
      if (c != '\\') {
        out.push_back(c);
        continue;
      }
      const char e = s_[i_++];
      switch (e) {
        case 'n':
          out.push_back('\n');
          break;
        case 'r':
          out.push_back('\r');
          break;
        case 't':
          out.push_back('\t');
          break;
        case 'u': {
          const unsigned cp = std::stoul(std::string(s_.substr(i_, 4)), nullptr, 16);
          i_ += 4;
          if (cp >= 0x80) fail("only ASCII escapes expected");
          out.push_back(static_cast<char>(cp));
          break;
        }
        default:
          out.push_back(e);
      }
    }
  }
  Json value() {
    space();
    Json j;
    if (i_ >= s_.size()) fail("value expected");
    const char c = s_[i_];
    if (c == '"') {
      j.kind = Json::Kind::kString;
      j.string = str();
    } else if (c == '{') {
      ++i_;
      j.kind = Json::Kind::kObject;
      if (!eat('}')) {
        do {
          space();
          std::string key = str();
          expect(':');
          j.members.emplace_back(std::move(key), value());
        } while (eat(','));
        expect('}');
      }
    } else if (c == '[') {
      ++i_;
      j.kind = Json::Kind::kArray;
      if (!eat(']')) {
        do j.array.push_back(value());
        while (eat(','));
        expect(']');
      }
    } else if (word("true") || word("false")) {
      j.kind = Json::Kind::kBool;
      j.boolean = s_[i_ - 1] == 'e' && s_[i_ - 2] == 'u';
    } else if (word("null")) {
    } else {
      std::size_t used = 0;
      j.kind = Json::Kind::kNumber;
      j.number = std::stod(std::string(s_.substr(i_)), &used);
      i_ += used;
    }
    return j;
  }
  std::string_view s_;
  std::size_t i_ = 0;
};

// --- Running the program -----------------------------------------------

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
  ProgramRun run(const std::vector<std::string>& args) {
    std::string cmd = "LC_ALL=C " + shellQuote(TAVRO2_BINARY);
    for (const auto& a : args) cmd += " " + shellQuote(a);
    cmd += " 2>" + shellQuote(dir.file("stderr.txt"));
    ProgramRun r;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) throw std::runtime_error("popen failed");
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int w = pclose(p);
    r.status = WIFEXITED(w) ? WEXITSTATUS(w) : -1;
    r.err = readFile(dir.file("stderr.txt"));
    return r;
  }
  Json lookup(const std::string& text, int expectedStatus) {
    const ProgramRun r = run({"--lookup", text, "--dir", dir.path()});
    EXPECT_EQ(r.status, expectedStatus) << r.err;
    EXPECT_TRUE(!r.out.empty() && r.out.back() == '\n');
    Json j = JsonReader(r.out).document();
    EXPECT_EQ(j["found"].boolean, expectedStatus == 0);
    return j;
  }
  void standardData() {
    writeDataFile(dir.file("dataen.dat"), {"run", "runway", "walk"},
                  {"kki lari; running", "landasan", "kki berjalan"});
    writeDataFile(dir.file("dataid.dat"), {"lari", "kucing"}, {"run", "cat kb"});
    writeDataFile(dir.file("datapr.dat"), {"saya lari cepat", "kucing lari"},
                  {"I run fast", "the cat runs"});
  }

  TempDir dir;
};

TEST_F(CommandLineTest, LookupOfABaseForm) {
  standardData();
  writeFile(dir.file("Tavro2.ini"), "[General]\r\nShowPhrase=1\r\n");
  const Json j = lookup("Running", 0);
  ASSERT_EQ(j.kind, Json::Kind::kObject);
  std::vector<std::string> keys;
  for (const auto& [k, v] : j.members) keys.push_back(k);
  EXPECT_EQ(keys, (std::vector<std::string>{"query", "found", "status", "words", "translation",
                                            "translation_format", "related", "related_translation",
                                            "related_format", "phrases", "found_in_indonesian"}));
  EXPECT_EQ(j["query"].string, "Running");
  EXPECT_EQ(j["words"].strings(), std::vector<std::string>{"run"});
  EXPECT_EQ(j["translation"].string, "run kki lari; running");
  const Json& f = j["translation_format"];
  ASSERT_EQ(f.array.size(), 3u);
  EXPECT_EQ(f[0]["start"].number, 0);
  EXPECT_EQ(f[0]["length"].number, 3);
  EXPECT_TRUE(f[0]["bold"].boolean);
  EXPECT_EQ(f[0].members.size(), 3u);  // no colour, no background
  EXPECT_EQ(f[1]["start"].number, 4);
  EXPECT_EQ(f[1]["color"].string, "#008000");
  EXPECT_EQ(f[1].members.size(), 4u);
  EXPECT_EQ(f[2]["start"].number, 14);
  EXPECT_EQ(f[2]["length"].number, 7);
  EXPECT_EQ(j["related"].strings(), std::vector<std::string>{"runway"});
  EXPECT_EQ(j["related_translation"].string, "runway landasan");
  // The phrase search takes the box text as typed: "Running" is in no phrase.
  EXPECT_EQ(j["status"].string, " English word");
  EXPECT_TRUE(j["phrases"].array.empty());
  EXPECT_FALSE(j["found_in_indonesian"].boolean);
}

TEST_F(CommandLineTest, PhrasesAndTheirCount) {
  standardData();
  writeFile(dir.file("Tavro2.ini"), "[General]\r\nShowPhrase=1\r\n");
  // English side: the English texts are searched, whole words only ("the
  // cat runs" does not hold "run"), English first in each pair.
  const Json j = lookup("run", 0);
  EXPECT_EQ(j["status"].string, " English word (1 Phrase)");
  ASSERT_EQ(j["phrases"].array.size(), 1u);
  EXPECT_EQ(j["phrases"][0].strings(), (std::vector<std::string>{"I run fast", "saya lari cepat"}));
  // Indonesian side: Indonesian first.
  const Json k = lookup("lari", 0);
  EXPECT_EQ(k["status"].string, " Indonesian word (2 Phrase)");
  ASSERT_EQ(k["phrases"].array.size(), 2u);
  EXPECT_EQ(k["phrases"][1].strings(), (std::vector<std::string>{"kucing lari", "the cat runs"}));
}

TEST_F(CommandLineTest, SettingsChooseTheSideAndTheWindow) {
  standardData();
  writeFile(dir.file("Tavro2.ini"), "[General]\r\nLanguage=3\r\nWordsAfter=5\r\n");
  Json j = lookup("lari", 0);
  EXPECT_EQ(j["status"].string, " Indonesian word");
  EXPECT_EQ(j["words"].strings(), (std::vector<std::string>{"lari", "kucing"}));
  EXPECT_TRUE(j["found_in_indonesian"].boolean);
  EXPECT_TRUE(j["translation_format"].array.size() == 1);

  writeFile(dir.file("Tavro2.ini"), "[General]\r\nLanguage=2\r\n");
  j = lookup("lari", 1);
  EXPECT_EQ(j["status"].string, " not found");
  EXPECT_TRUE(j["words"].array.empty());
}

TEST_F(CommandLineTest, Utf8InAndOut) {
  standardData();
  writeFile(dir.file("Tavro2id.dat"), "caf\xE9=coffee shop\r\n");
  Json j = lookup("Caf\xC3\xA9", 0);  // "Café": the user's Indonesian word
  EXPECT_EQ(j["words"].strings(), std::vector<std::string>{"caf\xC3\xA9"});
  EXPECT_EQ(j["translation"].string, "caf\xC3\xA9 coffee shop");
  // A character 1252 cannot hold becomes '?', and the filter drops it.
  j = lookup("\xE6\x97\xA5walk", 0);
  EXPECT_EQ(j["query"].string, "\xE6\x97\xA5walk");
  EXPECT_EQ(j["words"].strings(), std::vector<std::string>{"walk"});
  // Malformed UTF-8 is echoed as U+FFFD, keeping the output valid.
  j = lookup("walk\xFF", 0);
  EXPECT_EQ(j["query"].string, "walk\xEF\xBF\xBD");
}

TEST_F(CommandLineTest, NothingToLookUp) {
  standardData();
  const Json j = lookup(" 42 ", 1);
  EXPECT_EQ(j["status"].string, " Data OK");  // as loading left it
  EXPECT_TRUE(j["words"].array.empty());
}

TEST_F(CommandLineTest, MissingDataFilesAreNamed) {
  writeDataFile(dir.file("dataen.dat"), {"run"}, {"lari"});
  const Json j = lookup("zzz", 1);
  EXPECT_EQ(j["status"].string, " not found");
  const Json k = lookup("", 1);
  EXPECT_EQ(k["status"].string, " Missing: dataid.dat, datapr.dat");
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

  struct Bad {
    std::vector<std::string> args;
    const char* message;
  };
  for (const Bad& b :
       {Bad{{"--frobnicate"}, "unknown option '--frobnicate'"},
        Bad{{"--lookup"}, "'--lookup' needs a value"}, Bad{{"word"}, "unexpected argument 'word'"},
        Bad{{"--about", "--lookup", "x"}, "cannot be combined"},
        Bad{{"--dir", "/a", "--dir", "/b"}, "given twice"},
        Bad{{"--lookup", "x", "--dir", "/nonexistent/tavro2"}, "cannot read directory"}}) {
    r = run(b.args);
    EXPECT_EQ(r.status, 2) << b.message;
    EXPECT_NE(r.err.find(b.message), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
}

TEST_F(CommandLineTest, WritesNothing) {
  standardData();
  writeFile(dir.file("Tavro2.ini"), "[General]\r\nWordsBefore=250\r\n");
  lookup("run", 0);
  EXPECT_FALSE(fileExists(dir.file("History.txt")));
  EXPECT_EQ(readFile(dir.file("Tavro2.ini")), "[General]\r\nWordsBefore=250\r\n");
}

TEST(CommandLineParseTest, NoArgumentsOrOnlyADirectoryOpenTheWindow) {
  char prog[] = "tavro2";
  char dirOpt[] = "--dir";
  char dirVal[] = "/tmp";
  char* none[] = {prog, nullptr};
  EXPECT_FALSE(RunCommandLine(1, none));
  char* onlyDir[] = {prog, dirOpt, dirVal, nullptr};
  EXPECT_FALSE(RunCommandLine(3, onlyDir));
}

}  // namespace
}  // namespace tavro2::test
