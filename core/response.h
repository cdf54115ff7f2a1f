#pragma once

// Where each band really crosses over: a section's network as its schematic draws it, with the
// values computed for it and with the parts a builder can buy for them.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "calculation.h"
#include "ladder.h"

namespace kalvena {

// The parts a section may be built of: the computed values themselves, each at its nearest E12
// or E24 part, or at its best pair of E12 parts (its single E12 part where no pair is nearer).
enum class PartsSet { Computed, E12, E24, E12Pair };
inline constexpr PartsSet kPartsSets[] = {PartsSet::Computed, PartsSet::E12, PartsSet::E24,
                                          PartsSet::E12Pair};

// The value a set gives a computed value, in the same unit. value must be a positive finite
// number.
double partsValue(double value, PartsSet set);

// An element of a section's network, from the source to the load: which result is its value,
// and whether it is in series with the signal or across the wires.
template <class Element>
struct Rung {
  Element element;
  LadderElement::Place place;
};

template <class Element>
struct Network {
  Section section;
  std::span<const Rung<Element>> rungs;
};

// A section's element as its crossings need it: its computed value in the unit shown, which
// tells a capacitor (µF) from an inductor (mH), and its place.
struct SectionPart {
  Unit unit;
  LadderElement::Place place;
  double value;
};

// The -3 dB crossings of a section with each set of parts, in the order of kPartsSets.
using SectionCrossings = std::array<Crossings, std::size(kPartsSets)>;

// A calculated section as it is built: its elements from the source to the load with their
// computed values, its load, and the frequencies typed for it, the lower first. The low
// section is a low-pass at LowFc into LowR, the middle a band-pass between MidFc1 and MidFc2
// into MidR, the high a high-pass at HighFc into HighR.
struct BuiltSection {
  Section section = Section::Low;
  std::vector<SectionPart> parts;
  double load = 0;
  double lowHz = 0;
  double highHz = 0;
  // Its network with the parts of a set, in farads and henries.
  std::vector<LadderElement> ladder(PartsSet set) const;
};

// A section of the given inputs built of parts; nothing where some value is not a positive
// finite number.
std::optional<BuiltSection> builtSection(Section section, std::vector<SectionPart> parts,
                                         const InputValues& values);

// The crossings of a built section with each set of parts. Nothing where the response cannot
// be evaluated around the typed frequencies.
std::optional<SectionCrossings> sectionCrossings(const BuiltSection& built);

// A peak is said where it rises more than this above the source, in dB.
inline constexpr double kSaidPeakDb = 0.5;

// The section of a window for the inputs, its values computed by the window's formulas.
// Nothing where the section is incomplete or a value is out of range.
template <class Element, std::size_t N>
std::optional<BuiltSection> networkSection(const std::array<Formula<Element>, N>& formulas,
                                           const Network<Element>& network,
                                           const InputValues& values) {
  if (!sectionComplete(values, network.section)) return std::nullopt;
  std::vector<SectionPart> parts;
  for (const Rung<Element>& rung : network.rungs) {
    for (const Formula<Element>& f : formulas) {
      if (f.element != rung.element) continue;
      const Checked value = f.value(values);
      if (!value.ok()) return std::nullopt;
      parts.push_back(SectionPart{f.unit, rung.place, value.value()});
    }
  }
  return builtSection(network.section, std::move(parts), values);
}

// Every section of a window as built, indexed by Section; nothing for one not calculated.
using BuiltSections = std::array<std::optional<BuiltSection>, 3>;

template <class Element, std::size_t N, std::size_t M>
BuiltSections networkSections(const std::array<Formula<Element>, N>& formulas,
                              const std::array<Network<Element>, M>& networks,
                              const InputValues& values) {
  BuiltSections sections;
  for (const Network<Element>& network : networks) {
    sections[static_cast<std::size_t>(network.section)] = networkSection(formulas, network, values);
  }
  return sections;
}

template <class Element, std::size_t N>
std::optional<SectionCrossings> networkCrossings(const std::array<Formula<Element>, N>& formulas,
                                                 const Network<Element>& network,
                                                 const InputValues& values) {
  const std::optional<BuiltSection> built = networkSection(formulas, network, values);
  if (!built) return std::nullopt;
  return sectionCrossings(*built);
}

}  // namespace kalvena
