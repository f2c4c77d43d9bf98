#include <fcntl.h>
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "testing/pty_session.h"
#include "toolkit/calc/calc.h"

namespace {

uint32_t Bits(float value) {
  uint32_t bits;
  memcpy(&bits, &value, sizeof bits);
  return bits;
}

struct Evaluation {
  uint32_t bits = 0;
  std::string written;
  bool returned = false;
};

// Evaluates `text` in a child whose standard input is /dev/null, so that the
// pause after a message returns at once, and whose standard output is a
// memory file, so that every byte written can be read back exactly.
Evaluation Evaluate(const std::string& text) {
  Evaluation result;
  fflush(nullptr);
  int out = memfd_create("calc_output", 0);
  int pipe_fds[2];
  if (out < 0 || pipe(pipe_fds) != 0) {
    ADD_FAILURE() << "cannot set up the child: " << strerror(errno);
    return result;
  }
  pid_t pid = fork();
  if (pid == 0) {
    int null = open("/dev/null", O_RDONLY);
    if (null < 0 || dup2(null, 0) < 0 || dup2(out, 1) < 0) _exit(2);
    clearerr(stdin);
    float value = interpret_calc(text.c_str());
    fflush(stdout);
    if (write(pipe_fds[1], &value, sizeof value) != sizeof value) _exit(3);
    _exit(0);
  }
  close(pipe_fds[1]);
  float value = 0;
  result.returned = read(pipe_fds[0], &value, sizeof value) == sizeof value;
  result.bits = Bits(value);
  close(pipe_fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "child status " << status << " for " << text;
  char buffer[4096];
  ssize_t n;
  off_t at = 0;
  while ((n = pread(out, buffer, sizeof buffer, at)) > 0) {
    result.written.append(buffer, static_cast<size_t>(n));
    at += n;
  }
  close(out);
  return result;
}

// What an error writes: its message, then the pause mark.
std::string Symbol(char c) {
  return std::string("Erreur: le symbole ") + c + " n'est pas reconnu...";
}
std::string Parentheses(int opened, int closed) {
  return "Erreur: " + std::to_string(opened) + " parenth\xe8ses ouvertes, " +
         std::to_string(closed) + " parenth\xe8ses fermees...";
}
const char kDivision[] = "Erreur: Division par 0 !!!\n...";
std::string Operand(char op) {
  return std::string("Erreur: l'op\xe9rateur ") + op + " n'a pas d'op\xe9rande...";
}
const char kOrder[] = "Erreur: parenth\xe8ses dans le mauvais ordre...";
const char kTooLong[] = "Erreur: l'expression d\xe9passe 254 caract\xe8res...";

const float kError = 12345678.0f;
const float kEmpty = 1111111.0f;

struct Case {
  std::string expression;
  float expected;  // compared bit for bit
  std::string written;
};

void ExpectCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    Evaluation e = Evaluate(c.expression);
    ASSERT_TRUE(e.returned) << c.expression;
    EXPECT_EQ(Bits(c.expected), e.bits)
        << "expression: " << c.expression << " expected " << c.expected;
    EXPECT_EQ(c.written, e.written) << "expression: " << c.expression;
  }
}

