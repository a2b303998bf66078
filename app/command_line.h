// The command-line side of tavro2: --lookup, --about, --help.
//
//   tavro2 --lookup TEXT [--dir DIR]   one search-box query, printed as JSON
//   tavro2 --about [--dir DIR]         the about box's statistics text
//   tavro2 --help                      usage
//
// DIR defaults to the program directory. The command line reads the settings
// file and the data files there completely and writes nothing. Exit status:
// 0 found (or --about / --help done), 1 not found, 2 bad usage or a DIR
// that cannot be read.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavro2 {

class LookupState;

// Runs the command line when it asks for something the window does not do.
// Returns the exit status, or nothing when the program should open its
// window (no arguments, or only --dir DIR; the directory is then set as the
// program directory).
std::optional<int> RunCommandLine(int argc, char** argv);

// The JSON object --lookup prints (without the final newline) for `state`
// after a SearchFromBox on `queryUtf8`. Texts are converted from
// Windows-1252 to UTF-8; `queryUtf8` is echoed with malformed bytes replaced
// by U+FFFD so the output is always valid UTF-8.
std::string LookupResultJson(const LookupState& state, std::string_view queryUtf8, bool found);

}  // namespace tavro2
