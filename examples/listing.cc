// Lists a directory tree to standard output, one "dir\name" line per file.
//
//   listing [-r] DIRECTORY [EXTENSIONS]
//
// -r descends into subdirectories. EXTENSIONS is a ":"-separated list such
// as "*.txt:*.doc"; without it every file is listed. A directory given with
// backslashes is opened with slashes.
#include <stdio.h>
#include <string.h>

#include "toolkit/listing/listing.h"

int main(int argc, char** argv) {
  int first = 1;
  int recursive = 0;
  if (argc > 1 && strcmp(argv[1], "-r") == 0) {
    recursive = 1;
    first = 2;
  }
  if (argc - first < 1 || argc - first > 2) {
    fprintf(stderr, "usage: %s [-r] DIRECTORY [EXTENSIONS]\n", argv[0]);
    return 2;
  }
  listing_doss(argv[first], stdout, recursive, argc - first == 2 ? argv[first + 1] : "");
  return 0;
}