// The reading rules, the arithmetic and the three messages, row by row;
// including the surprising rows that stored habits rely on ((2)-3 is 0,
// -(2+3) is 1, --3 is -3, 2(3) is 0).
TEST(InterpretCalc, EdgeCaseTable) {
  const std::string big = "1" + std::string(40, '0');
  const std::string sum_of_ones = [] {
    std::string text = "-1";
    for (int i = 0; i < 24; ++i) text += "+1";
    return text;
  }();
  volatile float infinity = INFINITY;
  const float nan = infinity - infinity;  // this machine's NaN from inf - inf
  ExpectCases({
      {"1+2*3", 7, ""},
      {"2*3+4*5", 26, ""},
      {"7-2-1", 4, ""},
      {"8/4/2", 1, ""},
      {"2*3/4", 1.5f, ""},
      {"1-2+3", 2, ""},
      {"(1+2)*3", 9, ""},
      {"2*(3+4)*5", 70, ""},
      {"((2+3)*4)", 20, ""},
      {"(1+2)*(3+4)", 21, ""},
      {"2*(1)+(3)*4", 14, ""},
      {"(8)/(4)/(2)", 1, ""},
      {"10/(4-2)/5", 1, ""},
      {"(10)+4/3-(2)+((5))", 14.33333301544189453125f, ""},
      {"-3+2", -1, ""},
      {"2*-3", -6, ""},
      {"-2*-2", 4, ""},
      {"2--3", 5, ""},
      {"1-(-2)", 3, ""},
      {"5-(3)", 2, ""},
      {"--3", -3, ""},
      {"2---3", 5, ""},
      {"-(2+3)", 1, ""},
      {"-(2-3)", -5, ""},
      {"-(2*3)", -6, ""},
      {"-(-3)", -3, ""},
      {"-0", -0.0f, ""},
      {"0*-1", 0.0f, ""},
      {"-", 0, ""},
      {"(2)-3", 0, ""},
      {"(1+2)-(3+4)", 0, ""},
      {"2*(3+4)-1", 0, ""},
      {"2*(3+4)+-1", 13, ""},
      {"(2)+-3", -1, ""},
      {"(2)*-3", -6, ""},
      {"(2)-3+1", 0, ""},
      {"2(3)", 0, ""},
      {"(2)(3)", 0, ""},
      {"(1)(2)(3)", 3, ""},
      {"2(3)*4", 0, ""},
      {"2()", 2, ""},
      {"()", 0, ""},
      {"((4)-2.5)", 0, ""},
      {"1.2.3", 1.2000000476837158203125f, ""},
      {"7.", 7, ""},
      {"0.1+0.2", 0.300000011920928955078125f, ""},
      {"1/3", 0.3333333432674407958984375f, ""},
      {"16777216+1", 16777216, ""},
      {"123456789", 123456792, ""},
      {"1111111", kEmpty, ""},
      {big, INFINITY, ""},
      {big + "-" + big, nan, ""},
      {"\n", kEmpty, ""},
      {"\n5", kEmpty, ""},
      {"3\n4", 3, ""},
      {"3\n4\n", kError, Symbol('\n')},
      {"1 + 2", kError, Symbol(' ')},
      {".5", kError, Symbol('.')},
      {"2e3", kError, Symbol('e')},
      {"1/0+x", kError, Symbol('x')},
      {"(1+2", kError, Parentheses(1, 0)},
      {"1+2))", kError, Parentheses(0, 2)},
      {"(1/0", kError, Parentheses(1, 0)},
      {"1/0", kError, kDivision},
      {"1/(2-2)", kError, kDivision},
      {"1/-0", kError, kDivision},
      {"0/5", 0, ""},
      {sum_of_ones, 23, ""},
  });
}

struct BadCase {
  std::string expression;
  std::string written;
};

// Expressions that have no sound value: each writes its message and the
// pause mark, and gives the error result.
TEST(InterpretCalc, RefusesWhatHasNoValue) {
  const std::vector<BadCase> cases = {
      // A byte from 128 up is written as the byte itself.
      {"1+\xe9", Symbol('\xe9')},
      // An operator with nothing on one side, named in the message.
      {"+1", Operand('+')},
      {"*2", Operand('*')},
      {"/2", Operand('/')},
      {"1+", Operand('+')},
      {"1-", Operand('-')},
      {"2*", Operand('*')},
      {"2/", Operand('/')},
      {"1++2", Operand('+')},
      {"1**2", Operand('*')},
      {"1*/2", Operand('/')},
      {"(+1)", Operand('+')},
      {"(1*)", Operand('*')},
      {"1+(2*)", Operand('*')},
      {"(*)", Operand('*')},
      {"()*2", Operand('*')},
      {"2*()", Operand('*')},
      {"2+()", Operand('+')},
      {"1-()", Operand('-')},
      // Products come first: the division fails before the stray "+".
      {"1/0+", kDivision},
      // Equal counts, but a ")" closes before any "(" opened.
      {")(", kOrder},
      {"1)+(2", kOrder},
      {")1(", kOrder},
      {"(1))+((2)", kOrder},
      {"(1/0))+(", kOrder},  // checked before anything is evaluated
      // Unequal counts are reported as such, whatever the order.
      {"))(", Parentheses(1, 2)},
      // Longer than a line, its line end included.
      {std::string(255, '1'), kTooLong},
      {std::string(254, '1') + "\n", kTooLong},
      {"1+" + std::string(300, '1'), kTooLong},
  };
  for (const BadCase& c : cases) {
    Evaluation e = Evaluate(c.expression);
    ASSERT_TRUE(e.returned) << c.expression;
    EXPECT_EQ(Bits(kError), e.bits) << "expression: " << c.expression;
    EXPECT_EQ(c.written, e.written) << "expression: " << c.expression;
  }
}

