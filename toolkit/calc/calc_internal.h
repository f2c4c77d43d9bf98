// The evaluator's steps, apart from its messages and its input: the token
// table, the tokeniser and the reduction passes.
#ifndef TAVORIN_TOOLKIT_CALC_CALC_INTERNAL_H_
#define TAVORIN_TOOLKIT_CALC_CALC_INTERNAL_H_

namespace tavorin {
namespace calc {

// The longest expression: one line of the line editor. Each character makes
// at most one slot, so the table always has room for every slot.
enum { kMaxChars = 254, kMaxSlots = kMaxChars };

const float kErrorResult = 12345678.0f;
const float kEmptyResult = 1111111.0f;

// Slot kinds besides the symbols ( ) * / + - themselves.
const char kValue = '0';  // a number read, or a result in its operator's slot
const char kDead = '#';   // a negation sign, a paired parenthesis, a used operand

// Slots in text order, two parallel arrays. Every slot that is not a value
// holds 0. The three lists hold positions in increasing order: the "(" and
// ")" not paired yet, and the "*" and "/" (set to -1 once evaluated).
struct Table {
  char kind[kMaxSlots];
  float value[kMaxSlots];
  int n;
  int open[kMaxSlots];
  int open_count;
  int close[kMaxSlots];
  int close_count;
  int ops[kMaxSlots];
  int op_count;
};

enum Fault {
  kNoFault,
  kUnknownSymbol,     // symbol: the byte
  kUnbalanced,        // counts: open_count and close_count
  kOutOfOrder,        // a ")" with no "(" before it to pair with
  kMissingOperand,    // symbol: the operator
  kDivisionByZero,
  kTooLong,
};

// Turns `text` (at most kMaxChars characters) into `table`. Stops at the
// first unrecognised character and stores it in `symbol`.
Fault tokenise(const char* text, Table* table, char* symbol);

// Checks that the parentheses pair up: equal counts, then every ")" after
// the "(" it closes.
Fault check_parentheses(const Table& table);

// Reduces the table in place, innermost group first. On kMissingOperand the
// operator is stored in `symbol`.
Fault reduce(Table* table, char* symbol);

// The first non-zero slot value (a NaN counts), else the last slot's value.
float take_result(const Table& table);

}  // namespace calc
}  // namespace tavorin

#endif  // TAVORIN_TOOLKIT_CALC_CALC_INTERNAL_H_
