#include "testing/child_process.h"

#include <stdio.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tavorin::testing {
// A memory file: no pipe capacity to fill, so a child never blocks on it.
int MemoryFile(std::string_view content) {
  int fd = memfd_create("content", 0);
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

std::string ReadAll(int fd) {
  std::string text;
  lseek(fd, 0, SEEK_SET);
  char buffer[65536];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) {
    text.append(buffer, static_cast<size_t>(n));
  }
  return text;
}

ChildResult RunChild(const std::function<int()>& body, std::string_view input) {
  ChildResult result;
  int in = MemoryFile(input);
  int out = MemoryFile({});
  int err = MemoryFile({});
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
  result.out = ReadAll(out);
  result.err = ReadAll(err);
  close(in);
  close(out);
  close(err);
  return result;
}

}  // namespace tavorin::testing
