// The input history: a ring of ten line slots with a write index and a
// browse index.
#include <string.h>

#include "toolkit/editor/editor.h"

Historique historique;

namespace {

constexpr int kDernierSlot = 9;
constexpr int kLongueurMax = 254;

/* Clamps a browse position to the slots: the history is browsed by slot
   number, never wrapped. Works on long long so that no step, however
   large, overflows. */
long long borne(long long indice) {
  if (indice < 0) return 0;
  if (indice > kDernierSlot) return kDernierSlot;
  return indice;
}

}  // namespace

/* Empties the history. Only the first byte of each slot is cleared: that is
   what makes a slot empty. */
void init_historique_saisie() {
  historique.index_parcours = 0;
  historique.index_ecriture = 0;
  for (char* slot : historique.ligne) slot[0] = '\0';
}

/* Records a line in the slot at the write index and makes the slot after it
   the starting point of the next browse. A line longer than a slot holds is
   cut to 254 characters. The line may be a slot of the history itself, as
   parcours_historique returns. A write index outside the slots (the record is
   public) starts again at slot 0 rather than writing out of bounds. */
void ajout_historique(const char* line) {
  if (line == nullptr) return;
  int ecriture = historique.index_ecriture;
  if (ecriture < 0 || ecriture > kDernierSlot) ecriture = 0;
  size_t longueur = strnlen(line, kLongueurMax);
  memmove(historique.ligne[ecriture], line, longueur);  // `line` may be a slot
  historique.ligne[ecriture][longueur] = '\0';
  ecriture = ecriture == kDernierSlot ? 0 : ecriture + 1;
  historique.index_ecriture = ecriture;
  historique.index_parcours = ecriture;
}

/* Moves the browse index by the step and searches from there for a filled
   slot, moving by the step again after each empty one. A +9 step searches
   downwards, from slot 9 to the newest line; a search that runs into slot 9
   turns back down. After 19 moves without a filled slot the search stops on
   an empty one, so an empty history gives an empty text. */
const char* parcours_historique(int step) {
  long long pas = step;
  long long indice = borne(static_cast<long long>(historique.index_parcours) + pas);
  if (pas == kDernierSlot) pas = -1;
  for (int essais = 1; historique.ligne[indice][0] == '\0';) {
    ++essais;
    indice += pas;
    if (indice < 0) {
      indice = 0;
    } else if (indice > kDernierSlot) {
      indice = kDernierSlot;
      pas = -1;
    }
    if (essais == 20) break;
  }
  historique.index_parcours = static_cast<int>(indice);
  return historique.ligne[indice];
}
