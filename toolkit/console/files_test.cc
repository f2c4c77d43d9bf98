#include <stdio.h>
#include <string.h>

#include <string>

#include "gtest/gtest.h"
#include "testing/child_process.h"
#include "testing/pty_session.h"
#include "toolkit/console/console.h"

namespace {

using tavorin::testing::RunChild;
using tavorin::testing::TempDir;

TEST(OuvreFichier, OpensAPathWrittenWithBackslashes) {
  TempDir dir;
  dir.Write("notes.txt", "contenu\n");
  std::string name = dir.path() + "\\notes.txt";
  FILE* stream = ouvre_fichier(name.c_str(), "r");
  ASSERT_NE(nullptr, stream);
  char line[32] = "";
  EXPECT_STREQ("contenu\n", fgets(line, sizeof line, stream));
  fclose(stream);
  EXPECT_EQ(dir.path() + "\\notes.txt", name) << "the caller's name is not changed";
}

// Every failure writes the message with the converted name and the mode,
// pauses on the same line and ends the process with status 1.
TEST(OuvreFichier, StopsTheProgramWhenTheFileCannotBeOpened) {
  TempDir dir;
  std::string base = dir.path();
  struct Case {
    const char* why;
    std::string name;
    std::string shown;
  } cases[] = {
      {"missing, typed with backslashes", base + "\\absent\\x.txt", base + "/absent/x.txt"},
      {"empty name", "", ""},
      {"a directory", base, base},
  };
  for (const Case& c : cases) {
    auto result = RunChild(
        [&] {
          ouvre_fichier(c.name.c_str(), "r");
          return 0;
        },
        "\n");
    EXPECT_EQ(1, result.status) << c.why;
    EXPECT_EQ("\n!!! Une erreur est survenue durant l'ouverture du fichier " + c.shown +
                  ", en mode r...",
              result.out)
        << c.why;
  }
}

TEST(OuvreFichier, CutsAVeryLongNameInItsMessage) {
  std::string name(5000, 'n');
  auto result = RunChild([&] {
    ouvre_fichier(name.c_str(), "w");
    return 0;
  });
  EXPECT_EQ(1, result.status);
  EXPECT_NE(std::string::npos, result.out.find(std::string(4095, 'n') + ", en mode w..."));
}

}  // namespace
