// Makes writeFileAtomically's rename step fail while the object lives, as a
// crash between writing the temporary file and renaming it would.
#pragma once

#include "app/atomic_file.h"

namespace tavro2::test {

struct FailingRename {
  FailingRename()
      : previous(setRenameFunctionForTesting([](const char*, const char*) { return -1; })) {}
  ~FailingRename() { setRenameFunctionForTesting(previous); }
  RenameFunction previous;
};

}  // namespace tavro2::test
