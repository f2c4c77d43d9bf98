// The pure part of the terminal relaunch: deciding whether it is due and
// building xterm's argument list. Kept apart from the exec so that tests can
// check every byte without starting a window.
#ifndef TAVORIN_TOOLKIT_CONSOLE_RELAUNCH_INTERNAL_H_
#define TAVORIN_TOOLKIT_CONSOLE_RELAUNCH_INTERNAL_H_

#include <string>
#include <vector>

namespace tavorin {

// True when argv[1] exists and is exactly "swxterm".
bool relaunch_keyword(int argc, char** argv);

// Background and foreground colour names from a colour specification: two
// characters are two codes of the colour table; any other text is
// "background:foreground", split at its first ":".
void relaunch_colours(const char* colours, std::string* background,
                      std::string* foreground);

// Writes `text` as one word of a POSIX shell command: unchanged inside
// `plain_quote` quotes (or bare, when `plain_quote` is 0) when it is made only
// of letters, digits and . _ - / + = : , @ %; otherwise in single quotes.
std::string shell_word(const std::string& text, char plain_quote);

// The text xterm's shell runs: change to the program's directory, then start
// the program with the passed-on arguments, each arriving as given.
// `cwd` stands for the current directory and `exe` for the program's real
// path; they are used when argv[0] does not begin with "/" or has no "/".
// Returns false when no sound command can be built.
bool relaunch_command(int argc, char** argv, const std::string& cwd,
                      const std::string& exe, std::string* command);

// xterm's whole argument list, "/usr/bin/xterm" first.
bool relaunch_arguments(int argc, char** argv, const char* window_title,
                        const char* colours, const std::string& cwd,
                        const std::string& exe, std::vector<std::string>* out);

}  // namespace tavorin

#endif  // TAVORIN_TOOLKIT_CONSOLE_RELAUNCH_INTERNAL_H_
