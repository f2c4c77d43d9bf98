#include "app/line_reader.h"

#include <errno.h>
#include <string.h>
#include <unistd.h>

namespace tavorin {

/* A piece is cut at the first line end within 254 bytes, or after 254 bytes,
   or at the end of the file. The buffer is refilled only when fewer than 254
   bytes are left and none of them is a line end, so most pieces cost one
   memchr over bytes already in memory. */
ssize_t LineReader::Next(const char** piece) {
  for (;;) {
    size_t available = end_ - begin_;
    size_t limit = available < kMaxPiece ? available : kMaxPiece;
    const char* start = buffer_ + begin_;
    const void* line_end = memchr(start, '\n', limit);
    size_t length = 0;
    if (line_end != nullptr) {
      length = static_cast<size_t>(static_cast<const char*>(line_end) - start) + 1;
    } else if (available >= kMaxPiece || at_end_) {
      length = limit;
    } else if (!Refill()) {
      return -1;
    } else {
      continue;
    }
    begin_ += length;
    *piece = start;
    return static_cast<ssize_t>(length);
  }
}

bool LineReader::Refill() {
  size_t available = end_ - begin_;
  memmove(buffer_, buffer_ + begin_, available);
  begin_ = 0;
  end_ = available;
  for (;;) {
    ssize_t n = read(fd_, buffer_ + end_, kCapacity - end_);
    if (n > 0) {
      end_ += static_cast<size_t>(n);
      return true;
    }
    if (n == 0) {
      at_end_ = true;
      return true;
    }
    if (errno != EINTR) return false;
  }
}

}  // namespace tavorin
