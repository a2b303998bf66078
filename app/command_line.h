// The command-line side of tavro2: --lookup, --pronounce, --about, --help, --version.
//
//   tavro2 --lookup TEXT [--dir DIR]   one search-box query, printed as JSON
//   tavro2 --lookup - [--dir DIR]      each line of standard input, as JSON Lines
//     with --from en|id|auto           this lookup's direction (not the settings')
//     with --text                      as a person reads it (coloured on a terminal)
//   tavro2 --pronounce WORD --wav FILE WORD spoken into a WAV file (with --from too)
//   tavro2 --about [--dir DIR]         the about box's statistics text
//   tavro2 --version, --help           version, usage and where files live
//
// Files are found where currentStorage() says (everything in DIR with --dir). The
// command line reads the settings file and the data files completely and
// writes nothing but --pronounce's file. Exit status: 0 found (or --about /
// --help done, the file written), 1 not found (or no voice), 2 bad usage, a
// DIR that cannot be read or a file that cannot be written.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/speech.h"
#include "app/storage.h"
#include "engine/lookup_state.h"

namespace tavro2 {


inline constexpr char kVersion[] = "2.04";

// Runs the command line when argv names --lookup, --pronounce, --about,
// --help or --version, and returns its exit status. Otherwise returns nothing: the
// program opens its window, whose arguments (Qt's own options too) are then
// checked, and --dir DIR chosen as the storage.
std::optional<int> runCommandLine(int argc, char** argv);

// What the window takes from its arguments: --dir DIR and the words to look
// up (several are joined by spaces); Qt's own options (-platform NAME, ...)
// are passed over. On bad usage prints why and returns 2.
struct WindowArguments {
  std::optional<std::string> dir;
  std::string word;
};
std::optional<int> parseWindowArguments(const std::vector<std::string>& args,
                                        WindowArguments& out);

// The voice --pronounce speaks `wordUtf8` with: `from`'s direction, else
// the settings'; in Automatic the side a lookup in `places` finds the word
// on (its base forms too, but for Hunspell's stems), English when neither.
SpeechLanguage pronounceLanguage(const StoragePlaces& places, std::string_view wordUtf8,
                                 std::optional<Direction> from);

// The JSON object --lookup prints (without the final newline) for `state`
// after a SearchFromBox on `queryUtf8`. Texts are converted from
// Windows-1252 to UTF-8; `queryUtf8` is echoed with malformed bytes replaced
// by U+FFFD so the output is always valid UTF-8.
// `suggestions` become "suggestions" (an empty list when found).
std::string lookupResultJson(const LookupState& state, std::string_view queryUtf8, bool found,
                             const std::vector<HeadwordEntry>& suggestions = {});
// The line --lookup - writes for an input line over `limit` bytes: its
// start, "found": false, an "error" and no suggestions.
std::string lineTooLongJson(std::string_view line, std::size_t limit);

}  // namespace tavro2
