// Try the line editor's profiles by hand: pick a profile, type a line with
// any keys (arrows, Home, End, Backspace, Delete, the page keys to recall
// earlier lines), and see the line returned, as text and in hex. Enter alone
// at the profile question ends the program.
//
// The entry is read with nomajloc itself, so q and Q are kept in the line
// here; the ready-made entries (nomajloc_des and the others) would end the
// program on them.
#include <stdio.h>

#include "toolkit/console/console.h"
#include "toolkit/editor/editor.h"

int main() {
  for (;;) {
    putsacc("Profil (1 \xe0 6, Entr\xe9" "e seule pour finir) : ");
    int profile = chiffre_lettre();
    if (profile == CHIFFRE_VIDE || profile == CHIFFRE_QUITTER) break;
    if (profile < 1 || profile > 6) {
      printf("(le profil %d agit comme le profil 1)\n", profile);
    }
    printf("Ligne : ");
    char line[255];
    nomajloc(line, profile);
    printf("Lu : [%s]\nHexa :", line);
    for (const char* c = line; *c != '\0'; ++c) printf(" %02X", static_cast<unsigned char>(*c));
    printf("\n\n");
  }
  return 0;
}
