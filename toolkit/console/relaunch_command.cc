// Building the relaunch: colours, program directory and name, passed-on
// arguments, and xterm's argument list.
//
// The command text has the form
//     cd "DIR"; ".NAME" ARG ARG ...
// where NAME begins with "/". Texts made only of characters the shell leaves
// alone are written exactly so; any other text is single-quoted, so that a
// space, a quote, "$", a backquote or ";" arrives in the copy as typed and
// runs nothing.
#include <string.h>

#include "toolkit/console/relaunch_internal.h"

namespace tavorin {
namespace {

const char* const kColourNames[16] = {
    "black", "navy",    "green4",   "cyan4",   "red4",   "DarkMagenta",
    "yellow4", "grey75", "grey50",  "blue1",   "green",  "cyan1",
    "red1",  "magenta1", "yellow1", "white"};

// Colours used where the colour text names none: a code outside the table,
// or a name form without ":". They are the table's 0 and 7, the usual
// console pair.
const char kDefaultBackground[] = "black";
const char kDefaultForeground[] = "grey75";

const char* colour_code(char code, const char* fallback) {
  if (code >= '0' && code <= '9') return kColourNames[code - '0'];
  if (code >= 'A' && code <= 'F') return kColourNames[10 + code - 'A'];
  if (code >= 'a' && code <= 'f') return kColourNames[10 + code - 'a'];
  return fallback;
}

bool is_plain(const std::string& text) {
  for (char c : text) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
              (c >= '0' && c <= '9') || strchr("._-/+=:,@%", c) != nullptr;
    if (!ok) return false;
  }
  return true;
}

// Splits a program path at its last "/": the directory before it and the
// name from it on, "/" included.
void split_program(const std::string& path, std::string* dir, std::string* name) {
  size_t slash = path.rfind('/');
  *dir = path.substr(0, slash);
  *name = path.substr(slash);
}

}  // namespace

bool relaunch_keyword(int argc, char** argv) {
  return argc >= 2 && argv[1] != nullptr && strcmp(argv[1], "swxterm") == 0;
}

void relaunch_colours(const char* colours, std::string* background,
                      std::string* foreground) {
  if (strlen(colours) == 2) {
    *background = colour_code(colours[0], kDefaultBackground);
    *foreground = colour_code(colours[1], kDefaultForeground);
    return;
  }
  const char* colon = strchr(colours, ':');
  if (colon == nullptr) {
    *background = colours[0] != '\0' ? colours : kDefaultBackground;
    *foreground = kDefaultForeground;
    return;
  }
  background->assign(colours, colon);
  foreground->assign(colon + 1);
}

std::string shell_word(const std::string& text, char plain_quote) {
  if (is_plain(text) && (plain_quote != 0 || !text.empty())) {
    if (plain_quote == 0) return text;
    return plain_quote + text + plain_quote;
  }
  std::string word = "'";
  for (char c : text) {
    if (c == '\'') {
      word += "'\\''";
    } else {
      word += c;
    }
  }
  return word + "'";
}

bool relaunch_command(int argc, char** argv, const std::string& cwd,
                      const std::string& exe, std::string* command) {
  if (argc < 1 || argv[0] == nullptr) return false;
  std::string program = argv[0];
  std::string dir, name;
  if (program[0] == '/') {
    split_program(program, &dir, &name);
  } else if (program.find('/') == std::string::npos || cwd.empty()) {
    // Started through the command search path, or from a directory that can
    // no longer be named: relaunch the same file by its real path.
    if (exe.empty() || exe[0] != '/') return false;
    split_program(exe, &dir, &name);
  } else {
    // A relative path: the directory is the current one, joined with the
    // path's own directory part unless that is just ".".
    std::string relative;
    split_program(program, &relative, &name);
    dir = relative == "." ? cwd : cwd + "/" + relative;
  }

  *command = "cd " + shell_word(dir, '"') + "; " + shell_word("." + name, '"') + " ";
  int first = relaunch_keyword(argc, argv) ? 2 : 1;
  for (int i = first; i < argc && argv[i] != nullptr; ++i) {
    if (i > first) *command += ' ';
    *command += shell_word(argv[i], 0);
  }
  return true;
}

bool relaunch_arguments(int argc, char** argv, const char* window_title,
                        const char* colours, const std::string& cwd,
                        const std::string& exe, std::vector<std::string>* out) {
  std::string command;
  if (!relaunch_command(argc, argv, cwd, exe, &command)) return false;
  std::string background, foreground;
  relaunch_colours(colours, &background, &foreground);
  *out = {"/usr/bin/xterm", "-T", window_title, "-bg", background,
          "-fg", foreground, "-e", command};
  return true;
}

}  // namespace tavorin
