// Pauses and keyboard line input on the standard input stream.
//
// Every routine here flushes standard output before it reads, so a prompt or
// a message is on the screen before the program waits for the user.
#include <stdlib.h>
#include <string.h>

#include "toolkit/console/console.h"

namespace {

// Writes the pause mark and reads `count` characters, stopping early at end
// of input.
void pause_for(int count) {
  fputs("...", stdout);
  fflush(stdout);
  for (int i = 0; i < count; ++i) {
    if (getchar() == EOF) return;
  }
}

}  // namespace

void Pause() { pause_for(1); }

void DPause() { pause_for(2); }

int fpurge(FILE* stream) {
  fflush(stdout);
  for (;;) {
    int c = fgetc(stream);
    if (c == '\n') return 0;
    if (c == EOF) return -1;
  }
}

/* fgets stores the line end when it fits; fpurge then consumes the next whole
   line as well. Callers rely on that: piped input gives each answer on a line
   of its own followed by a line that is skipped. */
char* getsfix(char* buffer, int size) {
  fflush(stdout);
  // At end of input fgets leaves the buffer as it was; its result tells
  // nothing the caller uses.
  if (size >= 1) (void)!fgets(buffer, size, stdin);
  fpurge(stdin);
  return buffer;
}

/* The buffer grows in steps of 100 bytes; each block is checked through ER.
   The line read first is discarded by fpurge before anything is stored. */
char* getsdyn(char* /*unused*/) {
  size_t capacity = 100;
  char* line = static_cast<char*>(calloc(capacity, 1));
  ER = line;
  Erreur(1);
  fpurge(stdin);
  size_t length = 0;
  for (int c = getchar(); c != EOF && c != '\n'; c = getchar()) {
    if (length + 2 > capacity) {
      capacity += 100;
      char* grown = static_cast<char*>(realloc(line, capacity));
      ER = grown;
      Erreur(1);
      line = grown;
    }
    line[length++] = static_cast<char>(c);
  }
  line[length] = '\0';
  return line;
}
