#include "app/compare.h"

#include <string.h>

namespace tavorin {

/* One round: read a piece of each file; when both have ended the files are
   identical; otherwise count the pair, echo what was read, and stop when
   only one file ended or the pieces differ. Pieces are compared whole, with
   their line ends and any NUL bytes. */
Comparison compare_files(LineReader& first, LineReader& second, EchoBuffer& echo) {
  int64_t lines = 0;
  for (;;) {
    const char* a = nullptr;
    const char* b = nullptr;
    ssize_t length_a = first.Next(&a);
    if (length_a < 0) return {Comparison::kReadError, lines, 0};
    ssize_t length_b = second.Next(&b);
    if (length_b < 0) return {Comparison::kReadError, lines, 1};
    if (length_a == 0 && length_b == 0) return {Comparison::kIdentical, lines, 0};
    ++lines;
    if (length_a > 0) echo.Put(a, static_cast<size_t>(length_a));
    if (length_b > 0) echo.Put(b, static_cast<size_t>(length_b));
    if (length_a != length_b || memcmp(a, b, static_cast<size_t>(length_a)) != 0) {
      return {Comparison::kDifferent, lines, 0};
    }
  }
}

}  // namespace tavorin
