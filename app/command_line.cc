#include "app/command_line.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <locale>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/program_dir.h"
#include "app/settings.h"
#include "app/speech.h"
#include "app/storage.h"
#include "app/text_output.h"
#include "app/wav_file.h"
#include "engine/base_form_stages.h"
#include "engine/cp1252.h"
#include "engine/data_statistics.h"
#include "engine/dictionary_store.h"
#include "engine/loader.h"
#include "engine/lookup_state.h"
#include "engine/stemmer.h"
#include "engine/suggestions.h"
#include "engine/user_list_encoding.h"
#include "engine/word_ranks.h"

namespace tavro2 {

namespace {

constexpr char kUsage[] =
    "usage: tavro2 [--dir DIR] [WORD]           open the dictionary window (and look WORD up);\n"
    "                                           a window already open on the same files is\n"
    "                                           raised instead and given WORD\n"
    "       tavro2 --lookup TEXT [--from en|id|auto] [--text] [--dir DIR]\n"
    "                                           look TEXT up as the search box does;\n"
    "                                           print the result as one JSON object,\n"
    "                                           or with --text as a person reads it\n"
    "       tavro2 --lookup - [...]             look up each line of standard input;\n"
    "                                           one JSON object a line (JSON Lines)\n"
    "       tavro2 --pronounce WORD [--from en|id|auto] --wav FILE [--dir DIR]\n"
    "                                           speak WORD into FILE (WAV, 16-bit mono)\n"
    "       tavro2 --about [--dir DIR]          print the dictionaries' entry counts and dates\n"
    "       tavro2 --version                    print the version\n"
    "       tavro2 --help                       print this text\n"
    "\n"
    "--from chooses the direction for this lookup (English - Indonesian,\n"
    "Indonesian - English or Automatic) without changing the settings; otherwise\n"
    "the settings' direction holds. A word not found gets the nearest headwords\n"
    "as \"suggestions\" (empty when found). An English entry's pronunciation is\n"
    "\"ipa\" (IPA, empty when the data has none). --text colours the markers and\n"
    "puts the word forms in bold on a terminal, unless NO_COLOR is set.\n"
    "--pronounce speaks with espeak-ng's English or Indonesian voice, as --from or\n"
    "the settings' direction choose; in Automatic, the side the word is found on.\n"
    "\n"
    "The window also takes Qt's own options, such as -platform NAME or -style NAME.\n"
    "--lookup and --about write nothing. Exit status: 0 found (every line found\n"
    "with --lookup -; the file written with --pronounce), 1 not found (no voice\n"
    "to speak with), 2 bad usage, unreadable DIR or a FILE that cannot be written.\n"
    "\n"
    "Where files live: with --dir, every file is in DIR. Otherwise, when the\n"
    "program's directory is writable and holds the data (or no installed data\n"
    "exists), every file lives beside the program. Otherwise the data comes from\n"
    "the program's directory or ../share/tavro2/, Tavro2.ini from\n"
    "$XDG_CONFIG_HOME/tavro2/ (~/.config/tavro2/) and History.txt and the user\n"
    "word lists from $XDG_DATA_HOME/tavro2/ (~/.local/share/tavro2/). Now:\n";

struct Options {
  bool help = false;
  bool version = false;
  bool about = false;
  bool text = false;
  std::optional<std::string> lookup;
  std::optional<std::string> dir;
  std::optional<std::string> from;
  std::optional<std::string> pronounce;
  std::optional<std::string> wav;
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
    } else if (name == "--pronounce") {
      if (auto err = takeValue(out.pronounce)) return err;
    } else if (name == "--wav") {
      if (auto err = takeValue(out.wav)) return err;
    } else if (name == "--dir") {
      if (auto err = takeValue(out.dir)) return err;
    } else if (name == "--from") {
      if (auto err = takeValue(out.from)) return err;
      if (*out.from != "en" && *out.from != "id" && *out.from != "auto")
        return usageError("--from takes en, id or auto, not '" + *out.from + "'");
    } else if (name == "--text" && !inlineValue) {
      out.text = true;
    } else if ((name == "--help" || name == "-h") && !inlineValue) {
      out.help = true;
    } else if (name == "--version" && !inlineValue) {
      out.version = true;
    } else if (name == "--about" && !inlineValue) {
      out.about = true;
    } else if (arg.starts_with("-")) {
      return usageError("unknown option '" + std::string(arg) + "'");
    } else {
      return usageError("unexpected argument '" + std::string(arg) + "'");
    }
  }
  if ((out.lookup ? 1 : 0) + (out.about ? 1 : 0) + (out.pronounce ? 1 : 0) > 1)
    return usageError("--lookup, --pronounce and --about cannot be combined");
  if (out.text && !out.lookup) return usageError("--text needs --lookup");
  if (out.from && !out.lookup && !out.pronounce)
    return usageError("--from needs --lookup or --pronounce");
  if (out.wav && !out.pronounce) return usageError("--wav needs --pronounce");
  if (out.pronounce) {
    if (!out.wav || out.wav->empty()) return usageError("--pronounce needs --wav FILE");
    if (out.pronounce->find_first_not_of(" \t") == std::string::npos)
      return usageError("--pronounce needs a word");
    if (out.pronounce->size() > kMaxSpokenBytes)
      return usageError("--pronounce takes a word or a short phrase (at most " +
                        std::to_string(kMaxSpokenBytes) + " bytes)");
  }
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
  loadDictionary(store, dir, nullptr, [&](DataKind kind, LoadState state) {
    outcomes[static_cast<std::size_t>(kind)] = state;
  });
  return loadStatusText(outcomes);
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

// One line on stderr when some data file could not be read, so a script
// does not take an empty answer for a real one.
void reportMissingData(const std::string& loadStatus, const std::string& dataDir) {
  if (loadStatus == " Data OK") return;
  std::fprintf(stderr, "tavro2: no complete dictionary data in %s (%s)\n", dataDir.c_str(),
               loadStatus.substr(1).c_str());
}

// A line of standard input longer than this is no word; it is answered
// with an error and read no further than its end.
constexpr std::size_t kMaxInputLine = 64 * 1024;

// Reads one line of `in` (its LF and a CR before it dropped) into `line`,
// keeping at most kMaxInputLine bytes; `tooLong` tells when more were
// there. False at the end of the input.
bool readInputLine(std::FILE* in, std::string& line, bool& tooLong) {
  line.clear();
  tooLong = false;
  int c = std::getc(in);
  if (c == EOF) return false;
  for (; c != EOF && c != '\n'; c = std::getc(in)) {
    if (line.size() < kMaxInputLine) {
      line.push_back(static_cast<char>(c));
    } else {
      tooLong = true;
    }
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

struct LookupRequest {
  std::string text;  // UTF-8; "-" with `lines`
  bool lines = false;
  bool asText = false;
  std::optional<Direction> direction;
};

int runLookup(const StoragePlaces& places, const LookupRequest& request) {
  const IniFile ini(places.configDir + kSettingsFileName);
  const Settings s = readSettings(ini);

  DictionaryStore store;
  const std::shared_ptr<Stemmer> stemmer = Stemmer::shared();
  LookupState state(store, places.userDir, stemmer);
  LookupSettings ls;
  ls.direction = request.direction.value_or(directionOf(s.Language));
  ls.WordsBefore = s.WordsBefore;
  ls.WordsAfter = s.WordsAfter;
  ls.MaxContainTexts = s.MaxContainTexts;
  ls.CompactMode = readCompactMode(ini);
  ls.ShowPhrase = s.ShowPhrase;
  ls.AutoRemAlpha = s.AutoRemAlpha;
  state.setSettings(ls);
  // A word in common use is nearly always in the data and never waits for
  // Hunspell's dictionaries, nor shares the processor with their loading.
  // Any other word is the likely miss: they start loading now, beside the
  // data, at the lowest priority, and its fallback stages wait less.
  const std::string query = request.lines ? "" : state.queryOf(utf8To1252(request.text));
  const bool likelyMiss = !query.empty() && !inCommonUse(query);
  if (likelyMiss) {
    if (ls.direction != Direction::kIndonesianEnglish) stemmer->prepare(StemLanguage::kEnglish);
    if (ls.direction != Direction::kEnglishIndonesian) stemmer->prepare(StemLanguage::kIndonesian);
  }
  const std::string loadStatus = loadAll(store, places.dataDir);
  reportMissingData(loadStatus, places.dataDir);
  // While they load, the likely miss's nearest headwords are found (those
  // need no Hunspell unless none is near).
  std::vector<HeadwordEntry> early;
  if (likelyMiss)
    early = suggestHeadwords(store, query, ls.direction, WordRanks::shared(), nullptr);
  const bool color = request.asText && colorWanted(STDOUT_FILENO);

  // One query: the answer, and whether it was found (nothing written: 2).
  auto answer = [&](const std::string& textUtf8) -> std::optional<bool> {
    state.setStatusText(loadStatus);
    state.searchFromBox(utf8To1252(textUtf8));
    state.setStatusText(noteMissingData(state.statusText(), loadStatus));
    const bool found = state.queryFound();
    std::vector<HeadwordEntry> suggestions;
    if (!found)
      suggestions = !early.empty() && state.missedQuery() == query ? early : state.suggestions();
    const std::string out = request.asText
                                ? lookupAsText(state, found, suggestions, color)
                                : lookupResultJson(state, textUtf8, found, suggestions) + "\n";
    if (!writeOut(out)) return std::nullopt;
    return found;
  };

  if (!request.lines) {
    const std::optional<bool> found = answer(request.text);
    return !found ? 2 : *found ? 0 : 1;
  }
  bool allFound = true;
  std::string line;
  bool tooLong = false;
  while (readInputLine(stdin, line, tooLong)) {
    std::optional<bool> found = false;
    if (tooLong) {
      const std::string error =
          request.asText ? "line longer than " + std::to_string(kMaxInputLine) + " bytes\n"
                         : lineTooLongJson(line, kMaxInputLine) + "\n";
      if (!writeOut(error)) found.reset();
    } else {
      found = answer(line);
    }
    if (found && request.asText && !writeOut("\n")) found.reset();  // entries a blank line apart
    if (!found) return 2;
    allFound = allFound && *found;
  }
  return allFound ? 0 : 1;
}

// --pronounce: WORD spoken into a WAV file with pronounceLanguage's voice.
int runPronounce(const StoragePlaces& places, const std::string& wordUtf8,
                 std::optional<Direction> from, const std::string& wavPath) {
  if (!speechBuiltIn()) {
    std::fprintf(stderr, "tavro2: %s\n", speechProblem(SpokenWord::Outcome::kNoSpeech, SpeechLanguage::kEnglish).c_str());
    return 1;
  }
  const SpeechLanguage language = pronounceLanguage(places, wordUtf8, from);
  const SpokenWord spoken = synthesize(wordUtf8, language);
  if (spoken.outcome != SpokenWord::Outcome::kSpoken) {
    std::fprintf(stderr, "tavro2: cannot speak '%s': %s\n", wordUtf8.c_str(),
                 speechProblem(spoken.outcome, language).c_str());
    return 1;
  }
  if (!writeWavFile(wavPath, spoken.samples, spoken.sampleRate)) {
    std::fprintf(stderr, "tavro2: cannot write '%s'\n", wavPath.c_str());
    return 2;
  }
  return 0;
}

int runAbout(const StoragePlaces& places) {
  const std::string& dir = places.dataDir;
  DictionaryStore store;
  reportMissingData(loadAll(store, dir), dir);
  // The user's locale for the month names, as the about box uses it; an
  // unusable locale setting falls back to the C locale's English names.
  MonthNames months = englishMonthAbbreviations();
  try {
    months = monthAbbreviationsUtf8(std::locale(""));
  } catch (const std::exception&) {
  }
  const std::string text = dataStatisticsText(
      readDataStatistics(store, dir),
      [&](const CalendarDate& date) { return formatDdMmmYy(date, months); }, "\n");
  return writeOut(text + "\n") ? 0 : 2;
}

}  // namespace

SpeechLanguage pronounceLanguage(const StoragePlaces& places, std::string_view wordUtf8,
                                 std::optional<Direction> from) {
  const Direction direction =
      from ? *from
           : directionOf(readSettings(IniFile(places.configDir + kSettingsFileName)).Language);
  if (direction != Direction::kAutomatic)
    return direction == Direction::kIndonesianEnglish ? SpeechLanguage::kIndonesian
                                                      : SpeechLanguage::kEnglish;
  DictionaryStore store;
  reportMissingData(loadAll(store, places.dataDir), places.dataDir);
  LookupState state(store, places.userDir);
  state.searchFromBox(utf8To1252(wordUtf8));
  return state.queryFound() && state.foundInIndonesian() ? SpeechLanguage::kIndonesian
                                                         : SpeechLanguage::kEnglish;
}

std::string lineTooLongJson(std::string_view line, std::size_t limit) {
  std::string out = "{\"query\":";
  // The start of the line, cut where a UTF-8 sequence begins.
  std::size_t cut = std::min<std::size_t>(line.size(), 64);
  while (cut > 0 && cut < line.size() && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
    --cut;
  appendJsonString(out, sanitizeUtf8(line.substr(0, cut)) + "\u2026");
  out += ",\"found\":false,\"error\":";
  appendJsonString(out, "line longer than " + std::to_string(limit) + " bytes");
  out += ",\"suggestions\":[]}";
  return out;
}

std::string lookupResultJson(const LookupState& state, std::string_view queryUtf8, bool found,
                             const std::vector<HeadwordEntry>& suggestions) {
  std::string out = "{\"query\":";
  appendJsonString(out, sanitizeUtf8(queryUtf8));
  out += ",\"found\":";
  appendBool(out, found);
  out += ",\"status\":";
  appendText(out, state.statusText());
  out += ",\"words\":";
  appendLines(out, state.mainWords());
  out += ",\"ipa\":";
  appendJsonString(out, sanitizeUtf8(state.ipa()));
  out += ",\"translation\":";
  appendText(out, state.translationText());
  out += ",\"translation_format\":";
  appendRuns(out, state.translationRuns());
  out += ",\"related\":";
  appendLines(out, state.relatedWords());
  out += ",\"related_translation\":";
  appendText(out, state.relatedTranslationText());
  out += ",\"related_format\":";
  appendRuns(out, state.relatedTranslationRuns());
  out += ",\"phrases\":[";
  for (std::size_t i = 0; i < state.phrases().size(); ++i) {
    if (i) out.push_back(',');
    out.push_back('[');
    appendText(out, state.phrases()[i].first);
    out.push_back(',');
    appendText(out, state.phrases()[i].second);
    out.push_back(']');
  }
  out += "],\"found_in_indonesian\":";
  appendBool(out, state.foundInIndonesian());
  out += ",\"also_indonesian\":";
  appendBool(out, state.alsoIndonesian());
  out += ",\"suggestions\":[";
  for (std::size_t i = 0; i < suggestions.size(); ++i) {
    if (i) out.push_back(',');
    appendText(out, suggestions[i].word);
  }
  out += "]}";
  return out;
}

namespace {

// True when argv names a command: the command line runs and the window does
// not open.
bool wantsCommandLine(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const std::string_view name = arg.substr(0, arg.find('='));
    if (name == "--lookup" || name == "--about" || name == "--help" || name == "-h" ||
        name == "--version" || name == "--from" || name == "--text" || name == "--pronounce" ||
        name == "--wav")
      return true;
    if (arg == "--dir") ++i;  // its value may look like anything
  }
  return false;
}

// Qt's own command-line options (QGuiApplication, QApplication and the X11
// platform), which Qt takes out of argv itself; those in the first list take
// a value. Qt also accepts them with two dashes.
constexpr std::string_view kQtValueOptions[] = {"platform",
                                                "platformpluginpath",
                                                "platformtheme",
                                                "plugin",
                                                "qwindowgeometry",
                                                "geometry",
                                                "qwindowicon",
                                                "qwindowtitle",
                                                "title",
                                                "style",
                                                "stylesheet",
                                                "session",
                                                "display",
                                                "name",
                                                "dialogs",
                                                "fn",
                                                "font",
                                                "bg",
                                                "background",
                                                "fg",
                                                "foreground",
                                                "btn",
                                                "button",
                                                "visual",
                                                "ncols",
                                                "cmap",
                                                "im",
                                                "inputstyle"};
constexpr std::string_view kQtFlagOptions[] = {"reverse", "widgetcount", "nograb",
                                               "dograb",  "sync",        "testability"};

// 0 when `arg` is no Qt option, else how many arguments it spans.
int qtOptionLength(std::string_view arg) {
  if (!arg.starts_with("-")) return 0;
  arg.remove_prefix(arg.starts_with("--") ? 2 : 1);
  const std::string_view name = arg.substr(0, arg.find('='));
  for (std::string_view option : kQtFlagOptions)
    if (arg == option) return 1;
  for (std::string_view option : kQtValueOptions)
    if (name == option) return name.size() == arg.size() ? 2 : 1;
  if (arg.starts_with("qmljsdebugger=")) return 1;
  return 0;
}

}  // namespace

std::optional<int> parseWindowArguments(const std::vector<std::string>& args,
                                        WindowArguments& out) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (const int span = qtOptionLength(arg)) {
      i += static_cast<std::size_t>(span - 1);  // Qt takes it (and its value)
    } else if (arg == "--dir" || arg.starts_with("--dir=")) {
      if (out.dir) return usageError("option '--dir' given twice");
      if (arg != "--dir") {
        out.dir = arg.substr(6);
      } else if (i + 1 < args.size()) {
        out.dir = args[++i];
      } else {
        return usageError("option '--dir' needs a value");
      }
    } else if (arg.starts_with("-")) {
      return usageError("unknown option '" + arg + "'");
    } else {
      if (!out.word.empty()) out.word.push_back(' ');
      out.word += arg;
    }
  }
  return std::nullopt;
}

