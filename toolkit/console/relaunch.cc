// The terminal relaunch: replace the process with an xterm window that runs
// a new copy of the program, when standard output is not a terminal or the
// keyword "swxterm" comes first.
#include <limits.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "toolkit/console/console.h"
#include "toolkit/console/relaunch_internal.h"

namespace {

std::string current_directory() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
}

std::string own_executable() {
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

void relaunch(int argc, char** argv, const char* window_title, const char* colours) {
  std::vector<std::string> args;
  std::string exe = own_executable();
  std::string cwd = current_directory();
  if (!tavorin::relaunch_arguments(argc, argv, window_title, colours, cwd, exe, &args)) {
    return;
  }
  std::vector<char*> list;
  for (std::string& arg : args) list.push_back(&arg[0]);
  list.push_back(nullptr);
  fflush(stdout);
  execv("/usr/bin/xterm", list.data());
  // xterm could not be started: the program goes on where it is.
}

}  // namespace

void startxterm(int argc, char** argv, const char* window_title, const char* colours) {
  if (isatty(1) && !tavorin::relaunch_keyword(argc, argv)) return;
  try {
    relaunch(argc, argv, window_title, colours);
  } catch (...) {
    // Out of memory while building the command: run in place.
  }
}
