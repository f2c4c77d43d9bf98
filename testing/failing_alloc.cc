#include "testing/failing_alloc.h"

#include <errno.h>
#include <stddef.h>

extern "C" void* __real_calloc(size_t count, size_t size);
extern "C" void* __real_realloc(void* block, size_t size);

namespace {

int countdown = -1;

// True when this allocation is the one to fail.
bool fails_now() {
  if (countdown < 0) return false;
  if (countdown-- > 0) return false;
  errno = ENOMEM;
  return true;
}

}  // namespace

namespace tavorin::testing {

void FailAllocationAfter(int skip) { countdown = skip; }

}  // namespace tavorin::testing

extern "C" void* __wrap_calloc(size_t count, size_t size) {
  return fails_now() ? nullptr : __real_calloc(count, size);
}

extern "C" void* __wrap_realloc(void* block, size_t size) {
  return fails_now() ? nullptr : __real_realloc(block, size);
}
