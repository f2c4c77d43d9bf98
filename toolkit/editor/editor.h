// The filtered line editor: raw key reading, the ten-line input history, the
// line editor with its AZERTY key filter, and the six ready-made line entries.
//
// The editor reads a French AZERTY keyboard on a terminal that sends UTF-8:
// Enter is 13, Backspace is 0x7F, the cursor and page keys are ESC [ ...
// sequences, and accented keys come as two bytes (é is C3 A9). What it stores
// and echoes is plain ASCII. None of these routines is reentrant: they share
// the terminal, `historique` and chfunc.
//
// End of input (or a terminal that hangs up) ends a line entry as Enter
// would: the entry returns what was typed so far, at once, and every later
// entry returns an empty line at once. The terminal is in raw mode only while
// getch waits for a byte; at any other moment it has the settings found at the
// first key read.
#ifndef TAVORIN_TOOLKIT_EDITOR_EDITOR_H_
#define TAVORIN_TOOLKIT_EDITOR_EDITOR_H_

// The input history: a ring of ten lines, filled from slot 0 to 9 and then
// from 0 again. A slot whose first byte is NUL is empty. Zero at start.
struct Historique {
  int index_ecriture;  // 0 to 9: the slot the next recorded line goes into.
  int index_parcours;  // 0 to 9: the slot the last browse step landed on.
  char ligne[10][255];  // At most 254 characters and the NUL each.
};
extern Historique historique;

// Flushes standard output, then reads one byte of standard input with the
// terminal in raw mode for that one read (no echo, no line gathering, no
// translation, Ctrl-C a plain byte 3). Returns the byte, 0 to 255, or -1 at
// end of input or when the terminal is gone. The settings found at the first
// successful capture are put back after every read. While it waits, SIGINT,
// SIGQUIT, SIGTERM and SIGHUP first put those settings back and then take
// the effect they had before the call; a signal whose handler returns lets
// the wait go on. When standard input is not a terminal it only reads.
int         getch();

// Empties the history: both indexes 0, every slot empty.
void        init_historique_saisie();
// Records `line` in the slot at the write index (a longer line is cut to 254
// characters), advances the write index and sets the browse index to it.
// A null pointer records nothing.
void        ajout_historique(const char* line);
// Moves the browse index by `step` (-1 older slot, +1 newer slot, -9 slot 0,
// +9 slot 9), clamped to the slots, skipping empty ones, and returns the
// text of the slot it lands on: empty when the history is empty. The pointer
// is into the history: copy the text before the history changes.
const char* parcours_historique(int step);

// Reads one line from the keyboard into `target` (at least 255 bytes) and
// returns `target`. `profile` 1 to 6 selects which keys are accepted and what
// they give; any other value acts as 1. Arrows, Home, End, Backspace and
// Delete edit; up, down, page up and page down recall history lines. Enter
// (or end of input) ends the line: a line end is written and a non-empty
// line is recorded in the history. A key that would make the line longer
// than 254 characters is refused in silence.
char*       nomajloc(char* target, int profile);

// Reserved results of chiffre_lettre.
enum { CHIFFRE_QUITTER = -12345678, CHIFFRE_VIDE = 12345678 };
// Reads a whole number in profile 1 (digits, q, Q) into chfunc. Returns
// CHIFFRE_QUITTER when the line holds q or Q, CHIFFRE_VIDE when it is empty,
// otherwise the number read like atoi (leading spaces, a sign, digits up to
// the first other character, 0 when none) but clamped to the int range. A
// typed 12345678 cannot be told from an empty line.
int         chiffre_lettre();

// The five line entries: each reads a line into `target` (at least 255
// bytes) in its own profile and returns `target`. A line that holds q or Q
// ends the process at once with status 0 and no message, after the line was
// recorded in the history. Characters typing can give:
//   des (2):                 digits, d, space
//   attaque (3):             digits, + - /
//   calc (4):                digits, + - * / ( ) . ! E F
//   interpret_calc (5):      digits, + - * / ( ) .
//   gestion_combattant (6):  digits, M N R S m n r s
// A line recalled from the history keeps its characters, so it may hold any
// character of any profile.
char*       nomajloc_des(char* target);
char*       nomajloc_attaque(char* target);
char*       nomajloc_calc(char* target);
char*       nomajloc_interpret_calc(char* target);
char*       nomajloc_gestion_combattant(char* target);

#endif  // TAVORIN_TOOLKIT_EDITOR_EDITOR_H_
