// The echo of the comparison: pieces gathered into large blocks, so that a
// terminal receives few large writes instead of one per line.
#ifndef TAVORIN_APP_ECHO_BUFFER_H_
#define TAVORIN_APP_ECHO_BUFFER_H_

#include <stddef.h>
#include <string.h>

namespace tavorin {

class EchoBuffer {
 public:
  // Writes go to `fd`; a negative `fd` discards them (a null sink).
  explicit EchoBuffer(int fd) : fd_(fd) {}
  EchoBuffer(const EchoBuffer&) = delete;
  EchoBuffer& operator=(const EchoBuffer&) = delete;

  void Put(const char* bytes, size_t length) {
    if (length > kCapacity - used_) Flush();
    memcpy(buffer_ + used_, bytes, length);
    used_ += length;
  }
  // Writes out what is gathered. Write errors are ignored, as for any output
  // to the console.
  void Flush();

 private:
  static constexpr size_t kCapacity = 256 * 1024;
  int fd_;
  size_t used_ = 0;
  char buffer_[kCapacity];
};

}  // namespace tavorin

#endif  // TAVORIN_APP_ECHO_BUFFER_H_
