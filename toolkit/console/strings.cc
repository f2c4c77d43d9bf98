// String helpers on NUL-terminated texts. None allocates or writes output.
#include <string.h>

#include "toolkit/console/console.h"

void Efface_n(char* text) {
  char* last = strrchr(text, '\n');
  if (last != nullptr) *last = '\0';
}

/* The write is bounded at 11 bytes: values below -999999999 need 12 and lose
   their last digit. */
char* inttochar(int value, char* buffer) {
  snprintf(buffer, 11, "%d", value);
  return buffer;
}

void Efface_char(char* text, const char* pattern) {
  if (pattern[0] == '\0') return;
  const char* found = strstr(text, pattern);
  if (found == nullptr) return;
  const char* rest = found + strlen(pattern);
  memmove(text, rest, strlen(rest) + 1);
}

/* The search resumes one character after the start of each occurrence found,
   so overlapping occurrences are all reported. Positions are offsets in the
   caller's text, which is searched whole. */
int index_ch(const char* text, const char* pattern, int* positions) {
  if (pattern[0] == '\0') return 0;
  int count = 0;
  for (const char* p = strstr(text, pattern); p != nullptr && count < INDEX_CH_MAX;
       p = strstr(p + 1, pattern)) {
    positions[count++] = static_cast<int>(p - text);
  }
  return count;
}

int index_ch_first(const char* text, const char* pattern) {
  if (pattern[0] == '\0') return -1;
  const char* found = strstr(text, pattern);
  return found == nullptr ? -1 : static_cast<int>(found - text);
}
