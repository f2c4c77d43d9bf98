// Opening a file, or stopping the program with a message.
#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include "toolkit/console/console.h"

namespace {

// A directory opens fine with fopen but reads as nothing; it is not a file
// the toolkit can work on, so it counts as an opening failure.
bool is_directory(FILE* stream) {
  struct stat st;
  return fstat(fileno(stream), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

/* The name is copied so that backslashes can become slashes without touching
   the caller's text; the message shows the converted copy. */
FILE* ouvre_fichier(const char* name, const char* mode) {
  size_t length = strlen(name);
  char* path = static_cast<char*>(calloc(length + 1, 1));
  ER = path;
  Erreur(1);
  memcpy(path, name, length + 1);
  invers_acc(path);
  changeslash(path);

  FILE* stream = fopen(path, mode);
  if (stream != nullptr && is_directory(stream)) {
    fclose(stream);
    stream = nullptr;
    errno = EISDIR;
  }
  if (stream != nullptr) {
    free(path);
    return stream;
  }

  // The copy goes into chfunc through the hook, cut to what chfunc holds.
  if (length >= sizeof chfunc) path[sizeof chfunc - 1] = '\0';
  printf("\n!!! Une erreur est survenue durant l'ouverture du fichier %s, en mode %s",
         acc(path, chfunc), mode);
  free(path);
  Pause();
  exit(1);
}
