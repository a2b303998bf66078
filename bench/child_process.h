// Running a child process from a benchmark: its exit status and CPU time.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <vector>

namespace tavro2::bench {

struct ChildResult {
  int status = -1;  // exit status, -1 when it did not run or exit
  double cpu = 0;   // user + system seconds
};

// Spawns argv (found on PATH) with stdout and stderr on /dev/null, stdin
// from `input` (or /dev/null), in the C locale, and waits for it.
inline ChildResult spawnAndWait(const std::vector<const char*>& argv,
                                const char* input = "/dev/null") {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, input, O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  char lcAll[] = "LC_ALL=C";
  char path[] = "PATH=/usr/bin:/bin";
  char* env[] = {lcAll, path, nullptr};
  pid_t pid;
  std::vector<char*> args;
  for (const char* a : argv) args.push_back(const_cast<char*>(a));
  args.push_back(nullptr);
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), env);
  posix_spawn_file_actions_destroy(&actions);
  ChildResult result;
  if (rc != 0) return result;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return result;
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
  return result;
}

}  // namespace tavro2::bench