std::optional<int> runCommandLine(int argc, char** argv) {
  if (!wantsCommandLine(argc, argv)) {
    // The window's: checked here, before Qt needs a display to say anything.
    WindowArguments window;
    if (auto err = parseWindowArguments(std::vector<std::string>(argv + 1, argv + argc), window))
      return err;
    if (window.dir) setStorage(storageIn(*window.dir));
    return std::nullopt;
  }
  Options options;
  if (auto err = parseOptions(argc, argv, options)) return err;
  if (options.dir) setStorage(storageIn(*options.dir));
  if (options.help) {
    std::fputs(kUsage, stdout);
    std::fputs(describeStorage(currentStorage()).c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("tavro2 %s\n", kVersion);
    return 0;
  }
  if (!options.lookup && !options.about && !options.pronounce) return std::nullopt;

  const StoragePlaces& places = currentStorage();
  if (options.dir && !directoryReadable(places.dataDir)) {
    std::fprintf(stderr, "tavro2: cannot read directory '%s'\n", places.dataDir.c_str());
    return 2;
  }
  if (options.about) return runAbout(places);
  std::optional<Direction> direction;
  if (options.from)
    direction = *options.from == "en"   ? Direction::kEnglishIndonesian
                : *options.from == "id" ? Direction::kIndonesianEnglish
                                        : Direction::kAutomatic;
  if (options.pronounce) return runPronounce(places, *options.pronounce, direction, *options.wav);
  LookupRequest request;
  request.text = *options.lookup;
  request.lines = request.text == "-";
  request.asText = options.text;
  request.direction = direction;
  return runLookup(places, request);
}

}  // namespace tavro2
