// The whole dialogue of tavorin on a real terminal.
#include <string>

#include "gtest/gtest.h"
#include "testing/pty_session.h"

namespace {

using tavorin::testing::PtySession;
using tavorin::testing::TempDir;

const std::string kBanner =
    "</" + std::string(76, '-') + "\\>\n" + "/ " + std::string(76, ' ') + " \\\n" + "|" +
    std::string(11, ' ') + "Programme de comparaison de fichier ASCII ligne par ligne" +
    std::string(9, ' ') + " |\n" + "\\ " + std::string(76, ' ') + " /\n" + "<\\" +
    std::string(76, '-') + "/>\n";
const std::string kFirstPrompt = "Nom du premier fichier \xe0 comparer:\n?: ";
const std::string kSecondPrompt = "Nom du deuxi\xe8me fichier \xe0 comparer:\n?: ";

struct Dialogue {
  int status;
  std::string output;  // everything after the two prompts
};

// Answers both prompts the way a user does at a terminal: the name, Enter,
// and Enter once more (the line after each name is swallowed), then a key at
// the final pause.
Dialogue converse(const TempDir& dir, const std::string& first, const std::string& second) {
  auto session = PtySession::Exec({TAVORIN_PROGRAM}, {false, false, dir.path()});
  EXPECT_TRUE(session->WaitFor(kBanner + kFirstPrompt)) << session->output();
  session->Send(first + "\rignored\r");
  EXPECT_TRUE(session->WaitFor(kSecondPrompt)) << session->output();
  session->Send(second + "\rignored\r");
  EXPECT_TRUE(session->WaitFor("...")) << session->output();
  session->Send("\r");
  int status = session->Wait();
  std::string output = session->output();
  std::string head = kBanner + kFirstPrompt + kSecondPrompt;
  EXPECT_EQ(head, output.substr(0, head.size()));
  return {status, output.substr(std::min(head.size(), output.size()))};
}

TEST(Tavorin, ReportsTheFirstDifferingLine) {
  TempDir dir;
  dir.Write("a.txt", "a\nb\n");
  dir.Write("b.txt", "a\nb\nc\n");
  Dialogue run = converse(dir, "a.txt", "b.txt");
  EXPECT_EQ(0, run.status);
  EXPECT_EQ("a\na\nb\nb\nc\nLes lignes 3 des fichiers sont diff\xe9rentes!...", run.output);
}

TEST(Tavorin, ReportsIdenticalFilesWithTheirLineCount) {
  TempDir dir;
  dir.Write("same.txt", "un\n100% %s\n");
  Dialogue run = converse(dir, "same.txt", dir.path() + "\\same.txt");
  EXPECT_EQ(0, run.status);
  EXPECT_EQ("un\nun\n100% %s\n100% %s\n\n2 lignes scann\xe9" "es\nLes deux fichiers sont identiques\n...",
            run.output);
}

TEST(Tavorin, ComparesTwoEmptyFiles) {
  TempDir dir;
  dir.Write("empty", "");
  Dialogue run = converse(dir, "empty", "empty");
  EXPECT_EQ(0, run.status);
  EXPECT_EQ("\n0 lignes scann\xe9" "es\nLes deux fichiers sont identiques\n...", run.output);
}

TEST(Tavorin, StopsWhenAFileCannotBeOpenedOrRead) {
  TempDir dir;
  dir.Write("a.txt", "a\n");
  struct Case {
    const char* why;
    std::string first;
    std::string second;
    std::string output;
  } cases[] = {
      {"first missing, named with backslashes", "sub\\absent.txt", "a.txt",
       "\n!!! Une erreur est survenue durant l'ouverture du fichier sub/absent.txt, en mode r..."},
      {"second missing", "a.txt", "absent.txt",
       "\n!!! Une erreur est survenue durant l'ouverture du fichier absent.txt, en mode r..."},
      {"empty name", "", "a.txt",
       "\n!!! Une erreur est survenue durant l'ouverture du fichier , en mode r..."},
      {"a directory", dir.path(), "a.txt",
       "\n!!! Une erreur est survenue durant l'ouverture du fichier " + dir.path() +
           ", en mode r..."},
      {"a read error", "a.txt", "/proc/self/mem",
       "\n!!! Une erreur est survenue durant la lecture du fichier /proc/self/mem..."},
  };
  for (const Case& c : cases) {
    Dialogue run = converse(dir, c.first, c.second);
    EXPECT_EQ(1, run.status) << c.why;
    EXPECT_EQ(c.output, run.output) << c.why;
  }
}

TEST(Tavorin, TakesAnEmptyNameWhenInputEndsBeforeTheNames) {
  TempDir dir;
  auto session = PtySession::Exec({TAVORIN_PROGRAM}, {false, false, dir.path()});
  ASSERT_TRUE(session->WaitFor(kFirstPrompt));
  session->Send("\x04");  // Ctrl-D at the start of a line: end of input
  ASSERT_TRUE(session->WaitFor(kSecondPrompt));
  session->Send("\x04");
  EXPECT_TRUE(session->WaitFor("du fichier , en mode r..."));
  session->Send("\x04");
  EXPECT_EQ(1, session->Wait());
}

TEST(Tavorin, EchoesLongLinesInPiecesAndCountsThem) {
  TempDir dir;
  std::string line = std::string(300, 'x') + "\n";
  dir.Write("a", line + "fin\n");
  dir.Write("b", line + "FIN\n");
  Dialogue run = converse(dir, "a", "b");
  EXPECT_EQ(0, run.status);
  EXPECT_EQ(line.substr(0, 254) + line.substr(0, 254) + line.substr(254) + line.substr(254) +
                "fin\nFIN\nLes lignes 3 des fichiers sont diff\xe9rentes!...",
            run.output);
}

}  // namespace
