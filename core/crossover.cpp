#include "crossover.h"

#include "level_search.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace kalvena {

Crossover::Crossover(const BuiltSections& sections, PartsSet set, const BandDrivers& drivers,
                     Hearing hearing)
    : hearing_(hearing) {
  for (const std::optional<BuiltSection>& built : sections) {
    if (!built) continue;
    const BandDriver& chosen = drivers[index(built->section)];
    std::optional<BandLoad> real;
    if (!chosen.nominal()) real = builtLoad(chosen, built->load, set);
    ladders_[index(built->section)] = Built{builtLadder(*built, chosen, set),
                                            built->load,
                                            built->lowHz,
                                            built->highHz,
                                            std::move(real),
                                            chosen.sound,
                                            chosen.offsetMm * kSecondsPerMillimetre};
  }
  if (hearing == Hearing::Acoustic) {
    for (const Section section : {Section::Low, Section::Middle, Section::High}) {
      const std::optional<double> level = passBandLevel(section);
      if (level && (!referenceDb_ || *level < *referenceDb_)) referenceDb_ = level;
    }
    if (referenceDb_) referenceGain_ = std::pow(10.0, *referenceDb_ / 20);
  }
}

std::optional<double> passBandLevel(const MeasuredResponse& sound, Section section, double lowHz,
                                    double highHz) {
  const double from = section == Section::Low ? kAudibleLowHz : lowHz;
  const double to = section == Section::High ? kAudibleHighHz : highHz;
  return sound.averageDb(from, to);
}

std::optional<double> Crossover::passBandLevel(Section section) const {
  const std::optional<Built>& built = ladders_[index(section)];
  if (!built || !built->sound) return std::nullopt;
  return kalvena::passBandLevel(*built->sound, section, built->lowHz, built->highHz);
}

double Crossover::bandLevelDb(Section section) const {
  const std::optional<Built>& built = ladders_[index(section)];
  if (!built) return 0;
  double db = 0;
  if (built->real && built->real->pad) db -= lPadAttenuationDb(*built->real->pad, built->load);
  if (hearing_ == Hearing::Acoustic && referenceDb_) {
    if (const std::optional<double> level = passBandLevel(section)) db += *level - *referenceDb_;
  }
  return db;
}

std::optional<Crossings> Crossover::crossings(Section section) const {
  if (!has(section)) return std::nullopt;
  return levelCrossings([&](double hz) { return 20 * std::log10(std::abs(response(section, hz))); },
                        lowHz(section), highHz(section), bandLevelDb(section));
}

std::optional<std::pair<double, double>> Crossover::measuredRange() const {
  std::optional<std::pair<double, double>> range;
  for (const std::optional<Built>& built : ladders_) {
    if (!built || !built->sound) continue;
    if (!range) range = std::pair{built->sound->lowHz(), built->sound->highHz()};
    range->first = std::max(range->first, built->sound->lowHz());
    range->second = std::min(range->second, built->sound->highHz());
  }
  return range;
}

std::array<std::optional<double>, 3> padsToQuietest(std::array<std::optional<double>, 3> levels) {
  std::optional<double> quietest;
  for (const std::optional<double>& level : levels) {
    if (level && (!quietest || *level < *quietest)) quietest = level;
  }
  for (std::optional<double>& level : levels) {
    if (level) *level -= *quietest;
  }
  return levels;
}

std::array<std::optional<double>, 3> proposedPads(const Crossover& crossover) {
  return padsToQuietest({crossover.passBandLevel(Section::Low),
                         crossover.passBandLevel(Section::Middle),
                         crossover.passBandLevel(Section::High)});
}

double Crossover::lowHz(Section section) const {
  const std::optional<Built>& built = ladders_[index(section)];
  return built ? built->lowHz : 0;
}

double Crossover::highHz(Section section) const {
  const std::optional<Built>& built = ladders_[index(section)];
  return built ? built->highHz : 0;
}

std::complex<double> Crossover::response(Section section, double hz) const {
  const std::optional<Built>& built = ladders_[index(section)];
  if (!built) return 0.0;
  const std::complex<double> voltage = built->real ? bandResponse(built->ladder, *built->real, hz)
                                                   : ladderResponse(built->ladder, built->load, hz);
  if (hearing_ == Hearing::Electrical) return voltage;
  return voltage * heard(section, hz);
}

