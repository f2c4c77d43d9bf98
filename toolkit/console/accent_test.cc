#include <string.h>

#include <string>

#include "gtest/gtest.h"
#include "testing/child_process.h"
#include "toolkit/console/console.h"

namespace {

using tavorin::testing::RunChild;

TEST(Acc, CopiesUnchangedAndReturnsTheDestination) {
  char destination[32] = "previous";
  EXPECT_EQ(destination, acc("", destination));
  EXPECT_STREQ("", destination);
  EXPECT_STREQ("r\xe9sum\xe9 \xe0 100%", acc("r\xe9sum\xe9 \xe0 100%", destination));
}

TEST(Putsacc, WritesTheTextAsItIsWithNoLineEnd) {
  struct Case {
    std::string text;
    std::string written;
  } cases[] = {
      {"", ""},
      {"100% %s %d", "100% %s %d"},
      {"deuxi\xe8me \xe0", "deuxi\xe8me \xe0"},
      {"ligne\n?: ", "ligne\n?: "},
      // A text longer than a line buffer is cut to its 254 first characters.
      {std::string(300, 'x'), std::string(254, 'x')},
  };
  for (const Case& c : cases) {
    auto result = RunChild([&] {
      putsacc(c.text.c_str());
      return 0;
    });
    EXPECT_EQ(c.written, result.out);
  }
}

TEST(Accchar, GivesBackTheCharacter) {
  EXPECT_EQ('\xe8', accchar('\xe8'));
  EXPECT_EQ('a', accchar('a'));
}

TEST(Transacc, LeavesTextsUnchangedWhateverTheirLength) {
  char text[] = "\xe9t\xe9";
  transacc(text);
  EXPECT_STREQ("\xe9t\xe9", text);

  std::string longer(5000, 'y');
  transacc(&longer[0]);
  EXPECT_EQ(std::string(5000, 'y'), longer.c_str()) << "nothing is lost past chfunc's size";
}

TEST(Changeslash, TurnsEveryBackslashIntoASlash) {
  char path[] = "a\\b\\c";
  changeslash(path);
  EXPECT_STREQ("a/b/c", path);
  char plain[] = "a/b.c";
  changeslash(plain);
  EXPECT_STREQ("a/b.c", plain);
}

}  // namespace
