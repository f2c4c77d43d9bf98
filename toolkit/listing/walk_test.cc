#include <dirent.h>
#include <errno.h>
#include <grp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "testing/pty_session.h"
#include "toolkit/listing/listing.h"

namespace {

using tavorin::testing::PtyOptions;
using tavorin::testing::PtySession;
using tavorin::testing::TempDir;

// The names of a directory in the order its stream yields them.
std::vector<std::string> StreamOrder(const std::string& path) {
  std::vector<std::string> names;
  DIR* dir = opendir(path.c_str());
  if (dir == nullptr) return names;
  while (const struct dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);
  return names;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "last line without a line end";
  return lines;
}

std::vector<std::string> Sorted(std::vector<std::string> lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

// Each test works in a fresh directory of its own, the current directory
// for the test's duration, so that paths such as "top" stay short.
class Listing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(nullptr, getcwd(saved_, sizeof saved_));
    ASSERT_EQ(0, chdir(dir_.path().c_str()));
  }
  void TearDown() override { EXPECT_EQ(0, chdir(saved_)); }

  static void Dir(const std::string& path, mode_t mode = 0755) {
    ASSERT_EQ(0, mkdir(path.c_str(), mode)) << path;
    ASSERT_EQ(0, chmod(path.c_str(), mode)) << path;  // Whatever the umask.
  }
  void File(const std::string& path) const { dir_.Write(path, ""); }
  // Adds files f0, f1, ... to `directory` until at least one of them comes
  // before `entry` in the stream, whatever order the file system keeps.
  void FilesBefore(const std::string& directory, const std::string& entry) const {
    for (int i = 0; i < 100; ++i) {
      File(directory + "/f" + std::to_string(i));
      std::vector<std::string> order = StreamOrder(directory);
      if (order.front() != entry) return;
    }
    FAIL() << "no file comes before " << entry;
  }
  static void Link(const std::string& target, const std::string& path) {
    ASSERT_EQ(0, symlink(target.c_str(), path.c_str())) << path;
  }

  // top: a.txt c.TXT Makefile notes. sub/b.txt
  void ExampleTree() const {
    Dir("top");
    for (const char* name : {"top/a.txt", "top/c.TXT", "top/Makefile", "top/notes."}) File(name);
    Dir("top/sub");
    File("top/sub/b.txt");
  }

  static std::string List(const char* directory, int recursive, const char* extensions) {
    char* text = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&text, &size);
    listing_doss(directory, out, recursive, extensions);
    fclose(out);
    std::string result(text, size);
    free(text);
    return result;
  }

  TempDir dir_;
  char saved_[4096];
};

TEST_F(Listing, ExampleTreeInStreamOrderWithSubtreesInPlace) {
  ExampleTree();
  struct Case {
    const char* extensions;
    int recursive;
    std::set<std::string> kept;  // Files of top that are written.
  } cases[] = {
      {"*.txt", 1, {"a.txt"}},
      {"txt:", 1, {"a.txt", "notes."}},
      {"*.txt", 0, {"a.txt"}},
      {"", 1, {"a.txt", "c.TXT", "Makefile", "notes."}},
  };
  for (const Case& c : cases) {
    std::string expected;
    for (const std::string& name : StreamOrder("top")) {
      if (name == "sub") {
        if (c.recursive != 0) expected += "top\\sub\\b.txt\n";
      } else if (c.kept.count(name) != 0) {
        expected += "top\\" + name + "\n";
      }
    }
    EXPECT_EQ(expected, List("top", c.recursive, c.extensions))
        << c.extensions << " recursive " << c.recursive;
  }
}

TEST_F(Listing, SubtreeLinesComeWhereTheSubdirectoryStands) {
  Dir("top");
  for (const char* name : {"top/1", "top/2", "top/3", "top/4", "top/5"}) {
    Dir(name);
    File(std::string(name) + "/f");
    File(std::string(name) + ".f");
  }
  std::string expected;
  for (const std::string& name : StreamOrder("top")) {
    expected += "top\\" + name + (name.size() == 1 ? "\\f\n" : "\n");
  }
  EXPECT_EQ(expected, List("top", 1, ""));
}

// The top path is opened with slashes; the lines keep the path as given.
TEST_F(Listing, PathsAreOpenedWithSlashesAndWrittenAsGiven) {
  ExampleTree();
  EXPECT_EQ("top\\sub\\b.txt\n", List("top\\sub", 1, "txt"));
  std::string absolute = dir_.path() + "/top";
  EXPECT_EQ(Sorted({absolute + "\\a.txt", absolute + "\\sub\\b.txt"}),
            Sorted(Lines(List(absolute.c_str(), 1, "*.txt"))));
}

// A backslash inside a name is part of the name, not a separator.
TEST_F(Listing, NamesHoldingABackslashAreUsedAsTheyAre) {
  Dir("top");
  File("top/a\\b.txt");
  Dir("top/x\\y");
  File("top/x\\y/f.txt");
  Dir("top/x");  // "top\x\y" read as a path would lead here, into nothing.
  EXPECT_EQ(Sorted({"top\\a\\b.txt", "top\\x\\y\\f.txt"}), Sorted(Lines(List("top", 1, "txt"))));
}

TEST_F(Listing, EmptyDirectoryWritesNothing) {
  Dir("top");
  EXPECT_EQ("", List("top", 1, ""));
}

