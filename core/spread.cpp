#include "spread.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace kalvena {
namespace {

// Uniform numbers from -1 to 1, the same on every platform: SplitMix64, its top 53 bits.
class Draws {
 public:
  explicit Draws(std::uint64_t seed) : state_(seed) {}
  double next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
    z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * 0x1.0p-52 - 1.0;
  }

 private:
  std::uint64_t state_;
};

// A band as the builds vary it: its nominal parts, and what does not vary at each frequency
// (its driver's impedance, what the driver makes of the voltage).
struct Band {
  std::vector<LadderElement> ladder;
  std::optional<BandLoad> load;  // where it drives more than its typed resistance
  double resistor = 0;
  std::vector<Impedance> driverZ;
  std::vector<std::complex<double>> heard;
  double referenceDb = 0;  // the level its crossings are read against
  std::optional<Crossings> nominal;
};

// A squared magnitude in dB. The builds keep their levels as squared magnitudes, which order
// alike: only the percentiles and the points beside a crossing are taken to dB.
double dbOfPower(double power) { return 10 * std::log10(power); }

// A part's value within its tolerance: every part takes one draw, whatever its tolerance, so
// that the same seed draws the same numbers for the same parts.
void vary(double& value, double percent, Draws& draws) {
  value *= 1 + percent / 100 * draws.next();
}

void varyBand(std::vector<LadderElement>& ladder, std::optional<BandLoad>& load,
              const Tolerances& t, Draws& draws) {
  for (LadderElement& e : ladder) {
    const bool coil = e.kind == LadderElement::Kind::Inductor;
    vary(e.value, coil ? t.coils : t.capacitors, draws);
    vary(e.resistance, t.coilResistance, draws);
  }
  if (!load) return;
  if (load->zobel) {
    vary(load->zobel->r, t.resistors, draws);
    vary(load->zobel->c, t.capacitors, draws);
  }
  if (load->notch) {
    vary(load->notch->r, t.resistors, draws);
    vary(load->notch->l, t.coils, draws);
    vary(load->notch->c, t.capacitors, draws);
  }
  if (load->pad) {
    vary(load->pad->series, t.resistors, draws);
    vary(load->pad->shunt, t.resistors, draws);
  }
}

// Where a curve at the spread's frequencies first rises through a level and last falls
// through it, interpolated in the logarithm of the frequency; the curve as squared magnitudes,
// whose logarithm only the points beside a crossing need.
std::pair<std::optional<double>, std::optional<double>> crossingsOf(std::span<const double> hz,
                                                                    std::span<const double> power,
                                                                    double levelDb) {
  const double level = std::pow(10.0, levelDb / 10);
  std::optional<double> rising, falling;
  for (std::size_t i = 1; i < power.size(); ++i) {
    const bool up = power[i - 1] < level && power[i] >= level;
    const bool down = power[i - 1] >= level && power[i] < level;
    if (!up && !down) continue;
    const double before = dbOfPower(power[i - 1]);
    const double t = (levelDb - before) / (dbOfPower(power[i]) - before);
    const double at = hz[i - 1] * std::pow(hz[i] / hz[i - 1], t);
    if (up && !rising) rising = at;
    if (down) falling = at;
  }
  return {rising, falling};
}

