// Running out of memory: the memory message through the accent hook,
// "malloc" and the system's reason on standard error, a pause for two
// characters, status 1.
#include <stdlib.h>

#include <string>

#include "gtest/gtest.h"
#include "testing/child_process.h"
#include "testing/failing_alloc.h"
#include "toolkit/console/console.h"

namespace {

using tavorin::testing::FailAllocationAfter;
using tavorin::testing::RunChild;

const char kMemoryMessage[] =
    "\nErreur d'allocation de m\xe9moire, la m\xe9moire vive est insuffisante.\n...";

TEST(AllocationFailure, EndsTheProgramWithTheMemoryMessage) {
  struct Case {
    const char* where;
    int skip;
    std::function<void()> call;
    std::string input;
  } cases[] = {
      {"getsdyn, first block", 0, [] { free(getsdyn(nullptr)); }, "lost\nkept\n12"},
      {"getsdyn, growing past 100 bytes", 1, [] { free(getsdyn(nullptr)); },
       "lost\n" + std::string(150, 'x') + "\n12"},
      {"ouvre_fichier, copy of the name", 0, [] { ouvre_fichier("/etc/hostname", "r"); }, "12"},
  };
  for (const Case& c : cases) {
    auto result = RunChild(
        [&] {
          FailAllocationAfter(c.skip);
          c.call();
          return 0;
        },
        c.input);
    EXPECT_EQ(1, result.status) << c.where;
    EXPECT_EQ(kMemoryMessage, result.out) << c.where;
    EXPECT_EQ("malloc: Cannot allocate memory\n", result.err) << c.where;
  }
}

TEST(AllocationFailure, LetsOtherAllocationsThrough) {
  auto result = RunChild(
      [] {
        FailAllocationAfter(5);
        char* line = getsdyn(nullptr);
        printf("%s", line);
        free(line);
        return 0;
      },
      "lost\n" + std::string(150, 'y') + "\n");
  EXPECT_EQ(0, result.status);
  EXPECT_EQ(std::string(150, 'y'), result.out);
}

}  // namespace
