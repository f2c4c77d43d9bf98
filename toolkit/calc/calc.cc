// interpret_calc: takes the expression (given or typed), runs the steps, and
// turns a fault into its message, the pause and the error result.
#include <stdio.h>
#include <string.h>

#include "toolkit/calc/calc.h"
#include "toolkit/calc/calc_internal.h"
#include "toolkit/console/console.h"
#include "toolkit/editor/editor.h"

namespace {

using namespace tavorin::calc;

// Accented letters come from the accent hook, one at a time.
char e_grave() { return accchar(static_cast<char>(0xE8)); }
char e_acute() { return accchar(static_cast<char>(0xE9)); }

// Writes the message of `fault`, pauses, and gives the error result. `symbol`
// is the character concerned; the counts are those of "(" and ")".
float fail(Fault fault, char symbol, int opened, int closed) {
  switch (fault) {
    case kUnknownSymbol:
      printf("Erreur: le symbole %c n'est pas reconnu", symbol);
      break;
    case kUnbalanced: {
      char e = e_grave();
      printf("Erreur: %d parenth%cses ouvertes, %d parenth%cses fermees",
             opened, e, closed, e);
      break;
    }
    case kOutOfOrder:
      printf("Erreur: parenth%cses dans le mauvais ordre", e_grave());
      break;
    case kMissingOperand: {
      char e = e_acute();
      printf("Erreur: l'op%crateur %c n'a pas d'op%crande", e, symbol, e);
      break;
    }
    case kTooLong: {
      char acute = e_acute();
      char grave = e_grave();
      printf("Erreur: l'expression d%cpasse %d caract%cres", acute, kMaxChars, grave);
      break;
    }
    case kDivisionByZero:
      puts("Erreur: Division par 0 !!!");
      break;
    case kNoFault:
      break;
  }
  Pause();
  return kErrorResult;
}

}  // namespace

float interpret_calc(const char* text) {
  // The working copy: one line. A longer text is refused rather than cut, so
  // that no part of an expression is silently lost.
  char copy[kMaxChars + 1];

  // An empty text: the user types the expression (a q or Q there ends the
  // program). Otherwise the given text, cut at its last line end.
  bool typed = text[0] == '\0';
  const char* source = typed ? nomajloc_interpret_calc(chfunc) : text;
  if (strnlen(source, kMaxChars + 1) > kMaxChars) return fail(kTooLong, '\0', 0, 0);
  strcpy(copy, source);
  if (!typed) Efface_n(copy);

  // Nothing to evaluate: the empty-expression result, silently.
  if (copy[0] == '\0') return kEmptyResult;

  // Tokenise (an unknown character stops here), check that the parentheses
  // pair up, then reduce; the first fault met ends the call.
  Table table;
  char symbol = '\0';
  Fault fault = tokenise(copy, &table, &symbol);
  if (fault == kNoFault) fault = check_parentheses(table);
  if (fault == kNoFault) fault = reduce(&table, &symbol);
  if (fault != kNoFault) return fail(fault, symbol, table.open_count, table.close_count);
  // The result: the first non-zero slot, else the last slot.
  return take_result(table);
}
