// The raw key reader: one byte of standard input with the terminal in raw
// mode for that one read only.
#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <termios.h>
#include <unistd.h>

#include "toolkit/editor/editor.h"

namespace {

// The settings of standard input found at the first capture, put back after
// every key, and the raw settings derived from them.
struct termios configuration_initiale;
struct termios configuration_brute;

// The signals that end a program waiting at a terminal. While getch waits in
// raw mode each of them first puts the terminal back.
const int signaux_fin[] = {SIGINT, SIGQUIT, SIGTERM, SIGHUP};
constexpr int kNombreSignaux = sizeof signaux_fin / sizeof signaux_fin[0];

// What each of those signals did before getch took it over, and whether it
// did take it over (a signal the program ignores is left ignored).
struct sigaction dispositions_avant[kNombreSignaux];
bool remplacee[kNombreSignaux];

/* Runs when one of the ending signals arrives while getch waits in raw mode.
   Only async-signal-safe calls. The initial settings are put back first.
   When the signal had its default disposition, that disposition is put back
   and the signal raised again: it is blocked while this runs, so it ends the
   process as soon as the handler returns. When the program had a handler of
   its own, that handler runs now, with the terminal as the program knows it,
   and the raw settings are put back after it for the rest of the wait, so a
   signal that comes just before the read starts cannot leave the wait in
   the usual settings. */
extern "C" void restaure_terminal(int signal_recu, siginfo_t* info, void* contexte) {
  int errno_avant = errno;
  tcsetattr(0, TCSANOW, &configuration_initiale);
  for (int i = 0; i < kNombreSignaux; ++i) {
    if (signaux_fin[i] != signal_recu) continue;
    struct sigaction& avant = dispositions_avant[i];
    bool par_defaut = (avant.sa_flags & SA_SIGINFO) == 0 && avant.sa_handler == SIG_DFL;
    if (par_defaut) {
      sigaction(signal_recu, &avant, nullptr);
      raise(signal_recu);
    } else {
      if ((avant.sa_flags & SA_SIGINFO) != 0) {
        avant.sa_sigaction(signal_recu, info, contexte);
      } else {
        avant.sa_handler(signal_recu);
      }
      if ((static_cast<unsigned>(avant.sa_flags) & SA_RESETHAND) != 0u) {
        // A handler meant for one delivery only: the next one is the default.
        avant.sa_flags = 0;
        avant.sa_handler = SIG_DFL;
      }
      tcsetattr(0, TCSANOW, &configuration_brute);
    }
  }
  errno = errno_avant;
}

/* Takes the ending signals over for the length of one raw wait. A read that
   a program's handler interrupted goes on (SA_RESTART). */
void prend_signaux() {
  struct sigaction action = {};
  action.sa_sigaction = restaure_terminal;
  action.sa_flags = SA_SIGINFO | SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (int signal_fin : signaux_fin) sigaddset(&action.sa_mask, signal_fin);
  for (int i = 0; i < kNombreSignaux; ++i) {
    remplacee[i] = false;
    if (sigaction(signaux_fin[i], nullptr, &dispositions_avant[i]) != 0) continue;
    bool ignore = (dispositions_avant[i].sa_flags & SA_SIGINFO) == 0 &&
                  dispositions_avant[i].sa_handler == SIG_IGN;
    if (ignore) continue;
    remplacee[i] = sigaction(signaux_fin[i], &action, nullptr) == 0;
  }
}

/* Gives the ending signals back the dispositions they had before the wait. */
void rend_signaux() {
  for (int i = 0; i < kNombreSignaux; ++i) {
    if (remplacee[i]) sigaction(signaux_fin[i], &dispositions_avant[i], nullptr);
  }
}

}  // namespace

/* The settings are captured once, at the first call that finds a terminal on
   standard input; until then the terminal is never touched, so a program
   whose input starts as a file or a pipe does not apply blank settings to a
   terminal later. The read goes through the stdio buffer: the bytes of a
   key that sends several (an arrow, an accented letter) arrive in one read
   and the following calls return them without waiting. Standard output is
   flushed before the raw switch, so pending output still gets the terminal's
   usual processing. A read interrupted by another signal whose handler
   returns is started again; end of input, a read error and a hung-up
   terminal return -1. */
int getch() {
  static bool is_init = false;
  fflush(stdout);
  if (!is_init && tcgetattr(0, &configuration_initiale) == 0) {
    is_init = true;
    configuration_brute = configuration_initiale;
    cfmakeraw(&configuration_brute);
    configuration_brute.c_cc[VMIN] = 1;
    configuration_brute.c_cc[VTIME] = 0;
  }
  for (;;) {
    if (is_init) {
      prend_signaux();
      tcsetattr(0, TCSANOW, &configuration_brute);
    }
    errno = 0;
    int c = getchar();
    int errno_lecture = errno;
    if (is_init) {
      tcsetattr(0, TCSANOW, &configuration_initiale);
      rend_signaux();
    }
    if (c == EOF && errno_lecture == EINTR && ferror(stdin) && !feof(stdin)) {
      clearerr(stdin);
      continue;
    }
    return c;
  }
}
