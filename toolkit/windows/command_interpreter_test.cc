#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "gtest/gtest.h"
#include "testing/pty_session.h"
#include "toolkit/windows/command_interpreter_internal.h"

namespace {

using tavorin::testing::ReadFile;
using tavorin::testing::TempDir;

class CommandInterpreter : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(nullptr, getcwd(saved_, sizeof saved_));
    ASSERT_EQ(0, chdir(dir_.path().c_str()));
  }
  void TearDown() override { EXPECT_EQ(0, chdir(saved_)); }

  TempDir dir_;
  char saved_[4096];
};

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

TEST_F(CommandInterpreter, AnswersItsCommandLines) {
  std::string here = "C:" + dir_.path();
  for (char& c : here) c = c == '/' ? '\\' : c;
  std::string login = getpwuid(geteuid())->pw_name;
  struct Case {
    std::string line;
    std::string file;
    int status;
    std::string report;  // What the file holds afterwards.
  } cases[] = {
      {"cd %systemroot% > c:\\temp.tmp", "c:\\temp.tmp", 0, "C:\\Windows\n"},
      {"cd %userprofile% && cd > c:\\temp.tmp", "c:\\temp.tmp", 0, "C:\\Users\\" + login + "\n"},
      {"chcp 1252 > temp.tmp", "temp.tmp", 0, "Page de codes active : 1252\n"},
      {"chcp 437 > temp.tmp", "temp.tmp", 0, "Page de codes active : 437\n"},
      {"CD %SystemRoot%\\System32\\ > out", "out", 0, "C:\\Windows\\System32\n"},
      {"cd C:\\Documents and Settings\\guest && cd > out", "out", 0,
       "C:\\Documents and Settings\\guest\n"},
      {"cd \"D:\\My Folder\" > out", "out", 0, "D:\\My Folder\n"},
      {"cd > out", "out", 0, here + "\n"},
      {"cd sub > out", "out", 0, here + "\\sub\n"},
      {"cd \\Temp > out", "out", 0, "C:\\Temp\n"},
      {"cd C:\\ > out", "out", 0, "C:\\\n"},
      {"cd D:\\%nothing%%systemroot% > out", "out", 0, "D:\\%nothing%C:\\Windows\n"},
      {"cd D:\\%nothing%systemroot% > out", "out", 0, "D:\\%nothingC:\\Windows\n"},
      {"chcp cinq > out", "out", 1, ""},
      {"dir > out", "out", 1, ""},
  };
  for (const Case& c : cases) {
    remove(c.file.c_str());
    EXPECT_EQ(c.status, tavorin::command_interpreter(c.line.c_str())) << c.line;
    EXPECT_TRUE(Exists(c.file)) << c.line;
    EXPECT_EQ(c.report, ReadFile(c.file)) << c.line;
  }
}

TEST_F(CommandInterpreter, StopsAtTheFirstFailure) {
  EXPECT_EQ(1, tavorin::command_interpreter("chcp x && cd > out"));
  EXPECT_FALSE(Exists("out"));
  EXPECT_EQ(1, tavorin::command_interpreter("cd > missing/out && cd > out2"));
  EXPECT_FALSE(Exists("out2"));
  EXPECT_EQ(1, tavorin::command_interpreter("cd >"));
}

}  // namespace
