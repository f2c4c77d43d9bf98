#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <ostream>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "testing/pty_session.h"
#include "toolkit/editor/editor.h"
#include "toolkit/editor/test_support.h"

namespace {

using tavorin::editor::testing::KeyboardTest;
using tavorin::editor::testing::OpenSlaveAndGo;
using tavorin::editor::testing::SameSettings;
using tavorin::editor::testing::WaitForGo;
using tavorin::editor::testing::WaitForRawMode;
using tavorin::testing::PtySession;

// Key bytes as a UTF-8 AZERTY terminal sends them in raw mode.
const std::string kEnter = "\r";
const std::string kBackspace = "\x7f";
const std::string kLeft = "\x1b[D";
const std::string kRight = "\x1b[C";
const std::string kUp = "\x1b[A";
const std::string kDown = "\x1b[B";
const std::string kHome = "\x1b[H";
const std::string kEnd = "\x1b[F";
const std::string kDelete = "\x1b[3~";
const std::string kPageUp = "\x1b[5~";
const std::string kPageDown = "\x1b[6~";

// --- What the editor writes -----------------------------------------------

struct EditCase {
  const char* name;
  std::vector<const char*> history;  // Recorded before the entry, oldest first.
  std::string keys;
  std::string written;
  std::string line;
};

void PrintTo(const EditCase& c, std::ostream* os) { *os << c.name; }

class EditorWrites : public KeyboardTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(EditorWrites, ExactBytesAndLine) {
  const EditCase& c = GetParam();
  for (const char* line : c.history) ajout_historique(line);
  Keys(c.keys);
  EXPECT_EQ(Line(1), c.line);
  EXPECT_EQ(written_, c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, EditorWrites,
    ::testing::Values(
        EditCase{"InsertInTheMiddle", {}, "1234" + kLeft + kLeft + "9" + kEnter,
                 "1234\b\b334\b\b\b9\n", "12934"},
        EditCase{"InsertAtTheStart", {}, "12" + kHome + "3" + kEnter, "12\b\b112\b\b\b3\n", "312"},
        EditCase{"BackspaceInTheMiddle", {}, "1234" + kLeft + kLeft + kBackspace + kEnter,
                 "1234\b\b\b34 \b\b\b\n", "134"},
        EditCase{"DeleteInTheMiddle", {}, "1234" + kLeft + kLeft + kDelete + kEnter,
                 "1234\b\b4 \b\b\n", "124"},
        EditCase{"DeleteTheLastCharacter", {}, "1234" + kLeft + kDelete + kEnter,
                 "1234\b \b\n", "123"},
        EditCase{"BackspaceAtTheEnd", {}, "1234" + kBackspace + kEnter, "1234\b \b\n", "123"},
        EditCase{"RecallWipesTheLine", {"99"}, "1234" + kLeft + kLeft + kLeft + kUp + kEnter,
                 "1234\b\b\b\b    \b\b\b\b99\n", "99"},
        EditCase{"AccentedKey", {}, "\xc3\xa9" + kEnter, "2\n", "2"},
        EditCase{"EnterAtOnce", {}, kEnter, "\n", ""},
        EditCase{"HomeAndEnd", {}, "123" + kHome + kEnd + kEnter, "123\b\b\b123\n", "123"},
        EditCase{"EditingKeysAtTheBoundsDoNothing", {},
                 kLeft + kHome + kBackspace + kDelete + "12" + kRight + kEnd + kDelete + kEnter,
                 "12\n", "12"},
        EditCase{"UpWithAnEmptyHistory", {}, "12" + kUp + kEnter, "12\b\b  \b\b\n", ""},
        EditCase{"EscapeThenEnterIsConsumed", {}, "1\x1b" + kEnter + "2" + kEnter, "12\n", "12"},
        EditCase{"EscapeThenARecalls", {"55"}, "\x1b" "A" + kEnter, "55\n", "55"},
        EditCase{"PrefixThenEnterIsRefused", {}, "1\xc3" + kEnter + "2" + kEnter, "12\n", "12"},
        EditCase{"PageKeys", {"11", "22", "33"}, kPageUp + kPageDown + kEnter,
                 "11\b\b  \b\b33\n", "33"},
        EditCase{"UpAndDown", {"11", "22", "33"}, kUp + kUp + kDown + kEnter,
                 "33\b\b  \b\b22\b\b  \b\b33\n", "33"},
        EditCase{"RecalledLineIsEditable", {"123"}, kUp + kLeft + kBackspace + "5" + kEnter,
                 "123\b\b3 \b\b33\b\b5\n", "153"},
        EditCase{"QuitLettersAreStored", {}, "1q2" + kEnter, "1q2\n", "1q2"}),
    [](const ::testing::TestParamInfo<EditCase>& param_info) { return param_info.param.name; });

// --- The key table ------------------------------------------------------------

struct KeyRow {
  const char* name;
  std::string bytes;
  // What profiles 1 to 6 give; '~' stands for a refusal.
  const char* gives;
};

void PrintTo(const KeyRow& c, std::ostream* os) { *os << c.name; }

class KeyTable : public KeyboardTest, public ::testing::WithParamInterface<KeyRow> {};

TEST_P(KeyTable, EveryProfile) {
  const KeyRow& row = GetParam();
  for (int profile = 0; profile <= 7; ++profile) {
    int column = profile >= 1 && profile <= 6 ? profile : 1;
    char expected = row.gives[column - 1];
    std::string line = expected == '~' ? "" : std::string(1, expected);
    written_.clear();
    Keys(row.bytes + kEnter);
    EXPECT_EQ(Line(profile), line) << "profile " << profile;
    EXPECT_EQ(written_, line + "\n") << "profile " << profile;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, KeyTable,
    ::testing::Values(
        KeyRow{"Digit0", "0", "000000"}, KeyRow{"Digit9", "9", "999999"},
        KeyRow{"Ampersand", "&", "111111"}, KeyRow{"EAcute", "\xc3\xa9", "222222"},
        KeyRow{"Copyright", "\xc2\xa9", "222222"}, KeyRow{"DoubleQuote", "\"", "333333"},
        KeyRow{"Apostrophe", "'", "444444"}, KeyRow{"OpenParen", "(", "555((5"},
        KeyRow{"Minus", "-", "66---6"}, KeyRow{"EGrave", "\xc3\xa8", "777777"},
        KeyRow{"Underscore", "_", "888888"}, KeyRow{"CCedilla", "\xc3\xa7", "999999"},
        KeyRow{"AGrave", "\xc3\xa0", "000000"}, KeyRow{"Space", " ", "~ ~~~~"},
        KeyRow{"LowerD", "d", "~d~~~~"}, KeyRow{"UpperD", "D", "~d~~~~"},
        KeyRow{"Plus", "+", "~~+++~"}, KeyRow{"Equals", "=", "~~+++~"},
        KeyRow{"Slash", "/", "~~///~"}, KeyRow{"Colon", ":", "~~///~"},
        KeyRow{"Backslash", "\\", "~~///~"}, KeyRow{"Star", "*", "~~~**~"},
        KeyRow{"Micro", "\xc2\xb5", "~~~**~"}, KeyRow{"CloseParen", ")", "~~~))~"},
        KeyRow{"Degree", "\xc2\xb0", "~~~))~"}, KeyRow{"Dot", ".", "~~~..~"},
        KeyRow{"Comma", ",", "~~~..~"}, KeyRow{"Semicolon", ";", "~~~..~"},
        KeyRow{"Question", "?", "~~~..~"}, KeyRow{"Bang", "!", "~~~!~~"},
        KeyRow{"Section", "\xc2\xa7", "~~~!~~"}, KeyRow{"LowerE", "e", "~~~E~~"},
        KeyRow{"UpperE", "E", "~~~E~~"}, KeyRow{"LowerF", "f", "~~~F~~"},
        KeyRow{"UpperF", "F", "~~~F~~"}, KeyRow{"UpperM", "M", "~~~~~M"},
        KeyRow{"UpperN", "N", "~~~~~N"}, KeyRow{"UpperR", "R", "~~~~~R"},
        KeyRow{"UpperS", "S", "~~~~~S"}, KeyRow{"LowerM", "m", "~~~~~m"},
        KeyRow{"LowerN", "n", "~~~~~n"}, KeyRow{"LowerR", "r", "~~~~~r"},
        KeyRow{"LowerS", "s", "~~~~~s"}, KeyRow{"LowerQ", "q", "qqqqqq"},
        KeyRow{"UpperQ", "Q", "QQQQQQ"},
        // Refused everywhere.
        KeyRow{"LineFeed", "\n", "~~~~~~"}, KeyRow{"Tab", "\t", "~~~~~~"},
        KeyRow{"CtrlC", "\x03", "~~~~~~"}, KeyRow{"CtrlD", "\x04", "~~~~~~"},
        KeyRow{"ByteFF", "\xff", "~~~~~~"}, KeyRow{"Latin1EAcute", "\xe9", "~~~~~~"},
        KeyRow{"Tilde", "~", "~~~~~~"}, KeyRow{"LowerA", "a", "~~~~~~"},
        KeyRow{"TwoPrefixes", "\xc3\xc3", "~~~~~~"}, KeyRow{"PrefixThenA", "\xc2" "A", "~~~~~~"},
        KeyRow{"EuroSign", "\xe2\x82\xac", "~~~~~~"}, KeyRow{"UpperAGrave", "\xc3\x80", "~~~~~~"}),
    [](const ::testing::TestParamInfo<KeyRow>& param_info) { return param_info.param.name; });

// --- History, profiles and the end of input --------------------------------

TEST_F(KeyboardTest, RecordsNonEmptyLinesOnly) {
  ajout_historique("11");
  ajout_historique("22");
  parcours_historique(-1);
  Keys(kEnter + "   " + kEnter + kUp + kEnter);
  EXPECT_EQ(Line(1), "");
  // Enter at once leaves the history and both its indexes as they were.
  EXPECT_EQ(historique.index_ecriture, 2);
  EXPECT_EQ(historique.index_parcours, 1);
  // A line of spaces is a line like any other.
  EXPECT_EQ(Line(2), "   ");
  EXPECT_STREQ(historique.ligne[2], "   ");
  EXPECT_EQ(historique.index_parcours, 3);
  // A recalled line entered again is recorded again, as the newest.
  EXPECT_EQ(Line(1), "   ");
  EXPECT_STREQ(historique.ligne[3], "   ");
  EXPECT_EQ(historique.index_ecriture, 4);
}

TEST_F(KeyboardTest, RecalledLineKeepsTheCharactersOfItsProfile) {
  Keys("2d6" + kEnter + kUp + kEnter);
  EXPECT_EQ(Line(2), "2d6");
  EXPECT_EQ(Line(1), "2d6");
}

TEST_F(KeyboardTest, BrowsingGoesOnFromOneEntryToTheNext) {
  for (const char* line : {"11", "22", "33"}) ajout_historique(line);
  // The first entry browses to "22", then empties its line: nothing is
  // recorded, so the next entry starts browsing from "22".
  Keys(kUp + kUp + kBackspace + kBackspace + kEnter + kUp + kEnter);
  EXPECT_EQ(Line(1), "");
  EXPECT_EQ(Line(1), "11");
}

TEST_F(KeyboardTest, LineStopsAt254Characters) {
  std::string full(254, '1');
  Keys(std::string(300, '7') + kEnter + full + "2" + kHome + "3" + kLeft + kRight + "4" + kEnter);
  EXPECT_EQ(Line(1), std::string(254, '7'));
  EXPECT_EQ(written_, std::string(254, '7') + "\n");
  written_.clear();
  // In the middle of a full line too: only the cursor moves.
  EXPECT_EQ(Line(1), full);
  EXPECT_EQ(written_, full + std::string(254, '\b') + "1\n");
  EXPECT_STREQ(historique.ligne[1], full.c_str());
}

struct EndCase {
  const char* name;
  std::string keys;
  std::string line;
};

void PrintTo(const EndCase& c, std::ostream* os) { *os << c.name; }

class EndOfInput : public KeyboardTest, public ::testing::WithParamInterface<EndCase> {};

// End of input ends the entry as Enter would, wherever it comes; every entry
// after it returns an empty line at once.
TEST_P(EndOfInput, EndsTheEntryLikeEnter) {
  Keys(GetParam().keys);
  EXPECT_EQ(Line(4), GetParam().line);
  EXPECT_EQ(written_.back(), '\n');
  EXPECT_STREQ(historique.ligne[0], GetParam().line.c_str());
  written_.clear();
  EXPECT_EQ(Line(4), "");
  EXPECT_EQ(written_, "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Places, EndOfInput,
    ::testing::Values(EndCase{"AfterAKey", "12", "12"}, EndCase{"Nothing", "", ""},
                      EndCase{"AfterAPrefix", "1\xc3", "1"}, EndCase{"AfterEscape", "1\x1b", "1"},
                      EndCase{"InsideASequence", "1\x1b[", "1"},
                      EndCase{"InsideAPageKey", "1\x1b[5", "1"},
                      // Line feeds are refused keys, not line ends.
                      EndCase{"FileLines", "1+2\n3\n", "1+23"}),
    [](const ::testing::TestParamInfo<EndCase>& param_info) { return param_info.param.name; });

// --- On a real terminal ----------------------------------------------------

// Real key bytes typed at a terminal, each group sent once the child waits in
// raw mode; the echo is exactly the editor's, the final line feed included.
TEST(EditorOnATerminal, EditsRecallsAndHandsTheTerminalBack) {
  auto session = PtySession::Run([] {
    WaitForGo();
    init_historique_saisie();
    ajout_historique("99");
    char target[255];
    nomajloc(target, 4);
    printf("[%s]", target);
    return 0;
  });
  ASSERT_NE(session, nullptr);
  struct termios initial;
  int slave = OpenSlaveAndGo(session->master(), &initial);
  ASSERT_GE(slave, 0);

  std::string expected;
  auto type = [&](const std::string& keys, const std::string& echo) {
    ASSERT_TRUE(WaitForRawMode(slave));
    ASSERT_TRUE(session->Send(keys));
    expected += echo;
    ASSERT_TRUE(session->WaitFor(expected)) << "after " << keys;
  };
  type("\xc3\xa9", "2");              // é
  type("\xc2\xa7", "!");              // §
  type("(", "(");
  type(kLeft, "\b");
  // Delete, its '~' (refused), a lone Latin-1 é (refused), Backspace. The
  // '~' is sent with the keys after it, so that the next keys never reach
  // the terminal between two reads.
  type(kDelete + "\xe9" + kBackspace, " \b\b \b");
  type(kUp, "\b \b99");
  ASSERT_TRUE(WaitForRawMode(slave));
  session->Send(kEnter);
  EXPECT_EQ(session->Wait(), 0);
  EXPECT_EQ(session->output(), expected + "\n[99]");
  struct termios after;
  ASSERT_EQ(tcgetattr(slave, &after), 0);
  EXPECT_TRUE(SameSettings(initial, after));
  close(slave);
}

}  // namespace
