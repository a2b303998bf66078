#include "app/command_line.h"

#include <dirent.h>

#include <cstdio>
#include <locale>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/program_dir.h"
#include "app/settings.h"
#include "engine/cp1252.h"
#include "engine/data_statistics.h"
#include "engine/dictionary_store.h"
#include "engine/loader.h"
#include "engine/lookup_state.h"
#include "engine/stemmer.h"

namespace tavro2 {

namespace {

constexpr char kUsage[] =
    "usage: tavro2 [--dir DIR]                  open the dictionary window\n"
    "       tavro2 --lookup TEXT [--dir DIR]    look TEXT up as the search box does;\n"
    "                                           print the result as one JSON object\n"
    "       tavro2 --about [--dir DIR]          print the dictionaries' entry counts and dates\n"
    "       tavro2 --help                       print this text\n"
    "\n"
    "DIR holds the data files, the user word lists and Tavro2.ini (default: the\n"
    "program's directory). Nothing is written.\n"
    "Exit status: 0 found, 1 not found, 2 bad usage or unreadable DIR.\n";

struct Options {
  bool help = false;
  bool about = false;
  std::optional<std::string> lookup;
  std::optional<std::string> dir;
};

int usageError(const std::string& message) {
  std::fprintf(stderr, "tavro2: %s\nTry 'tavro2 --help'.\n", message.c_str());
  return 2;
}

// Parses argv into `out`; on bad usage prints why and returns 2.
std::optional<int> parseOptions(int argc, char** argv, Options& out) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    std::string_view name = arg;
    std::optional<std::string_view> inlineValue;
    if (arg.starts_with("--")) {
      if (const auto eq = arg.find('='); eq != std::string_view::npos) {
        name = arg.substr(0, eq);
        inlineValue = arg.substr(eq + 1);
      }
    }
    auto takeValue = [&](std::optional<std::string>& slot) -> std::optional<int> {
      if (slot) return usageError("option '" + std::string(name) + "' given twice");
      if (inlineValue) {
        slot = std::string(*inlineValue);
      } else if (i + 1 < argc) {
        slot = std::string(argv[++i]);  // the value may itself start with '-'
      } else {
        return usageError("option '" + std::string(name) + "' needs a value");
      }
      return std::nullopt;
    };
    if (name == "--lookup") {
      if (auto err = takeValue(out.lookup)) return err;
    } else if (name == "--dir") {
      if (auto err = takeValue(out.dir)) return err;
    } else if ((name == "--help" || name == "-h") && !inlineValue) {
      out.help = true;
    } else if (name == "--about" && !inlineValue) {
      out.about = true;
    } else if (arg.starts_with("-")) {
      return usageError("unknown option '" + std::string(arg) + "'");
    } else {
      return usageError("unexpected argument '" + std::string(arg) + "'");
    }
  }
  if (out.lookup && out.about) return usageError("--lookup and --about cannot be combined");
  return std::nullopt;
}

bool directoryReadable(const std::string& dir) {
  DIR* d = ::opendir(dir.c_str());
  if (!d) return false;
  ::closedir(d);
  return true;
}

// Loads the three data files completely, as the loader thread would, and
// returns the status line the window shows at the end of loading.
std::string loadAll(DictionaryStore& store, const std::string& dir) {
  std::array<LoadState, 3> outcomes{LoadState::kPending, LoadState::kPending, LoadState::kPending};
  LoadDictionary(store, dir, nullptr, [&](DataKind kind, LoadState state) {
    outcomes[static_cast<std::size_t>(kind)] = state;
  });
  return LoadStatusText(outcomes);
}

// --- JSON ----------------------------------------------------------------

// Appends `utf8` as a JSON string; the text must be valid UTF-8.
void appendJsonString(std::string& out, std::string_view utf8) {
  out.push_back('"');
  for (char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out.push_back(ch);
        }
    }
  }
  out.push_back('"');
}

void appendText(std::string& out, std::string_view cp1252) {
  appendJsonString(out, cp1252ToUtf8(cp1252));
}

void appendBool(std::string& out, bool value) { out += value ? "true" : "false"; }

void appendColor(std::string& out, std::uint32_t rgb) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "\"#%06x\"", static_cast<unsigned>(rgb & 0xFFFFFF));
  out += buf;
}

void appendRuns(std::string& out, const std::vector<FormatRun>& runs) {
  out.push_back('[');
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const FormatRun& r = runs[i];
    if (i) out.push_back(',');
    out += "{\"start\":" + std::to_string(r.start) + ",\"length\":" + std::to_string(r.length) +
           ",\"bold\":";
    appendBool(out, r.bold);
    if (r.color) {
      out += ",\"color\":";
      appendColor(out, *r.color);
    }
    if (r.background) {
      out += ",\"background\":";
      appendColor(out, *r.background);
    }
    out.push_back('}');
  }
  out.push_back(']');
}

