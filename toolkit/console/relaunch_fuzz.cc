// Fuzzes the relaunch's command text: arguments taken from the input (split
// at NUL bytes) are quoted as the command text quotes them, and a real
// POSIX shell must split the result back into exactly those arguments.
#include <stddef.h>
#include <stdint.h>
#include <errno.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "toolkit/console/relaunch_internal.h"

namespace {

// What /bin/sh makes of `script`: the NUL-separated words printf writes.
// posix_spawn runs no code of this process in the child, which stays safe
// beside the fuzzer's own threads.
std::string shell_output(const std::string& script) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) abort();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], 1);
  posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
  std::string sh = "sh", dash_c = "-c", text = script;
  char* argv[] = {&sh[0], &dash_c[0], &text[0], nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, "/bin/sh", &actions, nullptr, argv, environ) != 0) abort();
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_fds[1]);
  std::string output;
  char buffer[4096];
  // libFuzzer's timer interrupts blocking calls now and then.
  for (;;) {
    ssize_t n = read(pipe_fds[0], buffer, sizeof buffer);
    if (n > 0) {
      output.append(buffer, static_cast<size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  close(pipe_fds[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return output;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 2000) return 0;
  std::string input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> args;
  for (size_t start = 0;;) {
    size_t end = input.find('\0', start);
    args.push_back(input.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }

  // Every quoting style the command text uses: bare words for arguments,
  // double-quoted plain texts for the directory and the program.
  std::string script = "printf '%s\\0'";
  std::string expected;
  for (const std::string& arg : args) {
    script += " " + tavorin::shell_word(arg, 0) + " " + tavorin::shell_word(arg, '"');
    expected += arg + '\0' + arg + '\0';
  }
  if (shell_output(script) != expected) abort();

  // The whole command keeps its shape: cd, the directory, "; ", the program.
  std::vector<char*> argv;
  std::string program = "/opt/" + args[0];
  argv.push_back(&program[0]);
  for (size_t i = 1; i < args.size(); ++i) argv.push_back(&args[i][0]);
  argv.push_back(nullptr);
  std::string command;
  if (program.find('/', 5) == std::string::npos &&
      (!tavorin::relaunch_command(static_cast<int>(argv.size() - 1), argv.data(), "/w", "/x/y",
                                  &command) ||
       command.compare(0, 11, "cd \"/opt\"; ") != 0)) {
    abort();
  }
  return 0;
}
