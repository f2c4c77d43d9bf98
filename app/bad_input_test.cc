// Bad input of every kind, end to end on a real terminal: odd names, odd
// contents, input that ends early. Every row states the verdict or message
// and the exit status, and that the files compared are left untouched.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <random>
#include <string>

#include "gtest/gtest.h"
#include "testing/pty_session.h"

namespace {

using tavorin::testing::PtySession;
using tavorin::testing::ReadFile;
using tavorin::testing::TempDir;

const char kOpenFailure[] = "\n!!! Une erreur est survenue durant l'ouverture du fichier ";

std::string identical(long long lines) {
  return "\n" + std::to_string(lines) + " lignes scann\xe9" "es\nLes deux fichiers sont identiques\n...";
}

std::string different(long long line) {
  return "Les lignes " + std::to_string(line) + " des fichiers sont diff\xe9rentes!...";
}

struct FileState {
  std::string content;
  struct timespec modified;
};

// Content and modification time of every regular file in `dir`.
std::map<std::string, FileState> snapshot(const TempDir& dir, const std::vector<std::string>& names) {
  std::map<std::string, FileState> state;
  for (const std::string& name : names) {
    struct stat st;
    std::string path = dir.path() + "/" + name;
    if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
      state[name] = {ReadFile(path), st.st_mtim};
    }
  }
  return state;
}

bool operator==(const FileState& a, const FileState& b) {
  return a.content == b.content && a.modified.tv_sec == b.modified.tv_sec &&
         a.modified.tv_nsec == b.modified.tv_nsec;
}