std::complex<double> Crossover::heard(Section section, double hz) const {
  const std::optional<Built>& built = ladders_[index(section)];
  std::complex<double> factor = 1;
  if (!built || hearing_ == Hearing::Electrical) return factor;
  if (built->sound) factor = built->sound->at(hz) / referenceGain_;
  if (built->delaySeconds != 0) {
    factor *= std::polar(1.0, -2 * std::numbers::pi * hz * built->delaySeconds);
  }
  return factor;
}

std::complex<double> Crossover::sum(double hz, bool middleReversed) const {
  return sumOf(response(Section::Low, hz), response(Section::Middle, hz),
               response(Section::High, hz), middleReversed);
}

std::optional<std::complex<double>> Crossover::amplifierLoad(double hz) const {
  std::complex<double> admittance = 0;
  bool any = false;
  for (const std::optional<Built>& built : ladders_) {
    if (!built) continue;
    const std::complex<double> load = built->real ? built->real->impedance(hz) : built->load;
    admittance += 1.0 / ladderInputImpedance(built->ladder, load, hz);
    any = true;
  }
  if (!any) return std::nullopt;
  return 1.0 / admittance;
}

namespace {

double sumDb(const Crossover& crossover, bool reversed, double hz) {
  return 20.0 * std::log10(std::abs(crossover.sum(hz, reversed)));
}

}  // namespace

SumRange judgedRange(const Crossover& crossover) {
  SumRange range{kAudibleHighHz, kAudibleLowHz};
  for (const Section section : {Section::Low, Section::Middle, Section::High}) {
    if (!crossover.has(section)) continue;
    range.lowHz =
        std::min(range.lowHz, section == Section::Low ? kAudibleLowHz : crossover.lowHz(section));
    range.highHz = std::max(range.highHz,
                            section == Section::High ? kAudibleHighHz : crossover.highHz(section));
  }
  // Heard, only where every measured response has data.
  const auto measured = crossover.measuredRange();
  if (crossover.hearing() == Hearing::Acoustic && measured) {
    range.lowHz = std::max(range.lowHz, measured->first);
    range.highHz = std::min(range.highHz, measured->second);
  }
  range.lowHz = std::clamp(range.lowHz, kAudibleLowHz, kAudibleHighHz);
  range.highHz = std::clamp(range.highHz, range.lowHz, kAudibleHighHz);
  return range;
}

namespace {

// Where `score` is highest between lo and hi, narrowed down by golden sections to a billionth of
// the frequency: a sample's neighbourhood made exact, so that a notch's depth is found, not
// sampled.
template <class Score>
double highestBetween(double lo, double hi, const Score& score) {
  const double ratio = (std::sqrt(5.0) - 1) / 2;
  for (int k = 0; k < 60 && hi - lo > 1e-9 * hi; ++k) {
    const double a = hi - ratio * (hi - lo), b = lo + ratio * (hi - lo);
    if (score(a) > score(b)) {
      hi = b;
    } else {
      lo = a;
    }
  }
  return lo + (hi - lo) / 2;
}

// The sum is sampled this often a decade over the range judged.
constexpr int kPerDecade = 400;

// The sum's level in each polarity at the range's sample points, from its low end to its high
// end, each worked out once for both the deviations and the gap.
struct SampledSum {
  std::vector<double> hz;
  std::array<std::vector<double>, 2> db;  // in phase, then with the middle reversed
};

SampledSum sampledSum(const Crossover& crossover, SumRange range) {
  const double decades = std::log10(range.highHz / range.lowHz);
  const int count = std::max(static_cast<int>(std::ceil(decades * kPerDecade)), 1);
  SampledSum sampled;
  for (int i = 0; i <= count; ++i) {
    const double hz = i == count
                          ? range.highHz
                          : range.lowHz * std::pow(10.0, static_cast<double>(i) / kPerDecade);
    sampled.hz.push_back(hz);
    // Each band once, for both sums.
    const std::complex<double> low = crossover.response(Section::Low, hz),
                               middle = crossover.response(Section::Middle, hz),
                               high = crossover.response(Section::High, hz);
    for (const bool reversed : {false, true}) {
      sampled.db[reversed].push_back(
          20.0 * std::log10(std::abs(Crossover::sumOf(low, middle, high, reversed))));
    }
  }
  return sampled;
}

// How far a level lies from 0 dB; one that cannot be worked out counts as none.
double distance(double db) { return std::isnan(db) ? 0.0 : std::fabs(db); }

// The level furthest from 0 dB that the sum reaches over the range, and where: the furthest
// sample's neighbourhood narrowed down by golden sections on the distance from 0 dB, so that a
// notch's depth is found, not sampled.
SumDeviation largestDeviation(const Crossover& crossover, bool middleReversed,
                              const SampledSum& sampled) {
  const std::vector<double>& hzs = sampled.hz;
  const std::vector<double>& dbs = sampled.db[middleReversed];
  const auto distanceAt = [&](double hz) { return distance(sumDb(crossover, middleReversed, hz)); };
  std::size_t furthest = 0;
  for (std::size_t i = 1; i < dbs.size(); ++i) {
    if (distance(dbs[i]) > distance(dbs[furthest])) furthest = i;
  }
  double hz = highestBetween(hzs[furthest == 0 ? 0 : furthest - 1],
                             hzs[std::min(furthest + 1, hzs.size() - 1)], distanceAt);
  if (distance(dbs[furthest]) > distanceAt(hz)) hz = hzs[furthest];
  return {sumDb(crossover, middleReversed, hz), hz};
}

// The deepest stretch where both polarities' sums lie below kGapDb; nothing where none does.
std::optional<SumGap> sumGap(const SampledSum& sampled) {
  std::optional<SumGap> deepest;
  std::optional<SumGap> open;
  const std::size_t last = sampled.hz.size() - 1;
  for (std::size_t i = 0; i <= last; ++i) {
    const double hz = sampled.hz[i], same = sampled.db[0][i], reversed = sampled.db[1][i];
    // A level that cannot be worked out is no evidence of a hole.
    const double db = std::isnan(same) || std::isnan(reversed) ? 0.0 : std::max(same, reversed);
    if (db < kGapDb) {
      if (!open) open = SumGap{sampled.hz[i == 0 ? 0 : i - 1], hz, db, hz};
      open->toHz = hz;
      if (db < open->db) open->db = db, open->hz = hz;
    }
    if (open && (db >= kGapDb || i == last)) {
      if (db >= kGapDb) open->toHz = hz;
      if (!deepest || open->db < deepest->db) deepest = open;
      open.reset();
    }
  }
  return deepest;
}

}  // namespace

