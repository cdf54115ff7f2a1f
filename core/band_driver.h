#pragma once

// What a builder chose for a band's driver and what goes around it, and the band's load as it
// is built of a set of parts.

#include <array>
#include <complex>
#include <optional>
#include <span>

#include "acoustic.h"
#include "driver.h"
#include "response.h"

namespace kalvena {

// A band's driver: its model (none for a resistor of the band's typed impedance, as the
// calculator windows take it), whether a Zobel and a notch go across it, the attenuation of an
// L-pad before it (0 for none), and the resistance of each of its section's coils; and what the
// driver makes of its voltage: its measured response (none: alike at every frequency) and how
// far its acoustic centre lies behind the tweeter's, in millimetres.
struct BandDriver {
  std::optional<Driver> driver = std::nullopt;
  bool zobel = false;
  bool notch = false;
  double padDb = 0;
  double coilOhms = 0;
  std::optional<MeasuredResponse> sound = std::nullopt;
  double offsetMm = 0;
  // Whether the band drives a resistor of its typed impedance straight from its ladder (what
  // the driver makes of it aside).
  bool nominal() const { return !driver && padDb == 0 && coilOhms == 0; }
  bool operator==(const BandDriver&) const = default;
};
using BandDrivers = std::array<BandDriver, 3>;  // indexed by Section

// What the bands are added as: the voltages at the drivers, or the sound the drivers make of
// them (each driver's measured response, delayed by its offset, at the quietest measured band's
// level: that level is 0 dB). Heard, drivers without a response and offset are the voltages.
enum class Hearing { Electrical, Acoustic };

// The tolerances of the parts, in percent either way: capacitors, coils (their inductance),
// resistors (the Zobel's, the notch's and the pad's) and the coils' wire resistance.
struct Tolerances {
  double capacitors = 5;
  double coils = 5;
  double resistors = 5;
  double coilResistance = 10;
  bool operator==(const Tolerances&) const = default;
};
inline constexpr double kMaxTolerance = 50;

// How a builder looks at the bands: heard or as voltages, and whether with the spread of builds
// that the parts' tolerances give.
struct Listening {
  Hearing hearing = Hearing::Acoustic;
  bool spread = false;
  Tolerances tolerances;
  bool operator==(const Listening&) const = default;
};

// The coil's resistance and inductance (ohms, henries) that a Zobel compensates: a model's own;
// for a measured curve, Re is its lowest magnitude above the resonance (its highest point in
// its lower half) and Le what the rise at its top frequency leaves over Re. Nothing for a
// resistor, or a curve whose top lies below its Re.
struct Coil {
  double re = 0, le = 0;
};
std::optional<Coil> coilOf(const Driver& driver);

// The load of a band whose typed impedance is `z`, with the driver and networks chosen, their
// parts taken from a set (resistors, capacitors and coils alike). The Zobel needs a coil
// (coilOf), the notch a Thiele–Small model; where the driver has none, it is left out.
BandLoad builtLoad(const BandDriver& chosen, double z, PartsSet set);

// A section's ladder with a set's parts, each coil with the resistance chosen.
std::vector<LadderElement> builtLadder(const BuiltSection& section, const BandDriver& chosen,
                                       PartsSet set);

// A band's voltage at its driver over the amplifier's: its ladder's response into the load,
// times what of it the pad passes on.
std::complex<double> bandResponse(std::span<const LadderElement> ladder, const BandLoad& load,
                                  double hz);

// The crossings of a section into its chosen driver with each set of parts: those of
// sectionCrossings where it drives its typed resistance, else searched on its level at the
// driver, read against the pad's level (a padded band keeps its -3 dB points).
std::optional<SectionCrossings> sectionCrossings(const BuiltSection& section,
                                                 const BandDriver& chosen);
// The same for one set of parts.
std::optional<Crossings> sectionCrossings(const BuiltSection& section, const BandDriver& chosen,
                                          PartsSet set);

}  // namespace kalvena
