// The line editor: one line entry, key by key, with its own echo.
//
// The line is shown on one screen line from the column where the terminal's
// cursor stood at the start, and the terminal's cursor is kept at the
// editor's cursor position. No escape sequence is ever written; everything
// written is one of these (BS is the byte 8, p the cursor position, n the
// line length before the key):
//
//   accepted character c, p == n:    c
//   accepted character c, p < n:     line[p], line[p..n-1], BS x (n-p+1), c
//                                    (the tail redrawn one column further
//                                    right, back to p, then c in its place)
//   left arrow, p > 0:               BS
//   right arrow, p < n:              line[p]
//   Home:                            BS x p
//   End:                             line[p..n-1]
//   Backspace, p == n > 0:           BS, space, BS
//   Backspace, 0 < p < n:            BS, line[p..n-1], space, BS x (n-p+1)
//   Delete, p < n:                   line[p+1..n-1], space, BS x (n-p)
//   recall of a text t:              BS x p, space x n, BS x n, t
//   Enter or end of input:           line feed (10), written once the
//                                    terminal has its usual settings again
//
// A refused key, and an editing key with nothing to do, write nothing.
#include <stdio.h>
#include <string.h>

#include "toolkit/editor/editor.h"
#include "toolkit/editor/key_table.h"

namespace {

constexpr char BS = 8;
constexpr int kEntree = 13;
constexpr int kEchap = 0x1B;
constexpr int kEffacement = 0x7F;  // DEL, sent by the Backspace key
constexpr int kFinEntree = -1;     // getch at end of input
constexpr int kLongueurMax = 254;

// One line entry in progress: the work line, its length and the cursor.
struct Saisie {
  char ligne[kLongueurMax + 1];
  int longueur;
  int curseur;
};

/* Writes c `fois` times: the runs of BS and blanks of every redraw. */
void ecrit_repete(char c, int fois) {
  for (int i = 0; i < fois; ++i) putchar(c);
}

/* Writes `longueur` characters of the line from `debut`; nothing when the
   count is 0 or less, as at the bounds of the line. */
void ecrit_morceau(const char* debut, int longueur) {
  if (longueur > 0) fwrite(debut, 1, static_cast<size_t>(longueur), stdout);
}

/* Inserts an accepted character at the cursor. In the middle of the line the
   tail is redrawn one column to the right first, from the character under
   the cursor, and the cursor brought back, so that c then lands in place. A
   full line refuses the character, as a refused key: nothing is written. */
void insere(Saisie& s, char c) {
  if (s.longueur >= kLongueurMax) return;
  int p = s.curseur;
  int n = s.longueur;
  if (p < n) {
    memmove(s.ligne + p + 1, s.ligne + p, static_cast<size_t>(n - p + 1));
    ecrit_morceau(s.ligne + p, n - p + 1);
    ecrit_repete(BS, n - p + 1);
  }
  putchar(c);
  s.ligne[p] = c;
  ++s.curseur;
  ++s.longueur;
}

/* Removes the character under the cursor (the Delete key). The tail is drawn
   again one column to the left, a space blanks the old last column, and the
   cursor goes back to where it was. */
void supprime(Saisie& s) {
  int p = s.curseur;
  int n = s.longueur;
  if (p >= n) return;
  memmove(s.ligne + p, s.ligne + p + 1, static_cast<size_t>(n - p));
  s.longueur = n - 1;
  ecrit_morceau(s.ligne + p, n - 1 - p);
  putchar(' ');
  ecrit_repete(BS, n - p);
}

/* Removes the character before the cursor (the Backspace key), redrawing the
   tail as supprime does once the cursor has moved back one column. */
void efface_arriere(Saisie& s) {
  int p = s.curseur;
  int n = s.longueur;
  if (p <= 0) return;
  putchar(BS);
  if (p < n) {
    memmove(s.ligne + p - 1, s.ligne + p, static_cast<size_t>(n - p + 1));
    ecrit_morceau(s.ligne + p - 1, n - p);
    putchar(' ');
    ecrit_repete(BS, n - p + 1);
  } else {
    putchar(' ');
    putchar(BS);
    s.ligne[n - 1] = '\0';
  }
  s.curseur = p - 1;
  s.longueur = n - 1;
}

/* Replaces the line with a history line: the displayed line is wiped, the
   text of the browse step is copied in (at most a line's worth, whatever the
   public history record holds) and written, and the cursor goes to its end.
   What was typed is lost; the recalled text keeps characters the current
   profile would refuse. */
void rappelle(Saisie& s, int pas) {
  ecrit_repete(BS, s.curseur);
  ecrit_repete(' ', s.longueur);
  ecrit_repete(BS, s.longueur);
  const char* texte = parcours_historique(pas);
  size_t longueur = strnlen(texte, kLongueurMax);
  memset(s.ligne, 0, sizeof s.ligne);
  memcpy(s.ligne, texte, longueur);
  s.longueur = static_cast<int>(longueur);
  s.curseur = s.longueur;
  ecrit_morceau(s.ligne, s.longueur);
}

/* Handles the key after Escape. An ESC [ sequence is read up to its command
   byte, and the '~' after ESC [ 5 and ESC [ 6 (the page keys) is dropped;
   the '[' may be missing, so a lone Escape takes the next key as its
   command. Bytes after the
   command byte (the '~' of Delete) come back as ordinary keys, refused by
   every profile. Returns false when input ended inside the sequence. */
bool echappement(Saisie& s) {
  int commande = getch();
  if (commande == '[') {
    commande = getch();
    if ((commande == '5' || commande == '6') && getch() == kFinEntree) return false;
  }
  switch (commande) {
    case kFinEntree:
      return false;
    case 'A':
      rappelle(s, -1);
      break;
    case 'B':
      rappelle(s, 1);
      break;
    case '5':
      rappelle(s, -9);
      break;
    case '6':
      rappelle(s, 9);
      break;
    case 'H':
      ecrit_repete(BS, s.curseur);
      s.curseur = 0;
      break;
    case 'F':
      ecrit_morceau(s.ligne + s.curseur, s.longueur - s.curseur);
      s.curseur = s.longueur;
      break;
    case 'D':
      if (s.curseur > 0) {
        --s.curseur;
        putchar(BS);
      }
      break;
    case 'C':
      if (s.curseur < s.longueur) {
        putchar(s.ligne[s.curseur]);
        ++s.curseur;
      }
      break;
    case '3':
      supprime(s);
      break;
    default:
      break;
  }
  return true;
}

}  // namespace