// The 5th and 95th percentile of some values, by nearest rank. The values are counted into
// bins between their least and greatest first, and only the bin that holds a rank is searched:
// two passes over them where a selection over all of them took several.
Percentiles percentiles(std::span<const double> values, std::vector<double>& bin) {
  const std::size_t n = values.size();
  const auto rank = [&](double p) {
    return static_cast<std::size_t>(std::lround(p * static_cast<double>(n - 1)));
  };
  const auto [least, greatest] = std::minmax_element(values.begin(), values.end());
  const double lo = *least, hi = *greatest;
  constexpr std::size_t kBins = 64;
  const bool binned = std::isfinite(lo) && std::isfinite(hi) && hi > lo;
  const double scale = binned ? static_cast<double>(kBins) / (hi - lo) : 0;
  const auto binOf = [&](double v) {
    const double x = (v - lo) * scale;  // not a number for a level that is none: the first bin
    return x >= 0 ? std::min(static_cast<std::size_t>(x), kBins - 1) : 0;
  };
  std::array<std::size_t, kBins> counts{};
  if (binned) {
    for (const double v : values) ++counts[binOf(v)];
  } else {
    counts[0] = n;  // one bin: a selection over all of them
  }
  const auto at = [&](std::size_t r) {
    std::size_t b = 0, before = 0;
    while (before + counts[b] <= r) before += counts[b++];
    bin.clear();
    for (const double v : values) {
      if (!binned || binOf(v) == b) bin.push_back(v);
    }
    const auto k = static_cast<std::ptrdiff_t>(r - before);
    std::nth_element(bin.begin(), bin.begin() + k, bin.end());
    return bin[static_cast<std::size_t>(k)];
  };
  return {at(rank(0.05)), at(rank(0.95))};
}

}  // namespace

std::vector<double> spreadFrequencies(double lowHz, double highHz) {
  std::vector<double> hz;
  const double decades = std::log10(highHz / lowHz);
  const auto count = static_cast<std::size_t>(std::ceil(decades * kSpreadPerDecade));
  for (std::size_t i = 0; i < count; ++i) {
    hz.push_back(lowHz * std::pow(10.0, static_cast<double>(i) / kSpreadPerDecade));
  }
  hz.push_back(highHz);
  return hz;
}

