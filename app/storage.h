// Where each file lives.
//
// Portable layout: when the program's directory is writable (a copy in a
// home folder, a build tree, a USB stick), every file lives beside the
// program, as it always has. Installed layout: when it is not (a system
// install under /usr), or when the data lies only in ../share/tavro2/ (an
// installed or unpacked package, even one root could write to), the
// dictionary data is read from the program's
// directory if it holds the data there, else from ../share/tavro2/ beside
// the executable's directory (so an unpacked package works wherever it
// lies); Tavro2.ini goes to $XDG_CONFIG_HOME/tavro2/ and History.txt and the
// user word lists to $XDG_DATA_HOME/tavro2/ (~/.config and ~/.local/share
// when those are unset or not absolute). `--dir DIR` puts everything in DIR.
//
// Every other part of the program asks this module instead of building
// paths from the program directory itself.
#pragma once

#include <string>

namespace tavro2 {

struct StoragePlaces {
  std::string dataDir;    // dataen.dat, dataid.dat, datapr.dat
  std::string configDir;  // Tavro2.ini
  std::string userDir;    // History.txt, Tavro2en.dat, Tavro2id.dat, Tavro2phrase.dat
  bool portable = true;   // all three are the same directory

  // The one-instance key: two windows on the same places must not both run.
  // The same directories give the same key however they were named.
  std::string identity() const;
};

// What the decision depends on; CurrentStorageInputs reads it from the
// system, tests build it by hand. Directories end with '/'.
struct StorageInputs {
  std::string programDir;
  bool programDirWritable = true;
  bool programDirHasData = false;  // any of the three data files lies beside the program
  bool shareDirHasData = false;    // ... or in ../share/tavro2/
  std::string home;                // $HOME, or the password database's answer
  std::string xdgConfigHome;       // as set in the environment, possibly empty
  std::string xdgDataHome;
};

StoragePlaces decideStorage(const StorageInputs& in);

// Everything in `dir` (command line --dir).
StoragePlaces storageIn(const std::string& dir);

StorageInputs currentStorageInputs(const std::string& programDir);

// The places for this run: storageIn(programDirectory()) after --dir,
// otherwise DecideStorage over the running system. Computed once.
const StoragePlaces& currentStorage();
// Replaces the answer (command line --dir, tests).
void setStorage(StoragePlaces places);

// Creates the settings and user directories (mode 0700, parents as needed)
// when they are missing, so the first write of a setting or history word
// finds its directory. Returns false when one cannot be created.
bool prepareStorage(const StoragePlaces& places);

// The status line after a lookup that found nothing, while the data is
// incomplete: " not found - no dictionary data" when no data file could be
// read, else " not found -" followed by what the end of loading said (e.g.
// " not found - Missing: datapr.dat"), so the reason does not vanish with
// the first lookup. Every other text is returned as it is.
std::string noteMissingData(const std::string& status, const std::string& loadStatus);

// The user manual's index.html: beside the program (a build tree or a
// portable copy: manual/), or installed under ../share/doc/tavro2/manual/.
// Empty when neither exists.
std::string manualPath();

// Lines for --help and the manual: where each kind of file lives now.
std::string describeStorage(const StoragePlaces& places);

}  // namespace tavro2
