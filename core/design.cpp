#include "design.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <system_error>
#include <variant>

namespace kalvena {
namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kFormat = "Kalvena design";
constexpr const char* kBandKeys[] = {"low", "middle", "high"};
constexpr const char* kPartsKeys[] = {"computed", "E12", "E24", "E12 pair"};
static_assert(std::size(kPartsKeys) == std::size(kPartsSets));

struct InputField {
  const char* name;
  double InputValues::*field;
};
constexpr InputField kInputFields[] = {
    {"LowFc", &InputValues::LowFc},   {"LowR", &InputValues::LowR},
    {"MidFc1", &InputValues::MidFc1}, {"MidFc2", &InputValues::MidFc2},
    {"MidR", &InputValues::MidR},     {"HighFc", &InputValues::HighFc},
    {"HighR", &InputValues::HighR}};

// A Thiele–Small model's fields (Le in henries, as everywhere in the file), each above 0 (Le
// may be 0) and no larger than any driver has.
struct ModelField {
  const char* name;
  double ThieleSmall::*field;
  double highest;
};
constexpr ModelField kModelFields[] = {{"Re", &ThieleSmall::re, 1000},
                                       {"Le", &ThieleSmall::le, 1},
                                       {"fs", &ThieleSmall::fs, 100000},
                                       {"Qms", &ThieleSmall::qms, 1000},
                                       {"Qes", &ThieleSmall::qes, 1000}};

Json inputsJson(const InputValues& values) {
  Json j = Json::object();
  for (const InputField& f : kInputFields) j[f.name] = values.*f.field;
  return j;
}

Json driverJson(const Driver& driver, const std::string& curveName) {
  Json j = Json::object();
  if (const auto* ohms = std::get_if<double>(&driver)) {
    j["model"] = "resistor";
    j["ohms"] = *ohms;
  } else if (const auto* ts = std::get_if<ThieleSmall>(&driver)) {
    j["model"] = "Thiele-Small";
    for (const ModelField& f : kModelFields) j[f.name] = ts->*f.field;
  } else {
    j["model"] = "measured";
    j["file"] = curveName;
    Json points = Json::array();
    for (const ImpedancePoint& p : std::get<MeasuredImpedance>(driver).points()) {
      points.push_back(Json::array({p.hz, p.ohms, p.degrees}));
    }
    j["points"] = std::move(points);
  }
  return j;
}

// A measured response: its points with their phase, or, where the phase was worked out, with
// their levels alone (it is worked out again the same when read).
Json soundJson(const MeasuredResponse& sound, const std::string& name) {
  Json j = Json::object();
  j["file"] = name;
  j["phase"] = sound.minimumPhase() ? "minimum" : "measured";
  Json points = Json::array();
  for (const ResponsePoint& p : sound.points()) {
    points.push_back(sound.minimumPhase() ? Json::array({p.hz, p.db})
                                          : Json::array({p.hz, p.db, p.degrees}));
  }
  j["points"] = std::move(points);
  return j;
}

// The tolerances' fields, in percent.
struct ToleranceField {
  const char* name;
  double Tolerances::*field;
};
constexpr ToleranceField kToleranceFields[] = {{"capacitors %", &Tolerances::capacitors},
                                               {"coils %", &Tolerances::coils},
                                               {"resistors %", &Tolerances::resistors},
                                               {"coil resistance %", &Tolerances::coilResistance}};

// Reading: each step names the field it reads, and throws a refusal for it.
struct Refused {
  DesignRefusal refusal;
};

[[noreturn]] void refuse(DesignProblem problem, const std::string& field) {
  throw Refused{{problem, field, 0}};
}

// A field's path: its object's path, a dot, its name ("bands.low.driver.fs").
std::string fieldPath(const std::string& path, const char* name) {
  return path.empty() ? name : path + "." + name;
}

const Json& member(const Json& object, const char* name, const std::string& path) {
  if (!object.is_object()) refuse(DesignProblem::WrongKind, path);
  const auto found = object.find(name);
  if (found == object.end()) refuse(DesignProblem::Missing, fieldPath(path, name));
  return *found;
}

double number(const Json& object, const char* name, const std::string& path, double lowest,
              bool lowestTaken, double highest = std::numeric_limits<double>::max()) {
  const Json& j = member(object, name, path);
  const std::string field = fieldPath(path, name);
  if (!j.is_number()) refuse(DesignProblem::WrongKind, field);
  const double value = j.get<double>();
  if (!std::isfinite(value) || value > highest || value < lowest ||
      (!lowestTaken && value == lowest)) {
    refuse(DesignProblem::OutOfRange, field);
  }
  return value;
}

bool flag(const Json& object, const char* name, const std::string& path) {
  const Json& j = member(object, name, path);
  if (!j.is_boolean()) refuse(DesignProblem::WrongKind, fieldPath(path, name));
  return j.get<bool>();
}

std::string text(const Json& object, const char* name, const std::string& path) {
  const Json& j = member(object, name, path);
  if (!j.is_string()) refuse(DesignProblem::WrongKind, fieldPath(path, name));
  return j.get<std::string>();
}

MeasuredResponse readSound(const Json& j, const std::string& path, std::string& name) {
  name = text(j, "file", path);
  const std::string phase = text(j, "phase", path);
  if (phase != "minimum" && phase != "measured") {
    refuse(DesignProblem::OutOfRange, fieldPath(path, "phase"));
  }
  const bool measured = phase == "measured";
  const Json& points = member(j, "points", path);
  if (!points.is_array()) refuse(DesignProblem::WrongKind, fieldPath(path, "points"));
  std::vector<ResponsePoint> read;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const Json& p = points[i];
    const std::string at = fieldPath(path, "points") + "[" + std::to_string(i) + "]";
    if (!p.is_array() || p.size() != (measured ? 3u : 2u) ||
        !std::all_of(p.begin(), p.end(), [](const Json& v) { return v.is_number(); })) {
      refuse(DesignProblem::WrongKind, at);
    }
    if (!(p[0].get<double>() > 0)) refuse(DesignProblem::OutOfRange, at);
    read.push_back({p[0].get<double>(), p[1].get<double>(), measured ? p[2].get<double>() : 0});
  }
  for (std::size_t i = 1; i < read.size(); ++i) {
    if (!(read[i].hz > read[i - 1].hz)) refuse(DesignProblem::BadCurve, fieldPath(path, "points"));
  }
  std::optional<MeasuredResponse> sound = MeasuredResponse::of(std::move(read), measured);
  if (!sound) refuse(DesignProblem::BadCurve, fieldPath(path, "points"));
  return std::move(*sound);
}

