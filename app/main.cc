// tavorin: compares two text files line by line at the terminal.
//
// It opens its own terminal window when needed, draws its banner, asks for
// the two names, echoes every line of both files as it reads them, and stops
// at the first pair of lines that differ. Every outcome ends with a pause.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "app/compare.h"
#include "toolkit/console/console.h"

namespace {

// Removes the line end that ends a name as read, where there is one.
void drop_line_end(char* name) {
  size_t length = strlen(name);
  if (length > 0 && name[length - 1] == '\n') name[length - 1] = '\0';
}

// A read error is not the end of a file: saying "identical" would be a lie.
[[noreturn]] void read_failure(const char* name) {
  printf("\n!!! Une erreur est survenue durant la lecture du fichier %s", acc(name, chfunc));
  Pause();
  exit(1);
}

// The big buffers live outside the stack frame; the program makes one
// comparison.
tavorin::EchoBuffer echo(1);

}  // namespace

int main(int argc, char** argv) {
  // Output is gathered and written in blocks; the toolkit flushes before
  // every read of the keyboard and exit flushes the rest.
  static char output[BUFSIZ];
  setvbuf(stdout, output, _IOFBF, sizeof output);

  Titre(argc, argv, "Tavorin", "Programme de comparaison de fichier ASCII ligne par ligne",
        "02");

  char first_name[255] = "";
  char second_name[255] = "";
  putsacc("Nom du premier fichier \xe0 comparer:\n?: ");
  getsfix(first_name, 255);
  putsacc("Nom du deuxi\xe8me fichier \xe0 comparer:\n?: ");
  getsfix(second_name, 255);
  drop_line_end(first_name);
  drop_line_end(second_name);

  FILE* first = ouvre_fichier(first_name, "r");
  FILE* second = ouvre_fichier(second_name, "r");

  static tavorin::LineReader first_reader(fileno(first));  // 128 KiB each
  static tavorin::LineReader second_reader(fileno(second));
  tavorin::Comparison result = tavorin::compare_files(first_reader, second_reader, echo);
  fflush(stdout);
  echo.Flush();

  char word[255];
  switch (result.outcome) {
    case tavorin::Comparison::kReadError:
      read_failure(result.failed_file == 0 ? first_name : second_name);
    case tavorin::Comparison::kDifferent:
      printf("Les lignes %lld des fichiers sont %s!", static_cast<long long>(result.lines),
             acc("diff\xe9rentes", word));
      Pause();
      exit(0);
    case tavorin::Comparison::kIdentical:
      break;
  }
  fclose(first);
  fclose(second);
  printf("\n%lld lignes %s\n", static_cast<long long>(result.lines), acc("scann\xe9" "es", word));
  printf("Les deux fichiers sont identiques\n");
  Pause();
  return 0;
}
