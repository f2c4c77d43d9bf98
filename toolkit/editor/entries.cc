// The ready-made line entries, one for each input profile.
#include <limits.h>
#include <stdlib.h>
#include <string.h>

#include "toolkit/console/console.h"
#include "toolkit/editor/editor.h"

namespace {

constexpr int kTailleLigne = 255;

/* The quit letters: a line that holds q or Q anywhere asks to quit. */
bool demande_a_quitter(const char* ligne) {
  return strchr(ligne, 'q') != nullptr || strchr(ligne, 'Q') != nullptr;
}

/* One line entry in `profile`: the line is read into the target, copied into
   the entry's own buffer and checked for a quit letter. Quitting ends the
   process with status 0 and no message; the line is already in the history
   and the terminal already has its usual settings. */
char* entree(char* target, int profile) {
  char copie[kTailleLigne];
  nomajloc(target, profile);
  strcpy(copie, target);
  if (demande_a_quitter(copie)) exit(0);
  strcpy(target, copie);
  return target;
}

}  // namespace

char* nomajloc_des(char* target) { return entree(target, 2); }
char* nomajloc_attaque(char* target) { return entree(target, 3); }
char* nomajloc_calc(char* target) { return entree(target, 4); }
char* nomajloc_interpret_calc(char* target) { return entree(target, 5); }
char* nomajloc_gestion_combattant(char* target) { return entree(target, 6); }

/* Reads a whole number in profile 1 into chfunc. Quitting and an empty line
   come back as reserved results, and the caller decides what to do. The
   number is read as atoi reads it (a recalled line may hold more than
   digits), but a value outside the int range is clamped to it instead of
   being undefined. */
int chiffre_lettre() {
  char copie[kTailleLigne];
  nomajloc(chfunc, 1);
  strcpy(copie, chfunc);
  if (demande_a_quitter(copie)) return CHIFFRE_QUITTER;
  if (copie[0] == '\0') return CHIFFRE_VIDE;
  long valeur = strtol(copie, nullptr, 10);
  if (valeur > INT_MAX) return INT_MAX;
  if (valeur < INT_MIN) return INT_MIN;
  return static_cast<int>(valeur);
}
