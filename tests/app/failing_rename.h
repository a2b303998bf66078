// Makes WriteFileAtomically's rename step fail while the object lives, as a
// crash between writing the temporary file and renaming it would.
#pragma once

#include "app/atomic_file.h"

namespace tavro2::test {

class FailingRename {
 public:
  FailingRename() : previous_(setRenameFunctionForTesting(&fail)) {}
  ~FailingRename() { setRenameFunctionForTesting(previous_); }
  FailingRename(const FailingRename&) = delete;
  FailingRename& operator=(const FailingRename&) = delete;

 private:
  static int fail(const char*, const char*) { return -1; }
  RenameFunction previous_;
};

}  // namespace tavro2::test
