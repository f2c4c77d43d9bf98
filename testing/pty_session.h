// A child process on a real pseudo-terminal, for tests of terminal behaviour.
//
// The child's standard input, output and error are the terminal's slave side;
// the test writes key bytes to the master side and reads what the child
// writes. Reads wait with poll() and a deadline: a test never sleeps.
#ifndef TAVORIN_TESTING_PTY_SESSION_H_
#define TAVORIN_TESTING_PTY_SESSION_H_

#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tavorin::testing {

struct PtyOptions {
  // Terminal settings of the slave side. By default the terminal neither
  // echoes input nor turns "\n" into "\r\n" on output, so that the output
  // read is exactly the bytes the child wrote. Input is in canonical mode,
  // as at a shell prompt (Enter, sent as "\r", reaches the child as "\n").
  bool echo = false;
  bool output_processing = false;
  // Working directory of the child; empty keeps the test's own.
  std::string cwd;
};

class PtySession {
 public:
  // Runs `argv` (argv[0] is the path of the program) on a new terminal.
  static std::unique_ptr<PtySession> Exec(const std::vector<std::string>& argv,
                                          const PtyOptions& options = {});
  // Runs `body` in a forked child on a new terminal; its return value is the
  // exit status (standard output is flushed first).
  static std::unique_ptr<PtySession> Run(const std::function<int()>& body,
                                         const PtyOptions& options = {});
  ~PtySession();

  // Writes bytes to the terminal, as typed keys.
  bool Send(std::string_view bytes);
  // Reads until `text` appears in the output (anywhere after byte `from`) or
  // `timeout_ms` passes. Returns whether it appeared.
  bool WaitFor(std::string_view text, int timeout_ms = 10000, size_t from = 0);
  // Reads until the child closes the terminal, then reaps it. Returns the
  // exit status, 128 + signal number when a signal ended it, or -1 when it
  // did not end in time (it is then killed).
  int Wait(int timeout_ms = 10000);
  // Everything read so far.
  const std::string& output() const { return output_; }
  pid_t pid() const { return pid_; }
  int master() const { return master_; }

 private:
  PtySession(pid_t pid, int master) : pid_(pid), master_(master) {}
  // Reads what is available within `timeout_ms`; false at end of output.
  bool ReadSome(int timeout_ms);

  pid_t pid_;
  int master_;
  bool closed_ = false;
  bool reaped_ = false;
  std::string output_;
};

// A fresh empty directory under the test temporary directory, removed with
// its contents when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  // Writes `content` to `name` inside the directory; returns the full path.
  std::string Write(const std::string& name, std::string_view content) const;

 private:
  std::string path_;
};

// Reads a whole file; empty when it cannot be read.
std::string ReadFile(const std::string& path);

}  // namespace tavorin::testing

#endif  // TAVORIN_TESTING_PTY_SESSION_H_
