#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "gtest/gtest.h"
#include "testing/child_process.h"
#include "toolkit/console/console.h"

namespace {

using tavorin::testing::RunChild;

// Reads what is left of standard input after `body` ran, so that a test sees
// exactly what a routine consumed.
std::string rest_of_input() {
  std::string rest;
  for (int c; (c = getchar()) != EOF;) rest += static_cast<char>(c);
  return rest;
}

TEST(Getsfix, KeepsTheLineEndAndSwallowsTheNextLine) {
  struct Case {
    const char* name;
    std::string input;
    std::string buffer;
    std::string left;
  } cases[] = {
      {"short line", "0123456789\nlost\nkept\n", "0123456789\n", "kept\n"},
      {"300 characters", std::string(300, 'a') + "\nkept\n", std::string(254, 'a'), "kept\n"},
      {"254 characters", std::string(254, 'b') + "\nkept\n", std::string(254, 'b'), "kept\n"},
      {"253 characters", std::string(253, 'c') + "\nlost\nkept\n", std::string(253, 'c') + "\n",
       "kept\n"},
      {"no line end at end of input", "abc", "abc", ""},
  };
  for (const Case& c : cases) {
    auto result = RunChild(
        [&] {
          char buffer[255];
          printf("%s|", getsfix(buffer, 255));
          printf("%s", rest_of_input().c_str());
          return 0;
        },
        c.input);
    EXPECT_EQ(c.buffer + "|" + c.left, result.out) << c.name;
  }
}

TEST(Getsfix, LeavesTheBufferAsItWasAtEndOfInput) {
  auto result = RunChild([] {
    char buffer[255] = "earlier";
    printf("%s", getsfix(buffer, 255));
    return 0;
  });
  EXPECT_EQ("earlier", result.out);
}

TEST(Fpurge, StopsAfterTheLineEndOrAtEndOfInput) {
  auto result = RunChild(
      [] {
        int first = fpurge(stdin);
        std::string rest = rest_of_input();
        int second = fpurge(stdin);
        printf("%d|%s|%d", first, rest.c_str(), second);
        return 0;
      },
      "abc\nnext");
  EXPECT_EQ("0|next|-1", result.out);
}

TEST(Getsdyn, DiscardsOneLineThenReadsAnyLength) {
  struct Case {
    std::string input;
    std::string line;
  } cases[] = {
      {"lost\n\nkept", ""},
      {"lost\n" + std::string(100, 'a') + "\nkept", std::string(100, 'a')},
      {"lost\n" + std::string(200, 'b') + "\n", std::string(200, 'b')},
      {"lost\n" + std::string(1234, 'c'), std::string(1234, 'c')},
      {"lost\nr\xe9\r\n", "r\xe9\r"},
  };
  for (const Case& c : cases) {
    auto result = RunChild(
        [] {
          char* line = getsdyn(nullptr);
          fwrite(line, 1, strlen(line), stdout);
          free(line);
          return 0;
        },
        c.input);
    EXPECT_EQ(c.line, result.out) << "length " << c.line.size();
  }
}

TEST(Pause, WritesTheMarkAndReadsOneCharacter) {
  auto result = RunChild(
      [] {
        Pause();
        printf("|%s", rest_of_input().c_str());
        return 0;
      },
      "x\nmore");
  EXPECT_EQ("...|\nmore", result.out);
}

TEST(DPause, ReadsTwoCharacters) {
  auto result = RunChild(
      [] {
        DPause();
        printf("|%s", rest_of_input().c_str());
        return 0;
      },
      "\ny\nz");
  EXPECT_EQ("...|\nz", result.out);
}

TEST(Pause, ReturnsAtEndOfInput) {
  auto result = RunChild([] {
    Pause();
    DPause();
    return 3;
  });
  EXPECT_EQ("......", result.out);
  EXPECT_EQ(3, result.status);
}

}  // namespace
