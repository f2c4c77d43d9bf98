// Fuzzes the comparison against a plain model of it: the input is split
// into two files at its first 0xFF 0xFE pair (or in the middle), both are
// compared, and the outcome, the line number and the echo must match what
// the model computes.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "app/compare.h"

namespace {

int memory_file(const std::string& content) {
  int fd = memfd_create("fuzz", 0);
  size_t done = 0;
  while (done < content.size()) {
    ssize_t n = write(fd, content.data() + done, content.size() - done);
    if (n <= 0) abort();
    done += static_cast<size_t>(n);
  }
  lseek(fd, 0, SEEK_SET);
  return fd;
}

std::string read_all(int fd) {
  std::string text;
  lseek(fd, 0, SEEK_SET);
  char buffer[4096];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
  return text;
}

// Pieces as the comparison sees them: up to 254 bytes, ending after "\n".
std::vector<std::string> model_pieces(const std::string& text) {
  std::vector<std::string> pieces;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = at;
    while (end < text.size() && end - at < 254) {
      if (text[end++] == '\n') break;
    }
    pieces.push_back(text.substr(at, end - at));
    at = end;
  }
  return pieces;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t split = input.find("\xff\xfe");
  std::string first = split == std::string::npos ? input.substr(0, size / 2) : input.substr(0, split);
  std::string second = split == std::string::npos ? input.substr(size / 2) : input.substr(split + 2);

  // The model.
  std::vector<std::string> a = model_pieces(first), b = model_pieces(second);
  std::string echo;
  long long lines = 0;
  bool identical = false;
  for (size_t i = 0;; ++i) {
    bool end_a = i >= a.size(), end_b = i >= b.size();
    if (end_a && end_b) {
      identical = true;
      break;
    }
    ++lines;
    if (!end_a) echo += a[i];
    if (!end_b) echo += b[i];
    if (end_a || end_b || a[i] != b[i]) break;
  }

  int fa = memory_file(first), fb = memory_file(second), out = memfd_create("echo", 0);
  auto ra = std::make_unique<tavorin::LineReader>(fa);
  auto rb = std::make_unique<tavorin::LineReader>(fb);
  auto sink = std::make_unique<tavorin::EchoBuffer>(out);
  tavorin::Comparison result = tavorin::compare_files(*ra, *rb, *sink);
  sink->Flush();
  std::string written = read_all(out);
  close(fa);
  close(fb);
  close(out);

  bool expected = identical ? result.outcome == tavorin::Comparison::kIdentical
                            : result.outcome == tavorin::Comparison::kDifferent;
  if (!expected || result.lines != lines || written != echo) abort();
  return 0;
}