void appendLines(std::string& out, const WordList& list) {
  out.push_back('[');
  for (std::size_t i = 0; i < list.count(); ++i) {
    if (i) out.push_back(',');
    appendText(out, list.line(i));
  }
  out.push_back(']');
}

// The length of the well-formed UTF-8 sequence at the start of s, or 0.
std::size_t utf8SequenceLength(std::string_view s) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char c = b(0);
  if (c < 0x80) return 1;
  std::size_t n;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) lo = 0xA0;  // no overlong forms
    if (c == 0xED) hi = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (s.size() < n || b(1) < lo || b(1) > hi) return 0;
  for (std::size_t i = 2; i < n; ++i)
    if (b(i) < 0x80 || b(i) > 0xBF) return 0;
  return n;
}

std::string sanitizeUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  while (!s.empty()) {
    const std::size_t n = utf8SequenceLength(s);
    if (n == 0) {
      out += "\xEF\xBF\xBD";
      s.remove_prefix(1);
    } else {
      out.append(s.substr(0, n));
      s.remove_prefix(n);
    }
  }
  return out;
}

Direction directionOf(std::uint8_t language) {
  switch (language) {
    case 2:
      return Direction::kEnglishIndonesian;
    case 3:
      return Direction::kIndonesianEnglish;
    default:
      return Direction::kAutomatic;
  }
}

bool writeOut(const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
         std::fflush(stdout) == 0;
}

int runLookup(const std::string& dir, const std::string& textUtf8) {
  const IniFile ini(dir + kSettingsFileName);
  const Settings s = ReadSettings(ini);

  DictionaryStore store;
  LookupState state(store, dir);
  state.stemmer = Stemmer::shared();  // loads beside the data
  state.settings.direction = directionOf(s.Language);
  state.settings.WordsBefore = s.WordsBefore;
  state.settings.WordsAfter = s.WordsAfter;
  state.settings.MaxContainTexts = s.MaxContainTexts;
  state.settings.CompactMode = ReadCompactMode(ini);
  state.settings.ShowPhrase = s.ShowPhrase;
  state.settings.AutoRemAlpha = s.AutoRemAlpha;
  state.statusText = loadAll(store, dir);

  state.searchText = utf8To1252(textUtf8);
  state.SearchFromBox();
  const bool found = state.queryFound;
  if (!writeOut(LookupResultJson(state, textUtf8, found) + "\n")) return 2;
  return found ? 0 : 1;
}

int runAbout(const std::string& dir) {
  DictionaryStore store;
  loadAll(store, dir);
  // The user's locale for the month names, as the about box uses it; an
  // unusable locale setting falls back to the C locale's English names.
  MonthNames months = EnglishMonthAbbreviations();
  try {
    months = MonthAbbreviationsUtf8(std::locale(""));
  } catch (const std::exception&) {
  }
  const std::string text = DataStatisticsText(
      ReadDataStatistics(store, dir),
      [&](const CalendarDate& date) { return FormatDdMmmYy(date, months); }, "\n");
  return writeOut(text + "\n") ? 0 : 2;
}

}  // namespace

std::string LookupResultJson(const LookupState& state, std::string_view queryUtf8, bool found) {
  std::string out = "{\"query\":";
  appendJsonString(out, sanitizeUtf8(queryUtf8));
  out += ",\"found\":";
  appendBool(out, found);
  out += ",\"status\":";
  appendText(out, state.statusText);
  out += ",\"words\":";
  appendLines(out, state.mainWords);
  out += ",\"translation\":";
  appendText(out, state.translationText);
  out += ",\"translation_format\":";
  appendRuns(out, state.translationRuns);
  out += ",\"related\":";
  appendLines(out, state.relatedWords);
  out += ",\"related_translation\":";
  appendText(out, state.relatedTranslationText);
  out += ",\"related_format\":";
  appendRuns(out, state.relatedTranslationRuns);
  out += ",\"phrases\":[";
  for (std::size_t i = 0; i < state.phrases.size(); ++i) {
    if (i) out.push_back(',');
    out.push_back('[');
    appendText(out, state.phrases[i].first);
    out.push_back(',');
    appendText(out, state.phrases[i].second);
    out.push_back(']');
  }
  out += "],\"found_in_indonesian\":";
  appendBool(out, state.FoundInIndonesian);
  out.push_back('}');
  return out;
}

std::optional<int> RunCommandLine(int argc, char** argv) {
  Options options;
  if (auto err = parseOptions(argc, argv, options)) return err;
  if (options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (options.dir) SetProgramDirectory(*options.dir);
  if (!options.lookup && !options.about) return std::nullopt;  // the window

  const std::string dir = ProgramDirectory();
  if (!directoryReadable(dir)) {
    std::fprintf(stderr, "tavro2: cannot read directory '%s'\n", dir.c_str());
    return 2;
  }
  if (options.about) return runAbout(dir);
  return runLookup(dir, *options.lookup);
}

}  // namespace tavro2
