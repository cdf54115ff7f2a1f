#include "driver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

#include "band_driver.h"
#include "crossover.h"
#include "level_search.h"
#include "load_plot.h"
#include "nodal.h"
#include "quiet_painter.h"
#include "response.h"
#include "response_plot.h"
#include "second_order.h"
#include "third_order.h"

namespace kalvena {
namespace {

using nodal::Branch;

// A woofer, a midrange and a tweeter as data sheets give them.
const ThieleSmall kDrivers[] = {
    {5.6, 0.8e-3, 35, 3.5, 0.40},
    {3.2, 0.25e-3, 80, 2.8, 0.60},
    {4.7, 0.05e-3, 900, 1.8, 1.20},
};

std::vector<double> audioFrequencies() {
  std::vector<double> hz;
  for (double f = 10; f <= 40000; f *= 1.07) hz.push_back(f);
  return hz;
}

// Each drawing below is wired between nodes, with `first` the lowest it may use; the driver's
// terminal is `terminal`, and ground is 0.
void addDriver(std::vector<Branch>& net, const ThieleSmall& d, std::size_t terminal,
               std::size_t first) {
  const double w0 = 2 * std::numbers::pi * d.fs;
  net.push_back({terminal, first, 'R', d.re});
  net.push_back({first, first + 1, 'L', d.le});
  net.push_back({first + 1, 0, 'R', d.re * d.qms / d.qes});
  net.push_back({first + 1, 0, 'L', d.re / (w0 * d.qes)});
  net.push_back({first + 1, 0, 'C', d.qes / (w0 * d.re)});
}

// The impedance at the highest node of a network hung from the source through one ohm.
std::complex<double> nodalImpedance(const std::vector<Branch>& net, double hz) {
  const std::complex<double> v = nodal::loadVoltage(net, hz);
  return v / (1.0 - v);
}

// The networks across a driver flatten what they were made for, as their closed forms say:
// a Zobel makes Re + jwLe a resistance Re, a notch makes Re with the motional impedance Re, and
// an L-pad's resistors into a resistance z load the source with z and take off their decibels.
TEST(Driver, CompensationFlattensWhatItWasMadeFor) {
  for (const ThieleSmall& d : kDrivers) {
    const std::string which = "Re " + std::to_string(d.re);
    const Zobel zobel = zobelFor(d.re, d.le);
    ThieleSmall noCoil = d;
    noCoil.le = 0;
    const BandLoad notched{noCoil, std::nullopt, notchFor(d), std::nullopt};
    for (const double hz : audioFrequencies()) {
      // Re and Le with the Zobel, solved by the nodal equations.
      const std::vector<Branch> coil{{1, 4, 'R', 1},
                                     {4, 2, 'R', d.re},
                                     {2, 0, 'L', d.le},
                                     {4, 3, 'R', zobel.r},
                                     {3, 0, 'C', zobel.c}};
      EXPECT_NEAR(std::abs(nodalImpedance(coil, hz) - d.re), 0, 1e-9 * d.re) << which << hz;
      EXPECT_NEAR(std::abs(notched.impedance(hz) - d.re), 0, 1e-9 * d.re) << which << hz;
    }
  }
  // 8 ohm and 6 dB: 3.99 and 8.04 ohm (not 16.04, which takes off 4.85 dB into 9.3 ohm).
  const std::optional<LPad> six = lPadFor(8, 6);
  ASSERT_TRUE(six);
  EXPECT_NEAR(six->series, 3.990, 0.001);
  EXPECT_NEAR(six->shunt, 8.038, 0.001);
  for (const double z : {2.0, 4.0, 8.0, 16.0}) {
    for (const double db : {0.5, 3.0, 6.0, 12.0, 30.0}) {
      const std::optional<LPad> pad = lPadFor(z, db);
      ASSERT_TRUE(pad);
      EXPECT_NEAR(pad->series + pad->shunt * z / (pad->shunt + z), z, 1e-12 * z);
      EXPECT_NEAR(lPadAttenuationDb(*pad, z), db, 1e-9);
      const BandLoad padded{z, std::nullopt, std::nullopt, pad};
      EXPECT_NEAR(std::abs(padded.impedance(1000)), z, 1e-12 * z);
      EXPECT_NEAR(-20 * std::log10(std::abs(padded.padTransfer(1000))), db, 1e-9);
    }
  }
  for (const double db : {0.0, -3.0, double(NAN), double(INFINITY)})
    EXPECT_FALSE(lPadFor(8, db)) << db;
}

// A band's level at its driver with real parts (coils with their wire's resistance, a driver
// with its Zobel, notch and pad) is what the nodal equations of the same drawing give.
TEST(Driver, ABandIntoARealDriverIsWhatItsNodalEquationsSay) {
  const ThieleSmall& woofer = kDrivers[0];
  const double l = 3.3e-3, c = 39e-6, dcr = 0.35;  // a 12 dB/oct low-pass near 450 Hz
  const std::vector<LadderElement> ladder{
      {LadderElement::Kind::Inductor, LadderElement::Place::Series, l, dcr},
      {LadderElement::Kind::Capacitor, LadderElement::Place::Shunt, c}};
  const Zobel zobel = zobelFor(woofer.re, woofer.le);
  const Notch notch = notchFor(woofer);
  const LPad pad = *lPadFor(8, 3);
  for (const int parts : {0, 1, 2, 3, 4}) {  // none, then each added
    BandLoad load{woofer};
    if (parts >= 2) load.zobel = zobel;
    if (parts >= 3) load.notch = notch;
    if (parts >= 4) load.pad = pad;
    // From the source (1): the coil and its wire, the capacitor to ground, then the pad's
    // series resistor to the driver's terminal, where the rest hangs to ground.
    std::size_t next = 2;
    std::vector<Branch> net;
    const std::size_t coil = next++;
    net.push_back({1, coil, 'L', l});
    std::size_t t = coil;
    if (parts >= 1) net.push_back({coil, t = next++, 'R', dcr});
    net.push_back({t, 0, 'C', c});
    if (parts >= 4) {
      const std::size_t from = t;
      net.push_back({from, t = next++, 'R', pad.series});
      net.push_back({t, 0, 'R', pad.shunt});
    }
    if (parts >= 2) {
      net.insert(net.end(), {{t, next, 'R', zobel.r}, {next, 0, 'C', zobel.c}});
      ++next;
    }
    if (parts >= 3) {
      net.insert(
          net.end(),
          {{t, next, 'R', notch.r}, {next, next + 1, 'L', notch.l}, {next + 1, 0, 'C', notch.c}});
      next += 2;
    }
    addDriver(net, woofer, t, next);
    next += 2;
    // The terminal is made the highest node, whose voltage the nodal equations give.
    for (Branch& b : net) {
      for (std::size_t* n : {&b.from, &b.to}) {
        if (*n == t || *n == next - 1) *n = *n == t ? next - 1 : t;
      }
    }
    std::vector<LadderElement> rungs = ladder;
    if (parts == 0) rungs[0].resistance = 0;
    for (const double hz : audioFrequencies()) {
      const std::complex<double> got = bandResponse(rungs, load, hz);
      const std::complex<double> want = nodal::loadVoltage(net, hz);
      EXPECT_NEAR(std::abs(got - want), 0, 1e-6 * std::abs(want) + 1e-12)
          << parts << " parts at " << hz << " Hz";
    }
  }
}

// Into a resistance the sampled search finds what the exact search of a ladder finds: every
// section of both windows, every parts set.
TEST(Driver, TheSampledSearchFindsTheExactCrossingsIntoAResistance) {
  int compared = 0;
  for (const double r : {4.0, 8.0}) {
    for (const auto& [fc1, fc2] : {std::pair{300.0, 3000.0}, {1000.0, 1100.0}, {3000.0, 300.0}}) {
      const InputValues in{fc1, r, fc1, fc2, r, fc2, r};
      for (const BuiltSections& sections :
           {networkSections(kSecondOrderFormulas, kSecondOrderNetworks, in),
            networkSections(kThirdOrderFormulas, kThirdOrderNetworks, in)}) {
        for (const std::optional<BuiltSection>& built : sections) {
          ASSERT_TRUE(built);
          for (const PartsSet set : kPartsSets) {
            const std::vector<LadderElement> ladder = built->ladder(set);
            const std::optional<Crossings> exact =
                minus3DbCrossings(ladder, built->load, built->lowHz, built->highHz);
            const std::optional<Crossings> sampled =
                levelCrossings([&](double hz) { return ladderLevelDb(ladder, built->load, hz); },
                               built->lowHz, built->highHz);
            ASSERT_TRUE(exact && sampled);
            ASSERT_EQ(exact->rising.has_value(), sampled->rising.has_value());
            ASSERT_EQ(exact->falling.has_value(), sampled->falling.has_value());
            if (exact->rising) {
              EXPECT_NEAR(*sampled->rising / *exact->rising, 1, 1e-8);
            }
            if (exact->falling) {
              EXPECT_NEAR(*sampled->falling / *exact->falling, 1, 1e-8);
            }
            EXPECT_EQ(sampled->stretches.size(), exact->stretches.size());
            // Peaks closer together than the samples are found as one, at the same height;
            // the peaks that are said (over half a decibel) are each found.
            const auto said = [](const Crossings& c) {
              std::vector<double> db;
              for (const Extreme& e : c.peaks) {
                if (e.db > kSaidPeakDb) db.push_back(e.db);
              }
              return db;
            };
            const std::vector<double> exactSaid = said(*exact), sampledSaid = said(*sampled);
            ASSERT_EQ(sampledSaid.size(), exactSaid.size());
            for (std::size_t i = 0; i < exactSaid.size(); ++i) {
              EXPECT_NEAR(sampledSaid[i], exactSaid[i], 1e-6);
            }
            for (const Extreme& e : sampled->peaks) {
              EXPECT_NEAR(e.db, ladderLevelDb(ladder, built->load, e.hz), 1e-12);
            }
            ++compared;
          }
        }
      }
    }
  }
  EXPECT_EQ(compared, 2 * 3 * 2 * 3 * 4);
}

// What a builder adds around a driver does what it is for in the bands: a pad keeps a band's
// -3 dB points (read against its padded level), the coils' resistance costs the level it
// should, a measured curve that is a resistor crosses where the resistor does, and a measured
// woofer's coil is fitted near the model it was measured from.
TEST(Driver, WhatGoesAroundADriverDoesWhatItIsFor) {
  const InputValues in{400, 8, 400, 4000, 8, 4000, 8};
  const BuiltSections sections = networkSections(kSecondOrderFormulas, kSecondOrderNetworks, in);
  std::vector<ImpedancePoint> flat;
  for (double hz = 1; hz < 1e6; hz *= 2) flat.push_back({hz, 8, 0});
  const struct {
    const char* name;
    BandDriver chosen;
  } sameCrossings[] = {
      {"a 6 dB pad", {.padDb = 6}},
      {"a measured 8 ohm", {.driver = *MeasuredImpedance::of(flat)}},
      {"a measured 8 ohm with a notch", {.driver = *MeasuredImpedance::of(flat), .notch = true}}};
  for (const auto& row : sameCrossings) {
    for (const std::optional<BuiltSection>& built : sections) {
      const std::optional<SectionCrossings> nominal = sectionCrossings(*built);
      const std::optional<SectionCrossings> chosen = sectionCrossings(*built, row.chosen);
      ASSERT_TRUE(nominal && chosen) << row.name;
      const Crossings& a = (*nominal)[0];
      const Crossings& b = (*chosen)[0];
      for (const auto& [x, y] : {std::pair{a.rising, b.rising}, {a.falling, b.falling}}) {
        ASSERT_EQ(x.has_value(), y.has_value()) << row.name;
        if (x) {
          EXPECT_NEAR(*y / *x, 1, 1e-8) << row.name;
        }
      }
    }
  }
  // 0.35 ohm in series with 8 ohm: 20 log10(8 / 8.35) in the woofer's pass band.
  BandDrivers drivers;
  drivers[0].coilOhms = 0.35;
  const Crossover wired(sections, PartsSet::Computed, drivers);
  EXPECT_NEAR(20 * std::log10(std::abs(wired.response(Section::Low, 20))),
              20 * std::log10(8 / 8.35), 0.01);
  // A woofer measured densely from its model: the fitted coil lies near the model's.
  const ThieleSmall& woofer = kDrivers[0];
  std::vector<ImpedancePoint> measured;
  for (double hz = 10; hz < 20000; hz *= 1.02) {
    const Impedance z = thieleSmallImpedance(woofer, hz);
    measured.push_back({hz, std::abs(z), std::arg(z) * 180 / std::numbers::pi});
  }
  const std::optional<Coil> coil = coilOf(*MeasuredImpedance::of(measured));
  ASSERT_TRUE(coil);
  EXPECT_NEAR(coil->re / woofer.re, 1, 0.05);
  EXPECT_NEAR(coil->le / woofer.le, 1, 0.05);
  EXPECT_FALSE(coilOf(Driver(8.0)));
}

// The amplifier's load is the three sections in parallel as their nodal equations give it, and
// its rating is the largest of 8, 6, 4 and 2 ohm that its minimum stays within 20 % of.
TEST(Driver, TheAmplifiersLoadIsTheSectionsInParallel) {
  for (const int order : {12, 18}) {
    for (const double r : {4.0, 8.0}) {
      const InputValues in{400, r, 400, 4000, r, 4000, r};
      const BuiltSections sections =
          order == 12 ? networkSections(kSecondOrderFormulas, kSecondOrderNetworks, in)
                      : networkSections(kThirdOrderFormulas, kThirdOrderNetworks, in);
      for (const PartsSet set : {PartsSet::Computed, PartsSet::E12}) {
        // The sections hung from one node, fed from the source through one ohm.
        std::vector<Branch> net;
        std::size_t used = 1;
        const std::size_t feed = 1000;
        for (const std::vector<Branch>& section : nodal::drawnSections(order, in, set)) {
          std::size_t highest = 0;
          for (Branch b : section) {
            for (std::size_t* n : {&b.from, &b.to}) {
              if (*n > 1) highest = std::max(highest, *n += used - 1);
              if (*n == 1) *n = feed;
            }
            net.push_back(b);
          }
          used = highest;
        }
        for (Branch& b : net) {
          for (std::size_t* n : {&b.from, &b.to}) {
            if (*n == feed) *n = used + 1;
          }
        }
        net.push_back({1, used + 1, 'R', 1});
        const Crossover crossover(sections, set);
        for (const double hz : audioFrequencies()) {
          const std::complex<double> want = nodalImpedance(net, hz);
          const std::optional<std::complex<double>> got = crossover.amplifierLoad(hz);
          ASSERT_TRUE(got);
          EXPECT_NEAR(std::abs(*got - want), 0, 1e-6 * std::abs(want)) << order << " " << hz;
        }
        const std::optional<LoadMinimum> minimum = amplifierLoadMinimum(crossover);
        ASSERT_TRUE(minimum);
        for (const double hz : audioFrequencies()) {
          if (hz >= kAudibleLowHz && hz <= kAudibleHighHz) {
            EXPECT_GE(std::abs(nodalImpedance(net, hz)), minimum->ohms * (1 - 1e-9)) << hz;
          }
        }
      }
    }
  }
  // The rating of a minimum, by a crossover of one band into a resistance of that minimum.
  const struct {
    double ohms;
    std::optional<int> rated;
  } ratings[] = {{8.0, 8},  {6.45, 8}, {6.35, 6}, {4.85, 6},           {4.75, 4},
                 {3.25, 4}, {3.15, 2}, {1.65, 2}, {1.55, std::nullopt}};
  for (const auto& row : ratings) {
    const InputValues in{1e9, row.ohms, 0, 0, 0, 0, 0};  // a low-pass far above the audible range
    const Crossover one(networkSections(kSecondOrderFormulas, kSecondOrderNetworks, in),
                        PartsSet::Computed);
    const std::optional<LoadMinimum> minimum = amplifierLoadMinimum(one);
    ASSERT_TRUE(minimum) << row.ohms;
    EXPECT_NEAR(minimum->ohms, row.ohms, 1e-6) << row.ohms;
    EXPECT_EQ(minimum->rated, row.rated) << row.ohms;
  }
  EXPECT_FALSE(amplifierLoadMinimum(Crossover(BuiltSections{}, PartsSet::Computed)));
}

// The response window's figures are those of the drivers chosen, worked out anew when the
// choice changes: a padded tweeter plays 6 dB down and keeps its crossing, a woofer's coils of
// 1 ohm cost it 20 log10(8/9) dB, and the amplifier's load is the crossover's.
TEST(Driver, TheResponseFiguresAreThoseOfTheDriversChosen) {
  const InputValues in{400, 8, 400, 4000, 8, 4000, 8};
  const BuiltSections sections = networkSections(kSecondOrderFormulas, kSecondOrderNetworks, in);
  BandDrivers drivers;
  drivers[0].coilOhms = 1;
  drivers[2].padDb = 6;
  ui::ResponseFigureCache cache;
  cache.update(sections);
  const ui::ResponseFigures nominal = cache.figures(PartsSet::Computed);
  cache.setDrivers(drivers);
  const ui::ResponseFigures& chosen = cache.figures(PartsSet::Computed);
  // The points nearest 20 Hz and 20 kHz.
  const auto nearest = [](double hz) {
    return static_cast<std::size_t>(std::lround(ui::kCurvePerDecade * std::log10(hz / 10)));
  };
  const std::size_t at20 = nearest(20), at20k = nearest(20000);
  EXPECT_NEAR(nominal.bandDb[2][at20k], 0, 0.01);
  EXPECT_NEAR(chosen.bandDb[2][at20k], -6, 0.01);
  EXPECT_NEAR(chosen.bandDb[0][at20] - nominal.bandDb[0][at20], 20 * std::log10(8.0 / 9), 0.01);
  EXPECT_NEAR(*chosen.crossings[2]->rising / *nominal.crossings[2]->rising, 1, 1e-8);
  const Crossover crossover(sections, PartsSet::Computed, drivers);
  ASSERT_EQ(chosen.load.size(), ui::curveCount());
  for (std::size_t i = 0; i < chosen.load.size(); i += 97) {
    EXPECT_EQ(chosen.load[i], crossover.amplifierLoad(ui::curveHz(i)).value());
  }
  ASSERT_TRUE(chosen.loadMinimum);
  EXPECT_NE(ui::responseDescription(chosen, ".").find(ui::loadText(*chosen.loadMinimum, ".")),
            std::string::npos);
  // Back to the drivers as typed: the figures as they were.
  cache.setDrivers({});
  EXPECT_EQ(cache.figures(PartsSet::Computed).bandDb, nominal.bandDb);
}

// A band into a measured driver is drawn solid where the driver was measured and dashed beyond,
// and its description says where it was measured and which crossings lie outside.
TEST(Driver, AMeasuredBandIsDashedBeyondItsMeasurement) {
  using ui::Pen;
  using ui::Point;
  struct Strokes final : ui::test::QuietPainter {
    std::vector<std::pair<std::vector<Point>, Pen>> lines;
    void polyline(std::span<const Point> points, const Pen& pen) override {
      lines.emplace_back(std::vector<Point>(points.begin(), points.end()), pen);
    }
  };
  const InputValues in{400, 8, 400, 4000, 8, 4000, 8};
  const BuiltSections sections = networkSections(kSecondOrderFormulas, kSecondOrderNetworks, in);
  std::vector<ImpedancePoint> flat;
  for (double hz = 500; hz <= 2000; hz *= 1.1) flat.push_back({hz, 8, 0});
  BandDrivers drivers;
  drivers[1].driver = *MeasuredImpedance::of(flat);
  const ui::ResponseFigures figures = ui::responseFigures(sections, PartsSet::Computed, drivers);
  ASSERT_TRUE(figures.measured[1]);
  const auto [low, high] = *figures.measured[1];
  EXPECT_EQ(low, 500);
  EXPECT_FALSE(figures.measured[0] || figures.measured[2]);
  Strokes strokes;
  ui::drawResponsePlot(strokes, 720, 448, figures, ".");
  const ui::PlotFrame f = ui::plotFrame(720, 448);
  int solid = 0, dashed = 0;
  for (const auto& [points, pen] : strokes.lines) {
    if (pen.color != ui::kBandColors[1] || pen.width != 1.5) continue;
    for (const Point& p : points) {
      const double hz = f.hz(p.x);
      // Each stroke lies on its side of the measurement's ends, which the parts share.
      if (pen.dashed) {
        EXPECT_TRUE(hz <= low * 1.02 || hz >= high / 1.02) << hz;
      } else {
        EXPECT_TRUE(hz >= low / 1.02 && hz <= high * 1.02) << hz;
      }
    }
    ++(pen.dashed ? dashed : solid);
  }
  EXPECT_EQ(solid, 1);
  EXPECT_EQ(dashed, 2);
  const std::string said = ui::responseDescription(figures, ".");
  EXPECT_NE(said.find("(измерен при 500–"), std::string::npos) << said;
  EXPECT_NE(said.find(" Hz са извън измерването)"), std::string::npos) << said;
}

// A measured curve is its points where it was measured, interpolated in the logarithm of the
// frequency between them, held at its ends outside them, and its phase unwrapped.
TEST(Driver, AMeasuredCurveIsItsPointsAndLiesBetweenThem) {
  const std::optional<MeasuredImpedance> curve =
      MeasuredImpedance::of({{100, 6, 170}, {400, 10, -170}, {1600, 8, 0}});
  ASSERT_TRUE(curve);
  // -170 after 170 is 190: a step of 20 degrees, not of 340.
  EXPECT_EQ(curve->points()[1].degrees, 190);
  EXPECT_EQ(curve->points()[2].degrees, 360);
  // Unwrapped again, a curve stays as it was, a step of half a turn too.
  EXPECT_EQ(MeasuredImpedance::of(curve->points())->points(), curve->points());
  const std::vector<ImpedancePoint> halfTurn{{100, 6, 10}, {200, 6, 190}, {300, 6, 10}};
  EXPECT_EQ(MeasuredImpedance::of(halfTurn)->points(), halfTurn);
  const auto polar = [](double ohms, double degrees) {
    return std::polar(ohms, degrees * std::numbers::pi / 180);
  };
  const struct {
    double hz;
    std::complex<double> want;
    bool measured;
  } rows[] = {{100, polar(6, 170), true},   {200, polar(8, 180), true},
              {400, polar(10, 190), true},  {800, polar(9, 275), true},
              {1600, polar(8, 360), true},  {50, polar(6, 170), false},
              {20000, polar(8, 360), false}};
  for (const auto& row : rows) {
    EXPECT_NEAR(std::abs(curve->at(row.hz) - row.want), 0, 1e-9) << row.hz;
    EXPECT_EQ(curve->covers(row.hz), row.measured) << row.hz;
    EXPECT_NEAR(std::abs(driverImpedance(Driver(*curve), row.hz) - row.want), 0, 1e-9);
  }
  for (const std::vector<ImpedancePoint>& bad :
       std::vector<std::vector<ImpedancePoint>>{{},
                                                {{100, 6, 0}},
                                                {{100, 6, 0}, {100, 7, 0}},
                                                {{100, 6, 0}, {50, 7, 0}},
                                                {{100, 0, 0}, {200, 7, 0}},
                                                {{100, 6, NAN}, {200, 7, 0}}}) {
    EXPECT_FALSE(MeasuredImpedance::of(bad)) << bad.size();
  }
}

}  // namespace
}  // namespace kalvena
