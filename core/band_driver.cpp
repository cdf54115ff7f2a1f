#include "band_driver.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "level_search.h"

namespace kalvena {

std::optional<Coil> coilOf(const Driver& driver) {
  if (const auto* ts = std::get_if<ThieleSmall>(&driver)) return Coil{ts->re, ts->le};
  const auto* measured = std::get_if<MeasuredImpedance>(&driver);
  if (!measured) return std::nullopt;
  const std::vector<ImpedancePoint>& p = measured->points();
  const double middle = std::sqrt(p.front().hz) * std::sqrt(p.back().hz);
  const auto byOhms = [](const ImpedancePoint& a, const ImpedancePoint& b) {
    return a.ohms < b.ohms;
  };
  const auto lowerEnd =
      std::find_if(p.begin(), p.end(), [&](const auto& q) { return q.hz > middle; });
  const auto resonance = std::max_element(p.begin(), std::max(lowerEnd, p.begin() + 1), byOhms);
  const double re = std::min_element(resonance, p.end(), byOhms)->ohms;
  const double top = p.back().ohms;
  if (!(top > re)) return std::nullopt;
  return Coil{re, std::sqrt(top * top - re * re) / (2 * std::numbers::pi * p.back().hz)};
}

BandLoad builtLoad(const BandDriver& chosen, double z, PartsSet set) {
  const auto part = [set](double value) { return partsValue(value, set); };
  BandLoad load{chosen.driver.value_or(Driver(z))};
  if (chosen.driver && chosen.zobel) {
    if (const std::optional<Coil> coil = coilOf(*chosen.driver)) {
      const Zobel exact = zobelFor(coil->re, coil->le);
      if (exact.c > 0) load.zobel = Zobel{part(exact.r), part(exact.c)};
    }
  }
  if (chosen.driver && chosen.notch) {
    if (const auto* ts = std::get_if<ThieleSmall>(&*chosen.driver)) {
      const Notch exact = notchFor(*ts);
      load.notch = Notch{part(exact.r), part(exact.l), part(exact.c)};
    }
  }
  if (const std::optional<LPad> pad = lPadFor(z, chosen.padDb)) {
    load.pad = LPad{part(pad->series), part(pad->shunt)};
  }
  return load;
}

std::vector<LadderElement> builtLadder(const BuiltSection& section, const BandDriver& chosen,
                                       PartsSet set) {
  std::vector<LadderElement> ladder = section.ladder(set);
  for (LadderElement& e : ladder) {
    if (e.kind == LadderElement::Kind::Inductor) e.resistance = chosen.coilOhms;
  }
  return ladder;
}

std::complex<double> bandResponse(std::span<const LadderElement> ladder, const BandLoad& load,
                                  double hz) {
  const BandLoad::Terminals t = load.terminals(hz);
  return ladderResponse(ladder, t.impedance, hz) * t.padTransfer;
}

std::optional<Crossings> sectionCrossings(const BuiltSection& section, const BandDriver& chosen,
                                          PartsSet set) {
  if (chosen.nominal()) {
    return minus3DbCrossings(section.ladder(set), section.load, section.lowHz, section.highHz);
  }
  const std::vector<LadderElement> ladder = builtLadder(section, chosen, set);
  const BandLoad load = builtLoad(chosen, section.load, set);
  const double padDb = load.pad ? lPadAttenuationDb(*load.pad, section.load) : 0.0;
  return levelCrossings(
      [&](double hz) { return 20 * std::log10(std::abs(bandResponse(ladder, load, hz))); },
      section.lowHz, section.highHz, -padDb);
}

std::optional<SectionCrossings> sectionCrossings(const BuiltSection& section,
                                                 const BandDriver& chosen) {
  if (chosen.nominal()) return sectionCrossings(section);
  SectionCrossings crossings;
  for (std::size_t s = 0; s < crossings.size(); ++s) {
    const std::optional<Crossings> found = sectionCrossings(section, chosen, kPartsSets[s]);
    if (!found) return std::nullopt;
    crossings[s] = *found;
  }
  return crossings;
}

}  // namespace kalvena
