// The terminal relaunch for real: the built program is started with a real
// /usr/bin/xterm on a private X server, and the tests follow it through /proc.
// The started process must become xterm with the fixed argument list; the
// copy that the window's shell starts must be the same program file, run in
// the program's directory with the passed-on arguments, on the window's
// terminal, and draw its banner there.
//
// xterm is told through X resources (read from the file named by
// XENVIRONMENT) to copy everything shown in its window to a log file: that is
// how the tests read what the copy drew, without touching the argument list
// the program gives xterm.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "gtest/gtest.h"
#include "testing/pty_session.h"
#include "testing/x_display.h"

namespace {

using tavorin::testing::FindInPath;
using tavorin::testing::PtySession;
using tavorin::testing::ReadFile;
using tavorin::testing::RunXTool;
using tavorin::testing::TempDir;
using tavorin::testing::XDisplay;
namespace fs = std::filesystem;

const char kXterm[] = "/usr/bin/xterm";
const char kProgram[] = TAVORIN_PROGRAM;
const int kTimeoutMs = 10000;

// --- Waiting and /proc ---------------------------------------------------------

// Checks `done` every few milliseconds until it holds or the time is up.
// Nothing here writes a stream the test could read, so /proc is polled.
bool PollUntil(const std::function<bool()>& done, int timeout_ms = kTimeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::string Proc(pid_t pid, const char* entry) {
  return "/proc/" + std::to_string(pid) + "/" + entry;
}

std::string ReadLink(const std::string& path) {
  char buffer[4096];
  ssize_t n = readlink(path.c_str(), buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

// The argument list a process was started with.
std::vector<std::string> CommandLine(pid_t pid) {
  std::string all = ReadFile(Proc(pid, "cmdline"));
  std::vector<std::string> args;
  size_t start = 0;
  while (start < all.size()) {
    size_t end = all.find('\0', start);
    if (end == std::string::npos) end = all.size();
    args.push_back(all.substr(start, end - start));
    start = end + 1;
  }
  return args;
}

// Whether two paths name the same file (a link in /proc names its target).
bool SameFile(const std::string& a, const std::string& b) {
  struct stat first, second;
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// The state letter and parent of a process; false when it is gone.
bool ProcessStat(pid_t pid, char* state, pid_t* parent) {
  std::string stat = ReadFile(Proc(pid, "stat"));
  size_t name_end = stat.rfind(')');  // the name may hold spaces and ')'
  if (name_end == std::string::npos) return false;
  int ppid = 0;
  if (sscanf(stat.c_str() + name_end + 1, " %c %d", state, &ppid) != 2) return false;
  *parent = ppid;
  return true;
}

bool Alive(pid_t pid) {
  char state = 0;
  pid_t parent = 0;
  return ProcessStat(pid, &state, &parent) && state != 'Z' && state != 'X';
}

// Every living process below `root`, children before grandchildren.
std::vector<pid_t> Descendants(pid_t root) {
  std::multimap<pid_t, pid_t> children;
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return {};
  while (struct dirent* entry = readdir(proc)) {
    char* end = nullptr;
    long number = strtol(entry->d_name, &end, 10);
    if (*end != '\0' || number <= 0) continue;
    pid_t pid = static_cast<pid_t>(number);
    char state = 0;
    pid_t parent = 0;
    if (ProcessStat(pid, &state, &parent) && state != 'Z') children.emplace(parent, pid);
  }
  closedir(proc);
  std::vector<pid_t> found = {root};
  for (size_t i = 0; i < found.size(); ++i) {
    auto range = children.equal_range(found[i]);
    for (auto it = range.first; it != range.second; ++it) found.push_back(it->second);
  }
  found.erase(found.begin());
  return found;
}

// Ends a window and everything it runs: the processes below `leader` first
// (they are not the test's children, so the test waits until they are gone),
// then the process group that `leader` heads.
void EndWindow(pid_t leader) {
  std::vector<pid_t> below = Descendants(leader);
  for (pid_t pid : below) kill(pid, SIGKILL);
  kill(-leader, SIGKILL);
  PollUntil([&] {
    for (pid_t pid : below) {
      if (Alive(pid)) return false;
    }
    return true;
  }, 5000);
}

// --- Starting the program ----------------------------------------------------

// The test's environment with the variables of `changes` set to their values.
std::vector<std::string> Environment(const std::map<std::string, std::string>& changes) {
  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string text = *entry;
    if (changes.count(text.substr(0, text.find('='))) == 0) env.push_back(text);
  }
  for (const auto& change : changes) env.push_back(change.first + "=" + change.second);
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> list;
  for (std::string& text : texts) list.push_back(&text[0]);
  list.push_back(nullptr);
  return list;
}

// Replaces the current (forked) process with `argv`, as a shell would start
// it: by its path, or searched in PATH when argv[0] holds no "/".
void ExecProgram(std::vector<std::string> argv, std::vector<std::string> env) {
  // Whatever happens to the test, the program (and the xterm it becomes)
  // does not outlive it.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  std::vector<char*> args = Pointers(argv);
  std::vector<char*> vars = Pointers(env);
  if (argv[0].find('/') == std::string::npos) {
    for (const std::string& var : env) {
      if (var.compare(0, 5, "PATH=") == 0) setenv("PATH", var.c_str() + 5, 1);
    }
    execvpe(args[0], args.data(), vars.data());
  } else {
    execve(args[0], args.data(), vars.data());
  }
}

// The program started with standard input from `input` and standard output
// and error into `output`: not a terminal. Its process heads a process group
// of its own; the whole window goes when the object goes.
class Started {
 public:
  // `prepare`, run in the child before the program starts, returns false
  // when it could not do its part: the child then ends with status 125.
  Started(const std::vector<std::string>& argv, const std::vector<std::string>& env,
          const std::string& cwd, const std::string& input, const std::string& output,
          const std::function<bool()>& prepare = nullptr) {
    fflush(nullptr);
    pid_ = fork();
    if (pid_ != 0) return;
    setpgid(0, 0);
    int in = open(input.c_str(), O_RDONLY);
    int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || chdir(cwd.c_str()) != 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(out, 2);
    if (prepare && !prepare()) _exit(125);
    ExecProgram(argv, env);
    _exit(127);
  }
  ~Started() {
    if (pid_ <= 0) return;
    if (!reaped_) EndWindow(pid_);
    if (!reaped_) waitpid(pid_, nullptr, 0);
  }
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;

  pid_t pid() const { return pid_; }

  // The exit status once the process ends, or -1 when it does not end in
  // time or a signal ends it.
  int Wait(int timeout_ms = kTimeoutMs) {
    int status = 0;
    bool ended = PollUntil([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, timeout_ms);
    if (!ended) return -1;
    reaped_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  bool reaped_ = false;
};

// Ends, when it goes, the window that a terminal session's process became.
// Declared after the session, so that it runs while xterm still holds the
// processes below it together.
struct WindowOf {
  pid_t leader;
  ~WindowOf() { EndWindow(leader); }
};

// --- What the program shows --------------------------------------------------

// The program's banner, each line ended by `line_end`.
std::string Banner(const std::string& line_end) {
  const std::string dashes(76, '-');
  const std::string blank(76, ' ');
  return "</" + dashes + "\\>" + line_end + "/ " + blank + " \\" + line_end + "|" +
         std::string(11, ' ') + "Programme de comparaison de fichier ASCII ligne par ligne" +
         std::string(9, ' ') + " |" + line_end + "\\ " + blank + " /" + line_end + "<\\" +
         dashes + "/>" + line_end;
}

// The first screen of the dialogue: the banner and the first prompt.
std::string FirstScreen(const std::string& line_end) {
  return Banner(line_end) + "Nom du premier fichier \xe0 comparer:" + line_end + "?: ";
}

// Texts the shell takes as they are, which the program writes bare (or in
// the double quotes of its command form). A build directory holding anything
// else is written quoted otherwise; the command text is then not compared.
bool Plain(const std::string& text) {
  return text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                "0123456789._-/+=:,@%") == std::string::npos;
}

// --- The fixture -------------------------------------------------------------

// What a relaunch must produce.
struct Expected {
  std::string program;                // the file the copy must run
  std::string directory;              // where the copy must run
  std::string command;                // xterm's "-e" text; empty: not checked
  std::vector<std::string> copy_args; // the copy's argument list
};

class RelaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string missing;
    if (access(kXterm, X_OK) != 0) {
      missing = "/usr/bin/xterm is not installed";
    } else if (FindInPath("Xvfb").empty()) {
      missing = "Xvfb is not installed";
    } else if (FindInPath("xwininfo").empty() || FindInPath("xprop").empty()) {
      missing = "xwininfo and xprop (x11-utils) are not installed";
    }
    if (!missing.empty()) {
      if (getenv("CI") != nullptr) {
        FAIL() << missing << "; CI must install xterm, xvfb, x11-utils";
      }
      GTEST_SKIP() << missing << ": the relaunch cannot be tried with a real window";
    }
    std::string error;
    display_ = XDisplay::Start(&error);
    ASSERT_NE(display_, nullptr) << error;
  }

  // The environment of a program to start: the private display, the POSIX
  // shell for xterm's "-e" text, and resources that make the next xterm log
  // its window into a fresh file, whose path goes to `log`.
  std::vector<std::string> WindowEnvironment(std::string* log,
                                             std::map<std::string, std::string> changes = {}) {
    ++windows_;
    *log = dir_.path() + "/window" + std::to_string(windows_) + ".log";
    std::string resources = dir_.Write("resources" + std::to_string(windows_),
                                       "XTerm*logging: true\nXTerm*logFile: " + *log + "\n");
    changes["DISPLAY"] = display_->name();
    changes["XENVIRONMENT"] = resources;
    changes["SHELL"] = "/bin/sh";
    return Environment(changes);
  }

  // Follows a relaunch: `pid` becomes xterm with the program's argument list,
  // its window titled "Tavorin" appears, and the copy it runs is the program,
  // in its directory, with its arguments, on the window's terminal, showing
  // the banner and the first prompt in the window (read from `log`).
  void ExpectRelaunched(pid_t pid, const Expected& expected, const std::string& log) {
    // A process shows its new program file a moment before its new argument
    // list: wait for both.
    ASSERT_TRUE(PollUntil([&] {
      return (ReadLink(Proc(pid, "exe")) == kXterm && !CommandLine(pid).empty()) || !Alive(pid);
    }));
    ASSERT_EQ(ReadLink(Proc(pid, "exe")), kXterm) << "the program did not become xterm";
    std::vector<std::string> xterm_args = CommandLine(pid);
    ASSERT_EQ(xterm_args.size(), 9u) << ::testing::PrintToString(xterm_args);
    std::vector<std::string> fixed(xterm_args.begin(), xterm_args.begin() + 8);
    EXPECT_EQ(fixed, (std::vector<std::string>{kXterm, "-T", "Tavorin", "-bg", "black", "-fg",
                                               "green4", "-e"}));
    if (!expected.command.empty()) {
      EXPECT_EQ(xterm_args[8], expected.command);
    }

    pid_t copy = 0;
    bool found = PollUntil([&] {
      for (pid_t below : Descendants(pid)) {
        if (SameFile(Proc(below, "exe"), expected.program) && !CommandLine(below).empty()) {
          copy = below;
        }
      }
      return copy != 0 || !Alive(pid);
    });
    ASSERT_TRUE(found && copy != 0) << "no copy of the program runs in the window; it shows:\n"
                                    << ReadFile(log);
    EXPECT_TRUE(SameFile(Proc(copy, "cwd"), expected.directory))
        << ReadLink(Proc(copy, "cwd")) << " is not " << expected.directory;
    EXPECT_EQ(CommandLine(copy), expected.copy_args);
    EXPECT_EQ(ReadLink(Proc(copy, "fd/1")).rfind("/dev/pts/", 0), 0u)
        << "the copy's output is " << ReadLink(Proc(copy, "fd/1"));

    // In the window the terminal turns each line end into "\r\n".
    const std::string screen = FirstScreen("\r\n");
    PollUntil([&] { return ReadFile(log).size() >= screen.size(); });
    EXPECT_EQ(ReadFile(log), screen);

    EXPECT_TRUE(PollUntil([&] { return HasWindow(pid); }))
        << "no window titled Tavorin belongs to xterm:\n"
        << RunXTool(display_->name(), {"xwininfo", "-root", "-tree"});
  }

  // Whether process `pid` shows a window titled "Tavorin" on the display.
  bool HasWindow(pid_t pid) {
    const std::string title = "\"Tavorin\": (\"xterm\" \"XTerm\")";
    const std::string owner = "_NET_WM_PID(CARDINAL) = " + std::to_string(pid) + "\n";
    std::string tree = RunXTool(display_->name(), {"xwininfo", "-root", "-tree"});
    for (size_t at = tree.find(title); at != std::string::npos; at = tree.find(title, at + 1)) {
      size_t line = tree.rfind('\n', at) + 1;
      size_t id_start = tree.find_first_not_of(' ', line);
      std::string id = tree.substr(id_start, tree.find(' ', id_start) - id_start);
      if (RunXTool(display_->name(), {"xprop", "-id", id, "_NET_WM_PID"}) == owner) return true;
    }
    return false;
  }

  std::unique_ptr<XDisplay> display_;
  TempDir dir_;
  int windows_ = 0;
};

// --- The tests ---------------------------------------------------------------

// Output into a file: however the program was started (by its full path, from
// its directory, through PATH), the window runs the same program file in its
// directory, with the arguments given, which arrive as typed.
TEST_F(RelaunchTest, RedirectedOutputOpensWindowRunningCopyInProgramDirectory) {
  const std::string given_dir = fs::path(kProgram).parent_path().string();
  const std::string real_dir = fs::canonical(given_dir).string();
  struct Case {
    std::vector<std::string> argv;
    std::string cwd;
    std::string directory;  // as the command text writes it
  };
  const Case cases[] = {
      {{kProgram}, dir_.path(), given_dir},
      {{kProgram, "x", "y"}, dir_.path(), given_dir},
      {{"./tavorin", "a.txt"}, given_dir, real_dir},
      {{"tavorin", "x"}, dir_.path(), real_dir},  // found through PATH
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.argv));
    std::string log;
    const char* path = getenv("PATH");
    std::vector<std::string> env =
        WindowEnvironment(&log, {{"PATH", real_dir + ":" + (path != nullptr ? path : "")}});
    Started program(c.argv, env, c.cwd, "/dev/null", dir_.path() + "/out");
    ASSERT_GT(program.pid(), 0);
    Expected expected{kProgram, real_dir, "", {"./tavorin"}};
    expected.copy_args.insert(expected.copy_args.end(), c.argv.begin() + 1, c.argv.end());
    if (Plain(c.directory)) {
      expected.command = "cd \"" + c.directory + "\"; \"./tavorin\" ";
      for (size_t i = 1; i < c.argv.size(); ++i) {
        expected.command += (i > 1 ? " " : "") + c.argv[i];
      }
    }
    ASSERT_NO_FATAL_FAILURE(ExpectRelaunched(program.pid(), expected, log));
    // The old process wrote nothing: it became xterm before its banner.
    EXPECT_EQ(ReadFile(dir_.path() + "/out").find("</---"), std::string::npos);
  }
}

// At a terminal, the keyword alone forces the relaunch; what follows it is
// passed on.
TEST_F(RelaunchTest, KeywordAtTerminalRelaunchesWithTheArgumentsAfterIt) {
  const std::string dir = fs::path(kProgram).parent_path().string();
  const std::vector<std::string> tails[] = {{}, {"x", "y"}};
  for (const std::vector<std::string>& tail : tails) {
    SCOPED_TRACE(::testing::PrintToString(tail));
    std::vector<std::string> argv = {kProgram, "swxterm"};
    argv.insert(argv.end(), tail.begin(), tail.end());
    std::string log;
    std::vector<std::string> env = WindowEnvironment(&log);
    auto session = PtySession::Run([&] {
      ExecProgram(argv, env);
      return 127;
    });
    ASSERT_NE(session, nullptr);
    WindowOf window{session->pid()};
    Expected expected{kProgram, dir, "", {"./tavorin"}};
    expected.copy_args.insert(expected.copy_args.end(), tail.begin(), tail.end());
    if (Plain(dir)) {
      expected.command = "cd \"" + dir + "\"; \"./tavorin\" ";
      for (size_t i = 0; i < tail.size(); ++i) expected.command += (i > 0 ? " " : "") + tail[i];
    }
    ASSERT_NO_FATAL_FAILURE(ExpectRelaunched(session->pid(), expected, log));
  }
}

// At a terminal without the keyword first (nothing, the keyword in another
// case, the keyword later on), the program stays where it is: the banner and
// the prompt come on its own terminal, and no window opens.
TEST_F(RelaunchTest, TerminalWithoutKeywordFirstStaysInPlace) {
  const std::vector<std::string> tails[] = {{}, {"SWXTERM"}, {"swxterm2"}, {"x", "swxterm"}};
  for (const std::vector<std::string>& tail : tails) {
    SCOPED_TRACE(::testing::PrintToString(tail));
    std::vector<std::string> argv = {kProgram};
    argv.insert(argv.end(), tail.begin(), tail.end());
    std::string log;
    std::vector<std::string> env = WindowEnvironment(&log);
    auto session = PtySession::Run([&] {
      ExecProgram(argv, env);
      return 127;
    });
    ASSERT_NE(session, nullptr);
    WindowOf window{session->pid()};
    ASSERT_TRUE(session->WaitFor("?: ")) << session->output();
    EXPECT_EQ(session->output(), FirstScreen("\n"));
    EXPECT_TRUE(SameFile(Proc(session->pid(), "exe"), kProgram));
    EXPECT_TRUE(Descendants(session->pid()).empty());
    EXPECT_FALSE(HasWindow(session->pid()));
  }
}

// Arguments and a program directory full of what a shell would act on reach
// the copy exactly as given, one argument each, and run nothing.
TEST_F(RelaunchTest, ShellCharactersInArgumentsAndDirectoryArriveIntact) {
  const std::string marker = dir_.path() + "/ran";
  const std::string odd_dir = dir_.path() + "/dir \"q\" $HOME `id` ;x 'y' \\";
  fs::create_directory(odd_dir);
  const std::string program = odd_dir + "/tavorin";
  fs::copy_file(kProgram, program);
  fs::create_directory(dir_.path() + "/work");
  const std::vector<std::string> args = {
      "a b.txt",           "it's",         "\"q\"",          "$HOME",
      "$(touch " + marker + "1)", "`touch " + marker + "2`", "; touch " + marker + "3",
      "x && touch " + marker + "4", "*",   "",               "tab\there",
      "back\\slash",       "two\nlines",   "~",              "swxterm",
      "caf\xe9"};
  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), args.begin(), args.end());

  std::string log;
  std::vector<std::string> env = WindowEnvironment(&log);
  Started started(argv, env, dir_.path() + "/work", "/dev/null", dir_.path() + "/out");
  ASSERT_GT(started.pid(), 0);
  Expected expected{program, odd_dir, "", {"./tavorin"}};
  expected.copy_args.insert(expected.copy_args.end(), args.begin(), args.end());
  ASSERT_NO_FATAL_FAILURE(ExpectRelaunched(started.pid(), expected, log));
  // The copy runs, so the shell has expanded everything it was going to.
  for (const char* n : {"1", "2", "3", "4"}) {
    EXPECT_FALSE(fs::exists(marker + n)) << "a passed-on argument ran a command";
  }
}

