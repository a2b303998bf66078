// Whole-file reads and atomic whole-file writes, for every file the program
// writes (settings, history, user word lists).
//
// A write goes to a temporary file in the target's directory, is flushed to
// disk, and is then renamed over the target. A crash, a full disk or a
// refused write therefore leaves either the old file whole or the new one
// whole, never a mix.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavro2 {

// Replaces the file at `path` with `bytes`. Returns false, leaving any old
// file untouched and no temporary file behind, when the system refuses: the
// directory is missing or not writable, the target is not a regular file, or
// the target is marked read-only (no write permission bit at all; this holds
// even for root, as a read-only file does on Windows). A symbolic link is
// followed, so the link stays and its target is replaced; a dangling link
// gets its target created, and a link loop is refused. An existing file
// keeps its permission bits; a new one gets 0666 less the umask.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// The most any whole-file read takes in: a larger file is no settings file,
// history or word list of ours, and reading it would cost its size in memory.
inline constexpr std::size_t kMaxReadBytes = std::size_t{64} << 20;

// Reads a whole regular file of at most maxBytes. Returns nothing when it
// cannot; then *missing (when given) says whether the file simply does not
// exist, as opposed to existing but being unreadable, too large, or no
// regular file (a directory, a FIFO: the open never blocks).
std::optional<std::string> readFileBytes(const std::string& path, bool* missing = nullptr,
                                         std::size_t maxBytes = kMaxReadBytes);

// The last maxBytes of a regular file (all of it when it is smaller), for
// files whose end matters most; *cut (when given) tells whether bytes before
// them were left out. Nothing in the cases readFileBytes gives nothing, but
// for the size.
std::optional<std::string> readFileTail(const std::string& path, std::size_t maxBytes,
                                        bool* cut = nullptr);

// Removes the temporary files a killed writer left beside `target`
// (target + ".tmp." + process id + "." + counter) that are older than this
// process and whose process is gone. Returns how many were removed.
std::size_t removeStaleTemporaries(const std::string& target);

// The rename step, replaceable so tests can make it fail as a crash between
// writing the temporary file and renaming it would. Not thread-safe against
// concurrent writes; nullptr restores ::rename. Returns the previous function.
using RenameFunction = int (*)(const char* from, const char* to);
RenameFunction setRenameFunctionForTesting(RenameFunction rename);

}  // namespace tavro2
