#include "app/echo_buffer.h"

#include <errno.h>
#include <unistd.h>

namespace tavorin {

void EchoBuffer::Flush() {
  size_t done = 0;
  while (fd_ >= 0 && done < used_) {
    ssize_t n = write(fd_, buffer_ + done, used_ - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      break;
    }
  }
  used_ = 0;
}

}  // namespace tavorin
