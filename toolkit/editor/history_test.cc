#include <limits.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "gtest/gtest.h"
#include "toolkit/editor/editor.h"

namespace {

std::vector<std::string> Lines(int from, int to) {
  std::vector<std::string> lines;
  for (int i = from; i <= to; ++i) lines.push_back("L" + std::to_string(i));
  return lines;
}

struct BrowseCase {
  const char* name;
  std::vector<std::string> recorded;
  // Each step is applied to the state the previous one left.
  std::vector<std::pair<int, std::string>> steps;
};

void PrintTo(const BrowseCase& c, std::ostream* os) { *os << c.name; }

class HistoryBrowse : public ::testing::TestWithParam<BrowseCase> {};

TEST_P(HistoryBrowse, StepsGiveTheExpectedLines) {
  init_historique_saisie();
  for (const std::string& line : GetParam().recorded) ajout_historique(line.c_str());
  int n = 0;
  for (const auto& [step, expected] : GetParam().steps) {
    EXPECT_EQ(parcours_historique(step), expected) << "step #" << n << " (" << step << ")";
    EXPECT_GE(historique.index_parcours, 0);
    EXPECT_LE(historique.index_parcours, 9);
    ++n;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Examples, HistoryBrowse,
    ::testing::Values(
        BrowseCase{"ThreeLines",
                   {"11", "22", "33"},
                   {{-1, "33"}, {-1, "22"}, {-1, "11"}, {-1, "11"}, {1, "22"}, {1, "33"},
                    {1, "33"}, {-9, "11"}, {9, "33"}}},
        BrowseCase{"ThreeLinesForwardFirst", {"11", "22", "33"}, {{1, "33"}}},
        BrowseCase{"ThreeLinesPageDownFirst", {"11", "22", "33"}, {{9, "33"}}},
        BrowseCase{"TenLines",
                   Lines(1, 10),
                   {{-1, "L1"}, {-1, "L1"}, {1, "L2"}, {1, "L3"}, {9, "L10"}, {-9, "L1"}}},
        BrowseCase{"ThirteenLines",
                   Lines(1, 13),
                   {{-1, "L13"}, {-1, "L12"}, {-1, "L11"}, {-1, "L11"}, {1, "L12"},
                    {1, "L13"}, {1, "L4"}, {9, "L10"}, {-9, "L11"}}},
        BrowseCase{"EmptyHistory", {}, {{-1, ""}, {1, ""}, {-9, ""}, {9, ""}, {0, ""}}},
        // Up to slot 9, turn, back down to slot 0: the longest search that
        // still finds a line.
        BrowseCase{"LongestSearch", {"seul"}, {{-1, "seul"}, {1, "seul"}}},
        BrowseCase{"StepZeroStays", {"11", "22", "33"}, {{-1, "33"}, {-1, "22"}, {0, "22"}}},
        // Steps far outside -9..9 are clamped like the others, never wrapped.
        BrowseCase{"HugeSteps",
                   {"11", "22", "33"},
                   {{INT_MAX, "33"}, {INT_MIN, "11"}, {INT_MAX, "33"}, {-1000, "11"}}}),
    [](const ::testing::TestParamInfo<BrowseCase>& param_info) { return param_info.param.name; });

TEST(History, IndexesAfterRecordingAndBrowsing) {
  init_historique_saisie();
  for (const std::string& line : Lines(1, 10)) ajout_historique(line.c_str());
  EXPECT_EQ(historique.index_ecriture, 0);
  EXPECT_EQ(historique.index_parcours, 0);
  // The eleventh line replaces slot 0.
  ajout_historique("L11");
  EXPECT_STREQ(historique.ligne[0], "L11");
  EXPECT_STREQ(historique.ligne[1], "L2");
  EXPECT_EQ(historique.index_ecriture, 1);
  EXPECT_EQ(historique.index_parcours, 1);
  // Step 0 on a filled slot leaves the browse index where it was.
  EXPECT_STREQ(parcours_historique(0), "L2");
  EXPECT_EQ(historique.index_parcours, 1);

  // A recalled line recorded again, here into its own slot.
  EXPECT_STREQ(parcours_historique(-9), "L11");
  for (int i = 0; i < 9; ++i) ajout_historique(historique.ligne[(i + 1) % 10]);
  EXPECT_EQ(historique.index_ecriture, 0);
  ajout_historique(parcours_historique(-9));
  EXPECT_STREQ(historique.ligne[0], "L11");

  init_historique_saisie();
  EXPECT_EQ(historique.index_ecriture, 0);
  EXPECT_EQ(historique.index_parcours, 0);
  for (const char* slot : historique.ligne) EXPECT_EQ(slot[0], '\0');
  EXPECT_STREQ(parcours_historique(-9), "");
  EXPECT_EQ(historique.index_parcours, 0);
  EXPECT_STREQ(parcours_historique(0), "");
}

TEST(History, LongLinesAreCutAndBadIndexesStayInTheSlots) {
  init_historique_saisie();
  std::string longest(254, 'a');
  ajout_historique((longest + "bcdef").c_str());
  EXPECT_EQ(std::string(historique.ligne[0]), longest);
  ajout_historique(longest.c_str());
  EXPECT_EQ(std::string(historique.ligne[1]), longest);
  ajout_historique(nullptr);
  EXPECT_EQ(historique.index_ecriture, 2);

  // The record is public: indexes a program has spoilt are brought back
  // into the slots instead of reaching outside them.
  historique.index_ecriture = 57;
  historique.index_parcours = -3000;
  ajout_historique("x");
  EXPECT_STREQ(historique.ligne[0], "x");
  EXPECT_EQ(historique.index_ecriture, 1);
  historique.index_parcours = INT_MAX;
  EXPECT_EQ(std::string(parcours_historique(1)), longest);
  EXPECT_EQ(historique.index_parcours, 1);
}

}  // namespace