// A whole line is evaluated, however many slots it needs.
TEST(InterpretCalc, EvaluatesExpressionsUpToALine) {
  std::string sum = "-1";  // 254 characters, 254 slots: -1 and 126 ones
  while (sum.size() < 254) sum += "+1";
  std::string nested = std::string(126, '(') + "7" + std::string(126, ')');
  std::string product = "1";  // 1*(2*1)*(2*1)..., 42 groups, 253 characters
  for (int i = 0; i < 42; ++i) product += "*(2*1)";
  ASSERT_EQ(254u, sum.size());
  ExpectCases({
      {sum, 125, ""},
      {nested, 7, ""},
      {"-" + nested.substr(1), kError, Parentheses(125, 126)},
      {product, ldexpf(1, 42), ""},
      {std::string(254, '9'), INFINITY, ""},
      {std::string(253, '0') + "5", 5, ""},
      {"0." + std::string(251, '0') + "1", 0, ""},
      {std::string(252, '0') + "5\n", 5, ""},
  });
}

// The given text is read, never written to.
TEST(InterpretCalc, LeavesTheGivenTextAsItWas) {
  char text[] = "3\n4";
  EXPECT_EQ(3.0f, interpret_calc(text));
  EXPECT_STREQ("3\n4", text);
}

// The typed path, on a terminal. The child first turns off line gathering
// and the carriage-return translation, so that keys sent before the editor
// switches to raw mode still arrive as typed; it then writes "pret", reads
// one expression through interpret_calc("") and writes the result's bits
// between < and >.
std::unique_ptr<tavorin::testing::PtySession> StartTyped() {
  auto session = tavorin::testing::PtySession::Run([] {
    struct termios settings;
    if (tcgetattr(0, &settings) == 0) {
      settings.c_lflag &= ~static_cast<tcflag_t>(ICANON);
      settings.c_iflag &= ~static_cast<tcflag_t>(ICRNL);
      settings.c_cc[VMIN] = 1;
      settings.c_cc[VTIME] = 0;
      tcsetattr(0, TCSANOW, &settings);
    }
    fputs("pret", stdout);
    fflush(stdout);
    float value = interpret_calc("");
    printf("<%08x>", static_cast<unsigned>(Bits(value)));
    return 7;  // the call returned
  });
  EXPECT_TRUE(session != nullptr);
  if (session != nullptr) {
    EXPECT_TRUE(session->WaitFor("pret"));
  }
  return session;
}

std::string Marker(float value) {
  char text[16];
  snprintf(text, sizeof text, "<%08x>", static_cast<unsigned>(Bits(value)));
  return text;
}

TEST(InterpretCalcTyped, EvaluatesTheTypedLine) {
  auto session = StartTyped();
  ASSERT_TRUE(session != nullptr);
  session->Send("(1+2)*3\r");
  ASSERT_TRUE(session->WaitFor(Marker(9)));
  EXPECT_EQ(7, session->Wait());
  // The editor echoes the line and its line end; the evaluator adds nothing.
  EXPECT_EQ("pret(1+2)*3\n" + Marker(9), session->output());
}

TEST(InterpretCalcTyped, EnterAtOnceIsTheEmptyExpression) {
  auto session = StartTyped();
  ASSERT_TRUE(session != nullptr);
  session->Send("\r");
  ASSERT_TRUE(session->WaitFor(Marker(kEmpty)));
  EXPECT_EQ(7, session->Wait());
  EXPECT_EQ("pret\n" + Marker(kEmpty), session->output());
}

TEST(InterpretCalcTyped, AnErrorWaitsForAKey) {
  auto session = StartTyped();
  ASSERT_TRUE(session != nullptr);
  session->Send("1/0\r");
  ASSERT_TRUE(session->WaitFor(kDivision));
  EXPECT_EQ(std::string::npos, session->output().find('<')) << "returned before the key";
  session->Send("x");
  ASSERT_TRUE(session->WaitFor(Marker(kError)));
  EXPECT_EQ(7, session->Wait());
  EXPECT_EQ("pret1/0\n" + std::string(kDivision) + Marker(kError), session->output());
}

TEST(InterpretCalcTyped, QuitEndsTheProgram) {
  auto session = StartTyped();
  ASSERT_TRUE(session != nullptr);
  session->Send("1+q\r");
  EXPECT_EQ(0, session->Wait());
  EXPECT_EQ(std::string::npos, session->output().find('<')) << session->output();
}

}  // namespace
