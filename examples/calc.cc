// A calculator at the terminal: each expression typed is evaluated and its
// value shown, until a line holding q or Q ends the program.
//
// The keys are those of the evaluator's input profile on a French keyboard:
// digits (also from the unshifted number row), + - * / ( ) and "." (also
// from "," ";" "?"); the arrow keys recall earlier lines.
#include <stdio.h>

#include "toolkit/calc/calc.h"
#include "toolkit/console/console.h"

int main() {
  putsacc("Calculatrice: tapez une expression puis Entr\xe9" "e, ou q pour quitter.\n");
  for (;;) {
    fputs("> ", stdout);
    float value = interpret_calc("");
    if (value == 1111111.0f) continue;  // an empty line
    if (value == 12345678.0f) {         // the message and its pause are done
      putchar('\n');
      continue;
    }
    printf("= %.9g\n", static_cast<double>(value));
  }
}
