#include "ladder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
#include <vector>

#include "preferred_values.h"
#include "second_order.h"

namespace kalvena {
namespace {

using Kind = LadderElement::Kind;
using Place = LadderElement::Place;

// A value as each set of parts makes it, from the computed one in µF or mH, in farads or henries.
using Parts = std::function<double(double)>;
const Parts kExact = [](double v) { return v; };
const Parts kE12 = [](double v) { return nearestPreferred(v, PreferredSeries::E12); };
const Parts kE24 = [](double v) { return nearestPreferred(v, PreferredSeries::E24); };
const Parts kE12Pair = [](double v) {
  const auto pair = nearestE12Pair(v);
  return pair ? pair->sum : nearestPreferred(v, PreferredSeries::E12);
};

// The 12 dB/oct band-pass as drawn: series C1 and L1, then L2 and C2 across the wires.
std::vector<LadderElement> bandPass12(double fc1, double fc2, double r, const Parts& parts) {
  const auto c = [&](double fc) { return parts(secondOrderCapacitance(fc, r).value()) * 1e-6; };
  const auto l = [&](double fc) { return parts(secondOrderInductance(fc, r).value()) * 1e-3; };
  return {{Kind::Capacitor, Place::Series, c(fc1)},
          {Kind::Inductor, Place::Series, l(fc2)},
          {Kind::Inductor, Place::Shunt, l(fc1)},
          {Kind::Capacitor, Place::Shunt, c(fc2)}};
}

TEST(Ladder, ALowPassCrossesWhereItsFormulasPutIt) {
  // pi is 3.14 in the formulas: the 1000 Hz low-pass crosses a little below 1000 Hz.
  const std::vector<LadderElement> lowPass = {
      {Kind::Inductor, Place::Series, secondOrderInductance(1000, 8).value() * 1e-3},
      {Kind::Capacitor, Place::Shunt, secondOrderCapacitance(1000, 8).value() * 1e-6}};
  const Crossings c = minus3DbCrossings(lowPass, 8, 1000, 1000);
  EXPECT_FALSE(c.rising);
  ASSERT_TRUE(c.falling);
  EXPECT_NEAR(*c.falling, 999.5, 0.5);
  EXPECT_NEAR(ladderLevelDb(lowPass, 8, *c.falling), -10 * std::log10(2.0), 1e-9);
}

// The 12 dB/oct middle band: its high-pass and low-pass share a node, so that even exact values
// do not cross at the typed frequencies; each set of parts moves the edges.
TEST(Ladder, TheBandPassCrossesWhereItsNetworkPutsIt) {
  struct Row {
    double fc1, fc2;
    const Parts* parts;
    long rising, falling;
  };
  const Row rows[] = {
      {300, 3000, &kExact, 275, 3273}, {300, 3000, &kE12, 276, 3487},
      {300, 3000, &kE24, 274, 3177},   {300, 3000, &kE12Pair, 274, 3275},
      {500, 1000, &kExact, 366, 1365},
  };
  for (const Row& row : rows) {
    const Crossings c =
        minus3DbCrossings(bandPass12(row.fc1, row.fc2, 8, *row.parts), 8, row.fc1, row.fc2);
    ASSERT_TRUE(c.rising && c.falling) << row.fc1 << " " << row.fc2;
    EXPECT_EQ(std::lround(*c.rising), row.rising) << row.fc1 << " " << row.fc2;
    EXPECT_EQ(std::lround(*c.falling), row.falling) << row.fc1 << " " << row.fc2;
  }
}

TEST(Ladder, AResponseThatNeverReachesMinus3DbHasNoCrossing) {
  // 1 pF in series, then 1 µH across an 8 ohm load: from 3 Hz to 1 MHz the level stays far
  // below -3 dB, as a band-pass with parts far off their values may.
  const std::vector<LadderElement> starved = {{Kind::Capacitor, Place::Series, 1e-12},
                                              {Kind::Inductor, Place::Shunt, 1e-6}};
  const Crossings c = minus3DbCrossings(starved, 8, 300, 10000);
  EXPECT_FALSE(c.rising);
  EXPECT_FALSE(c.falling);
  EXPECT_LT(ladderLevelDb(starved, 8, 1000), -100);
}

}  // namespace
}  // namespace kalvena