std::optional<PolarityAdvice> middlePolarity(const Crossover& crossover) {
  if (!crossover.has(Section::Middle) ||
      !(crossover.has(Section::Low) || crossover.has(Section::High))) {
    return std::nullopt;
  }
  PolarityAdvice advice;
  advice.range = judgedRange(crossover);
  const SampledSum sampled = sampledSum(crossover, advice.range);
  advice.same = largestDeviation(crossover, false, sampled);
  advice.reversed = largestDeviation(crossover, true, sampled);
  advice.gap = sumGap(sampled);
  const double same = std::fabs(advice.same.db), reversed = std::fabs(advice.reversed.db);
  if (advice.gap) {
    advice.polarity = Polarity::Gap;
  } else if (std::fabs(same - reversed) < kEitherPolarityDb) {
    advice.polarity = Polarity::Either;
  } else {
    advice.polarity = reversed < same ? Polarity::Reversed : Polarity::Same;
  }
  return advice;
}

std::optional<LoadMinimum> amplifierLoadMinimum(const Crossover& crossover) {
  if (!crossover.amplifierLoad(kAudibleLowHz)) return std::nullopt;
  const auto ohms = [&](double hz) { return std::abs(crossover.amplifierLoad(hz).value_or(0.0)); };
  // Sampled as the sum is, the lowest sample's neighbourhood narrowed by golden sections.
  const double decades = std::log10(kAudibleHighHz / kAudibleLowHz);
  const int count = static_cast<int>(std::ceil(decades * kPerDecade));
  const auto sampleHz = [&](int i) {
    return kAudibleLowHz * std::pow(10.0, decades * static_cast<double>(i) / count);
  };
  int lowest = 0;
  double lowestOhms = ohms(sampleHz(0));
  for (int i = 1; i <= count; ++i) {
    if (const double here = ohms(sampleHz(i)); here < lowestOhms) lowest = i, lowestOhms = here;
  }
  double hz =
      highestBetween(sampleHz(std::max(lowest - 1, 0)), sampleHz(std::min(lowest + 1, count)),
                     [&](double f) { return -ohms(f); });
  if (lowestOhms < ohms(hz)) hz = sampleHz(lowest);
  LoadMinimum minimum{ohms(hz), hz, std::nullopt};
  for (const int rated : kRatedImpedances) {
    if (minimum.ohms >= 0.8 * rated) {
      minimum.rated = rated;
      break;
    }
  }
  return minimum;
}

}  // namespace kalvena
