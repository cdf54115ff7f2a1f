#include "ladder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "nodal.h"
#include "response.h"
#include "response_text.h"
#include "second_order.h"
#include "third_order.h"

namespace kalvena {
namespace {

using namespace nodal;

// The crossings of half power, sampled densely and bisected: the lowest rising and the highest
// falling one, and how many stretches lie at half power or above.
struct Sampled {
  std::optional<double> rising, falling;
  std::size_t stretches = 0;  // at half power or above
};
Sampled nodalCrossings(const std::vector<Branch>& net, double lowHz, double highHz) {
  const auto above = [&](double hz) { return std::norm(loadVoltage(net, hz)) - 0.5; };
  const auto refine = [&](double lo, double hi) {
    const bool rising = above(lo) < 0;
    for (int k = 0; k < 60; ++k) {
      const double mid = std::sqrt(lo * hi);
      ((above(mid) < 0) == rising ? lo : hi) = mid;
    }
    return std::sqrt(lo * hi);
  };
  Sampled c;
  const double step = std::pow(10.0, 1.0 / 200);
  // Searched where the ladder's search looks, a hundredth of the lower to a hundredfold the upper.
  if (above(lowHz / 100) >= 0) c.stretches = 1;
  for (double hz = lowHz / 100; hz < highHz * 100; hz *= step) {
    const bool here = above(hz) >= 0, next = above(hz * step) >= 0;
    if (!here && next) ++c.stretches;
    if (!here && next && !c.rising) c.rising = refine(hz, hz * step);
    if (here && !next) c.falling = refine(hz, hz * step);
  }
  return c;
}

// Every section of both windows, with each set of parts, crosses where its nodal equations
// say: the same crossings found, at the same frequencies.
TEST(Response, EverySectionCrossesWhereItsNodalEquationsSay) {
  std::vector<InputValues> cases;
  for (const double r : {2.0, 8.0, 16.0}) {
    for (const double fc : {20.0, 1000.0, 20000.0}) {
      cases.push_back({fc, r, fc, fc, r, fc, r});  // fc1 = fc2
    }
    for (const auto& [fc1, fc2] : {std::pair{1000.0, 1100.0},
                                   {300.0, 3000.0},
                                   {20.0, 20000.0},
                                   {3000.0, 300.0},
                                   {1000.0, 900.0},
                                   {1000.0, 1.0}}) {  // a peak 1 Hz wide
      cases.push_back({fc1, r, fc1, fc2, r, fc2, r});
    }
  }
  int compared = 0;
  for (const int order : {12, 18}) {
    for (const InputValues& in : cases) {
      const std::map<std::string, double> computed = order == 12 ? values12(in) : values18(in);
      for (const Section section : {Section::Low, Section::Middle, Section::High}) {
        const std::optional<SectionCrossings> core =
            order == 12
                ? networkCrossings(kSecondOrderFormulas,
                                   kSecondOrderNetworks[static_cast<std::size_t>(section)], in)
                : networkCrossings(kThirdOrderFormulas,
                                   kThirdOrderNetworks[static_cast<std::size_t>(section)], in);
        ASSERT_TRUE(core);
        const double r = section == Section::Low    ? in.LowR
                         : section == Section::High ? in.HighR
                                                    : in.MidR;
        const double fc = section == Section::Low ? in.LowFc : in.HighFc;
        const double lo = section == Section::Middle ? std::min(in.MidFc1, in.MidFc2) : fc;
        const double hi = section == Section::Middle ? std::max(in.MidFc1, in.MidFc2) : fc;
        for (std::size_t s = 0; s < std::size(kPartsSets); ++s) {
          const auto value = [&](const char* n) {
            return partsValue(computed.at(n), kPartsSets[s]);
          };
          const std::vector<Branch> net = drawn(order, section, value, r);
          const Sampled sampled = nodalCrossings(net, lo, hi);
          const Crossings& got = (*core)[s];
          const std::string where = std::to_string(order) + " dB, section " +
                                    std::to_string(static_cast<int>(section)) + ", " +
                                    std::to_string(in.MidFc1) + "/" + std::to_string(in.MidFc2) +
                                    " Hz, " + std::to_string(r) + " ohm, set " + std::to_string(s);
          // Each crossing given is one: below half power just before it, above just after.
          const auto halfPowerOrMore = [&](double hz) {
            return std::norm(loadVoltage(net, hz)) >= 0.5;
          };
          for (const auto& [edge, rising] : {std::pair{got.rising, true}, {got.falling, false}}) {
            if (!edge) continue;
            EXPECT_EQ(halfPowerOrMore(*edge * (1 - 1e-8)), !rising) << where;
            EXPECT_EQ(halfPowerOrMore(*edge * (1 + 1e-8)), rising) << where;
          }
          // Where no peak is narrower than the samples' spacing both find the same crossings;
          // where one is, what the samples find lies within what the ladder finds.
          const bool sharp = section == Section::Middle && in.MidFc2 == 1.0;
          for (const auto& [g, w] :
               {std::pair{got.rising, sampled.rising}, {got.falling, sampled.falling}}) {
            ASSERT_TRUE(g || !w) << where;
            if (!sharp) {
              ASSERT_EQ(g.has_value(), w.has_value()) << where;
              if (w) {
                EXPECT_NEAR(*g / *w, 1.0, 1e-9) << where;
              }
            }
          }
          // Each peak and dip given is one, at the level the nodal equations give there, and
          // each stretch lies at -3 dB or above between its ends.
          const auto db = [&](double hz) {
            return 20 * std::log10(std::abs(loadVoltage(net, hz)));
          };
          for (const auto& [extremes, peak] : {std::pair{&got.peaks, true}, {&got.dips, false}}) {
            for (const Extreme& e : *extremes) {
              EXPECT_NEAR(e.db, db(e.hz), 1e-6) << where;
              for (const double side : {1 - 1e-4, 1 + 1e-4}) {
                const double there = db(e.hz * side);
                EXPECT_TRUE(peak ? there <= e.db + 1e-6 : there >= e.db - 1e-6)
                    << where << " at " << e.hz;
              }
            }
          }
          for (std::size_t i = 0; i < got.stretches.size(); ++i) {
            const Stretch& st = got.stretches[i];
            if (st.from && st.to) {
              EXPECT_TRUE(halfPowerOrMore(std::sqrt(*st.from * *st.to))) << where;
            }
            if (i > 0) {
              EXPECT_LT(*got.stretches[i - 1].to, *st.from) << where;
            }
          }
          if (!sharp) {
            EXPECT_EQ(got.stretches.size(), sampled.stretches) << where;
          }
          if (sampled.rising) {
            EXPECT_LE(*got.rising, *sampled.rising * (1 + 1e-9)) << where;
          }
          if (sampled.falling) {
            EXPECT_GE(*got.falling, *sampled.falling * (1 - 1e-9)) << where;
          }
          ++compared;
        }
      }
    }
  }
  EXPECT_EQ(compared, 2 * 27 * 3 * 4);
}

TEST(Response, SaysWhereEachSectionCrossesForEachSetOfParts) {
  struct Row {
    int order;
    Section section;
    InputValues in;
    const char* decimalPoint;
    std::string text;
  };
  const Row rows[] = {
      // Its high-pass and low-pass share a node: even exact values miss the typed frequencies.
      {12,
       Section::Middle,
       {.MidFc1 = 300, .MidFc2 = 3000, .MidR = 8},
       ".",
       "−3 dB: 275 и 3273 Hz; E12: 276 и 3487 Hz; E24: 274 и 3177 Hz; E12 ×2: 274 и 3275 Hz"},
      {12,
       Section::Middle,
       {.MidFc1 = 500, .MidFc2 = 1000, .MidR = 8},
       ",",
       "−3 dB: 366 и 1365 Hz; E12: 380 и 1375 Hz; E24: 378 и 1376 Hz; E12 ×2: 367 и 1368 Hz"},
      // pi is 3.14 in the formulas: the 1000 Hz low-pass crosses at 999.5 Hz.
      {12,
       Section::Low,
       {.LowFc = 1000, .LowR = 8},
       ",",
       "−3 dB: 999 Hz; E12: 999 Hz; E24: 999 Hz; E12 ×2: 1000 Hz"},
      {18,
       Section::High,
       {.HighFc = 1000, .HighR = 8},
       ",",
       "−3 dB: 999 Hz; E12: 1076 Hz; E24: 999 Hz; E12 ×2: 999 Hz"},
      // A peak 1 Hz wide; E12 parts tune its halves apart into a sharper one, at 34.28 Hz.
      {18,
       Section::Middle,
       {.MidFc1 = 1000, .MidFc2 = 1, .MidR = 8},
       ",",
       "−3 dB: 31 и 32 Hz; E12: 34 и 34 Hz, връх +30,3 dB при 34 Hz; E24: ≈30 и ≈31 Hz, спад "
       "−12,3 dB при 31 Hz, връх +10,9 dB при 31 Hz; E12 ×2: 31 и 32 Hz, връх +1,3 dB при 32 Hz"},
      // Typed in reverse, E12 parts split the band in two around a dip.
      {18,
       Section::Middle,
       {.MidFc1 = 3000, .MidFc2 = 50, .MidR = 8},
       ".",
       "−3 dB: 363 и 413 Hz; E12: 346–358 и 371–391 Hz, спад −4.3 dB при 364 Hz, връх +2.1 dB "
       "при 350 Hz, връх +4.4 dB при 383 Hz; E24: 365 и 414 Hz; E12 ×2: 363 и 413 Hz, връх "
       "+0.73 dB при 375 Hz"},
      // A peak below 1 dB is given to two decimals; one of 0.5 dB or less is not said.
      {18,
       Section::Middle,
       {.MidFc1 = 1000, .MidFc2 = 1010, .MidR = 2},
       ".",
       "−3 dB: 619 и 1629 Hz; E12: 614 и 1626 Hz, връх +0.97 dB при 753 Hz; E24: 634 и 1633 Hz; "
       "E12 ×2: 623 и 1639 Hz"},
  };
  for (const Row& row : rows) {
    const ui::SectionTexts texts =
        row.order == 12 ? ui::crossingsTexts(kSecondOrderFormulas, kSecondOrderNetworks, row.in,
                                             row.decimalPoint)
                        : ui::crossingsTexts(kThirdOrderFormulas, kThirdOrderNetworks, row.in,
                                             row.decimalPoint);
    for (const Section s : {Section::Low, Section::Middle, Section::High}) {
      // Only the typed section is complete; the others say nothing.
      EXPECT_EQ(texts[static_cast<std::size_t>(s)], s == row.section ? row.text : "") << row.text;
    }
  }
}

TEST(Response, SaysNothingOutOfRangeAndWhereMinus3DbIsNotReached) {
  // The low section's values overflow; the high one's search would reach past 1.8E+308 Hz.
  const InputValues huge{.LowFc = 1e-300, .LowR = 1e-300, .HighFc = 1e307, .HighR = 1};
  for (const std::string& text :
       ui::crossingsTexts(kSecondOrderFormulas, kSecondOrderNetworks, huge, ".")) {
    EXPECT_EQ(text, "");
  }
  EXPECT_EQ(ui::crossingsText(Section::Middle, SectionCrossings{}, "."),
            "−3 dB: не се достига; E12: не се достига; E24: не се достига; E12 ×2: не се достига");
  // 1 pF in series, then 1 µH across an 8 ohm load: the level stays far below -3 dB.
  using K = LadderElement::Kind;
  using P = LadderElement::Place;
  const LadderElement starved[] = {{K::Capacitor, P::Series, 1e-12}, {K::Inductor, P::Shunt, 1e-6}};
  const std::optional<Crossings> c = minus3DbCrossings(starved, 8, 300, 10000);
  ASSERT_TRUE(c);
  EXPECT_FALSE(c->rising || c->falling);
  EXPECT_LT(ladderLevelDb(starved, 8, 1000), -100);
}

}  // namespace
}  // namespace kalvena