// Runs tavorin in `dir` with all of `keys` typed ahead (the terminal hands
// them over a line at a time), as an unprivileged user when `unprivileged`.
std::pair<int, std::string> run(const TempDir& dir, const std::string& keys, bool unprivileged) {
  std::string cwd = dir.path();
  auto session = PtySession::Run([&] {
    if (chdir(cwd.c_str()) != 0) return 126;
    if (unprivileged && getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 125;
    char program[] = TAVORIN_PROGRAM;
    char* argv[] = {program, nullptr};
    execv(program, argv);
    return 127;
  });
  session->Send(keys);
  int status = session->Wait(30000);
  return {status, session->output()};
}

TEST(BadInput, EveryRowEndsInAVerdictOrAMessage) {
  TempDir dir;
  chmod(dir.path().c_str(), 0755);
  const std::string name253(253, 'n');
  const std::string name254(254, 'm');
  const std::string name255(255, 'l');
  const std::string name300(300, 'k');
  std::string binary;
  std::mt19937 random(1);
  for (int i = 0; i < 100000; ++i) binary += static_cast<char>(random() & 0xff);
  std::string binary_changed = binary;
  binary_changed[77777] = static_cast<char>(binary_changed[77777] ^ 1);
  std::string one_line(10 << 20, 'w');
  one_line += '\n';

  std::map<std::string, std::string> files = {
      {"a.txt", "alpha\nbeta\n"},
      {name253, "x\n"},
      {name254, "y\n"},
      {name255, "z\n"},
      {"empty", ""},
      {"binary", binary},
      {"binary2", binary_changed},
      {"nul1", std::string("a\0b\n", 4)},
      {"nul2", std::string("a\0c\n", 4)},
      {"crlf", "ligne\r\n"},
      {"lf", "ligne\n"},
      {"accents", "\xe9t\xe9 \xc3\xa9t\xc3\xa9\n"},
      {"long1", one_line},
      {"long2", one_line},
      {"locked", "secret\n"},
  };
  std::vector<std::string> names;
  for (const auto& [name, content] : files) {
    dir.Write(name, content);
    chmod((dir.path() + "/" + name).c_str(), 0644);
    names.push_back(name);
  }
  chmod((dir.path() + "/locked").c_str(), 0);
  mkdir((dir.path() + "/sub").c_str(), 0755);
  dir.Write("sub/b.txt", "alpha\nbeta\n");
  auto before = snapshot(dir, names);

  // A name followed by the line a terminal user types after it.
  auto name = [](const std::string& text) { return text + "\r\r"; };
  struct Case {
    const char* why;
    std::string keys;
    int status;
    std::string ending;
    bool unprivileged = false;
  } cases[] = {
      {"empty name", name("") + name("a.txt") + "\r", 1, std::string(kOpenFailure) + ", en mode r..."},
      {"253 characters", name(name253) + name(name253) + "\r", 0, "x\nx\n" + identical(1)},
      // 254 characters fill the buffer: no line end is stored, so no extra
      // line is swallowed after the name.
      {"254 characters", name254 + "\r" + name254 + "\r\r", 0, "y\ny\n" + identical(1)},
      {"255 characters are cut to 254", name255 + "\r" + name("a.txt") + "\r", 1,
       kOpenFailure + name255.substr(0, 254) + ", en mode r..."},
      {"300 characters are cut to 254", name300 + "\r" + name("a.txt") + "\r", 1,
       kOpenFailure + name300.substr(0, 254) + ", en mode r..."},
      {"backslashes", name("sub\\b.txt") + name("a.txt") + "\r", 0,
       "alpha\nalpha\nbeta\nbeta\n" + identical(2)},
      {"missing", name("absent") + name("a.txt") + "\r", 1,
       std::string(kOpenFailure) + "absent, en mode r..."},
      {"a directory", name("a.txt") + name("sub") + "\r", 1,
       std::string(kOpenFailure) + "sub, en mode r..."},
      {"unreadable", name("locked") + name("a.txt") + "\r", 1,
       std::string(kOpenFailure) + "locked, en mode r...", true},
      {"/dev/null against an empty file", name("/dev/null") + name("empty") + "\r", 0,
       identical(0)},
      {"binary, identical", name("binary") + name("binary") + "\r", 0,
       "\nLes deux fichiers sont identiques\n..."},
      {"binary, one bit apart", name("binary") + name("binary2") + "\r", 0,
       " des fichiers sont diff\xe9rentes!..."},
      {"NUL bytes", name("nul1") + name("nul2") + "\r", 0,
       std::string("a\0b\na\0c\n", 8) + different(1)},
      {"CRLF against LF", name("crlf") + name("lf") + "\r", 0, "ligne\r\nligne\n" + different(1)},
      {"Latin-1 and UTF-8", name("accents") + name("accents") + "\r", 0,
       files["accents"] + files["accents"] + identical(1)},
      {"a single 10 MB line", name("long1") + name("long2") + "\r", 0,
       identical(((10 << 20) + 253) / 254 + ((10 << 20) % 254 == 0 ? 1 : 0))},
      {"input ends before the first name", "\x04", 1,
       std::string(kOpenFailure) + ", en mode r..."},
      {"input ends between the names", name("a.txt") + "\x04", 1,
       std::string(kOpenFailure) + ", en mode r..."},
      {"input ends before the final key", name("a.txt") + name("a.txt") + "\x04", 0,
       "alpha\nalpha\nbeta\nbeta\n" + identical(2)},
  };
  for (const Case& c : cases) {
    auto [status, output] = run(dir, c.keys, c.unprivileged);
    EXPECT_EQ(c.status, status) << c.why;
    EXPECT_EQ(c.ending, output.substr(output.size() - std::min(output.size(), c.ending.size())))
        << c.why;
    EXPECT_TRUE(before == snapshot(dir, names)) << c.why << ": a file was changed";
  }
}

// Another process truncates the second file while tavorin is in the middle
// of the comparison (held there by a terminal that is not being read).
TEST(BadInput, AFileTruncatedDuringTheComparisonIsADifference) {
  TempDir dir;
  std::string content;
  for (int i = 0; i < 200000; ++i) content += "ligne " + std::to_string(i) + "\n";
  std::string first = dir.Write("first", content);
  std::string second = dir.Write("second", content);
  auto session = PtySession::Exec({TAVORIN_PROGRAM}, {false, false, dir.path()});
  session->Send("first\r\rsecond\r\r\r");
  ASSERT_TRUE(session->WaitFor("ligne 10\nligne 10\n"));
  ASSERT_EQ(0, truncate(second.c_str(), 1000));
  EXPECT_EQ(0, session->Wait(30000));
  EXPECT_NE(std::string::npos, session->output().find(" des fichiers sont diff\xe9rentes!..."));
  EXPECT_EQ(content, ReadFile(first));
}

}  // namespace
