// A program outside the Tavorin tree that links the installed toolkit and
// calls one routine of each subsystem. It prints what each returned and
// exits 0 when every answer is the expected one.
#include <stdio.h>
#include <string.h>

#include "toolkit/calc/calc.h"
#include "toolkit/console/console.h"
#include "toolkit/editor/editor.h"
#include "toolkit/listing/listing.h"
#include "toolkit/windows/shell.h"

int main(int argc, char** argv) {
  int failures = 0;
  char number[11];
  inttochar(-42, number);
  printf("console: inttochar(-42) = %s\n", number);
  failures += strcmp(number, "-42") != 0;

  ajout_historique("2d6");
  const char* recalled = parcours_historique(-1);
  printf("editor: recalled %s\n", recalled);
  failures += strcmp(recalled, "2d6") != 0;

  float value = interpret_calc("1+2*3");
  printf("calc: 1+2*3 = %g\n", static_cast<double>(value));
  failures += value != 7.0f;

  // The listing of the directory given as first argument, every file.
  if (argc > 1) {
    printf("listing:\n");
    listing_doss(argv[1], stdout, 1, "*.txt");
  }

  char drive[2];
  Disk_system(drive);
  printf("windows: system drive %s\n", drive);
  failures += strcmp(drive, "C") != 0;

  return failures == 0 ? 0 : 1;
}
