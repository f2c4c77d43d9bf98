#include "testing/pty_session.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tavorin::testing {
namespace {

using Clock = std::chrono::steady_clock;

int remaining_ms(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

pid_t fork_on_pty(const PtyOptions& options, int* master) {
  struct termios settings;
  memset(&settings, 0, sizeof settings);
  settings.c_iflag = ICRNL | IXON | IUTF8;
  settings.c_oflag = options.output_processing ? (OPOST | ONLCR) : 0;
  settings.c_cflag = CS8 | CREAD;
  settings.c_lflag = ISIG | ICANON | IEXTEN | (options.echo ? (ECHO | ECHOE | ECHOK) : 0);
  settings.c_cc[VINTR] = 3;
  settings.c_cc[VQUIT] = 034;
  settings.c_cc[VERASE] = 0177;
  settings.c_cc[VKILL] = 025;
  settings.c_cc[VEOF] = 4;
  settings.c_cc[VSTART] = 021;
  settings.c_cc[VSTOP] = 023;
  settings.c_cc[VSUSP] = 032;
  settings.c_cc[VMIN] = 1;
  cfsetispeed(&settings, B38400);
  cfsetospeed(&settings, B38400);
  struct winsize size = {24, 80, 0, 0};
  fflush(nullptr);
  pid_t pid = forkpty(master, nullptr, &settings, &size);
  if (pid == 0 && !options.cwd.empty() && chdir(options.cwd.c_str()) != 0) _exit(126);
  return pid;
}

}  // namespace

std::unique_ptr<PtySession> PtySession::Exec(const std::vector<std::string>& argv,
                                             const PtyOptions& options) {
  std::vector<char*> list;
  for (const std::string& arg : argv) list.push_back(const_cast<char*>(arg.c_str()));
  list.push_back(nullptr);
  int master = -1;
  pid_t pid = fork_on_pty(options, &master);
  if (pid < 0) return nullptr;
  if (pid == 0) {
    execv(list[0], list.data());
    _exit(127);
  }
  return std::unique_ptr<PtySession>(new PtySession(pid, master));
}

std::unique_ptr<PtySession> PtySession::Run(const std::function<int()>& body,
                                            const PtyOptions& options) {
  int master = -1;
  pid_t pid = fork_on_pty(options, &master);
  if (pid < 0) return nullptr;
  if (pid == 0) {
    int status = body();
    fflush(stdout);
    _exit(status);
  }
  return std::unique_ptr<PtySession>(new PtySession(pid, master));
}

PtySession::~PtySession() {
  if (!reaped_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  close(master_);
}

bool PtySession::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = write(master_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

bool PtySession::ReadSome(int timeout_ms) {
  if (closed_) return false;
  struct pollfd fd = {master_, POLLIN, 0};
  int ready = poll(&fd, 1, timeout_ms);
  if (ready <= 0) return ready == 0 || errno == EINTR;
  char buffer[65536];
  ssize_t n = read(master_, buffer, sizeof buffer);
  if (n > 0) {
    output_.append(buffer, static_cast<size_t>(n));
    return true;
  }
  if (n < 0 && (errno == EINTR || errno == EAGAIN)) return true;
  closed_ = true;  // EIO: every slave descriptor is closed.
  return false;
}

bool PtySession::WaitFor(std::string_view text, int timeout_ms, size_t from) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    if (output_.size() >= from && output_.find(text, from) != std::string::npos) return true;
    int left = remaining_ms(deadline);
    if (left == 0 || !ReadSome(left)) return false;
  }
}

int PtySession::Wait(int timeout_ms) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  // The terminal is drained while waiting: a child blocked on a full
  // terminal would never exit. A pidfd tells when the child has ended.
  int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
  int status = 0;
  bool ended = false;
  while (!ended) {
    int left = remaining_ms(deadline);
    if (left == 0) break;
    struct pollfd fds[2] = {{closed_ ? -1 : master_, POLLIN, 0}, {pidfd, POLLIN, 0}};
    if (poll(fds, 2, left) < 0 && errno != EINTR) break;
    if (fds[0].revents != 0) ReadSome(0);
    if (fds[1].revents != 0) ended = waitpid(pid_, &status, 0) == pid_;
  }
  if (pidfd >= 0) close(pidfd);
  if (!ended) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    reaped_ = true;
    return -1;
  }
  reaped_ = true;
  // What the child wrote before it ended is already there to read.
  for (;;) {
    struct pollfd fd = {master_, POLLIN, 0};
    if (closed_ || poll(&fd, 1, 0) <= 0 || !ReadSome(0)) break;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

TempDir::TempDir() {
  const char* base = getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && *base ? base : "/tmp") + "/tavorin.XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) != nullptr) path_ = buffer.data();
}

TempDir::~TempDir() {
  if (path_.empty()) return;
  std::error_code ignored;
  // Restore search and write rights first, so that what a test locked can go.
  for (auto it = std::filesystem::recursive_directory_iterator(
           path_, std::filesystem::directory_options::skip_permission_denied, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    }
  }
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& name, std::string_view content) const {
  std::string full = path_ + "/" + name;
  std::ofstream out(full, std::ios::binary);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  return full;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

}  // namespace tavorin::testing