Spread spreadOf(const BuiltSections& sections, PartsSet set, const BandDrivers& drivers,
                Hearing hearing, bool middleReversed, const Tolerances& tolerances, int builds,
                std::uint64_t seed, unsigned threads) {
  Spread spread;
  spread.hz = spreadFrequencies(10, 40000);
  spread.builds = std::max(builds, 1);
  const std::size_t count = spread.hz.size(), n = static_cast<std::size_t>(spread.builds);
  const Crossover nominal(sections, set, drivers, hearing);
  const SumRange range = judgedRange(nominal);
  std::array<std::optional<Band>, 3> bands;
  for (const std::optional<BuiltSection>& built : sections) {
    if (!built) continue;
    const std::size_t s = static_cast<std::size_t>(built->section);
    const BandDriver& chosen = drivers[s];
    Band band{builtLadder(*built, chosen, set), std::nullopt, built->load, {}, {}, 0, {}};
    band.referenceDb = nominal.bandLevelDb(built->section);
    if (!chosen.nominal()) {
      band.load = builtLoad(chosen, built->load, set);
      for (const double hz : spread.hz)
        band.driverZ.push_back(driverImpedance(band.load->driver, hz));
      band.load->driver = 1.0;  // its impedance is given at each frequency: not copied a build
    }
    band.nominal = nominal.crossings(built->section);
    for (const double hz : spread.hz) {
      band.heard.push_back(nominal.heard(built->section, hz));
    }
    bands[s] = std::move(band);
  }
  const int present = bands[0].has_value() + bands[1].has_value() + bands[2].has_value();
  // Each build's levels, a curve a row of builds: levels[curve] holds build b's levels at
  // [b * count, (b + 1) * count), each build's written where it alone writes.
  std::array<std::vector<double>, 4> levels;
  for (std::size_t c = 0; c < 4; ++c) {
    if (c < 3 ? bands[c].has_value() : present > 1) levels[c].assign(count * n, 0.0);
  }
  std::array<std::vector<std::optional<double>>, 3> rising, falling;
  for (std::size_t s = 0; s < 3; ++s) {
    rising[s].assign(n, std::nullopt);
    falling[s].assign(n, std::nullopt);
  }
  std::vector<double> sumWithin(n, 0.0);
  const auto work = [&](std::size_t from, std::size_t to) {
    std::vector<double> curve(count);
    std::array<std::vector<std::complex<double>>, 3> responses;
    for (std::size_t b = from; b < to; ++b) {
      Draws draws(seed ^ (0x9e3779b97f4a7c15 * (b + 1)));
      for (std::size_t s = 0; s < 3; ++s) {
        responses[s].assign(count, 0.0);
        if (!bands[s]) continue;
        const Band& band = *bands[s];
        std::vector<LadderElement> ladder = band.ladder;
        std::optional<BandLoad> load = band.load;
        varyBand(ladder, load, tolerances, draws);
        for (std::size_t i = 0; i < count; ++i) {
          const double hz = spread.hz[i];
          std::complex<double> v;
          if (load) {
            const BandLoad::Terminals t = load->terminals(hz, band.driverZ[i]);
            v = ladderResponse(ladder, t.impedance, hz) * t.padTransfer;
          } else {
            v = ladderResponse(ladder, band.resistor, hz);
          }
          if (hearing == Hearing::Acoustic) v *= band.heard[i];
          responses[s][i] = v;
          curve[i] = std::norm(v);
          levels[s][b * count + i] = curve[i];
        }
        const auto [up, down] = crossingsOf(spread.hz, curve, band.referenceDb - 3.0103);
        rising[s][b] = up;
        falling[s][b] = down;
      }
      if (levels[3].empty()) continue;
      double highest = 1, lowest = 1;  // 0 dB
      for (std::size_t i = 0; i < count; ++i) {
        const double power = std::norm(
            Crossover::sumOf(responses[0][i], responses[1][i], responses[2][i], middleReversed));
        levels[3][b * count + i] = power;
        const double hz = spread.hz[i];
        if (hz >= range.lowHz && hz <= range.highHz && power > 0 && std::isfinite(power)) {
          highest = std::max(highest, power);
          lowest = std::min(lowest, power);
        }
      }
      sumWithin[b] = std::max(dbOfPower(highest), -dbOfPower(lowest));
    }
  };
  if (threads == 0) threads = std::clamp(std::thread::hardware_concurrency(), 1u, 2u);
  if (threads > 1 && n > 1) {
    std::thread other(work, n / 2, n);
    work(0, n / 2);
    other.join();
  } else {
    work(0, n);
  }
  for (std::size_t c = 0; c < 4; ++c) {
    if (levels[c].empty()) continue;
    // A few frequencies at a time, each's builds gathered side by side: a build's levels are
    // read a cache line at a time, not one a line.
    constexpr std::size_t kBlock = 8;
    std::vector<double> column(kBlock * n), heap;
    for (std::size_t first = 0; first < count; first += kBlock) {
      const std::size_t m = std::min(kBlock, count - first);
      for (std::size_t b = 0; b < n; ++b) {
        for (std::size_t k = 0; k < m; ++k) column[k * n + b] = levels[c][b * count + first + k];
      }
      for (std::size_t k = 0; k < m; ++k) {
        const Percentiles power = percentiles(std::span(column).subspan(k * n, n), heap);
        spread.db[c].push_back({dbOfPower(power.low), dbOfPower(power.high)});
      }
    }
  }
  for (std::size_t s = 0; s < 3; ++s) {
    if (!bands[s] || !bands[s]->nominal) continue;
    const auto spreadOfEdges = [&](std::vector<std::optional<double>>& edges, bool nominalHas) {
      std::vector<double> found;
      for (const std::optional<double>& e : edges) {
        if (e) found.push_back(*e);
      }
      if (!nominalHas || found.size() != n) return std::optional<Percentiles>();
      std::vector<double> heap;
      return std::optional(percentiles(found, heap));
    };
    spread.rising[s] = spreadOfEdges(rising[s], bands[s]->nominal->rising.has_value());
    spread.falling[s] = spreadOfEdges(falling[s], bands[s]->nominal->falling.has_value());
  }
  std::vector<double> heap;
  if (!levels[3].empty()) spread.sumWithinDb = percentiles(sumWithin, heap).high;
  return spread;
}

}  // namespace kalvena
