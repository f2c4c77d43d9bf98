// Fuzzes interpret_calc with arbitrary given texts.
//
// Standard input is /dev/null, so every pause returns at once; standard
// output is a memory file, read back after each call. Checked beyond the
// sanitizers: an evaluation either writes nothing, or writes exactly one
// message that begins with "Erreur: " and ends with the pause mark and
// returns the error result; a text longer than a line is refused; a text
// whose only line end comes first is empty. An empty text would start the line editor, so
// the typed path is left to the terminal tests.
#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

#include <string>

#include "toolkit/calc/calc.h"

namespace {

int output_fd = -1;

std::string take_output() {
  fflush(stdout);
  std::string written;
  char buffer[4096];
  off_t at = 0;
  ssize_t n;
  while ((n = pread(output_fd, buffer, sizeof buffer, at)) > 0) {
    written.append(buffer, static_cast<size_t>(n));
    at += n;
  }
  // Descriptor 1 shares this file's offset: rewind it with the truncation.
  if (ftruncate(output_fd, 0) != 0 || lseek(output_fd, 0, SEEK_SET) != 0) abort();
  return written;
}

bool starts_with(const std::string& text, const char* prefix) {
  return text.compare(0, strlen(prefix), prefix) == 0;
}

bool ends_with(const std::string& text, const char* suffix) {
  size_t n = strlen(suffix);
  return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  int null = open("/dev/null", O_RDONLY);
  output_fd = memfd_create("calc_fuzz_output", 0);
  if (null < 0 || output_fd < 0 || dup2(null, 0) < 0) abort();
  fflush(stdout);
  if (dup2(output_fd, 1) < 0) abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  text.resize(strlen(text.c_str()));  // a text ends at its first NUL
  if (text.empty()) return 0;
  clearerr(stdin);

  float value = interpret_calc(text.c_str());
  std::string written = take_output();

  bool error = value == 12345678.0f;
  // Longer than a line (its line end counts): refused.
  if (text.size() > 254 &&
      (!error || written != "Erreur: l'expression d\xe9passe 254 caract\xe8res...")) {
    abort();
  }
  // Nothing before the last line end: the empty-expression result, silently.
  if (text.size() <= 254 && text.rfind('\n') == 0 &&
      (value != 1111111.0f || !written.empty())) {
    abort();
  }
  if (written.empty()) return 0;  // a computed value (which may equal a reserved one)
  if (!error || !starts_with(written, "Erreur: ") || !ends_with(written, "...")) {
    fprintf(stderr, "bad outcome %.9g, written \"%s\"\n", static_cast<double>(value),
            written.c_str());
    abort();
  }
  // One message: a second "Erreur: " would mean two faults were reported.
  if (written.find("Erreur: ", 1) != std::string::npos) abort();
  return 0;
}
