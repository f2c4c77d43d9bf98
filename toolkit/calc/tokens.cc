// Tokenising: one slot per number, symbol or negation sign, in text order.
#include <stdlib.h>
#include <string.h>

#include "toolkit/calc/calc_internal.h"

namespace tavorin {
namespace calc {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

int add_slot(Table* table, char kind, float value) {
  table->kind[table->n] = kind;
  table->value[table->n] = value;
  return table->n++;
}

}  // namespace

Fault tokenise(const char* text, Table* table, char* symbol) {
  memset(table, 0, sizeof *table);
  bool after_number = false;
  bool negation_pending = false;
  const char* p = text;
  while (*p != '\0') {
    // Text longer than a line: the caller refuses it first, so this only
    // keeps the table in bounds whatever it is handed.
    if (table->n == kMaxSlots) return kTooLong;
    char c = *p;

    // A digit starts a number: the longest run of digits and ".", of which
    // atof reads digits, one "." and digits (1.2.3 is 1.2, 7. is 7). The run
    // is copied out first so that atof reads nothing past it (an exponent or
    // a hexadecimal form is not a number here).
    if (is_digit(c)) {
      char run[kMaxChars + 1];
      size_t length = 0;
      while ((is_digit(p[length]) || p[length] == '.') && length < kMaxChars) ++length;
      memcpy(run, p, length);
      run[length] = '\0';
      // Decimal to the nearest double, then to the nearest float.
      float value = static_cast<float>(atof(run));
      // A pending negation applies to this number, wherever it stands.
      if (negation_pending) {
        value = -value;
        negation_pending = false;
      }
      add_slot(table, kValue, value);
      after_number = true;
      p += length;
      continue;
    }

    // "-" subtracts only right after a number. Anywhere else it is a negation
    // sign: a dead slot, and the next number read is negated. Signs in a row
    // do not cancel.
    if (c == '-' && !after_number) {
      add_slot(table, kDead, 0.0f);
      negation_pending = true;
      ++p;
      continue;
    }

    // Any other character is a symbol. A pending negation stays pending.
    int at = add_slot(table, c, 0.0f);
    after_number = false;
    switch (c) {
      case '(':
        table->open[table->open_count++] = at;
        break;
      case ')':
        table->close[table->close_count++] = at;
        break;
      case '*':
      case '/':
        table->ops[table->op_count++] = at;
        break;
      case '+':
      case '-':
        break;
      default:
        // Nothing after the first unknown character is looked at.
        *symbol = c;
        return kUnknownSymbol;
    }
    ++p;
  }
  return kNoFault;
}

}  // namespace calc
}  // namespace tavorin
