// The program directory: where every data, word-list, settings and history
// file lives. A file is always named by appending a plain file name to it, so
// starting the program from another working directory changes nothing.
#pragma once

#include <string>

namespace tavro2 {

// Directory of the running executable with trailing '/', from /proc/self/exe,
// computed once. Call SetProgramDirectory, if at all, before other threads
// read this.
const std::string& programDirectory();

// Overrides it (tests); a missing trailing '/' is added.
// An empty directory means the working directory ("./"). A relative
// directory is kept as given.
void setProgramDirectory(std::string dir);

// The executable's directory as /proc/self/exe names it now, with trailing
// '/'; "./" when the link cannot be read (no /proc). ProgramDirectory caches
// the first answer.
std::string executableDirectory();

}  // namespace tavro2
