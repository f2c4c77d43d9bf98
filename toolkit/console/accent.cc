// The accent hook and the output routines built on it.
//
// Texts are stored as Latin-1 bytes and the terminal is expected to show
// them as such, so the hook copies unchanged. It stays a separate step so that
// a platform needing a conversion has one place to put it.
#include <string.h>

#include "toolkit/console/console.h"

namespace {

// Copies at most `capacity - 1` bytes of `text` into `out` and terminates it.
void copy_cut(const char* text, char* out, size_t capacity) {
  size_t n = strnlen(text, capacity - 1);
  memcpy(out, text, n);
  out[n] = '\0';
}

}  // namespace

char* acc(const char* source, char* destination) {
  memmove(destination, source, strlen(source) + 1);
  return destination;
}

char* invers_acc(char* text) { return text; }

/* The text goes through a line buffer of its own, so it is cut to 254
   characters; "%s" keeps percent signs uninterpreted. */
void putsacc(const char* text) {
  char line[255];
  copy_cut(text, line, sizeof line);
  printf("%s", acc(line, chfunc));
}

char accchar(char c) {
  char one[2] = {c, '\0'};
  acc(one, chfunc);
  one[0] = chfunc[0];
  return one[0];
}

/* A text that would not fit chfunc is left as it is rather than cut: the hook
   changes nothing, and cutting would lose the caller's data. */
void transacc(char* text) {
  if (strnlen(text, sizeof chfunc) >= sizeof chfunc) return;
  acc(text, chfunc);
  strcpy(text, chfunc);
}

void changeslash(char* text) {
  for (char* p = strchr(text, '\\'); p != nullptr; p = strchr(p + 1, '\\')) *p = '/';
}
