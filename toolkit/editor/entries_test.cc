#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <ostream>
#include <string>

#include "gtest/gtest.h"
#include "testing/pty_session.h"
#include "toolkit/console/console.h"
#include "toolkit/editor/editor.h"
#include "toolkit/editor/test_support.h"

namespace {

using tavorin::editor::testing::KeyboardTest;
using tavorin::editor::testing::OpenSlaveAndGo;
using tavorin::editor::testing::SameSettings;
using tavorin::editor::testing::WaitForGo;
using tavorin::editor::testing::WaitForRawMode;
using tavorin::testing::PtySession;

// Written at exit, so that a test can see what the history held when a quit
// letter ended the process.
void report_newest_line() {
  int newest = (historique.index_ecriture + 9) % 10;
  fprintf(stderr, "newest=[%s]\n", historique.ligne[newest]);
}

struct Entry {
  const char* name;
  char* (*read)(char*);
};

void PrintTo(const Entry& c, std::ostream* os) { *os << c.name; }

const Entry kEntries[] = {
    {"des", nomajloc_des},
    {"attaque", nomajloc_attaque},
    {"calc", nomajloc_calc},
    {"interpret_calc", nomajloc_interpret_calc},
    {"gestion_combattant", nomajloc_gestion_combattant},
};

class LineEntry : public KeyboardTest, public ::testing::WithParamInterface<Entry> {};

TEST_P(LineEntry, QuitLetterEndsTheProgramAfterRecordingTheLine) {
  auto read = GetParam().read;
  EXPECT_EXIT(
      {
        atexit(report_newest_line);
        Keys("1q\r");
        char target[255];
        Capture([&] { read(target); });
      },
      ::testing::ExitedWithCode(0), "newest=\\[1q\\]");
  EXPECT_EXIT(
      {
        atexit(report_newest_line);
        Keys("Q\r");
        char target[255];
        Capture([&] { read(target); });
      },
      ::testing::ExitedWithCode(0), "newest=\\[Q\\]");
}

// A quit letter recorded through chiffre_lettre, which does not quit, is
// recalled in a line entry: Enter then ends the program.
TEST_P(LineEntry, RecalledQuitLetterEndsTheProgram) {
  auto read = GetParam().read;
  EXPECT_EXIT(
      {
        Keys("4q\r\x1b[A\r");
        int result = 0;
        Capture([&] { result = chiffre_lettre(); });
        if (result != CHIFFRE_QUITTER) exit(3);
        char target[255];
        Capture([&] { read(target); });
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_P(LineEntry, ReturnsTheLineInTheTarget) {
  Keys("12\r\r");
  char target[255];
  char* result = nullptr;
  Capture([&] { result = GetParam().read(target); });
  EXPECT_EQ(result, target);
  EXPECT_STREQ(target, "12");
  Capture([&] { result = GetParam().read(target); });
  EXPECT_STREQ(target, "");
  EXPECT_EQ(written_, "12\n\n");
}

INSTANTIATE_TEST_SUITE_P(
    All, LineEntry, ::testing::ValuesIn(kEntries),
    [](const ::testing::TestParamInfo<Entry>& param_info) { return param_info.param.name; });

TEST_F(KeyboardTest, EntriesUseTheirOwnProfiles) {
  char target[255];
  Keys("2D6\r(1,5)*2\r(1,5)*2\r(1,5)*2\r&M:s\r");
  Capture([&] { nomajloc_des(target); });
  EXPECT_STREQ(target, "2d6");
  Capture([&] { nomajloc_calc(target); });
  EXPECT_STREQ(target, "(1.5)*2");
  Capture([&] { nomajloc_interpret_calc(target); });
  EXPECT_STREQ(target, "(1.5)*2");
  Capture([&] { nomajloc_attaque(target); });
  EXPECT_STREQ(target, "5152");
  Capture([&] { nomajloc_gestion_combattant(target); });
  EXPECT_STREQ(target, "1Ms");
}

struct NumberCase {
  const char* name;
  const char* recorded_keys;  // Typed into nomajloc_attaque or _des first.
  int recorded_profile;
  const char* keys;
  int result;
  const char* line;  // What chfunc holds afterwards.
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.name; }

class ChiffreLettre : public KeyboardTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(ChiffreLettre, ResultAndLine) {
  const NumberCase& c = GetParam();
  char target[255];
  if (c.recorded_keys[0] != '\0') {
    Keys(c.recorded_keys);
    Capture([&] { nomajloc(target, c.recorded_profile); });
  }
  Keys(c.keys);
  int result = 0;
  Capture([&] { result = chiffre_lettre(); });
  EXPECT_EQ(result, c.result);
  EXPECT_STREQ(chfunc, c.line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChiffreLettre,
    ::testing::Values(
        NumberCase{"EnterAtOnce", "", 0, "\r", CHIFFRE_VIDE, ""},
        NumberCase{"TypedReservedValue", "", 0, "12345678\r", CHIFFRE_VIDE, "12345678"},
        NumberCase{"LeadingZeros", "", 0, "007\r", 7, "007"},
        NumberCase{"Quit", "", 0, "4Q\r", CHIFFRE_QUITTER, "4Q"},
        NumberCase{"AccentedKey", "", 0, "\xc3\xa9\r", 2, "2"},
        NumberCase{"TooLargeIsClamped", "", 0, "99999999999\r", INT_MAX, "99999999999"},
        NumberCase{"RecalledNegative", "-5\r", 3, "\x1b[A\r", -5, "-5"},
        NumberCase{"RecalledDice", "2d6\r", 2, "\x1b[A\r", 2, "2d6"},
        NumberCase{"RecalledTooSmallIsClamped", "-99999999999\r", 3, "\x1b[A\r", INT_MIN,
                   "-99999999999"},
        NumberCase{"RecalledSpaces", "  \r", 2, "\x1b[A\r", 0, "  "}),
    [](const ::testing::TestParamInfo<NumberCase>& param_info) { return param_info.param.name; });

TEST_F(KeyboardTest, ChiffreLettreQuitLetsTheProgramGoOn) {
  Keys("4Q\r5\r");
  int first = 0;
  int second = 0;
  Capture([&] {
    first = chiffre_lettre();
    second = chiffre_lettre();
  });
  EXPECT_EQ(first, CHIFFRE_QUITTER);
  EXPECT_EQ(second, 5);
  EXPECT_STREQ(historique.ligne[0], "4Q");
}

// On a real terminal, quitting leaves the terminal as it was found.
TEST(LineEntryOnATerminal, QuitHandsTheTerminalBack) {
  auto session = PtySession::Run([] {
    WaitForGo();
    atexit(report_newest_line);
    char target[255];
    nomajloc_des(target);
    return 5;
  });
  ASSERT_NE(session, nullptr);
  struct termios initial;
  int slave = OpenSlaveAndGo(session->master(), &initial);
  ASSERT_GE(slave, 0);
  ASSERT_TRUE(WaitForRawMode(slave));
  session->Send("1");
  ASSERT_TRUE(session->WaitFor("1"));
  ASSERT_TRUE(WaitForRawMode(slave));
  session->Send("q\r");
  EXPECT_EQ(session->Wait(), 0);
  EXPECT_EQ(session->output(), "1q\nnewest=[1q]\n");
  struct termios after;
  ASSERT_EQ(tcgetattr(slave, &after), 0);
  EXPECT_TRUE(SameSettings(initial, after));
  close(slave);
}

}  // namespace
