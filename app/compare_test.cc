#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "app/compare.h"
#include "gtest/gtest.h"
#include "testing/child_process.h"

namespace {

using tavorin::Comparison;
using tavorin::EchoBuffer;
using tavorin::LineReader;
using tavorin::testing::MemoryFile;
using tavorin::testing::ReadAll;

std::vector<std::string> pieces_of(const std::string& content) {
  int fd = MemoryFile(content);
  auto reader = std::make_unique<LineReader>(fd);
  std::vector<std::string> pieces;
  const char* piece = nullptr;
  for (ssize_t n; (n = reader->Next(&piece)) > 0;) pieces.emplace_back(piece, static_cast<size_t>(n));
  close(fd);
  return pieces;
}

TEST(LineReader, CutsLinesIntoPiecesOfAtMost254Bytes) {
  using Pieces = std::vector<std::string>;
  EXPECT_EQ(Pieces({}), pieces_of(""));
  EXPECT_EQ(Pieces({"a\n", "b"}), pieces_of("a\nb"));
  EXPECT_EQ(Pieces({"\n", "\n"}), pieces_of("\n\n"));
  EXPECT_EQ(Pieces({std::string(254, 'x'), std::string(46, 'x') + "\n"}),
            pieces_of(std::string(300, 'x') + "\n"));
  EXPECT_EQ(Pieces({std::string(254, 'y'), "\n"}), pieces_of(std::string(254, 'y') + "\n"));
  EXPECT_EQ(Pieces({std::string(253, 'z') + "\n"}), pieces_of(std::string(253, 'z') + "\n"));
  EXPECT_EQ(Pieces({std::string("a\0b\n", 4)}), pieces_of(std::string("a\0b\n", 4)));
}

TEST(LineReader, ReadsAcrossItsBufferBoundary) {
  // Lines of 7 bytes never align with the 128 KiB buffer: every piece must
  // still come out whole.
  std::string content;
  for (int i = 0; i < 50000; ++i) content += std::to_string(100000 + i) + "\n";
  std::vector<std::string> pieces = pieces_of(content);
  ASSERT_EQ(50000u, pieces.size());
  EXPECT_EQ("100000\n", pieces.front());
  EXPECT_EQ("118724\n", pieces[18724]);
  EXPECT_EQ("149999\n", pieces.back());
}

TEST(LineReader, ReportsAReadError) {
  // Reading this process's memory at offset 0 fails with EIO.
  int fd = open("/proc/self/mem", O_RDONLY);
  ASSERT_GE(fd, 0);
  auto reader = std::make_unique<LineReader>(fd);
  const char* piece = nullptr;
  EXPECT_EQ(-1, reader->Next(&piece));
  close(fd);
}

struct Outcome {
  Comparison::Outcome outcome;
  long long lines;
  std::string echo;
};

Outcome compare(const std::string& first, const std::string& second) {
  int a = MemoryFile(first);
  int b = MemoryFile(second);
  int out = MemoryFile({});
  auto first_reader = std::make_unique<LineReader>(a);
  auto second_reader = std::make_unique<LineReader>(b);
  auto echo = std::make_unique<EchoBuffer>(out);
  Comparison result = tavorin::compare_files(*first_reader, *second_reader, *echo);
  echo->Flush();
  Outcome outcome = {result.outcome, static_cast<long long>(result.lines), ReadAll(out)};
  close(a);
  close(b);
  close(out);
  return outcome;
}

TEST(CompareFiles, StopsAtTheFirstDifferenceAndEchoesBothFiles) {
  const std::string long_line = std::string(300, 'L') + "\n";
  struct Case {
    const char* why;
    std::string first;
    std::string second;
    Comparison::Outcome outcome;
    long long lines;
    std::string echo;
  } cases[] = {
      {"two empty files", "", "", Comparison::kIdentical, 0, ""},
      {"identical", "a\nb\n", "a\nb\n", Comparison::kIdentical, 2, "a\na\nb\nb\n"},
      {"second longer", "a\nb\n", "a\nb\nc\n", Comparison::kDifferent, 3, "a\na\nb\nb\nc\n"},
      {"first longer", "a\nb\nc\n", "a\nb\n", Comparison::kDifferent, 3, "a\na\nb\nb\nc\n"},
      {"extra line equal to the last", "a\nb\n", "a\nb\nb\n", Comparison::kDifferent, 3,
       "a\na\nb\nb\nb\n"},
      {"empty against one line", "", "x\n", Comparison::kDifferent, 1, "x\n"},
      {"first lines differ", "a\nsame\n", "b\nsame\n", Comparison::kDifferent, 1, "a\nb\n"},
      {"last line without line end", "a\nz", "a\nz\n", Comparison::kDifferent, 2,
       "a\na\nzz\n"},
      {"carriage return", "a\r\n", "a\n", Comparison::kDifferent, 1, "a\r\na\n"},
      {"300-character line counts twice", long_line, long_line, Comparison::kIdentical, 2,
       long_line.substr(0, 254) + long_line.substr(0, 254) + long_line.substr(254) +
           long_line.substr(254)},
      {"percent signs", "%s %d %n\n", "%s %d %n\n", Comparison::kIdentical, 1,
       "%s %d %n\n%s %d %n\n"},
      {"bytes after a NUL count", std::string("a\0b\n", 4), std::string("a\0c\n", 4),
       Comparison::kDifferent, 1, std::string("a\0b\na\0c\n", 8)},
      {"NUL bytes alike", std::string("a\0b\n", 4), std::string("a\0b\n", 4),
       Comparison::kIdentical, 1, std::string("a\0b\na\0b\n", 8)},
      {"a NUL against a shorter line", std::string("a\0\n", 3), "a\n", Comparison::kDifferent, 1,
       std::string("a\0\na\n", 5)},
  };
  for (const Case& c : cases) {
    Outcome got = compare(c.first, c.second);
    EXPECT_EQ(c.outcome, got.outcome) << c.why;
    EXPECT_EQ(c.lines, got.lines) << c.why;
    EXPECT_EQ(c.echo, got.echo) << c.why;
  }
}

TEST(CompareFiles, ReportsWhichFileCouldNotBeRead) {
  int good = MemoryFile("a\nb\n");
  int bad = open("/proc/self/mem", O_RDONLY);
  ASSERT_GE(bad, 0);
  auto first = std::make_unique<LineReader>(good);
  auto second = std::make_unique<LineReader>(bad);
  auto echo = std::make_unique<EchoBuffer>(-1);
  Comparison result = tavorin::compare_files(*first, *second, *echo);
  EXPECT_EQ(Comparison::kReadError, result.outcome);
  EXPECT_EQ(1, result.failed_file);
  close(good);
  close(bad);
}

}  // namespace
