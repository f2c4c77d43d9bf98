// The reduction passes: each pass takes one range (the innermost group, or
// at last the whole table), evaluates its products and quotients, then its
// sums and differences. A result takes the slot of its operator; operand
// slots die.
#include "toolkit/calc/calc_internal.h"

namespace tavorin {
namespace calc {
namespace {

bool live(const Table& table, int at) { return table.kind[at] == kValue; }

void kill(Table* table, int at) {
  table->kind[at] = kDead;
  table->value[at] = 0.0f;
}

// Nearest live slot from `from` stepping by `step`, stopping before `end`;
// -1 when there is none.
int nearest_live(const Table& table, int from, int end, int step) {
  for (int at = from; at != end; at += step) {
    if (live(table, at)) return at;
  }
  return -1;
}

bool additive(char kind) { return kind == '+' || kind == '-'; }

// Leftmost "+" or "-" slot strictly between left and right, or -1.
int first_additive(const Table& table, int left, int right) {
  for (int at = left + 1; at < right; ++at) {
    if (additive(table.kind[at])) return at;
  }
  return -1;
}

void remove_entry(int* list, int* count, int index) {
  for (int i = index; i + 1 < *count; ++i) list[i] = list[i + 1];
  --*count;
}

// Products and quotients of the range, in text order. Each takes the nearest
// live slot on either side within the range.
Fault products(Table* table, int left, int right, char* symbol) {
  for (int i = 0; i < table->op_count; ++i) {
    int at = table->ops[i];
    if (at == -1 || at <= left || at >= right) continue;
    table->ops[i] = -1;
    char op = table->kind[at];
    int a = nearest_live(*table, at - 1, left, -1);
    int b = nearest_live(*table, at + 1, right, +1);
    if (a == -1 || b == -1) {
      *symbol = op;
      return kMissingOperand;
    }
    float x = table->value[a];
    float y = table->value[b];
    kill(table, a);
    kill(table, b);
    // Zero of either sign stops the evaluation; nothing done so far counts.
    if (op == '/' && y == 0.0f) return kDivisionByZero;
    table->kind[at] = kValue;
    table->value[at] = op == '*' ? x * y : x / y;
  }
  return kNoFault;
}

// Sums and differences of the range: the two leftmost live values meet the
// leftmost "+" or "-", wherever it stands. Two values with no such slot left
// are both dropped. A "+" or "-" still there once fewer than two values
// remain has nothing to work on.
Fault sums(Table* table, int left, int right, char* symbol) {
  for (;;) {
    int a = nearest_live(*table, left + 1, right, +1);
    int b = a == -1 ? -1 : nearest_live(*table, a + 1, right, +1);
    if (b == -1) break;
    float x = table->value[a];
    float y = table->value[b];
    kill(table, a);
    kill(table, b);
    int at = first_additive(*table, left, right);
    if (at == -1) continue;
    table->value[at] = table->kind[at] == '+' ? x + y : x - y;
    table->kind[at] = kValue;
  }
  int stray = first_additive(*table, left, right);
  if (stray != -1) {
    *symbol = table->kind[stray];
    return kMissingOperand;
  }
  return kNoFault;
}

}  // namespace

Fault check_parentheses(const Table& table) {
  // The counts are compared first: their message tells the user both.
  if (table.open_count != table.close_count) return kUnbalanced;
  // With equal counts, pairing each ")" with the nearest unpaired "(" to its
  // left works exactly when no prefix closes more than it opens.
  int depth = 0;
  for (int at = 0; at < table.n; ++at) {
    if (table.kind[at] == '(') ++depth;
    if (table.kind[at] == ')' && --depth < 0) return kOutOfOrder;
  }
  return kNoFault;
}

Fault reduce(Table* table, char* symbol) {
  for (;;) {
    // The range: while groups remain, the one closed by the leftmost unpaired
    // ")" with the nearest unpaired "(" before it, both slots dying; then the
    // whole table, in the last pass.
    int left = -1;
    int right = table->n;
    bool last = table->open_count == 0;
    if (!last) {
      right = table->close[0];
      int j = table->open_count - 1;
      while (j >= 0 && table->open[j] > right) --j;
      // check_parentheses guarantees a "(" before every ")".
      if (j < 0) return kOutOfOrder;
      left = table->open[j];
      kill(table, left);
      kill(table, right);
      remove_entry(table->open, &table->open_count, j);
      remove_entry(table->close, &table->close_count, 0);
    }
    Fault fault = products(table, left, right, symbol);
    if (fault == kNoFault) fault = sums(table, left, right, symbol);
    if (fault != kNoFault || last) return fault;
  }
}

float take_result(const Table& table) {
  for (int at = 0; at < table.n; ++at) {
    // A NaN compares unequal to zero, so it is taken.
    if (table.value[at] != 0.0f) return table.value[at];
  }
  return table.n > 0 ? table.value[table.n - 1] : 0.0f;
}

}  // namespace calc
}  // namespace tavorin
