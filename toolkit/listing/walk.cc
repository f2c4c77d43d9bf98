// The recursive walk: one line per kept file, subdirectories listed where
// they stand in their parent's stream.
//
// Only the caller's top path is converted (backslashes to slashes) and opened
// by name. Below it every entry is reached through its parent's open
// directory (fstatat, openat), so a name is used exactly as the file system
// gave it: a name holding a backslash is not split into two path parts, and
// a deep tree is not limited by the length of its paths. The backslash paths
// exist only for the lines and the messages.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "toolkit/console/console.h"
#include "toolkit/listing/listing.h"
#include "toolkit/listing/listing_internal.h"

namespace {

// A directory being walked, and the ones above it: a link that leads back to
// one of them is not entered again, or the walk would never end.
struct Level {
  dev_t device;
  ino_t inode;
  bool known;
  const Level* up;
};

/* The lines already written stay written; the message follows them. */
[[noreturn]] void cannot_open(const char* directory) {
  printf("\n!!! Une erreur est survenue durant l'ouverture du dossier %s", directory);
  Pause();
  exit(1);
}

/* Standard output is flushed first so that the lines written there come
   before the report on standard error. */
[[noreturn]] void status_failed(int error) {
  fflush(stdout);
  errno = error;
  perror("Erreur interne lors de l'appel de la fonction stat");
  Pause();
  exit(1);
}

// The status of `name` in `dir`, links followed. A link whose target is
// missing, or that leads round in a loop, has no such status: it counts as
// an entry that is not a directory, like any file. Every other failure ends
// the program.
bool is_directory(DIR* dir, const char* name, struct stat* st) {
  if (fstatat(dirfd(dir), name, st, 0) == 0) return S_ISDIR(st->st_mode);
  int error = errno;
  struct stat link;
  if ((error == ENOENT || error == ELOOP) &&
      fstatat(dirfd(dir), name, &link, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(link.st_mode)) {
    return false;
  }
  status_failed(error);
}

// Types the directory stream reports with certainty; a link's type is that
// of the link, not of what it leads to.
bool known_type(unsigned char type) {
  return type == DT_REG || type == DT_DIR || type == DT_FIFO || type == DT_CHR ||
         type == DT_BLK || type == DT_SOCK;
}

// "directory\name" and a line end: the listing line.
void write_line(FILE* out, const char* directory, const char* name) {
  fputs_unlocked(directory, out);
  putc_unlocked('\\', out);
  fputs_unlocked(name, out);
  putc_unlocked('\n', out);
}

bool on_the_way_down(const struct stat& st, const Level* level) {
  for (; level != nullptr; level = level->up) {
    if (level->known && level->device == st.st_dev && level->inode == st.st_ino) return true;
  }
  return false;
}

// "directory\name" on the heap, checked through ER.
char* entry_path(const char* directory, const char* name) {
  size_t size = strlen(directory) + strlen(name) + 2;
  char* path = static_cast<char*>(malloc(size));
  ER = path;
  Erreur(1);
  snprintf(path, size, "%s\\%s", directory, name);
  return path;
}

DIR* open_below(DIR* parent, const char* name) {
  int fd = openat(dirfd(parent), name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  DIR* dir = fdopendir(fd);
  if (dir == nullptr) close(fd);
  return dir;
}

void walk(DIR* dir, const char* directory, FILE* out, int recursive,
          const char (*table)[255], int count, const Level* up) {
  struct stat self;
  Level here = {0, 0, false, up};
  if (fstat(dirfd(dir), &self) == 0) here = {self.st_dev, self.st_ino, true, up};

  bool queried_one = false;
  for (;;) {
    errno = 0;
    const struct dirent* entry = readdir(dir);
    if (entry == nullptr) {
      // A directory that fails half-way through would otherwise look
      // shorter than it is.
      if (errno != 0) cannot_open(directory);
      return;
    }
    const char* name = entry->d_name;
    if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0) continue;

    // The first entry of a directory is always queried: that is where a
    // directory whose entries cannot be reached shows it. After it, the
    // type the directory stream reports is trusted, except for links and
    // unknown types, which are queried (links are followed).
    struct stat st;
    bool trusted = queried_one && known_type(entry->d_type);
    bool directory_entry = trusted ? entry->d_type == DT_DIR : is_directory(dir, name, &st);
    queried_one = true;
    // A directory reached without a link cannot lead back up the tree.
    if (directory_entry && recursive != 0 && (trusted || !on_the_way_down(st, &here))) {
      char* path = entry_path(directory, name);
      DIR* below = open_below(dir, name);
      if (below == nullptr) cannot_open(path);
      walk(below, path, out, recursive, table, count, &here);
      closedir(below);
      free(path);
    }
    if (!directory_entry && tavorin::extension_kept(name, table, count)) {
      write_line(out, directory, name);
    }
  }
}

}  // namespace

void print_doss(const char* directory, FILE* out, int recursive, const char (*table)[255],
                int count) {
  size_t size = strlen(directory) + 1;
  char* path = static_cast<char*>(malloc(size));
  ER = path;
  Erreur(1);
  memcpy(path, directory, size);
  changeslash(path);
  DIR* dir = opendir(path);
  free(path);
  if (dir == nullptr) cannot_open(directory);
  walk(dir, directory, out, recursive, table, count, nullptr);
  closedir(dir);
}
