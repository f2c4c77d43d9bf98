#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <string>

#include "gtest/gtest.h"
#include "testing/pty_session.h"
#include "toolkit/editor/editor.h"
#include "toolkit/editor/test_support.h"

namespace {

using tavorin::editor::testing::KeyboardTest;
using tavorin::editor::testing::OpenSlaveAndGo;
using tavorin::editor::testing::SameSettings;
using tavorin::editor::testing::WaitForGo;
using tavorin::editor::testing::WaitForRawMode;
using tavorin::testing::PtySession;

// The bytes of real keys, each read back with the terminal checked against
// the settings found before the first read. The child reports each byte as
// <n>, and 'X' as soon as the settings differ.
TEST(Getch, ReadsRealKeysRawAndPutsTheSettingsBack) {
  auto session = PtySession::Run([] {
    WaitForGo();
    struct termios before;
    tcgetattr(0, &before);
    for (int i = 0; i < 7; ++i) {
      int c = getch();
      struct termios after;
      tcgetattr(0, &after);
      printf("<%d>", c);
      if (!SameSettings(before, after)) printf("X");
    }
    return 0;
  });
  ASSERT_NE(session, nullptr);
  struct termios initial;
  int slave = OpenSlaveAndGo(session->master(), &initial);
  ASSERT_GE(slave, 0);

  ASSERT_TRUE(WaitForRawMode(slave));
  struct termios raw;
  ASSERT_EQ(tcgetattr(slave, &raw), 0);
  EXPECT_EQ(raw.c_lflag & (ECHO | ICANON | ISIG | IEXTEN), 0u);
  EXPECT_EQ(raw.c_iflag & ICRNL, 0u);
  EXPECT_EQ(raw.c_cc[VMIN], 1);
  EXPECT_EQ(raw.c_cc[VTIME], 0);

  // Enter, then Ctrl-C (a plain byte: no signal ends the child).
  session->Send("\r");
  ASSERT_TRUE(session->WaitFor("<13>"));
  ASSERT_TRUE(WaitForRawMode(slave));
  session->Send("\x03");
  ASSERT_TRUE(session->WaitFor("<13><3>"));
  // The up arrow and é: one read each, the later bytes from the buffer.
  ASSERT_TRUE(WaitForRawMode(slave));
  session->Send("\x1b[A");
  ASSERT_TRUE(session->WaitFor("<27><91><65>"));
  ASSERT_TRUE(WaitForRawMode(slave));
  session->Send("\xc3\xa9");
  EXPECT_EQ(session->Wait(), 0);
  EXPECT_EQ(session->output(), "<13><3><27><91><65><195><169>");

  struct termios final_settings;
  ASSERT_EQ(tcgetattr(slave, &final_settings), 0);
  EXPECT_TRUE(SameSettings(initial, final_settings));
  close(slave);
}

// A signal that ends the program during the raw wait first puts the
// terminal back as it was found.
class GetchEndingSignal : public ::testing::TestWithParam<int> {};

TEST_P(GetchEndingSignal, LeavesTheTerminalAsFound) {
  int sig = GetParam();
  auto session = PtySession::Run([] {
    struct rlimit no_core = {0, 0};
    setrlimit(RLIMIT_CORE, &no_core);
    WaitForGo();
    getch();
    return 0;
  });
  ASSERT_NE(session, nullptr);
  struct termios initial;
  int slave = OpenSlaveAndGo(session->master(), &initial);
  ASSERT_GE(slave, 0);
  ASSERT_TRUE(WaitForRawMode(slave));

  kill(session->pid(), sig);
  EXPECT_EQ(session->Wait(), 128 + sig);
  struct termios after;
  ASSERT_EQ(tcgetattr(slave, &after), 0);
  EXPECT_TRUE(SameSettings(initial, after));
  close(slave);
}

INSTANTIATE_TEST_SUITE_P(Signals, GetchEndingSignal,
                         ::testing::Values(SIGTERM, SIGHUP, SIGQUIT, SIGINT),
                         [](const ::testing::TestParamInfo<int>& param_info) {
                           switch (param_info.param) {
                             case SIGTERM: return std::string("TERM");
                             case SIGHUP: return std::string("HUP");
                             case SIGQUIT: return std::string("QUIT");
                             default: return std::string("INT");
                           }
                         });

volatile sig_atomic_t handled_signal = 0;
// Notes the signal and writes '!' when it finds the terminal in its usual
// (canonical) mode, '?' when it finds it raw.
extern "C" void note_signal(int sig) {
  handled_signal = sig;
  struct termios now;
  bool usual = tcgetattr(0, &now) == 0 && (now.c_lflag & ICANON) != 0;
  if (write(1, usual ? "!" : "?", 1) != 1) handled_signal = -1;
}

// A program that handles SIGTERM itself keeps its handler: it runs with the
// terminal put back, the wait goes on in raw mode, and after getch the
// handler is the program's again.
TEST(Getch, ProgramSignalHandlerRunsAndTheWaitGoesOn) {
  auto session = PtySession::Run([] {
    struct sigaction own = {};
    own.sa_handler = note_signal;
    sigaction(SIGTERM, &own, nullptr);
    WaitForGo();
    int c = getch();
    struct sigaction now;
    sigaction(SIGTERM, nullptr, &now);
    printf("<%d,%d,%d>", c, static_cast<int>(handled_signal), now.sa_handler == note_signal);
    return 0;
  });
  ASSERT_NE(session, nullptr);
  struct termios initial;
  int slave = OpenSlaveAndGo(session->master(), &initial);
  ASSERT_GE(slave, 0);
  ASSERT_TRUE(WaitForRawMode(slave));

  kill(session->pid(), SIGTERM);
  // The handler writes '!' once it has run; the wait is then raw again.
  ASSERT_TRUE(session->WaitFor("!")) << session->output();
  ASSERT_TRUE(WaitForRawMode(slave));
  session->Send("5");
  EXPECT_EQ(session->Wait(), 0);
  EXPECT_EQ(session->output(), "!<53," + std::to_string(SIGTERM) + ",1>");
  struct termios after;
  ASSERT_EQ(tcgetattr(slave, &after), 0);
  EXPECT_TRUE(SameSettings(initial, after));
  close(slave);
}

// When the terminal goes away, getch reports the end of input, every time,
// without waiting.
TEST(Getch, HungUpTerminalIsTheEndOfInput) {
  auto session = PtySession::Run([] {
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return 2;
    dup2(slave, 0);
    close(slave);
    close(master);
    int first = getch();
    int second = getch();
    return first == -1 && second == -1 ? 0 : 1;
  });
  ASSERT_NE(session, nullptr);
  EXPECT_EQ(session->Wait(), 0);
}

// A file on standard input is read byte by byte to its end, and the end
// stays the end.
TEST_F(KeyboardTest, GetchReadsAFileToItsEnd) {
  Keys("a\r\xff");
  EXPECT_EQ(getch(), 'a');
  EXPECT_EQ(getch(), 13);
  EXPECT_EQ(getch(), 0xFF);
  EXPECT_EQ(getch(), -1);
  EXPECT_EQ(getch(), -1);
}

}  // namespace
