// The expression evaluator: arithmetic on decimal numbers with + - * / and
// parentheses, computed in IEEE single precision.
//
// interpret_calc evaluates `text`, cut at its last line end. When `text` is
// empty the user types the expression instead, through
// nomajloc_interpret_calc (toolkit/editor/editor.h) into chfunc; a typed line
// holding q or Q ends the process there with status 0.
//
// Reserved results (exact single-precision values; a genuine result equal to
// one of them cannot be told apart):
//   12345678.0  an error: a message was written and the user pressed a key;
//   1111111.0   an empty expression: nothing was written, no pause.
//
// A successful evaluation writes nothing. Every error writes one French
// message on standard output, then calls Pause ("..." and one key):
//   "Erreur: le symbole %c n'est pas reconnu"          a character other than
//       a digit, ( ) * / + - or a "." inside a number (the byte itself);
//   "Erreur: %d parenth\xe8ses ouvertes, %d parenth\xe8ses fermees"
//       the counts of "(" and ")" differ;
//   "Erreur: parenth\xe8ses dans le mauvais ordre"       a ")" comes before
//       any "(" it could close;
//   "Erreur: l'op\xe9rateur %c n'a pas d'op\xe9rande"     an operator lacks a
//       value on one side;
//   "Erreur: l'expression d\xe9passe 254 caract\xe8res"   a given text longer
//       than a line (its line end counts);
//   "Erreur: Division par 0 !!!\n"                       a divisor is zero.
// Only the division message ends with a line end.
//
// Reading rules a caller may meet: "-" after a number subtracts; anywhere
// else it negates the next number read, wherever that stands (-(2+3) is 1),
// and signs do not cancel (--3 is -3). Values side by side with no operator
// between them are dropped two at a time ((2)-3 and 2(3) are 0). A number
// runs over every digit and "." (1.2.3 is 1.2). Overflow gives an infinity
// and an invalid operation a NaN, without a message.
//
// Not reentrant: the typed path writes chfunc and the input history.
#ifndef TAVORIN_TOOLKIT_CALC_CALC_H_
#define TAVORIN_TOOLKIT_CALC_CALC_H_

float interpret_calc(const char* text);

#endif  // TAVORIN_TOOLKIT_CALC_CALC_H_
