// The command-line side of tavro2: --lookup, --about, --help.
#pragma once

#include <optional>

namespace tavro2 {

// Runs the command line when it asks for something the window does not do.
// Returns the exit status, or nothing when the program should open its
// window (no arguments, or only --dir DIR).
std::optional<int> RunCommandLine(int argc, char** argv);

}  // namespace tavro2