/* The main loop: keys are read until Enter (13) or end of input. A UTF-8
   prefix byte (0xC2, 0xC3) is dropped and the byte after it taken as the key,
   § (C2 A7) as 0xA6 so that it stays apart from ç (C3 A7); only one prefix is
   dropped, so 13 after a prefix is a refused key and not Enter. Escape and
   Backspace edit; every other key goes through the profile's key table. At
   the end a line feed is written and flushed, so that the entry is
   complete on the screen whatever the caller writes next, a non-empty line
   is recorded in the history, and the line is copied to the target. */
char* nomajloc(char* target, int profile) {
  Saisie s;
  memset(&s, 0, sizeof s);
  for (;;) {
    int touche = getch();
    if (touche == kEntree || touche == kFinEntree) break;
    if (touche == 0xC3 || touche == 0xC2) {
      int suivante = getch();
      if (suivante == kFinEntree) break;
      touche = (touche == 0xC2 && suivante == 0xA7) ? 0xA6 : suivante;
    }
    if (touche == kEchap) {
      if (!echappement(s)) break;
    } else if (touche == kEffacement) {
      efface_arriere(s);
    } else {
      char c = tavorin::editor::caractere_touche(touche, profile);
      if (c != 0) insere(s, c);
    }
  }
  putchar('\n');
  fflush(stdout);
  if (s.longueur > 0) ajout_historique(s.ligne);
  memcpy(target, s.ligne, static_cast<size_t>(s.longueur) + 1);
  return target;
}
