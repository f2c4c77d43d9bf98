// The comparison loop: reads both files in step, echoes every piece, and
// stops at the first pair that differs.
#ifndef TAVORIN_APP_COMPARE_H_
#define TAVORIN_APP_COMPARE_H_

#include <stdint.h>

#include "app/echo_buffer.h"
#include "app/line_reader.h"

namespace tavorin {

struct Comparison {
  enum Outcome { kIdentical, kDifferent, kReadError };
  Outcome outcome;
  // Pairs compared: the differing line's number, or the count of lines.
  int64_t lines;
  // For kReadError: 0 for the first file, 1 for the second.
  int failed_file;
};

// Compares `first` and `second` piece by piece, echoing each pair (first,
// then second) into `echo`, which is left unflushed.
Comparison compare_files(LineReader& first, LineReader& second, EchoBuffer& echo);

}  // namespace tavorin

#endif  // TAVORIN_APP_COMPARE_H_
