// The key filter of the line editor, for a French AZERTY keyboard on a
// terminal that sends UTF-8.
//
// The unshifted keys of the number row (& é " ' ( - è _ ç à) give the digits
// printed on them, so that numbers are typed without Shift; several keys give
// one character for both of their symbols. Accented keys arrive as two bytes:
// the table lists the second one.
#include "toolkit/editor/key_table.h"

namespace tavorin::editor {
namespace {

struct Ligne {
  unsigned char octet;
  char donne[6];  // What profiles 1 to 6 store; 0 refuses the key.
};

// Digits, q and Q are accepted as typed in every profile and are handled
// before the table.
const Ligne kTable[] = {
    {0x26, {'1', '1', '1', '1', '1', '1'}},  // &, number-row key 1
    {0xA9, {'2', '2', '2', '2', '2', '2'}},  // é (C3 A9), key 2; © (C2 A9) too
    {0x22, {'3', '3', '3', '3', '3', '3'}},  // ", key 3
    {0x27, {'4', '4', '4', '4', '4', '4'}},  // ', key 4
    {0x28, {'5', '5', '5', '(', '(', '5'}},  // (, key 5
    {0x2D, {'6', '6', '-', '-', '-', '6'}},  // -, key 6
    {0xA8, {'7', '7', '7', '7', '7', '7'}},  // è (C3 A8), key 7
    {0x5F, {'8', '8', '8', '8', '8', '8'}},  // _, key 8
    {0xA7, {'9', '9', '9', '9', '9', '9'}},  // ç (C3 A7), key 9
    {0xA0, {'0', '0', '0', '0', '0', '0'}},  // à (C3 A0), key 0
    {0x20, {0, ' ', 0, 0, 0, 0}},            // space
    {0x44, {0, 'd', 0, 0, 0, 0}},            // D
    {0x64, {0, 'd', 0, 0, 0, 0}},            // d
    {0x2B, {0, 0, '+', '+', '+', 0}},        // +
    {0x3D, {0, 0, '+', '+', '+', 0}},        // =, on the + key
    {0x2F, {0, 0, '/', '/', '/', 0}},        // /
    {0x3A, {0, 0, '/', '/', '/', 0}},        // :, on the / key
    {0x5C, {0, 0, '/', '/', '/', 0}},        // backslash
    {0x2A, {0, 0, 0, '*', '*', 0}},          // *
    {0xB5, {0, 0, 0, '*', '*', 0}},          // µ (C2 B5), on the * key
    {0x29, {0, 0, 0, ')', ')', 0}},          // )
    {0xB0, {0, 0, 0, ')', ')', 0}},          // ° (C2 B0), on the ) key
    {0x2E, {0, 0, 0, '.', '.', 0}},          // .
    {0x2C, {0, 0, 0, '.', '.', 0}},          // , as a decimal point
    {0x3B, {0, 0, 0, '.', '.', 0}},          // ;, on the . key
    {0x3F, {0, 0, 0, '.', '.', 0}},          // ?, on the , key
    {0x21, {0, 0, 0, '!', 0, 0}},            // !
    {0xA6, {0, 0, 0, '!', 0, 0}},            // § (C2 A7), on the ! key
    {0x45, {0, 0, 0, 'E', 0, 0}},            // E
    {0x65, {0, 0, 0, 'E', 0, 0}},            // e
    {0x46, {0, 0, 0, 'F', 0, 0}},            // F
    {0x66, {0, 0, 0, 'F', 0, 0}},            // f
    {0x4D, {0, 0, 0, 0, 0, 'M'}},            // M
    {0x4E, {0, 0, 0, 0, 0, 'N'}},            // N
    {0x52, {0, 0, 0, 0, 0, 'R'}},            // R
    {0x53, {0, 0, 0, 0, 0, 'S'}},            // S
    {0x6D, {0, 0, 0, 0, 0, 'm'}},            // m
    {0x6E, {0, 0, 0, 0, 0, 'n'}},            // n
    {0x72, {0, 0, 0, 0, 0, 'r'}},            // r
    {0x73, {0, 0, 0, 0, 0, 's'}},            // s
};

}  // namespace

/* Profiles outside 1 to 6 act as profile 1, the digits-only one. */
int profil_effectif(int profile) { return profile >= 1 && profile <= 6 ? profile : 1; }

/* Digits and the quit letters pass in every profile; every other byte is
   looked up by row and profile column, and a byte without a row is refused. */
char caractere_touche(int key, int profile) {
  if ((key >= '0' && key <= '9') || key == 'q' || key == 'Q') return static_cast<char>(key);
  int colonne = profil_effectif(profile) - 1;
  for (const Ligne& ligne : kTable) {
    if (ligne.octet == key) return ligne.donne[colonne];
  }
  return 0;
}

}  // namespace tavorin::editor
