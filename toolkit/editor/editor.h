// The filtered line editor: raw key reading, the ten-line input history, the
// line editor with its AZERTY key filter, and the six ready-made line entries.
#ifndef TAVORIN_TOOLKIT_EDITOR_EDITOR_H_
#define TAVORIN_TOOLKIT_EDITOR_EDITOR_H_

int         getch();
void        init_historique_saisie();
void        ajout_historique(const char* line);
const char* parcours_historique(int step);
char*       nomajloc(char* target, int profile);
int         chiffre_lettre();
char*       nomajloc_des(char* target);
char*       nomajloc_attaque(char* target);
char*       nomajloc_calc(char* target);
char*       nomajloc_interpret_calc(char* target);
char*       nomajloc_gestion_combattant(char* target);

#endif  // TAVORIN_TOOLKIT_EDITOR_EDITOR_H_
