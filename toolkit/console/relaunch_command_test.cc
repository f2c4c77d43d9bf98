#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "toolkit/console/relaunch_internal.h"

namespace {

// Builds the command text for a command line given as strings.
std::string command_for(std::vector<std::string> args, const std::string& cwd = "/home/moi",
                        const std::string& exe = "/usr/local/bin/prog") {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  std::string command;
  bool built = tavorin::relaunch_command(static_cast<int>(args.size()), argv.data(), cwd, exe,
                                         &command);
  return built ? command : "<none>";
}

TEST(RelaunchCommand, FollowsTheProgramPath) {
  struct Case {
    std::vector<std::string> args;
    std::string command;
  } cases[] = {
      {{"/opt/outils/prog", "a.txt", "b.txt"}, "cd \"/opt/outils\"; \"./prog\" a.txt b.txt"},
      {{"/opt/outils/prog"}, "cd \"/opt/outils\"; \"./prog\" "},
      {{"/x"}, "cd \"\"; \"./x\" "},
      {{"./prog"}, "cd \"/home/moi\"; \"./prog\" "},
      {{"/opt/prog", "swxterm"}, "cd \"/opt\"; \"./prog\" "},
      {{"/opt/prog", "swxterm", "x", "y"}, "cd \"/opt\"; \"./prog\" x y"},
      {{"/opt/prog", "x", "y"}, "cd \"/opt\"; \"./prog\" x y"},
      {{"/opt/prog", "swxterm", "swxterm"}, "cd \"/opt\"; \"./prog\" swxterm"},
      {{"/opt/prog", "SWXTERM"}, "cd \"/opt\"; \"./prog\" SWXTERM"},
      {{"/opt/prog", "swxterm2"}, "cd \"/opt\"; \"./prog\" swxterm2"},
      // Relative paths keep their own directory part.
      {{"../bin/prog"}, "cd \"/home/moi/../bin\"; \"./prog\" "},
      // Found through the command search path: the program's real path.
      {{"prog", "a"}, "cd \"/usr/local/bin\"; \"./prog\" a"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.command, command_for(c.args)) << c.args[0];
  }
}

TEST(RelaunchCommand, QuotesEveryTextTheShellWouldChange) {
  struct Case {
    std::vector<std::string> args;
    std::string command;
  } cases[] = {
      {{"/opt/prog", "a b.txt"}, "cd \"/opt\"; \"./prog\" 'a b.txt'"},
      {{"/opt/prog", "$(rm -rf ~)", "`id`", "x;y"},
       "cd \"/opt\"; \"./prog\" '$(rm -rf ~)' '`id`' 'x;y'"},
      {{"/opt/prog", "it's"}, "cd \"/opt\"; \"./prog\" 'it'\\''s'"},
      {{"/opt/prog", ""}, "cd \"/opt\"; \"./prog\" ''"},
      {{"/opt/prog", "-v", "k=v,w:z@h%1+2"}, "cd \"/opt\"; \"./prog\" -v k=v,w:z@h%1+2"},
      {{"/my dir/\"$HOME\"/prog"}, "cd '/my dir/\"$HOME\"'; \"./prog\" "},
      {{"/opt/my prog"}, "cd \"/opt\"; './my prog' "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.command, command_for(c.args)) << c.args.back();
  }
}

TEST(RelaunchCommand, BuildsNothingWithoutAProgramToStart) {
  EXPECT_EQ("<none>", command_for({"prog"}, "/home/moi", ""));
  EXPECT_EQ("<none>", command_for({}, "/home/moi"));
}

TEST(RelaunchCommand, UsesTheRealPathWhenTheDirectoryIsGone) {
  EXPECT_EQ("cd \"/usr/local/bin\"; \"./prog\" ", command_for({"./prog"}, ""));
}

TEST(RelaunchColours, ReadsCodesOrNames) {
  struct Case {
    const char* colours;
    const char* background;
    const char* foreground;
  } cases[] = {
      {"02", "black", "green4"},
      {"fA", "white", "green"},
      {"fa", "white", "green"},
      {"FA", "white", "green"},
      {"13", "navy", "cyan4"},
      {"45", "red4", "DarkMagenta"},
      {"67", "yellow4", "grey75"},
      {"89", "grey50", "blue1"},
      {"bc", "cyan1", "red1"},
      {"De", "magenta1", "yellow1"},
      {"navy:yellow1", "navy", "yellow1"},
      {"a:b:c", "a", "b:c"},
      {":red", "", "red"},
      // Outside the table, or no ":" in a name form: the usual console
      // colours take the missing part's place.
      {"0:", "black", "grey75"},
      {"zz", "black", "grey75"},
      {"navy", "navy", "grey75"},
      {"", "black", "grey75"},
  };
  for (const Case& c : cases) {
    std::string background, foreground;
    tavorin::relaunch_colours(c.colours, &background, &foreground);
    EXPECT_EQ(c.background, background) << c.colours;
    EXPECT_EQ(c.foreground, foreground) << c.colours;
  }
}

TEST(RelaunchArguments, ListsXtermsOptionsInOrder) {
  std::string program = "/opt/outils/prog";
  std::string arg = "a.txt";
  char* argv[] = {&program[0], &arg[0], nullptr};
  std::vector<std::string> list;
  ASSERT_TRUE(tavorin::relaunch_arguments(2, argv, "Tavorin", "02", "/", "/x", &list));
  std::vector<std::string> expected = {"/usr/bin/xterm", "-T", "Tavorin", "-bg", "black",
                                       "-fg", "green4", "-e",
                                       "cd \"/opt/outils\"; \"./prog\" a.txt"};
  EXPECT_EQ(expected, list);
}

TEST(RelaunchKeyword, IsExactlySwxtermInFirstPlace) {
  std::string p = "/p", k = "swxterm", other = "Swxterm";
  char* with[] = {&p[0], &k[0], nullptr};
  char* without[] = {&p[0], &other[0], &k[0], nullptr};
  EXPECT_TRUE(tavorin::relaunch_keyword(2, with));
  EXPECT_FALSE(tavorin::relaunch_keyword(3, without));
  EXPECT_FALSE(tavorin::relaunch_keyword(1, with));
}

}  // namespace
