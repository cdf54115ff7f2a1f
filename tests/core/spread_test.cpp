#include "spread.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>

#include "measurement_file.h"
#include "second_order.h"

namespace kalvena {
namespace {

constexpr InputValues kThreeWay{
    .LowFc = 300, .LowR = 8, .MidFc1 = 300, .MidFc2 = 3000, .MidR = 8, .HighFc = 3000, .HighR = 8};

BuiltSections threeWay() {
  return networkSections(kSecondOrderFormulas, kSecondOrderNetworks, kThreeWay);
}

// A driver that plays at a level with a phase at every frequency, read from its .frd.
MeasuredResponse flat(double db, double degrees) {
  std::string text;
  for (const double hz : {5.0, 50.0, 500.0, 5000.0, 50000.0}) {
    text += std::to_string(hz) + " " + std::to_string(db) + " " + std::to_string(degrees) + "\n";
  }
  return *readFrd(text).response;
}

// Heard: flat drivers at 0 dB give the electrical sum exactly; an offset of d mm is a delay of
// d / 343 ms; a middle driver of 180 degrees turns the polarity advised; levels of 90, 86 and
// 88 dB are 4 and 2 dB above the quietest, which is 0 dB.
TEST(Spread, TheAcousticSumIsTheElectricalOneTimesWhatTheDriversMakeOfIt) {
  const BuiltSections sections = threeWay();
  BandDrivers drivers;
  for (BandDriver& d : drivers) d.sound = flat(0, 0);
  const Crossover electrical(sections, PartsSet::E12, drivers);
  const Crossover heard(sections, PartsSet::E12, drivers, Hearing::Acoustic);
  for (const double hz : {50.0, 300.0, 1234.0, 3000.0, 15000.0}) {
    for (const Section s : {Section::Low, Section::Middle, Section::High}) {
      EXPECT_EQ(heard.response(s, hz), electrical.response(s, hz)) << hz;
    }
  }
  const auto advised = [&](const BandDrivers& d) {
    return middlePolarity(Crossover(sections, PartsSet::E12, d, Hearing::Acoustic))->polarity;
  };
  const Polarity asIs = advised(drivers);
  ASSERT_NE(asIs, Polarity::Either);
  BandDrivers turned = drivers;
  turned[1].sound = flat(0, 180);
  EXPECT_NE(advised(turned), asIs);

  BandDrivers behind = drivers;
  behind[0].offsetMm = 40;
  const Crossover delayed(sections, PartsSet::E12, behind, Hearing::Acoustic);
  const double hz = 500, seconds = 40 / 343000.0;
  const std::complex<double> ratio =
      delayed.response(Section::Low, hz) / electrical.response(Section::Low, hz);
  EXPECT_NEAR(std::abs(ratio), 1, 1e-12);
  EXPECT_NEAR(std::arg(ratio),
              std::remainder(-2 * std::numbers::pi * hz * seconds, 2 * std::numbers::pi), 1e-9);

  BandDrivers loud = drivers;
  loud[0].sound = flat(90, 0);
  loud[1].sound = flat(86, 0);
  loud[2].sound = flat(88, 0);
  const Crossover levels(sections, PartsSet::E12, loud, Hearing::Acoustic);
  const auto pads = proposedPads(levels);
  EXPECT_NEAR(*pads[0], 4, 1e-9);
  EXPECT_NEAR(*pads[1], 0, 1e-9);
  EXPECT_NEAR(*pads[2], 2, 1e-9);
  EXPECT_NEAR(*levels.referenceDb(), 86, 1e-9);
  EXPECT_NEAR(
      std::abs(levels.response(Section::Middle, 1000) / electrical.response(Section::Middle, 1000)),
      1, 1e-9);
}

// No tolerance: every build is the nominal one, its curves and crossings; wider tolerances give
// a wider band; the same seed gives the same spread with one thread or two.
TEST(Spread, ZeroToleranceIsTheNominalBuildAndTheBandWidensWithTheTolerance) {
  const BuiltSections sections = threeWay();
  BandDrivers drivers;
  drivers[2].driver = ThieleSmall{5.6, 0.05e-3, 900, 3, 0.8};
  drivers[2].zobel = true;
  drivers[2].padDb = 3;
  drivers[0].coilOhms = 0.4;
  for (const Hearing hearing : {Hearing::Electrical, Hearing::Acoustic}) {
    const Crossover nominal(sections, PartsSet::E24, drivers, hearing);
    const Spread none =
        spreadOf(sections, PartsSet::E24, drivers, hearing, false, {0, 0, 0, 0}, 50);
    for (std::size_t i = 0; i < none.hz.size(); i += 37) {
      for (const Section s : {Section::Low, Section::Middle, Section::High}) {
        const double db = 20 * std::log10(std::abs(nominal.response(s, none.hz[i])));
        EXPECT_NEAR(none.db[static_cast<std::size_t>(s)][i].low, db, 1e-9);
        EXPECT_NEAR(none.db[static_cast<std::size_t>(s)][i].high, db, 1e-9);
      }
    }
    const std::optional<Crossings> low = sectionCrossings(*sections[0], drivers[0], PartsSet::E24);
    EXPECT_NEAR(none.falling[0]->low, *low->falling, *low->falling * 1e-3);
  }
  double last = 0;
  for (const double percent : {1.0, 5.0, 10.0}) {
    const Spread s = spreadOf(sections, PartsSet::E24, drivers, Hearing::Electrical, false,
                              {percent, percent, percent, percent});
    const double width = s.falling[0]->high - s.falling[0]->low;
    EXPECT_GT(width, last) << percent;
    EXPECT_GT(*s.sumWithinDb, 0);
    last = width;
  }
  const Tolerances t{10, 5, 5, 10};
  const Spread one =
      spreadOf(sections, PartsSet::E12, drivers, Hearing::Electrical, true, t, 200, 7, 1);
  const Spread two =
      spreadOf(sections, PartsSet::E12, drivers, Hearing::Electrical, true, t, 200, 7, 2);
  EXPECT_EQ(one.db[3][100].low, two.db[3][100].low);
  EXPECT_EQ(one.rising[1]->high, two.rising[1]->high);
}

// A single RC high-pass with a capacitor of +-10 %: its level rises with C, so its percentiles
// are those of C, uniform from 0.9 C to 1.1 C (0.91 C and 1.09 C), and it crosses at
// 1 / (2 pi R C): 90 % of builds between fc / 1.09 and fc / 0.91.
TEST(Spread, ASingleRcSpreadsAsItsCapacitor) {
  const double r = 8, microfarads = 20, fc = 1 / (2 * std::numbers::pi * r * microfarads * 1e-6);
  BuiltSections sections;
  sections[2] =
      builtSection(Section::High, {{Unit::Microfarad, LadderElement::Place::Series, microfarads}},
                   InputValues{.HighFc = fc, .HighR = r});
  const Spread s =
      spreadOf(sections, PartsSet::Computed, {}, Hearing::Electrical, false, {10, 0, 0, 0});
  EXPECT_NEAR(s.rising[2]->low, fc / 1.09, fc * 0.006);
  EXPECT_NEAR(s.rising[2]->high, fc / 0.91, fc * 0.006);
  const auto level = [&](double c, double hz) {
    const double x = 2 * std::numbers::pi * hz * r * c * 1e-6;
    return 20 * std::log10(x / std::hypot(1, x));
  };
  for (std::size_t i = 100; i < 300; i += 50) {
    EXPECT_NEAR(s.db[2][i].low, level(0.91 * microfarads, s.hz[i]), 0.05) << s.hz[i];
    EXPECT_NEAR(s.db[2][i].high, level(1.09 * microfarads, s.hz[i]), 0.05) << s.hz[i];
  }
}

}  // namespace
}  // namespace kalvena

namespace kalvena {
namespace {

// The same seed draws the same builds on every platform: this test runs on Linux and, cross-built,
// under Wine, against the figures both gave when it was written.
TEST(Spread, TheSameSeedGivesTheSameSpreadEverywhere) {
  const BuiltSections sections = threeWay();
  const Spread s = spreadOf(sections, PartsSet::E12, {}, Hearing::Electrical, true, {10, 5, 5, 10},
                            200, 12345, 1);
  EXPECT_NEAR(s.falling[0]->low, 308.753251808, 1e-6);
  EXPECT_NEAR(s.falling[0]->high, 335.326204682, 1e-6);
  EXPECT_NEAR(*s.sumWithinDb, 4.17950846978, 1e-8);
}

}  // namespace
}  // namespace kalvena
