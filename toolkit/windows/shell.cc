// The four shell helpers: a fixed command line each, then, for the queries,
// the first line of the answer file read back by its Windows name.
#include <stdlib.h>
#include <string.h>

#include "toolkit/console/console.h"
#include "toolkit/windows/command_interpreter_internal.h"
#include "toolkit/windows/shell.h"

namespace {

const char kAnswerFile[] = "c:\\temp.tmp";

/* A Windows build hands the line to the real interpreter; elsewhere the
   stand-in answers it. Neither status is looked at: the answer file tells. */
void run(const char* command_line) {
#ifdef _WIN32
  (void)system(command_line);
#else
  (void)tavorin::command_interpreter(command_line);
#endif
}

// The first line of the answer file, at most size - 1 characters with its
// line end, or an empty text when the file cannot be opened or read.
void read_answer(char* line, int size) {
  line[0] = '\0';
  FILE* answer = fopen(kAnswerFile, "r");
  if (answer == nullptr) return;
  if (fgets(line, size, answer) == nullptr) line[0] = '\0';
  fclose(answer);
}

}  // namespace

namespace tavorin {

/* An empty first line holds no drive letter either. */
char* disk_system_answer(char* buffer) {
  char line[255];
  read_answer(line, sizeof line);
  buffer[0] = line[0] == '\n' || line[0] == '\r' ? '\0' : line[0];
  buffer[1] = '\0';
  return buffer;
}

/* Only a line end is dropped at the end: a line cut at 254 characters, or
   the last line of a file without a final line end, keeps its last letter.
   A line written with "\r\n" loses both. */
char* local_user_answer(char* buffer) {
  read_answer(buffer, 255);
  do {
    Efface_char(buffer, "\\");
  } while (strchr(buffer, '\\') != nullptr);
  size_t length = strlen(buffer);
  if (length > 0 && buffer[length - 1] == '\n') {
    buffer[--length] = '\0';
    if (length > 0 && buffer[length - 1] == '\r') buffer[--length] = '\0';
  }
  return buffer;
}

}  // namespace tavorin

char* Disk_system(char* buffer) {
  run("cd %systemroot% > c:\\temp.tmp");
  return tavorin::disk_system_answer(buffer);
}

char* Local_user(char* buffer) {
  run("cd %userprofile% && cd > c:\\temp.tmp");
  return tavorin::local_user_answer(buffer);
}

void accent_redir_dos() { run("chcp 1252 > temp.tmp"); }

void annul_accent_redir_dos() { run("chcp 437 > temp.tmp"); }
