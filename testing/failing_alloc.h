// Allocation failure on demand, for the paths that handle running out of
// memory. The test binary is linked with --wrap for calloc and realloc, so
// every call of those goes through a wrapper that can be told to fail.
#ifndef TAVORIN_TESTING_FAILING_ALLOC_H_
#define TAVORIN_TESTING_FAILING_ALLOC_H_

namespace tavorin::testing {

// Makes the allocation after the next `skip` ones (calloc or realloc) return
// a null pointer with errno set to ENOMEM. A negative `skip` disarms it.
void FailAllocationAfter(int skip);

}  // namespace tavorin::testing

#endif  // TAVORIN_TESTING_FAILING_ALLOC_H_
