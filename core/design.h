#pragma once

// A whole design as a file keeps it: both windows' inputs, the parts set chosen, and each
// band's driver with what goes around it (a measured curve's points themselves, not its path,
// so that the design opened elsewhere draws the same curves). One UTF-8 JSON text, every field
// named, in a fixed order, one value a line, with a format version.

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "band_driver.h"
#include "input_values.h"
#include "response.h"
#include "spread.h"

namespace kalvena {

// 2 adds each band's measured response and offset, and the parts' tolerances; a design of 1
// is read with none and the default tolerances.
inline constexpr int kDesignVersion = 2;

struct Design {
  InputValues window12;  // the 12 dB/oct window's inputs, 0 where a box is empty
  InputValues window18;  // the 18 dB/oct window's
  PartsSet parts = PartsSet::Computed;
  BandDrivers drivers;                    // indexed by Section
  std::array<std::string, 3> curveNames;  // the file a band's measured curve was read from
  std::array<std::string, 3> soundNames;  // the file a band's measured response was read from
  Tolerances tolerances;
  bool operator==(const Design&) const = default;
};

// The design's text: the same design gives the same bytes on every platform.
std::string writeDesign(const Design& design);

// Why a design's text was refused, and where: the line of a text that is no JSON, else the
// field (its path, "bands.low.driver.fs") that is missing, of the wrong kind or out of range.
enum class DesignProblem {
  NotJson,       // the text is no JSON, or not UTF-8
  NotADesign,    // no "format": "Kalvena design"
  NewerVersion,  // written by a later version of the format
  Missing,       // a field that must be there is not
  WrongKind,     // a field is not a number, a text, a list... as it must be
  OutOfRange,    // a number outside what the field takes, or a name it does not know
  BadCurve,      // a measured curve's points are no curve (too few, not rising, ...)
};
struct DesignRefusal {
  DesignProblem problem;
  std::string field;  // empty for NotJson
  std::size_t line;   // from 1, for NotJson; 0 otherwise
};
struct DesignRead {
  std::optional<Design> design;
  std::optional<DesignRefusal> refusal;
};
DesignRead readDesign(std::string_view text);

// Writes text to path whole or not at all: into a new file beside it, which then takes the
// path's place, so that an interrupted save leaves the old file as it was. False (and the old
// file untouched) where it could not.
bool replaceFile(const std::filesystem::path& path, std::string_view text);

// A file's bytes, whole; nothing where it cannot be read, or is longer than `limit` bytes.
std::optional<std::string> readFileText(const std::filesystem::path& path, std::size_t limit);

// A path from its UTF-8 text, and a path's UTF-8 text, as the windows give and show them.
std::filesystem::path pathOfUtf8(std::string_view utf8);
std::string utf8Of(const std::filesystem::path& path);

}  // namespace kalvena
