#pragma once

// What the program says of where the bands cross over and of their sum: the texts of the result
// boxes' hover, the response window's plot and description, and the parts list.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "crossover.h"
#include "response.h"

namespace kalvena::ui {

// The sets of parts, in the order of kPartsSets, and the bands, indexed by Section.
inline constexpr const char* kPartsSetNames[] = {"Точни стойности", "E12", "E24", "E12 ×2"};
static_assert(std::size(kPartsSetNames) == std::size(kPartsSets));
inline constexpr const char* kBandNames[] = {"Ниски", "Средни", "Високи"};

// A number to a fixed count of decimals in the user's decimal separator: "7.1", "0.97"; "?"
// where it has no such text; `zero` says whether it rounds to nothing.
std::string fixedText(double value, int decimals, std::string_view decimalPoint,
                      bool* zero = nullptr);

// A level in dB as the texts give it: signed, to two decimals below 1 dB and to one above
// ("+0.97", "−4.3"), with the minus sign of print.
std::string levelText(double db, std::string_view decimalPoint);

// What a section's result boxes say of its crossings, in whole hertz as results are written:
//   −3 dB: 275 и 3273 Hz; E12: 276 и 3487 Hz; E24: 274 и 3177 Hz; E12 ×2: 274 и 3275 Hz
// a low-pass gives where it falls, a high-pass where it rises, a band-pass both; "не се
// достига" where a set never reaches -3 dB. A band whose level dips below -3 dB inside it
// gives each stretch and the dip ("346–358 и 371–391 Hz, спад −4.3 dB при 364 Hz"), and a
// peak above +0.5 dB is said ("връх +0.97 dB при 1180 Hz").
std::string crossingsText(Section section, const SectionCrossings& crossings,
                          std::string_view decimalPoint);

// What one set's crossings say, as in crossingsText without its label: "999 Hz", "346–358 и
// 371–391 Hz, спад −4.3 dB при 364 Hz", "не се достига".
std::string crossingsSetText(Section section, const Crossings& crossings,
                             std::string_view decimalPoint);

// The crossings of each built section with each set of parts, indexed by Section: worked out
// once a calculation, then read by the result boxes' hover texts and by the response plot.
// Nothing for a section not built, or whose response cannot be evaluated.
using BandCrossings = std::array<std::optional<SectionCrossings>, 3>;
BandCrossings bandCrossings(const BuiltSections& sections);

// The crossings text of each section, indexed by Section; empty for a section whose crossings
// are not known.
using SectionTexts = std::array<std::string, 3>;
SectionTexts crossingsTexts(const BandCrossings& crossings, std::string_view decimalPoint);
inline SectionTexts crossingsTexts(const BuiltSections& sections, std::string_view decimalPoint) {
  return crossingsTexts(bandCrossings(sections), decimalPoint);
}

template <class Element, std::size_t N, std::size_t M>
SectionTexts crossingsTexts(const std::array<Formula<Element>, N>& formulas,
                            const std::array<Network<Element>, M>& networks,
                            const InputValues& values, std::string_view decimalPoint) {
  return crossingsTexts(networkSections(formulas, networks, values), decimalPoint);
}

// "Средният говорител: обърнете полярността (+ към −)", "… в една полярност с другите", "… все
// едно в коя полярност (разликата е под 0.5 dB)", or where the bands leave a hole between them,
// "Празнина между лентите: сумата е под −6 dB при 60–2900 Hz, до −40.2 dB".
std::string polarityText(const PolarityAdvice& advice, std::string_view decimalPoint);
// "сумата 20 Hz–20 kHz: обърнат +3.0 dB, в една полярност под −60 dB": the range judged and the
// largest deviation in each polarity, the advised one first.
std::string deviationsText(const PolarityAdvice& advice, std::string_view decimalPoint);

// What a parts list says of the sum: the advice for the computed values, then for each set of
// parts the sum's largest deviation in each polarity, and the advice where it differs:
//   Средният говорител: обърнете полярността (+ към −)
//   Точни стойности: сумата 20 Hz–20 kHz: обърнат +3.4 dB, в една полярност −21.0 dB
//   E12: …
// Empty where nothing is advised.
std::string polarityLines(const BuiltSections& sections, std::string_view decimalPoint,
                          const BandDrivers& drivers = {}, Hearing hearing = Hearing::Electrical);

// What a band's description adds where its driver was measured over `measured` (hertz):
// "(измерен при 20–20000 Hz)", and the crossings that lie outside the measurement, which its
// curve there does not show as measured: "(измерен при 20–20000 Hz; 15 Hz е извън измерването)".
std::string measuredText(const std::optional<Crossings>& crossings,
                         std::pair<double, double> measured, std::string_view decimalPoint);

// "Импеданс за усилвателя: най-малко 5.2 Ω при 180 Hz, номинален 6 Ω" ("под 2 Ω" where the
// minimum falls more than 20 % below 2 ohm).
std::string loadText(const LoadMinimum& minimum, std::string_view decimalPoint);
// What a parts list says of the amplifier's load, a set of parts after another, in one line:
//   Импеданс за усилвателя: най-малко 7.1 Ω при 2519 Hz, номинален 8 Ω; E12: най-малко …
// Each band into its chosen driver. Empty where no section is built.
std::string loadLine(const BuiltSections& sections, std::string_view decimalPoint,
                     const BandDrivers& drivers = {});

}  // namespace kalvena::ui
