#include <pwd.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "gtest/gtest.h"
#include "testing/pty_session.h"
#include "toolkit/windows/command_interpreter_internal.h"
#include "toolkit/windows/shell.h"

namespace {

using tavorin::testing::PtyOptions;
using tavorin::testing::PtySession;
using tavorin::testing::ReadFile;
using tavorin::testing::TempDir;

const char kAnswer[] = "c:\\temp.tmp";

class Shell : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(nullptr, getcwd(saved_, sizeof saved_));
    ASSERT_EQ(0, chdir(dir_.path().c_str()));
  }
  void TearDown() override { EXPECT_EQ(0, chdir(saved_)); }

  TempDir dir_;
  char saved_[4096];
};

std::string Login() { return getpwuid(geteuid())->pw_name; }

// The read-back half of Local_user, on answer files written here.
TEST_F(Shell, LocalUserKeepsTheLastPartOfTheFirstLine) {
  struct Case {
    std::string answer;
    std::string user;
  } cases[] = {
      {"C:\\Users\\guest\n", "guest"},
      {"C:\\Documents and Settings\\guest\n", "guest"},
      {"guest\n", "guest"},
      {"C:\\Users\\guest", "guest"},      // No line end: no letter lost.
      {"C:\\Users\\guest\r\n", "guest"},
      {"C:\\Users\\guest\nC:\\Users\\other\n", "guest"},
      {"C:\\Users\\\n", ""},
      {"\n", ""},
      {"", ""},
      {"C:\\" + std::string(300, 'x') + "\n", std::string(251, 'x')},
  };
  for (const Case& c : cases) {
    dir_.Write(kAnswer, c.answer);
    char buffer[255];
    memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(buffer, tavorin::local_user_answer(buffer));
    EXPECT_EQ(c.user, buffer) << c.answer;
  }
}

TEST_F(Shell, DiskSystemKeepsTheFirstLetter) {
  struct Case {
    const char* answer;
    const char* drive;
  } cases[] = {
      {"D:\\WINNT\n", "D"},
      {"C:\\Windows\n", "C"},
      {"\n", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    dir_.Write(kAnswer, c.answer);
    char buffer[2] = {'#', '#'};
    EXPECT_EQ(buffer, tavorin::disk_system_answer(buffer));
    EXPECT_STREQ(c.drive, buffer) << c.answer;
  }
}

// No answer file, or one that cannot be read (here a directory of that
// name, which the command cannot write either): empty texts.
TEST_F(Shell, UnreadableAnswerGivesEmptyTexts) {
  char user[255];
  char drive[2];
  memset(user, '#', sizeof user);
  memset(drive, '#', sizeof drive);
  EXPECT_STREQ("", tavorin::local_user_answer(user));
  EXPECT_STREQ("", tavorin::disk_system_answer(drive));

  ASSERT_EQ(0, mkdir(kAnswer, 0755));
  memset(user, '#', sizeof user);
  memset(drive, '#', sizeof drive);
  EXPECT_STREQ("", Local_user(user));
  EXPECT_STREQ("", Disk_system(drive));
}

TEST_F(Shell, QueriesAndSettingsGoThroughTheStandIn) {
  char drive[2];
  EXPECT_STREQ("C", Disk_system(drive));
  EXPECT_EQ("C:\\Windows\n", ReadFile(kAnswer));

  char user[255];
  EXPECT_EQ(Login(), Local_user(user));
  EXPECT_EQ("C:\\Users\\" + Login() + "\n", ReadFile(kAnswer));

  accent_redir_dos();
  EXPECT_EQ("Page de codes active : 1252\n", ReadFile("temp.tmp"));
  annul_accent_redir_dos();
  EXPECT_EQ("Page de codes active : 437\n", ReadFile("temp.tmp"));
}

// The stand-in writes nothing to the program's own output, not even the
// report of the first cd of Local_user's line.
TEST_F(Shell, NothingReachesTheTerminal) {
  PtyOptions options;
  options.cwd = dir_.path();
  auto session = PtySession::Run(
      [] {
        char drive[2];
        char user[255];
        Disk_system(drive);
        accent_redir_dos();
        Local_user(user);
        annul_accent_redir_dos();
        printf("[%s][%s]", drive, user);
        return 0;
      },
      options);
  EXPECT_EQ(0, session->Wait());
  EXPECT_EQ("[C][" + Login() + "]", session->output());
}

}  // namespace