InputValues readInputs(const Json& j, const std::string& path) {
  InputValues values;
  // What a box takes: 0 for an empty box, else a positive number.
  for (const InputField& f : kInputFields) values.*f.field = number(j, f.name, path, 0, true);
  return values;
}

Driver readDriver(const Json& j, const std::string& path, std::string& curveName) {
  const std::string model = text(j, "model", path);
  if (model == "resistor") return number(j, "ohms", path, 0, false, 1e6);
  if (model == "Thiele-Small") {
    ThieleSmall ts;
    for (const ModelField& f : kModelFields) {
      ts.*f.field = number(j, f.name, path, 0, std::string_view(f.name) == "Le", f.highest);
    }
    return ts;
  }
  if (model != "measured") refuse(DesignProblem::OutOfRange, fieldPath(path, "model"));
  curveName = text(j, "file", path);
  const Json& points = member(j, "points", path);
  if (!points.is_array()) refuse(DesignProblem::WrongKind, fieldPath(path, "points"));
  std::vector<ImpedancePoint> read;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const Json& p = points[i];
    const std::string at = fieldPath(path, "points") + "[" + std::to_string(i) + "]";
    if (!p.is_array() || p.size() != 3 || !p[0].is_number() || !p[1].is_number() ||
        !p[2].is_number()) {
      refuse(DesignProblem::WrongKind, at);
    }
    read.push_back({p[0].get<double>(), p[1].get<double>(), p[2].get<double>()});
  }
  std::optional<MeasuredImpedance> curve = MeasuredImpedance::of(std::move(read));
  if (!curve) refuse(DesignProblem::BadCurve, fieldPath(path, "points"));
  return std::move(*curve);
}