TEST_F(Listing, LinkToADirectoryIsEnteredAndNeverWritten) {
  Dir("top");
  Dir("top/real");
  File("top/real/x.txt");
  Link("real", "top/link");
  Link("real/x.txt", "top/file_link");
  EXPECT_EQ(Sorted({"top\\real\\x.txt", "top\\link\\x.txt", "top\\file_link"}),
            Sorted(Lines(List("top", 1, ""))));
  EXPECT_EQ("top\\file_link\n", List("top", 0, ""));
}

// A link to a missing target, or in a loop, cannot be followed; it is listed
// like a file, filter included, and the walk goes on.
TEST_F(Listing, DanglingAndLoopingLinksAreListedLikeFiles) {
  Dir("top");
  File("top/a.txt");
  Link("missing", "top/gone.txt");
  Link("loop2.txt", "top/loop1.txt");
  Link("loop1.txt", "top/loop2.txt");
  Link("missing", "top/gone.doc");
  EXPECT_EQ(Sorted({"top\\a.txt", "top\\gone.txt", "top\\loop1.txt", "top\\loop2.txt"}),
            Sorted(Lines(List("top", 1, "txt"))));
}

// A link back up the tree would make the walk endless; what it leads to is
// being listed already.
TEST_F(Listing, LinkBackUpTheTreeIsNotEnteredAgain) {
  ExampleTree();
  Link("..", "top/sub/up");
  Link(".", "top/self");
  Link(dir_.path() + "/top", "top/sub/top");
  EXPECT_EQ(Sorted({"top\\a.txt", "top\\c.TXT", "top\\Makefile", "top\\notes.",
                    "top\\sub\\b.txt"}),
            Sorted(Lines(List("top", 1, ""))));
}

TEST_F(Listing, LongestDotNameIsMatchedWhole) {
  Dir("top");
  std::string name = "." + std::string(254, 'e');
  File("top/" + name);
  File("top/other.e");
  EXPECT_EQ("top\\" + name + "\n", List("top", 1, std::string(254, 'e').c_str()));
}

// --- Failures end the program -------------------------------------------------

// In a forked child: drops root rights (so that permissions apply), lists
// `directory` to standard output, fully buffered as when it is piped, and
// returns 0 if the listing returned. The working directory `cwd` is made
// searchable for the unprivileged user.
std::unique_ptr<PtySession> ListInChild(const std::string& cwd, const char* directory) {
  if (chmod(cwd.c_str(), 0711) != 0) return nullptr;
  PtyOptions options;
  options.cwd = cwd;
  return PtySession::Run(
      [directory] {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 ||
                               setuid(65534) != 0)) {
          return 99;
        }
        setvbuf(stdout, nullptr, _IOFBF, BUFSIZ);
        listing_doss(directory, stdout, 1, "");
        return 0;
      },
      options);
}

// What the walk writes before it reaches `stop`: the files met earlier in
// stream order, each directory on the way to `stop` entered in its place.
std::string LinesBefore(const std::string& directory, const std::string& stop) {
  std::string lines;
  for (const std::string& name : StreamOrder(directory)) {
    std::string path = directory + "/" + name;
    std::string shown = path;
    std::replace(shown.begin(), shown.end(), '/', '\\');
    if (path == stop) return lines;
    if (stop.compare(0, path.size() + 1, path + "/") == 0) return lines + LinesBefore(path, stop);
    lines += shown + "\n";
  }
  return lines;
}

TEST_F(Listing, TopThatIsNotADirectoryEndsWithTheOpeningMessage) {
  Dir("top");
  File("top/a.txt");
  for (const char* top : {"top\\a.txt", "missing"}) {
    auto session = ListInChild(dir_.path(), top);
    ASSERT_NE(nullptr, session);
    ASSERT_TRUE(session->WaitFor("..."));
    session->Send("\r");
    EXPECT_EQ(1, session->Wait());
    EXPECT_EQ(std::string("\n!!! Une erreur est survenue durant l'ouverture du dossier ") + top +
                  "...",
              session->output());
  }
}

TEST_F(Listing, SubdirectoryThatCannotBeOpenedEndsAfterTheLinesWritten) {
  Dir("top");
  Dir("top/sub");
  Dir("top/sub/locked");
  File("top/sub/locked/never");
  FilesBefore("top/sub", "locked");
  ASSERT_EQ(0, chmod("top/sub/locked", 0));
  std::string expected = LinesBefore("top", "top/sub/locked") +
                         "\n!!! Une erreur est survenue durant l'ouverture du dossier "
                         "top\\sub\\locked...";
  auto session = ListInChild(dir_.path(), "top");
  ASSERT_NE(nullptr, session);
  ASSERT_TRUE(session->WaitFor("..."));
  session->Send("\r");
  EXPECT_EQ(1, session->Wait());
  EXPECT_EQ(expected, session->output());
}

// A status that cannot be read for another reason than a broken link stops
// the program: here the directory can be read but not searched.
TEST_F(Listing, StatusFailureEndsWithTheSystemReason) {
  Dir("top");
  Dir("top/sub");
  File("top/sub/f");
  FilesBefore("top", "sub");
  ASSERT_EQ(0, chmod("top/sub", 0444));
  std::string expected = LinesBefore("top", "top/sub") +
                         "Erreur interne lors de l'appel de la fonction stat: " +
                         strerror(EACCES) + "\n...";
  auto session = ListInChild(dir_.path(), "top");
  ASSERT_NE(nullptr, session);
  ASSERT_TRUE(session->WaitFor("..."));
  session->Send("\r");
  EXPECT_EQ(1, session->Wait());
  EXPECT_EQ(expected, session->output());
}

}  // namespace
