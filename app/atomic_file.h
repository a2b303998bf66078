// Whole-file reads and atomic whole-file writes, for every file the program
// writes (settings, history, user word lists).
//
// A write goes to a temporary file in the target's directory, is flushed to
// disk, and is then renamed over the target. A crash, a full disk or a
// refused write therefore leaves either the old file whole or the new one
// whole, never a mix.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavro2 {

// Replaces the file at `path` with `bytes`. Returns false, leaving any old
// file untouched and no temporary file behind, when the system refuses: the
// directory is missing or not writable, the target is not a regular file, or
// the target is marked read-only (no write permission bit at all; this holds
// even for root, as a read-only file does on Windows). A symbolic link is
// followed, so the link stays and its target is replaced. An existing file
// keeps its permission bits; a new one gets 0666 less the umask.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

// Reads a whole regular file. Returns nothing when it cannot; then *missing
// (when given) says whether the file simply does not exist, as opposed to
// existing but being unreadable (or a directory).
std::optional<std::string> readFileBytes(const std::string& path, bool* missing = nullptr);

// The rename step, replaceable so tests can make it fail as a crash between
// writing the temporary file and renaming it would. Not thread-safe against
// concurrent writes; nullptr restores ::rename. Returns the previous function.
using RenameFunction = int (*)(const char* from, const char* to);
RenameFunction setRenameFunctionForTesting(RenameFunction rename);

}  // namespace tavro2