Design readWhole(const Json& j) {
  if (!j.is_object() || !j.contains("format") || j["format"] != kFormat) {
    refuse(DesignProblem::NotADesign, "format");
  }
  const double version = number(j, "version", "", 1, true);
  if (version != std::floor(version)) refuse(DesignProblem::OutOfRange, "version");
  if (version > kDesignVersion) refuse(DesignProblem::NewerVersion, "version");
  Design design;
  design.window12 = readInputs(member(j, "12 dB/oct", ""), "12 dB/oct");
  design.window18 = readInputs(member(j, "18 dB/oct", ""), "18 dB/oct");
  const std::string parts = text(j, "parts", "");
  const auto named = std::find(std::begin(kPartsKeys), std::end(kPartsKeys), parts);
  if (named == std::end(kPartsKeys)) refuse(DesignProblem::OutOfRange, "parts");
  design.parts = kPartsSets[named - std::begin(kPartsKeys)];
  const Json& bands = member(j, "bands", "");
  if (!bands.is_object()) refuse(DesignProblem::WrongKind, "bands");
  for (std::size_t b = 0; b < 3; ++b) {
    const std::string path = fieldPath("bands", kBandKeys[b]);
    const Json& band = member(bands, kBandKeys[b], "bands");
    BandDriver& chosen = design.drivers[b];
    const Json& driver = member(band, "driver", path);
    if (!driver.is_null()) {
      chosen.driver = readDriver(driver, fieldPath(path, "driver"), design.curveNames[b]);
    }
    chosen.zobel = flag(band, "zobel", path);
    chosen.notch = flag(band, "notch", path);
    chosen.padDb = number(band, "pad dB", path, 0, true, 60);
    chosen.coilOhms = number(band, "coil ohms", path, 0, true, 100);
    if (version < 2) continue;
    const Json& sound = member(band, "sound", path);
    if (!sound.is_null()) {
      chosen.sound = readSound(sound, fieldPath(path, "sound"), design.soundNames[b]);
    }
    chosen.offsetMm = number(band, "offset mm", path, -10000, true, 10000);
  }
  if (version >= 2) {
    const Json& tolerances = member(j, "tolerances", "");
    for (const ToleranceField& f : kToleranceFields) {
      design.tolerances.*f.field = number(tolerances, f.name, "tolerances", 0, true, kMaxTolerance);
    }
  }
  return design;
}

}  // namespace

std::string writeDesign(const Design& design) {
  Json j = Json::object();
  j["format"] = kFormat;
  j["version"] = kDesignVersion;
  j["12 dB/oct"] = inputsJson(design.window12);
  j["18 dB/oct"] = inputsJson(design.window18);
  for (std::size_t s = 0; s < std::size(kPartsSets); ++s) {
    if (kPartsSets[s] == design.parts) j["parts"] = kPartsKeys[s];
  }
  Json bands = Json::object();
  for (std::size_t b = 0; b < 3; ++b) {
    const BandDriver& chosen = design.drivers[b];
    Json band = Json::object();
    band["driver"] =
        chosen.driver ? driverJson(*chosen.driver, design.curveNames[b]) : Json(nullptr);
    band["zobel"] = chosen.zobel;
    band["notch"] = chosen.notch;
    band["pad dB"] = chosen.padDb;
    band["coil ohms"] = chosen.coilOhms;
    band["sound"] = chosen.sound ? soundJson(*chosen.sound, design.soundNames[b]) : Json(nullptr);
    band["offset mm"] = chosen.offsetMm;
    bands[kBandKeys[b]] = std::move(band);
  }
  j["bands"] = std::move(bands);
  Json tolerances = Json::object();
  for (const ToleranceField& f : kToleranceFields) tolerances[f.name] = design.tolerances.*f.field;
  j["tolerances"] = std::move(tolerances);
  return j.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

DesignRead readDesign(std::string_view text) {
  Json j;
  try {
    j = Json::parse(text.begin(), text.end());
  } catch (const Json::parse_error& e) {
    // The line of the byte where the parse stopped.
    const std::size_t at = std::min<std::size_t>(e.byte, text.size());
    const std::size_t line =
        1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + at, '\n'));
    return {std::nullopt, DesignRefusal{DesignProblem::NotJson, "", line}};
  }
  try {
    return {readWhole(j), std::nullopt};
  } catch (const Refused& r) {
    return {std::nullopt, r.refusal};
  }
}

bool replaceFile(const std::filesystem::path& path, std::string_view text) {
  std::filesystem::path fresh = path;
  fresh += ".new";
  {
    std::ofstream out(fresh, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(fresh, ignored);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(fresh, path, error);
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(fresh, ignored);
    return false;
  }
  return true;
}

std::optional<std::string> readFileText(const std::filesystem::path& path, std::size_t limit) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text;
  char block[1 << 16];
  while (in.read(block, sizeof block) || in.gcount() > 0) {
    text.append(block, static_cast<std::size_t>(in.gcount()));
    if (text.size() > limit) return std::nullopt;
  }
  if (in.bad()) return std::nullopt;
  return text;
}

std::filesystem::path pathOfUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Of(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace kalvena
