#pragma once

// The measurement files of the loudspeaker field (.zma impedances, .frd responses), read as
// leniently as the field writes them: a line a point (frequency in hertz, then the value, then the
// phase in degrees), comment lines starting with '*' or ';', a header line of text before the first
// point, columns separated by spaces, tabs, commas or semicolons (where a line has a semicolon, a
// comma in it is a decimal comma), CR LF or LF line ends. Whatever cannot be read is refused with
// the line and why.

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "acoustic.h"
#include "driver.h"

namespace kalvena {

// Why a file was refused.
enum class FileProblem {
  NoPoints,         // no line with a point
  NotANumber,       // a field of a point is not a number
  TooFewColumns,    // a point without its phase
  NotFinite,        // a number too large for a double, or not a number (nan, inf)
  NotPositive,      // a frequency or a magnitude of zero or less
  FrequencyFalls,   // a frequency not above the one before it
  OnePoint,         // one point: no curve
  TooManyPoints,    // more than kMaxFilePoints
  PhaseOutOfRange,  // a phase beyond kMaxFileDegrees either way
  LevelOutOfRange,  // a level beyond kMaxFileDb either way
};
inline constexpr double kMaxFileDegrees = 100000;
inline constexpr double kMaxFileDb = 1000;
inline constexpr std::size_t kMaxFilePoints = 200000;

struct FileRefusal {
  FileProblem problem;
  std::size_t line;  // from 1; 0 where the problem is the whole file's
};

// An impedance curve from a .zma file's text; or why not.
struct ZmaRead {
  std::optional<MeasuredImpedance> curve;
  std::optional<FileRefusal> refusal;
};
ZmaRead readZma(std::string_view text);

// A driver's response from a .frd file's text (frequency, level in dB, and the phase where the
// file has it: its first point says whether all have); or why not.
struct FrdRead {
  std::optional<MeasuredResponse> response;
  std::optional<FileRefusal> refusal;
};
FrdRead readFrd(std::string_view text);

}  // namespace kalvena
