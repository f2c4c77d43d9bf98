#include "testing/x_display.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace tavorin::testing {
namespace {

using Clock = std::chrono::steady_clock;

int remaining_ms(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Waits for `pid` to end within `timeout_ms`; true when it was reaped.
bool reap_within(pid_t pid, int timeout_ms) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    pid_t done = waitpid(pid, nullptr, WNOHANG);
    if (done == pid || (done < 0 && errno != EINTR)) return true;
    if (remaining_ms(deadline) == 0) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void stop(pid_t pid) {
  kill(pid, SIGTERM);
  if (reap_within(pid, 5000)) return;
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

// Reads what is available on `fd` into `text` until end of input or the
// deadline. Returns false at the deadline.
bool read_until_end(int fd, Clock::time_point deadline, std::string* text,
                    bool stop_at_line_end) {
  for (;;) {
    if (stop_at_line_end && text->find('\n') != std::string::npos) return true;
    int left = remaining_ms(deadline);
    if (left == 0) return false;
    struct pollfd ready = {fd, POLLIN, 0};
    int n = poll(&ready, 1, left);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) return false;  // the deadline
    if (n < 0) return true;    // nothing more can be read
    char buffer[4096];
    ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return true;
    text->append(buffer, static_cast<size_t>(got));
  }
}

// What a server wrote to its error file, for a failure message.
std::string error_text(int fd) {
  std::string text;
  char buffer[4096];
  off_t offset = 0;
  for (;;) {
    ssize_t got = pread(fd, buffer, sizeof buffer, offset);
    if (got <= 0) break;
    text.append(buffer, static_cast<size_t>(got));
    offset += got;
  }
  return text;
}

}  // namespace

std::unique_ptr<XDisplay> XDisplay::Start(std::string* error) {
  std::string xvfb = FindInPath("Xvfb");
  if (xvfb.empty()) {
    *error = "Xvfb is not installed";
    return nullptr;
  }
  int ready[2];
  if (pipe2(ready, O_CLOEXEC) != 0) {
    *error = std::string("pipe: ") + strerror(errno);
    return nullptr;
  }
  // The server's messages go to an unnamed file, shown only if it fails.
  const char* base = getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && *base ? base : "/tmp") + "/xvfb.XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int log = mkostemp(name.data(), O_CLOEXEC);
  if (log >= 0) unlink(name.data());

  std::string fd_text = std::to_string(ready[1]);
  std::vector<std::string> args = {xvfb,     "-displayfd", fd_text, "-nolisten",
                                   "tcp",    "-screen",    "0",     "800x600x24"};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(&arg[0]);
  argv.push_back(nullptr);

  fflush(nullptr);
  pid_t pid = fork();
  if (pid < 0) {
    *error = std::string("fork: ") + strerror(errno);
    close(ready[0]);
    close(ready[1]);
    if (log >= 0) close(log);
    return nullptr;
  }
  if (pid == 0) {
    // The server goes with the test process, even if that one is killed.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    setpgid(0, 0);
    int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    dup2(log >= 0 ? log : null, 2);
    fcntl(ready[1], F_SETFD, 0);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(ready[1]);

  std::string number;
  bool in_time = read_until_end(ready[0], Clock::now() + std::chrono::seconds(15), &number, true);
  close(ready[0]);
  size_t end = number.find('\n');
  if (!in_time || end == std::string::npos || end == 0) {
    stop(pid);
    *error = std::string(in_time ? "Xvfb ended without a display" : "Xvfb did not start in time");
    if (log >= 0) {
      *error += ": " + error_text(log);
      close(log);
    }
    return nullptr;
  }
  if (log >= 0) close(log);
  return std::unique_ptr<XDisplay>(new XDisplay(pid, ":" + number.substr(0, end)));
}

XDisplay::~XDisplay() { stop(pid_); }

std::string FindInPath(const std::string& name) {
  const char* path = getenv("PATH");
  std::string dirs = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  for (;;) {
    size_t colon = dirs.find(':', start);
    std::string dir = dirs.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
    std::string full = (dir.empty() ? std::string(".") : dir) + "/" + name;
    struct stat info;
    if (stat(full.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(full.c_str(), X_OK) == 0) {
      return full;
    }
    if (colon == std::string::npos) return std::string();
    start = colon + 1;
  }
}

std::string RunXTool(const std::string& display, const std::vector<std::string>& argv,
                     int timeout_ms) {
  std::string program = FindInPath(argv.at(0));
  if (program.empty()) return std::string();
  std::vector<std::string> args = argv;
  std::vector<char*> list;
  for (std::string& arg : args) list.push_back(&arg[0]);
  list.push_back(nullptr);
  std::string display_entry = "DISPLAY=" + display;
  std::vector<char*> env;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (strncmp(*entry, "DISPLAY=", 8) != 0) env.push_back(*entry);
  }
  env.push_back(&display_entry[0]);
  env.push_back(nullptr);

  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return std::string();
  fflush(nullptr);
  pid_t pid = fork();
  if (pid < 0) {
    close(out[0]);
    close(out[1]);
    return std::string();
  }
  if (pid == 0) {
    int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(out[1], 1);
    dup2(null, 2);
    execve(program.c_str(), list.data(), env.data());
    _exit(127);
  }
  close(out[1]);
  std::string text;
  bool in_time = read_until_end(out[0], Clock::now() + std::chrono::milliseconds(timeout_ms),
                                &text, false);
  close(out[0]);
  if (!in_time) kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  return in_time && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? text : std::string();
}

}  // namespace tavorin::testing
