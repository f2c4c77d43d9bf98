#include <string.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "toolkit/console/console.h"

namespace {

TEST(EffaceN, CutsAtTheLastLineEnd) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"abc\n", "abc"},   {"one\ntwo", "one"}, {"one\ntwo\n", "one\ntwo"},
      {"\n", ""},         {"abc", "abc"},      {"", ""},
  };
  for (const Case& c : cases) {
    char text[255];
    strcpy(text, c.text);
    Efface_n(text);
    EXPECT_STREQ(c.expected, text) << "text: " << c.text;
  }
}

TEST(Inttochar, WritesAtMostTenCharacters) {
  struct Case {
    int value;
    const char* expected;
  } cases[] = {
      {0, "0"},
      {-5, "-5"},
      {2147483647, "2147483647"},
      {-999999999, "-999999999"},
      {-1000000000, "-100000000"},
      {-2147483647 - 1, "-214748364"},
  };
  for (const Case& c : cases) {
    char buffer[12];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(buffer, inttochar(c.value, buffer));
    EXPECT_STREQ(c.expected, buffer);
    EXPECT_EQ('x', buffer[11]) << "wrote past 11 bytes for " << c.value;
  }
}

TEST(EffaceChar, KeepsWhatFollowsTheFirstOccurrence) {
  struct Case {
    const char* text;
    const char* pattern;
    const char* expected;
  } cases[] = {
      {"a:b:c", ":", "b:c"}, {"abc:", ":", ""},        {"abc", ":", "abc"},
      {"abcXYdef", "XY", "def"}, {"abc", "", "abc"}, {"", ":", ""},
      {"\\a\\b", "\\", "a\\b"},
  };
  for (const Case& c : cases) {
    char text[255];
    strcpy(text, c.text);
    Efface_char(text, c.pattern);
    EXPECT_STREQ(c.expected, text) << c.text << " / " << c.pattern;
  }
}

TEST(IndexCh, FindsEveryOccurrenceOverlappingOnesIncluded) {
  struct Case {
    const char* text;
    const char* pattern;
    std::vector<int> expected;
  } cases[] = {
      {"/usr/local/bin", "/", {0, 4, 10}},
      {"aaaa", "aa", {0, 1, 2}},
      {"abab", "ab", {0, 2}},
      {"abc", "x", {}},
      {"abc", "", {}},
  };
  for (const Case& c : cases) {
    int table[INDEX_CH_MAX + 1];
    for (int& slot : table) slot = -7;
    int count = index_ch(c.text, c.pattern, table);
    ASSERT_EQ(static_cast<int>(c.expected.size()), count) << c.text << " / " << c.pattern;
    for (int i = 0; i < count; ++i) EXPECT_EQ(c.expected[static_cast<size_t>(i)], table[i]);
    EXPECT_EQ(-7, table[count]) << "the table past the count is untouched";
  }
}

TEST(IndexCh, NeverStoresMoreThanTheTableHolds) {
  std::string text(200, ':');
  int table[INDEX_CH_MAX + 1];
  table[INDEX_CH_MAX] = -7;
  EXPECT_EQ(INDEX_CH_MAX, index_ch(text.c_str(), ":", table));
  EXPECT_EQ(49, table[49]);
  EXPECT_EQ(-7, table[INDEX_CH_MAX]);
}

TEST(IndexCh, SearchesATextLongerThanALineBufferWhole) {
  std::string text = std::string(300, 'a') + "/b";
  int table[INDEX_CH_MAX];
  ASSERT_EQ(1, index_ch(text.c_str(), "/", table));
  EXPECT_EQ(300, table[0]);
}

TEST(IndexChFirst, GivesTheFirstPositionOrMinusOne) {
  EXPECT_EQ(3, index_ch_first("txt:doc", ":"));
  EXPECT_EQ(1, index_ch_first("aaaa", "aa") + 1);
  EXPECT_EQ(-1, index_ch_first("txt", ":"));
  EXPECT_EQ(-1, index_ch_first("txt", ""));
}

}  // namespace
