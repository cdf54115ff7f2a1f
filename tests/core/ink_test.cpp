// What of a rasterised text is ink, and the measures taken from it, the same for both toolkits.
#include "ink.h"

#include <gtest/gtest.h>

#include "quiet_painter.h"

#include <array>
#include <set>
#include <string>

namespace kalvena::ui {
namespace {

// A coverage from rows of characters: ' ' ground, '.' just short of a quarter, '-' a quarter,
// '=' just short of a half, '+' a half, '#' all.
Coverage drawn(std::initializer_list<std::string_view> rows, int originX = 0, int originY = 0) {
  Coverage c{
      static_cast<int>(rows.begin()->size()), static_cast<int>(rows.size()), originX, originY, {}};
  for (std::string_view row : rows) {
    for (char p : row) {
      c.values.push_back(p == '#'   ? 255
                         : p == '+' ? 128
                         : p == '=' ? 127
                         : p == '-' ? 64
                         : p == '.' ? 63
                                    : 0);
    }
  }
  return c;
}

TEST(Ink, ABoxAndRunsHoldThePixelsCoveredAQuarter) {
  struct Row {
    const char* what;
    Coverage coverage;
    PixelRect box;
    int runs;
  };
  const Row rows[] = {
      {"nothing", drawn({"    ", "    "}), {}, 0},
      {"short of a quarter is ground", drawn({"....", ".##."}), {1, 1, 2, 1}, 1},
      {"a quarter is ink", drawn({"-   -", " ##  "}), {0, 0, 5, 2}, 2},
      {"a faint column keeps two runs", drawn({"#.#", "#.#"}), {0, 0, 3, 2}, 2},
      {"a half and a full pixel", drawn({"+  =", " #  "}), {0, 0, 4, 2}, 2},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(inkBox(r.coverage), r.box) << r.what;
    EXPECT_EQ(inkRuns(r.coverage), r.runs) << r.what;
  }
}

TEST(Ink, ACaptionsInkIsMeasuredFromTheStartOfItsBaseline) {
  struct Fake final : test::QuietPainter {
    Coverage coverage;
    TextExtent captionExtent(std::string_view, int) override { return {10, 8, 2, 12}; }
    Coverage captionCoverage(std::string_view, int, double) override { return coverage; }
  } painter;
  painter.coverage = drawn({"      ", "  .#  ", "  ##- ", "      "}, 3, 3);
  TextExtent e = captionInk(painter, "x", 11);
  EXPECT_EQ((std::array{e.inkLeft, e.inkTop, e.inkRight, e.inkBottom}),
            (std::array{-1.0, -2.0, 2.0, 0.0}));
  // Nothing drawn to look at: the extent stands for the ink.
  painter.coverage = {};
  e = captionInk(painter, "x", 11);
  EXPECT_EQ((std::array{e.inkLeft, e.inkTop, e.inkRight, e.inkBottom}),
            (std::array{0.0, -8.0, 10.0, 2.0}));
}

TEST(Ink, EveryPairANumberHoldsIsLookedAtOnce) {
  std::multiset<std::string> pairs;
  for (const std::string& line : numberPairLines()) {
    EXPECT_LE(line.size(), 4u * 8);
    for (std::size_t i = 0; i < line.size(); i += 4) pairs.insert(line.substr(i, 2));
  }
  // Twelve characters, of which the two separators never stand beside each other.
  EXPECT_EQ(pairs.size(), 12u * 12 - 2 * 2);
  EXPECT_EQ(std::set<std::string>(pairs.begin(), pairs.end()).size(), pairs.size());
  EXPECT_EQ(pairs.count(".,"), 0u);
  EXPECT_EQ(pairs.count("0."), 1u);
}

TEST(Ink, NumbersStandApartWhereEachPairIsTwoRuns) {
  // Each character two columns of ink, `gap` columns of ground after it (a space four).
  const auto face = [](std::size_t gap, char touching = 0) {
    return [=](std::size_t index, std::string_view line) {
      EXPECT_EQ(line, numberPairLines()[index]);
      std::string row;
      for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ' ') {
          row += "    ";
          continue;
        }
        const bool next = i + 1 < line.size() && line[i + 1] != ' ';
        row += "##" + std::string(next && c == touching ? 0u : gap, ' ');
      }
      return drawn({row});
    };
  };
  EXPECT_TRUE(numbersStandApart(face(1)));
  EXPECT_FALSE(numbersStandApart(face(0)));
  EXPECT_FALSE(numbersStandApart(face(1, '7'))) << "a 7 that runs into what follows it";
  EXPECT_TRUE(numbersStandApart([](std::size_t, std::string_view) { return Coverage{}; }))
      << "nothing drawn: the face stands";
}

TEST(Ink, TheLargestSizeThatFitsAndTheFirstCandidateAtIt) {
  struct Row {
    const char* what;
    bool (*fits)(int candidate, int pixels);
    Fitting chosen;
  };
  const Row rows[] = {
      {"the first fits at once", [](int, int) { return true; }, {0, 11}},
      {"the second at the largest size", [](int c, int) { return c == 1; }, {1, 11}},
      {"a smaller size before a later face",
       [](int c, int p) { return (c == 0 && p <= 9) || (c == 2 && p <= 8); },
       {0, 9}},
      {"none: the first at the largest", [](int, int) { return false; }, {0, 11}},
      {"not below the smallest", [](int, int p) { return p < 8; }, {0, 11}},
  };
  for (const Row& r : rows) {
    const Fitting f = largestFitting(11, 8, 3, r.fits);
    EXPECT_EQ(f.candidate, r.chosen.candidate) << r.what;
    EXPECT_EQ(f.pixels, r.chosen.pixels) << r.what;
  }
}

}  // namespace
}  // namespace kalvena::ui
