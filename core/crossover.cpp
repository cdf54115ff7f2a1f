#include "crossover.h"

#include <algorithm>
#include <cmath>

namespace kalvena {

Crossover::Crossover(const BuiltSections& sections, PartsSet set) {
  for (const std::optional<BuiltSection>& built : sections) {
    if (built) {
      ladders_[index(built->section)] =
          Built{built->ladder(set), built->load, built->lowHz, built->highHz};
    }
  }
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
  return built ? ladderResponse(built->ladder, built->load, hz) : 0.0;
}

std::complex<double> Crossover::sum(double hz, bool middleReversed) const {
  const std::complex<double> middle = response(Section::Middle, hz);
  return response(Section::Low, hz) + (middleReversed ? -middle : middle) +
         response(Section::High, hz);
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
  range.lowHz = std::clamp(range.lowHz, kAudibleLowHz, kAudibleHighHz);
  range.highHz = std::clamp(range.highHz, range.lowHz, kAudibleHighHz);
  return range;
}

namespace {

// The sum is sampled this often a decade over the range judged.
constexpr int kPerDecade = 400;

// The range's sample points: i from 0 to count() inclusive.
struct Samples {
  SumRange range;
  int count() const {
    const double decades = std::log10(range.highHz / range.lowHz);
    return std::max(static_cast<int>(std::ceil(decades * kPerDecade)), 1);
  }
  double at(int i) const {
    return i >= count() ? range.highHz
                        : range.lowHz * std::pow(10.0, static_cast<double>(i) / kPerDecade);
  }
};

}  // namespace

SumDeviation largestDeviation(const Crossover& crossover, bool middleReversed, SumRange range) {
  // Sampled 400 times a decade, then the furthest sample's neighbourhood narrowed down by
  // golden sections on the distance from 0 dB, so that a notch's depth is found, not sampled.
  const Samples samples{range};
  const int count = samples.count();
  const auto distance = [&](double hz) {
    const double db = sumDb(crossover, middleReversed, hz);
    return std::isnan(db) ? 0.0 : std::fabs(db);
  };
  int furthest = 0;
  for (int i = 1; i <= count; ++i) {
    if (distance(samples.at(i)) > distance(samples.at(furthest))) furthest = i;
  }
  double lo = samples.at(std::max(furthest - 1, 0)), hi = samples.at(std::min(furthest + 1, count));
  const double ratio = (std::sqrt(5.0) - 1) / 2;
  for (int k = 0; k < 60 && hi - lo > 1e-9 * hi; ++k) {
    const double a = hi - ratio * (hi - lo), b = lo + ratio * (hi - lo);
    if (distance(a) > distance(b)) {
      hi = b;
    } else {
      lo = a;
    }
  }
  double hz = lo + (hi - lo) / 2;
  if (distance(samples.at(furthest)) > distance(hz)) hz = samples.at(furthest);
  return {sumDb(crossover, middleReversed, hz), hz};
}

namespace {

// The deepest stretch where both polarities' sums lie below kGapDb; nothing where none does.
std::optional<SumGap> sumGap(const Crossover& crossover, SumRange range) {
  const Samples samples{range};
  const auto better = [&](double hz) {
    const double same = sumDb(crossover, false, hz), reversed = sumDb(crossover, true, hz);
    // A level that cannot be worked out is no evidence of a hole.
    if (std::isnan(same) || std::isnan(reversed)) return 0.0;
    return std::max(same, reversed);
  };
  std::optional<SumGap> deepest;
  std::optional<SumGap> open;
  double lastHz = samples.at(0);
  for (int i = 0; i <= samples.count(); ++i) {
    const double hz = samples.at(i), db = better(hz);
    if (db < kGapDb) {
      if (!open) open = SumGap{i == 0 ? hz : lastHz, hz, db, hz};
      open->toHz = hz;
      if (db < open->db) open->db = db, open->hz = hz;
    }
    if (open && (db >= kGapDb || i == samples.count())) {
      if (db >= kGapDb) open->toHz = hz;
      if (!deepest || open->db < deepest->db) deepest = open;
      open.reset();
    }
    lastHz = hz;
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
  advice.same = largestDeviation(crossover, false, advice.range);
  advice.reversed = largestDeviation(crossover, true, advice.range);
  advice.gap = sumGap(crossover, advice.range);
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

}  // namespace kalvena
