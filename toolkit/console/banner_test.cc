#include <string>

#include "gtest/gtest.h"
#include "testing/pty_session.h"
#include "toolkit/console/console.h"

namespace {

using tavorin::testing::PtySession;

// Draws the banner on a real terminal: with standard output a terminal and
// no keyword, there is no relaunch.
std::string banner_of(const std::string& text) {
  auto session = PtySession::Run([&] {
    char program[] = "/nowhere/prog";
    char* argv[] = {program, nullptr};
    Titre(1, argv, "Titre", text.c_str(), "02");
    return 0;
  });
  EXPECT_EQ(0, session->Wait());
  return session->output();
}

std::string middle_line(const std::string& text, int left, int right) {
  return "|" + std::string(static_cast<size_t>(left), ' ') + text +
         std::string(static_cast<size_t>(right), ' ') + " |\n";
}

TEST(Titre, DrawsFiveLinesAroundTheText) {
  const std::string text = "Programme de comparaison de fichier ASCII ligne par ligne";
  std::string expected = "</" + std::string(76, '-') + "\\>\n" +
                         "/ " + std::string(76, ' ') + " \\\n" + middle_line(text, 11, 9) +
                         "\\ " + std::string(76, ' ') + " /\n" +
                         "<\\" + std::string(76, '-') + "/>\n";
  EXPECT_EQ(expected, banner_of(text));
}

TEST(Titre, PlacesTheTextOneColumnRightOfCentre) {
  struct Case {
    size_t length;
    int left;
    int right;
  } cases[] = {
      {0, 39, 38}, {1, 39, 37}, {56, 11, 10}, {57, 11, 9},
      {76, 1, 0},  {77, 1, 0},  {78, 0, 0},   {79, 0, 0},
  };
  for (const Case& c : cases) {
    std::string text(c.length, 'T');
    std::string banner = banner_of(text);
    size_t start = banner.find('|');
    ASSERT_NE(std::string::npos, start);
    EXPECT_EQ(middle_line(text, c.left, c.right), banner.substr(start, banner.find('\n', start) - start + 1))
        << "length " << c.length;
  }
}

TEST(Titre, WritesPercentSignsAndLatin1Unchanged) {
  std::string text = "100% r\xe9ussi %s";
  EXPECT_NE(std::string::npos, banner_of(text).find(text));
}

TEST(Titre, WritesALongerTextWholeWithoutPadding) {
  std::string text(100, 'L');
  EXPECT_NE(std::string::npos, banner_of(text).find("\n|" + text + " |\n"));
}

}  // namespace