// Without a usable /usr/bin/xterm, the program runs in place, silently, with
// its output where it was. xterm is hidden only from the started program, by
// mounting /dev/null over it in a mount namespace of its own.
TEST_F(RelaunchTest, UnusableXtermLeavesTheProgramRunningInPlace) {
  const std::string first = dir_.Write("a.txt", "ligne\n");
  const std::string second = dir_.Write("b.txt", "ligne\n");
  const std::string input = dir_.Write("input", first + "\n\n" + second + "\n\n");
  const std::string output = dir_.path() + "/out";
  auto hide_xterm = [] {
    if (unshare(CLONE_NEWNS) != 0) {
      // Not privileged: a user namespace of one's own grants the mount.
      uid_t uid = getuid();
      gid_t gid = getgid();
      if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
      int setgroups = open("/proc/self/setgroups", O_WRONLY);
      if (setgroups >= 0) {
        (void)!write(setgroups, "deny", 4);
        close(setgroups);
      }
      for (const auto& map : {std::make_pair("/proc/self/uid_map", uid),
                              std::make_pair("/proc/self/gid_map", gid)}) {
        std::string line = std::to_string(map.second) + " " + std::to_string(map.second) + " 1";
        int fd = open(map.first, O_WRONLY);
        if (fd < 0) return false;
        bool ok = write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
        close(fd);
        if (!ok) return false;
      }
    }
    // Private first, so that the cover never reaches the machine's own view.
    return mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           mount("/dev/null", kXterm, nullptr, MS_BIND, nullptr) == 0;
  };
  std::string log;
  std::vector<std::string> env = WindowEnvironment(&log);
  Started program({kProgram}, env, dir_.path(), input, output, hide_xterm);
  ASSERT_GT(program.pid(), 0);
  int status = program.Wait();
  if (status == 125) {
    GTEST_SKIP() << "no mount namespace here: xterm cannot be hidden";
  }
  EXPECT_EQ(status, 0) << ReadFile(output);
  std::string shown = ReadFile(output);
  EXPECT_EQ(shown.rfind(FirstScreen("\n"), 0), 0u) << shown;
  EXPECT_NE(shown.find("Les deux fichiers sont identiques\n..."), std::string::npos) << shown;
  EXPECT_FALSE(fs::exists(log)) << "a window opened";
}

}  // namespace
