// Feeds arbitrary byte streams to the line editor as standard input, one line
// entry after the other with the profile changing at each entry, and checks
// what every entry returns and writes.
//
// The first byte picks the first profile (0 to 7: 0 and 7 act as 1); the
// rest is the keyboard. Standard input and output are memory files.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdio_ext.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

#include <string>

#include "toolkit/editor/editor.h"

namespace {

/* Stops the run with the broken invariant named, for libFuzzer to report. */
void require(bool ok, const char* what) {
  if (!ok) {
    fprintf(stderr, "editor invariant broken: %s\n", what);
    abort();
  }
}

/* What typing can put in a line, by profile: written out here, apart from
   the editor's own table. */
const char* typed_characters(int profile) {
  switch (profile) {
    case 2: return "0123456789d qQ";
    case 3: return "0123456789+-/qQ";
    case 4: return "0123456789+-*/().!EFqQ";
    case 5: return "0123456789+-*/().qQ";
    case 6: return "0123456789MNRSmnrsqQ";
    default: return "0123456789qQ";
  }
}

/* Every character some history slot holds: what a recall can bring. */
std::string history_characters() {
  std::string all;
  for (const char* slot : historique.ligne) {
    require(memchr(slot, '\0', 255) != nullptr, "history slot without NUL");
    all += slot;
  }
  return all;
}

/* Everything the entry wrote to standard output. */
std::string read_output() {
  fflush(stdout);
  std::string out;
  char buffer[4096];
  off_t at = 0;
  for (ssize_t n; (n = pread(1, buffer, sizeof buffer, at)) > 0; at += n) {
    out.append(buffer, static_cast<size_t>(n));
  }
  return out;
}

/* Replays what the entry wrote on a model screen line: BS moves left, any
   other byte is drawn and moves right, the line feed ends the entry. The
   terminal's cursor must never leave the line's columns, the screen must
   show the line returned followed only by blanks, and the cursor must end
   within the line. */
void check_screen(const std::string& written, const std::string& line) {
  require(!written.empty() && written.back() == '\n', "entry does not end with a line feed");
  char screen[255];
  memset(screen, ' ', sizeof screen);
  int column = 0;
  int widest = 0;
  for (size_t i = 0; i + 1 < written.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(written[i]);
    if (b == 8) {
      require(column > 0, "cursor moved left of the line");
      --column;
      continue;
    }
    require(b >= 0x20 && b < 0x7F, "non-printable byte written");
    require(column < 254, "cursor moved past column 254");
    screen[column++] = static_cast<char>(b);
    if (column > widest) widest = column;
  }
  require(line.compare(0, line.size(), screen, line.size()) == 0, "screen differs from the line");
  for (int i = static_cast<int>(line.size()); i < widest; ++i) {
    require(screen[i] == ' ', "screen keeps characters past the line");
  }
  require(column <= static_cast<int>(line.size()), "cursor past the end of the line");
}

}  // namespace

/* Standard input and output become memory files for the whole run. */
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  int keys = memfd_create("keys", 0);
  int screen = memfd_create("screen", 0);
  if (keys < 0 || screen < 0 || dup2(keys, 0) < 0 || dup2(screen, 1) < 0) abort();
  close(keys);
  close(screen);
  return 0;
}

/* One input: entries follow each other until the keys run out. */
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  int profile = data[0] % 8;
  if (ftruncate(0, 0) != 0) abort();
  if (size > 1 && pwrite(0, data + 1, size - 1, 0) != static_cast<ssize_t>(size - 1)) abort();
  lseek(0, 0, SEEK_SET);
  __fpurge(stdin);
  clearerr(stdin);
  init_historique_saisie();

  for (size_t entries = 0;; ++entries) {
    require(entries <= size, "an entry consumed no input");
    std::string allowed = std::string(typed_characters(profile)) + history_characters();
    fflush(stdout);
    if (ftruncate(1, 0) != 0) abort();
    lseek(1, 0, SEEK_SET);

    char target[300];
    memset(target, 0x55, sizeof target);
    char* returned = nomajloc(target, profile);
    require(returned == target, "target not returned");
    require(memchr(target, '\0', 255) != nullptr, "line longer than 254 characters");
    std::string line(target);
    for (char c : line) require(allowed.find(c) != std::string::npos, "character no key gives");
    check_screen(read_output(), line);

    require(historique.index_ecriture >= 0 && historique.index_ecriture <= 9, "write index");
    require(historique.index_parcours >= 0 && historique.index_parcours <= 9, "browse index");
    if (!line.empty()) {
      int newest = (historique.index_ecriture + 9) % 10;
      require(line == historique.ligne[newest], "line not recorded as the newest");
    }
    if (feof(stdin)) break;
    profile = (profile + 1) % 8;
  }
  return 0;
}
