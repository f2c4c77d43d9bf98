#include "testing/child_process.h"

#include <stdio.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tavorin::testing {
namespace {

// A memory file: no pipe capacity to fill, so the child never blocks on it.
int memory_file(const char* name, std::string_view content) {
  int fd = memfd_create(name, 0);
  if (fd < 0) return -1;
  size_t done = 0;
  while (done < content.size()) {
    ssize_t n = write(fd, content.data() + done, content.size() - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  lseek(fd, 0, SEEK_SET);
  return fd;
}

std::string read_all(int fd) {
  std::string text;
  lseek(fd, 0, SEEK_SET);
  char buffer[65536];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) {
    text.append(buffer, static_cast<size_t>(n));
  }
  return text;
}

}  // namespace

ChildResult RunChild(const std::function<int()>& body, std::string_view input) {
  ChildResult result;
  int in = memory_file("stdin", input);
  int out = memory_file("stdout", {});
  int err = memory_file("stderr", {});
  fflush(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    clearerr(stdin);
    int status = body();
    fflush(stdout);
    _exit(status);
  }
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid) {
    result.status = WIFEXITED(status) ? WEXITSTATUS(status)
                    : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
  }
  result.out = read_all(out);
  result.err = read_all(err);
  close(in);
  close(out);
  close(err);
  return result;
}

}  // namespace tavorin::testing
