#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "testing/pty_session.h"
#include "toolkit/listing/listing.h"
#include "toolkit/listing/listing_internal.h"

namespace {

using tavorin::testing::PtySession;
using tavorin::testing::TempDir;

std::vector<std::string> Table(const char* list, int* count) {
  char table[255][255];
  memset(table, '#', sizeof table);
  *count = tavorin::extension_table(list, table);
  std::vector<std::string> rows;
  for (int i = 0; i < *count; ++i) {
    EXPECT_NE(nullptr, memchr(table[i], '\0', sizeof table[i])) << "row " << i << " unterminated";
    rows.emplace_back(table[i]);
  }
  return rows;
}

TEST(ExtensionTable, BuildsOneRowPerListedExtension) {
  struct Case {
    const char* list;
    std::vector<std::string> rows;
  } cases[] = {
      {"", {}},
      {"txt", {"txt"}},
      {"*.txt:*.doc", {"txt", "doc"}},
      {".c:h", {"c", "h"}},
      {"txt:", {"txt", ""}},
      {":txt", {"", "txt"}},
      {"*.", {""}},
      {"**.txt", {"*.txt"}},
      {".*txt", {"*txt"}},          // "*" is only dropped before the ".".
      {"*.tar.gz:*", {"tar.gz", ""}},
      {"::", {"", "", ""}},
  };
  for (const Case& c : cases) {
    int count = 0;
    EXPECT_EQ(c.rows, Table(c.list, &count)) << "list: " << c.list;
  }
}

// A line buffer's worth of list is taken whole, however many ":" it holds;
// one character more is refused and leaves the table alone.
TEST(ExtensionTable, TakesListsUpTo254CharactersWhole) {
  int count = 0;
  std::vector<std::string> rows = Table((std::string(251, ':') + "txt").c_str(), &count);
  ASSERT_EQ(252, count);
  EXPECT_EQ("", rows[250]);
  EXPECT_EQ("txt", rows[251]);

  rows = Table(std::string(254, ':').c_str(), &count);
  EXPECT_EQ(255, count);
  EXPECT_EQ(std::vector<std::string>(255, ""), rows);

  std::string long_name(254, 'x');
  rows = Table(long_name.c_str(), &count);
  EXPECT_EQ(std::vector<std::string>{long_name}, rows);

  char table[255][255];
  memset(table, '#', sizeof table);
  EXPECT_EQ(-1, tavorin::extension_table(std::string(255, 'x').c_str(), table));
  EXPECT_EQ(-1, tavorin::extension_table((std::string(254, ':') + ":").c_str(), table));
  EXPECT_EQ('#', table[0][0]);
}

TEST(ExtensionKept, ComparesTheTextAfterTheLastDot) {
  std::string dot_name = "." + std::string(254, 'a');  // 255 characters.
  std::string dot_list = std::string(254, 'a');
  struct Case {
    std::string name;
    std::string list;
    bool kept;
  } cases[] = {
      {"a.txt", "*.txt", true},
      {"c.TXT", "*.txt", false},
      {"Makefile", "*.txt", false},
      {"notes.", "*.txt", false},
      {"notes.", "txt:", true},
      {"Makefile", "txt:", false},
      {".txt", "txt", true},
      {"archive.tar.txt", "txt", true},
      {"archive.tar.txt", "tar.txt", false},
      {"x.doc", "*.txt:*.doc", true},
      {"x.txt", "**.txt", false},
      {"Makefile", "", true},
      {"a.txt", "txtx", false},
      {"a.txtx", "txt", false},
      {dot_name, dot_list, true},
      {dot_name, "txt", false},
  };
  for (const Case& c : cases) {
    char table[255][255];
    int count = tavorin::extension_table(c.list.c_str(), table);
    EXPECT_EQ(c.kept, tavorin::extension_kept(c.name.c_str(), table, count))
        << c.name << " with " << c.list;
  }
}

TEST(ListingDoss, RefusesALongerListBeforeListingAnything) {
  TempDir dir;
  dir.Write("a.txt", "");
  std::string top = dir.path();
  auto session = PtySession::Run([&] {
    listing_doss(top.c_str(), stdout, 1, std::string(255, 'x').c_str());
    return 0;
  });
  ASSERT_TRUE(session->WaitFor("..."));
  session->Send("\r");
  EXPECT_EQ(1, session->Wait());
  EXPECT_EQ("\n!!! La liste d'extensions est trop longue (plus de 254 caract\xe8res)...",
            session->output());
}

}  // namespace
