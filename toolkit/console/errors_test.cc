#include <errno.h>

#include <string>

#include "gtest/gtest.h"
#include "testing/child_process.h"
#include "toolkit/console/console.h"

namespace {

using tavorin::testing::RunChild;

TEST(Erreur, ReturnsSilentlyWhenTheAllocationSucceeded) {
  auto result = RunChild([] {
    static int block;
    ER = &block;
    Erreur(1);
    Erreur(3);
    return 7;
  });
  EXPECT_EQ(7, result.status);
  EXPECT_EQ("", result.out);
  EXPECT_EQ("", result.err);
}

TEST(Erreur, ReportsPausesTwiceAndEndsWithStatusOne) {
  struct Case {
    int type;
    std::string out;
    std::string err;
  } cases[] = {
      {1,
       "\nErreur d'allocation de m\xe9moire, la m\xe9moire vive est insuffisante.\n...",
       "malloc: Cannot allocate memory\n"},
      {2, "\nErreur lors de la saisie au clavier.\n...", "gets: Cannot allocate memory\n"},
      {3, "...", ""},
  };
  for (const Case& c : cases) {
    auto result = RunChild(
        [&] {
          ER = nullptr;
          errno = ENOMEM;
          Erreur(c.type);
          return 0;
        },
        "a\nb\nc");
    EXPECT_EQ(1, result.status) << "type " << c.type;
    EXPECT_EQ(c.out, result.out) << "type " << c.type;
    EXPECT_EQ(c.err, result.err) << "type " << c.type;
  }
}

TEST(Erreur, WaitsForTwoCharacters) {
  auto result = RunChild(
      [] {
        ER = nullptr;
        atexit([] {
          std::string rest;
          for (int c; (c = getchar()) != EOF;) rest += static_cast<char>(c);
          printf("|%s", rest.c_str());
        });
        Erreur(3);
        return 0;
      },
      "a\nb\n");
  EXPECT_EQ("...|b\n", result.out);
}

TEST(Fuck, DrawsNineLinesThenPauses) {
  auto result = RunChild([] {
    Fuck();
    return 0;
  });
  ASSERT_EQ('\n', result.out[0]);
  int lines = 0;
  for (char c : result.out) lines += c == '\n';
  EXPECT_EQ(10, lines);
  EXPECT_EQ("...", result.out.substr(result.out.size() - 3));
}

}  // namespace
