// Reading a file as the comparison sees it: pieces of at most 254 bytes, each
// ending just after a line end when one comes within 254 bytes. A longer line
// is thus several pieces, and only the last carries the line end. NUL bytes
// are ordinary bytes of a piece.
#ifndef TAVORIN_APP_LINE_READER_H_
#define TAVORIN_APP_LINE_READER_H_

#include <stddef.h>
#include <sys/types.h>

namespace tavorin {

class LineReader {
 public:
  static constexpr size_t kMaxPiece = 254;

  explicit LineReader(int fd) : fd_(fd) {}
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Points `piece` at the next piece and returns its length; 0 at end of
  // file, -1 on a read error (errno tells which). The piece stays valid until
  // the next call.
  ssize_t Next(const char** piece);

 private:
  // Moves what is left to the front and reads more; false on a read error.
  bool Refill();

  static constexpr size_t kCapacity = 128 * 1024;
  int fd_;
  size_t begin_ = 0;
  size_t end_ = 0;
  bool at_end_ = false;
  char buffer_[kCapacity];
};

}  // namespace tavorin

#endif  // TAVORIN_APP_LINE_READER_H_
