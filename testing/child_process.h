// Runs a piece of code in a forked child with its standard input fed from a
// given text and its standard output and error captured, for routines that
// read the keyboard, write to the console or end the process.
#ifndef TAVORIN_TESTING_CHILD_PROCESS_H_
#define TAVORIN_TESTING_CHILD_PROCESS_H_

#include <functional>
#include <string>
#include <string_view>

namespace tavorin::testing {

struct ChildResult {
  // Exit status; 128 + signal number when a signal ended the child.
  int status = -1;
  std::string out;
  std::string err;
};

// `body`'s return value is the exit status (stdout is flushed first); a body
// that calls exit() ends the child the same way. Standard input holds
// exactly `input`, then end of input.
ChildResult RunChild(const std::function<int()>& body, std::string_view input = {});

// A file in memory holding `content`, positioned at its start.
int MemoryFile(std::string_view content);
// Everything in the file behind `fd`, read from its start.
std::string ReadAll(int fd);

}  // namespace tavorin::testing

#endif  // TAVORIN_TESTING_CHILD_PROCESS_H_
