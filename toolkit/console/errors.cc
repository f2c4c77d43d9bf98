// Fatal error reporting, and the signature drawing.
#include <stdlib.h>

#include "toolkit/console/console.h"

/* ER holds the result of the last checked allocation: a null pointer is the
   only failure this routine knows about. The message goes to standard output,
   the system's reason to standard error; stdout is flushed in between so the
   two appear in that order. */
void Erreur(int type) {
  if (ER != nullptr) return;
  const char* message = nullptr;
  const char* label = nullptr;
  if (type == 1) {
    message = "\nErreur d'allocation de m\xe9moire, la m\xe9moire vive est insuffisante.\n";
    label = "malloc";
  } else if (type == 2) {
    message = "\nErreur lors de la saisie au clavier.\n";
    label = "gets";
  }
  if (message != nullptr) {
    putsacc(message);
    fflush(stdout);
    perror(label);
  }
  DPause();
  exit(1);
}

void Fuck() {
  static const char* const drawing[] = {
      "        _____________________",
      "       /                     \\",
      "      |   Fin du programme.   |",
      "      |   Merci et a bientot. |",
      "       \\_____________________/",
      "              \\",
      "               \\   (\\_/)",
      "                   (o.o)",
      "                   (> <)    -- Tavorin",
  };
  putchar('\n');
  for (const char* line : drawing) puts(line);
  Pause();
}
