// Support for the editor's tests: keys fed from a file on standard input with
// the written bytes captured, and the wait for a child's raw mode on a
// pseudo-terminal.
#ifndef TAVORIN_TOOLKIT_EDITOR_TEST_SUPPORT_H_
#define TAVORIN_TOOLKIT_EDITOR_TEST_SUPPORT_H_

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <stdio.h>
#include <stdio_ext.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <string_view>

#include "gtest/gtest.h"
#include "toolkit/editor/editor.h"

namespace tavorin::editor::testing {

// Each test starts with an empty history. Keys() puts bytes on standard
// input (a regular file, so getch only reads); Capture() runs code with
// standard output going to a file and appends what it wrote to written_.
class KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    init_historique_saisie();
    fflush(stdout);
    saved_in_ = dup(0);
    saved_out_ = dup(1);
  }
  void TearDown() override {
    fflush(stdout);
    dup2(saved_out_, 1);
    dup2(saved_in_, 0);
    close(saved_out_);
    close(saved_in_);
    __fpurge(stdin);
    clearerr(stdin);
  }

  // Standard input becomes exactly `bytes`, whatever was left unread before.
  void Keys(std::string_view bytes) {
    FILE* in = tmpfile();
    ASSERT_NE(in, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), in);
    fflush(in);
    dup2(fileno(in), 0);
    fclose(in);
    lseek(0, 0, SEEK_SET);
    __fpurge(stdin);
    clearerr(stdin);
  }

  template <typename Body>
  void Capture(Body body) {
    fflush(stdout);
    FILE* out = tmpfile();
    ASSERT_NE(out, nullptr);
    dup2(fileno(out), 1);
    body();
    fflush(stdout);
    dup2(saved_out_, 1);
    rewind(out);
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, out)) > 0) written_.append(buffer, n);
    fclose(out);
  }

  // One nomajloc entry on what is left of standard input.
  std::string Line(int profile) {
    char target[255];
    Capture([&] { nomajloc(target, profile); });
    return target;
  }

  std::string written_;

 private:
  int saved_in_ = -1;
  int saved_out_ = -1;
};

// For a child on a pseudo-terminal: waits for the test to send a line feed,
// so that the test can read the terminal's settings before the child first
// touches them.
inline void WaitForGo() {
  char c = 0;
  while (read(0, &c, 1) == 1 && c != '\n') {
  }
}

// A slave descriptor of the terminal of `master`, or -1. Kept open by the
// test, it lets the terminal's settings be read once the child has ended.
inline int OpenSlave(int master) {
  const char* name = ptsname(master);
  return name == nullptr ? -1 : open(name, O_RDWR | O_NOCTTY);
}

// The test's side of WaitForGo: reads the settings of the child's terminal
// through a slave descriptor of its own, then lets the child go. Returns the
// descriptor, or -1.

inline int OpenSlaveAndGo(int master, struct termios* initial) {
  int slave = OpenSlave(master);
  if (slave < 0) return -1;
  if (tcgetattr(slave, initial) != 0 || write(master, "\n", 1) != 1) {
    close(slave);
    return -1;
  }
  return slave;
}

// Waits until the terminal of `fd` (a pseudo-terminal master or slave) is in
// raw mode, that is until a child waits in getch, or `timeout_ms` passes.
inline bool WaitForRawMode(int fd, int timeout_ms = 10000) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    struct termios settings;
    if (tcgetattr(fd, &settings) == 0 && (settings.c_lflag & ICANON) == 0) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    poll(nullptr, 0, 1);
  }
}

// Whether two terminal settings are the same in every field a program sees.
inline bool SameSettings(const struct termios& a, const struct termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
         a.c_lflag == b.c_lflag && std::equal(a.c_cc, a.c_cc + NCCS, b.c_cc) &&
         cfgetispeed(&a) == cfgetispeed(&b) && cfgetospeed(&a) == cfgetospeed(&b);
}

}  // namespace tavorin::editor::testing

#endif  // TAVORIN_TOOLKIT_EDITOR_TEST_SUPPORT_H_
