#include "drivers_panel.h"

#include <charconv>
#include <cmath>
#include <numbers>

#include "calculator_window.h"
#include "check_number.h"
#include "crossover.h"
#include "design.h"
#include "drivers_layout.h"
#include "file_texts.h"
#include "measurement_file.h"
#include "preferred_values.h"
#include "response_text.h"

namespace kalvena::ui {
namespace {

constexpr double kMilli = 1e-3, kMicro = 1e-6;
constexpr std::size_t kMaxCurveBytes = 64u << 20;  // far more than the most points a curve takes

// A number in as few digits as give it back, in the user's decimal separator: "6.8", "0.38";
// empty where it has no such text.
std::string shortestText(double v, std::string_view point) {
  char digits[64];
  const auto [end, error] = std::to_chars(digits, digits + sizeof digits, v);
  std::string text = error == std::errc{} ? std::string(digits, end) : std::string();
  if (const std::size_t p = text.find('.'); p != std::string::npos) text.replace(p, 1, point);
  return text;
}

// A value as a set of parts gives it, in the unit it is written in: two decimals for the
// computed value, the part's own digits for E12 and E24 ("6.8"), a pair as "10 + 1.2".
std::string setValueText(double value, PartsSet set, std::string_view point) {
  const auto shortest = [&](double v) { return shortestText(v, point); };
  switch (set) {
    case PartsSet::Computed:
      // Three digits or more, so that a notch's three parts fit their box: 6.51, 11.0, 2257.
      return fixedText(value, value >= 100 ? 0 : value >= 10 ? 1 : 2, point);
    case PartsSet::E12:
      return shortest(nearestPreferred(value, PreferredSeries::E12));
    case PartsSet::E24:
      return shortest(nearestPreferred(value, PreferredSeries::E24));
    case PartsSet::E12Pair:
      if (const std::optional<PreferredPair> pair = nearestE12Pair(value)) {
        return shortest(pair->larger) + " + " + shortest(pair->smaller);
      }
      return shortest(nearestPreferred(value, PreferredSeries::E12));
  }
  return "?";
}

// Parts, each a value and its unit ("Ом", "µF", "mH"), in one set: "6.8 Ом, 12 µF".
struct Part {
  double value;
  const char* unit;
};
std::string partsText(std::span<const Part> parts, PartsSet set, std::string_view point) {
  std::string text;
  for (const Part& p : parts) {
    if (!text.empty()) text += ", ";
    text += setValueText(p.value, set, point) + " " + p.unit;
  }
  return text;
}

// Every set after the computed values, as a hover text and a parts list say them:
// "E12: 6.8 Ом, 12 µF; E24: 6.2 Ом, 11 µF; E12 ×2: 5.6 + 0.56 Ом, 10 + 1.2 µF".
std::string nearestText(std::span<const Part> parts, std::string_view point) {
  std::string text;
  for (std::size_t s = 1; s < std::size(kPartsSets); ++s) {
    if (s > 1) text += "; ";
    text += std::string(kPartsSetNames[s]) + ": " + partsText(parts, kPartsSets[s], point);
  }
  return text;
}

// What goes around a band's driver, worked out once for its boxes and its parts-list lines: the
// coil the Zobel compensates, and each network's exact parts; empty where it is not chosen or
// cannot be worked out (a Zobel without a coil, a notch without a model, a pad without ohms).
struct BandParts {
  std::optional<Coil> coil;
  std::vector<Part> zobel, notch;
  std::optional<LPad> pad;
};
BandParts bandParts(const BandDriver& d, double ohms) {
  BandParts parts;
  if (d.driver) parts.coil = coilOf(*d.driver);
  if (d.zobel && parts.coil && parts.coil->le > 0) {
    const Zobel z = zobelFor(parts.coil->re, parts.coil->le);
    parts.zobel = {{z.r, "Ом"}, {z.c / kMicro, "µF"}};
  }
  const auto* model = d.driver ? std::get_if<ThieleSmall>(&*d.driver) : nullptr;
  if (d.notch && model) {
    const Notch n = notchFor(*model);
    parts.notch = {{n.r, "Ом"}, {n.l / kMilli, "mH"}, {n.c / kMicro, "µF"}};
  }
  parts.pad = lPadFor(ohms, d.padDb);
  return parts;
}

std::string padText(const LPad& pad, std::string_view point) {
  const Part parts[] = {{pad.series, "Ом"}, {pad.shunt, "Ом"}};
  return partsText(parts, PartsSet::Computed, point);
}

std::string padNearestText(const LPad& pad, double z, std::string_view point) {
  const Part parts[] = {{pad.series, "Ом"}, {pad.shunt, "Ом"}};
  std::string text;
  for (std::size_t s = 1; s < std::size(kPartsSets); ++s) {
    const LPad built{partsValue(pad.series, kPartsSets[s]), partsValue(pad.shunt, kPartsSets[s])};
    if (s > 1) text += "; ";
    text += std::string(kPartsSetNames[s]) + ": " + partsText(parts, kPartsSets[s], point) + ", " +
            fixedText(lPadAttenuationDb(built, z), 1, point) + " dB";
  }
  return text;
}

// A measured curve as its file's name and range: "woofer.zma, 10–20000 Hz".
std::string curveText(const std::string& name, const MeasuredImpedance& curve,
                      std::string_view point) {
  return name + ", " + fixedText(curve.points().front().hz, 0, point) + "–" +
         fixedText(curve.points().back().hz, 0, point) + " Hz";
}

// A measured response as its file's name, range and phase: "woofer.frd, 10–20000 Hz,
// минимална фаза".
std::string soundText(const DriverInputs& in, std::string_view point) {
  const MeasuredResponse& r = *in.sound;
  return in.soundName + ", " + fixedText(r.lowHz(), 0, point) + "–" +
         fixedText(r.highHz(), 0, point) + " Hz" +
         (r.minimumPhase() ? ", минимална фаза (от нивото)" : "");
}

// What a column's driver is, for the parts list: "Тиле–Смол: Re 6.1 Ом, Le 0.42 mH, fs 35 Hz,
// Qms 3.2, Qes 0.38", "измерен: woofer.zma, 10–20000 Hz".
std::string driverText(const DriverInputs& in, std::string_view point) {
  if (const BandDriver d = driverOf(in); d.driver) {
    if (const auto* m = std::get_if<ThieleSmall>(&*d.driver)) {
      return "Тиле–Смол: Re " + fixedText(m->re, 2, point) + " Ом, Le " +
             fixedText(m->le / kMilli, 2, point) + " mH, fs " + fixedText(m->fs, 1, point) +
             " Hz, Qms " + fixedText(m->qms, 2, point) + ", Qes " + fixedText(m->qes, 2, point);
    }
    if (const auto* c = std::get_if<MeasuredImpedance>(&*d.driver)) {
      return "измерен: " + curveText(in.curveName, *c, point);
    }
  }
  return "резистор Rвг";
}

}  // namespace

BandDriver driverOf(const DriverInputs& in) {
  BandDriver d{std::nullopt, in.zobel, in.notch, in.padDb, in.coilOhms, in.sound, in.offsetMm};
  const ThieleSmall& m = in.model;
  if (in.kind == DriverInputs::Kind::Model && m.re > 0 && m.le > 0 && m.fs > 0 && m.qms > 0 &&
      m.qes > 0) {
    d.driver = m;
  } else if (in.kind == DriverInputs::Kind::Measured && in.curve) {
    d.driver = *in.curve;
  }
  return d;
}

DriverInputs inputsOf(const BandDriver& driver, const std::string& curveName,
                      const std::string& soundName) {
  DriverInputs in;
  in.sound = driver.sound;
  in.soundName = driver.sound ? soundName : std::string();
  in.offsetMm = driver.offsetMm;
  in.zobel = driver.zobel;
  in.notch = driver.notch;
  in.padDb = driver.padDb;
  in.coilOhms = driver.coilOhms;
  if (driver.driver) {
    if (const auto* m = std::get_if<ThieleSmall>(&*driver.driver)) {
      in.kind = DriverInputs::Kind::Model;
      in.model = *m;
    } else if (const auto* c = std::get_if<MeasuredImpedance>(&*driver.driver)) {
      in.kind = DriverInputs::Kind::Measured;
      in.curve = *c;
      in.curveName = curveName;
    }
  }
  return in;
}

DriversPanel::Column::Column(DriversPanel& panel, int band)
    : nominal(panel, columnNames(band).nominal),
      model(panel, columnNames(band).model),
      measured(panel, columnNames(band).measured),
      re(panel, columnNames(band).re),
      le(panel, columnNames(band).le),
      fs(panel, columnNames(band).fs),
      qms(panel, columnNames(band).qms),
      qes(panel, columnNames(band).qes),
      open(panel, columnNames(band).open),
      curve(panel, columnNames(band).curve),
      coil(panel, columnNames(band).coil),
      zobel(panel, columnNames(band).zobel),
      zobelParts(panel, columnNames(band).zobelParts),
      notch(panel, columnNames(band).notch),
      notchParts(panel, columnNames(band).notchParts),
      pad(panel, columnNames(band).pad),
      padParts(panel, columnNames(band).padParts),
      dcr(panel, columnNames(band).dcr),
      openSound(panel, columnNames(band).openSound),
      sound(panel, columnNames(band).sound),
      offset(panel, columnNames(band).offset),
      level(panel, columnNames(band).level),
      proposal(panel, columnNames(band).proposal),
      takePad(panel, columnNames(band).takePad) {
  for (const Bound<TextBox>* box :
       {&curve, &coil, &zobelParts, &notchParts, &padParts, &sound, &level, &proposal}) {
    panel.results_.push_back(box);
  }
}

const FormLayout& DriversPanel::layout() const { return driversLayout(); }

BandDrivers DriversPanel::drivers() const {
  BandDrivers d;
  for (std::size_t b = 0; b < d.size(); ++b) d[b] = driverOf(inputs_[b]);
  return d;
}

void DriversPanel::setInputs(const PanelInputs& inputs, const Tolerances& tolerances) {
  inputs_ = inputs;
  listening_.tolerances = tolerances;
  if (isLoaded()) showInputs();
  changed();
}

void DriversPanel::connectEvents() {
  for (std::size_t b = 0; b < columns_.size(); ++b) connect(columns_[b], inputs_[b]);
  double Tolerances::*const tolerances[] = {&Tolerances::capacitors, &Tolerances::coils,
                                            &Tolerances::resistors, &Tolerances::coilResistance};
  for (std::size_t i = 0; i < toleranceBoxes_.size(); ++i) {
    const Bound<TextBox>& box = toleranceBoxes_[i];
    double& field = listening_.tolerances.*tolerances[i];
    box->setInputRule([this](std::string_view text) {
      return decimalFieldValue(text, toolkit().decimalSeparator()).has_value();
    });
    box->onChange([this, &box, &field] { decimalChange(box, field, 1, kMaxTolerance); });
  }
  spread_->onClick([this] {
    listening_.spread = spread_->value();
    changed();
  });
  electrical_->onClick([this] {
    listening_.hearing = electrical_->value() ? Hearing::Electrical : Hearing::Acoustic;
    changed();
  });
  saveButton_->onClick([this] { commands_.run(Command::SaveDesign); });
  openButton_->onClick([this] { commands_.run(Command::OpenDesign); });
  closeButton_->onClick([this] { Unload(); });
  native()->onCommands({[](Condition c) { return c == Condition::Always; },
                        [this](Command c) {
                          if (c == Command::SaveDesign || c == Command::OpenDesign) {
                            commands_.run(c);
                          }
                        }});
}

void DriversPanel::connect(Column& c, DriverInputs& in) {
  using Kind = DriverInputs::Kind;
  const auto kind = [this, &in](Kind k) {
    return [this, &in, k] {
      in.kind = k;
      changed();
    };
  };
  c.nominal->onClick(kind(Kind::Nominal));
  c.model->onClick(kind(Kind::Model));
  c.measured->onClick(kind(Kind::Measured));
  // Typing a model's value where the band drives a resistor chooses the model.
  const auto modelBox = [this, &c, &in](const Bound<TextBox>& box, double& field, double scale) {
    box->onChange([this, &c, &in, &box, &field, scale] {
      if (!showing_ && in.kind == Kind::Nominal && !box->text().empty()) {
        in.kind = Kind::Model;
        c.model->setValue(true);
      }
      decimalChange(box, field, scale);
    });
  };
  modelBox(c.re, in.model.re, 1);
  modelBox(c.le, in.model.le, kMilli);
  modelBox(c.fs, in.model.fs, 1);
  modelBox(c.qms, in.model.qms, 1);
  modelBox(c.qes, in.model.qes, 1);
  c.open->onClick([this, &in] { openCurve(in); });
  c.zobel->onClick([this, &c, &in] {
    in.zobel = c.zobel->value();
    changed();
  });
  c.notch->onClick([this, &c, &in] {
    in.notch = c.notch->value();
    changed();
  });
  c.pad->onChange([this, &c, &in] { decimalChange(c.pad, in.padDb); });
  c.dcr->onChange([this, &c, &in] { decimalChange(c.dcr, in.coilOhms); });
  c.openSound->onClick([this, &in] { openSound(in); });
  c.offset->onChange([this, &c, &in] { decimalChange(c.offset, in.offsetMm); });
  c.takePad->onClick([this, &in] {
    const std::size_t band = static_cast<std::size_t>(&in - inputs_.data());
    const std::optional<double> pad = padsToQuietest(levels())[band];
    if (!pad) return;
    in.padDb = std::round(*pad * 10) / 10;  // as the box shows it
    showInputs();
    changed();
  });
  for (const Bound<TextBox>* box :
       {&c.re, &c.le, &c.fs, &c.qms, &c.qes, &c.pad, &c.dcr, &c.offset}) {
    (*box)->setInputRule([this](std::string_view text) {
      return decimalFieldValue(text, toolkit().decimalSeparator()).has_value();
    });
  }
}

void DriversPanel::decimalChange(const Bound<TextBox>& box, double& field, double scale,
                                 double highest) {
  if (showing_) return;
  if (const std::optional<double> value =
          decimalFieldValue(box->text(), toolkit().decimalSeparator());
      value && *value <= highest) {
    field = *value * scale;
    changed();
    return;
  }
  box->setText("");
  MsgBox(kInputErrorText, kInputErrorTitle);
}

std::optional<std::pair<std::string, std::string>> DriversPanel::measurementFile(
    const char* title, const char* kind, const char* extension) {
  const std::optional<std::string> path = native()->askFileName(
      {.save = false, .title = title, .kind = kind, .extension = extension, .suggested = {}});
  if (!path) return std::nullopt;
  const std::filesystem::path file = pathOfUtf8(*path);
  std::string name = utf8Of(file.filename());
  std::optional<std::string> text = readFileText(file, kMaxCurveBytes);
  if (!text) {
    MsgBox(unreadableFileText(name), kDriversTitle);
    return std::nullopt;
  }
  return std::pair{std::move(name), std::move(*text)};
}

void DriversPanel::openCurve(DriverInputs& in) {
  const auto file = measurementFile("Измерен импеданс", "Импеданс (.zma)", ".zma");
  if (!file) return;
  ZmaRead read = readZma(file->second);
  if (!read.curve) {
    MsgBox(fileRefusalText(file->first, *read.refusal), kDriversTitle);
    return;
  }
  in.curve = std::move(read.curve);
  in.curveName = file->first;
  in.kind = DriverInputs::Kind::Measured;
  showInputs();
  changed();
}

void DriversPanel::openSound(DriverInputs& in) {
  const auto file = measurementFile("Измерен отговор", "Честотна характеристика (.frd)", ".frd");
  if (!file) return;
  FrdRead read = readFrd(file->second);
  if (!read.response) {
    MsgBox(fileRefusalText(file->first, *read.refusal), kDriversTitle);
    return;
  }
  in.sound = std::move(read.response);
  in.soundName = file->first;
  changed();
}

std::array<std::optional<double>, 3> DriversPanel::levels() const {
  const std::pair<double, double> bands[] = {
      {typed_.LowFc, typed_.LowFc}, {typed_.MidFc1, typed_.MidFc2}, {typed_.HighFc, typed_.HighFc}};
  std::array<std::optional<double>, 3> out;
  for (std::size_t b = 0; b < out.size(); ++b) {
    const auto& [low, high] = bands[b];
    if (!inputs_[b].sound || !(low > 0) || !(high > 0)) continue;
    out[b] = passBandLevel(*inputs_[b].sound, static_cast<Section>(b), low, high);
  }
  return out;
}

void DriversPanel::Form_Load() { showInputs(); }

void DriversPanel::showInputs() {
  const std::string point = toolkit().decimalSeparator();
  const auto number = [&](double v, double scale = 1) {
    return v == 0 ? std::string() : shortestText(v / scale, point);
  };
  showing_ = true;
  for (std::size_t b = 0; b < columns_.size(); ++b) {
    Column& c = columns_[b];
    const DriverInputs& in = inputs_[b];
    c.nominal->setValue(in.kind == DriverInputs::Kind::Nominal);
    c.model->setValue(in.kind == DriverInputs::Kind::Model);
    c.measured->setValue(in.kind == DriverInputs::Kind::Measured);
    c.re->setText(number(in.model.re));
    c.le->setText(number(in.model.le, kMilli));
    c.fs->setText(number(in.model.fs));
    c.qms->setText(number(in.model.qms));
    c.qes->setText(number(in.model.qes));
    c.zobel->setValue(in.zobel);
    c.notch->setValue(in.notch);
    c.pad->setText(number(in.padDb));
    c.dcr->setText(number(in.coilOhms));
    c.offset->setText(number(in.offsetMm));
  }
  const Tolerances& t = listening_.tolerances;
  const double values[] = {t.capacitors, t.coils, t.resistors, t.coilResistance};
  for (std::size_t i = 0; i < toleranceBoxes_.size(); ++i) {
    toleranceBoxes_[i]->setText(shortestText(values[i], point));
  }
  spread_->setValue(listening_.spread);
  electrical_->setValue(listening_.hearing == Hearing::Electrical);
  showing_ = false;
}

void DriversPanel::changed() {
  showParts();
  if (onChange_) onChange_();
}

void DriversPanel::setTyped(const InputValues& typed) {
  typed_ = typed;
  ohms_ = {typed.LowR, typed.MidR, typed.HighR};
  showParts();
}

void DriversPanel::showParts() {
  if (!isLoaded()) return;
  const std::string point = toolkit().decimalSeparator();
  const auto show = [](const Bound<TextBox>& box, const std::string& text,
                       const std::string& description = {}) {
    box->setText(text);
    box->setDescription(description);
  };
  const std::array<std::optional<double>, 3> levels = this->levels();
  const std::array<std::optional<double>, 3> pads = padsToQuietest(levels);
  for (std::size_t b = 0; b < columns_.size(); ++b) {
    Column& c = columns_[b];
    const DriverInputs& in = inputs_[b];
    const BandParts parts = bandParts(driverOf(in), ohms_[b]);
    show(c.curve, in.curve ? in.curveName : "",
         in.curve ? "измерен: " + curveText(in.curveName, *in.curve, point) : "");
    show(c.coil, parts.coil ? fixedText(parts.coil->re, 2, point) + " Ом, " +
                                  fixedText(parts.coil->le / kMilli, 2, point) + " mH"
                            : "");
    if (!parts.zobel.empty()) {
      show(c.zobelParts, partsText(parts.zobel, PartsSet::Computed, point),
           nearestText(parts.zobel, point));
    } else {
      show(c.zobelParts, in.zobel ? kNoCoilText : "");
    }
    if (!parts.notch.empty()) {
      show(c.notchParts, partsText(parts.notch, PartsSet::Computed, point),
           nearestText(parts.notch, point));
    } else {
      show(c.notchParts, in.notch ? kNoModelText : "");
    }
    if (parts.pad) {
      show(c.padParts, padText(*parts.pad, point), padNearestText(*parts.pad, ohms_[b], point));
    } else {
      show(c.padParts, in.padDb > 0 ? kNoOhmsText : "");
    }
    show(c.sound, in.sound ? in.soundName : "",
         in.sound ? "измерен отговор: " + soundText(in, point) : "");
    // The band's level, and what it plays at with its pad; the pad to the quietest band.
    if (levels[b]) {
      show(c.level,
           fixedText(*levels[b], 1, point) +
               (in.padDb > 0 ? " → " + fixedText(*levels[b] - in.padDb, 1, point) : ""),
           "Средно ниво в лентата " + fixedText(*levels[b], 1, point) + " dB; свири при " +
               fixedText(*levels[b] - in.padDb, 1, point) + " dB");
      show(c.proposal, fixedText(*pads[b], 1, point),
           "L-pad до нивото на най-тихата лента, " + fixedText(*levels[b] - *pads[b], 1, point) +
               " dB");
    } else {
      show(c.level, "", in.sound ? kNoBandText : "");
      show(c.proposal, "");
    }
  }
}

std::string DriversPanel::partsLines(std::string_view point) const {
  std::string lines;
  for (std::size_t b = 0; b < inputs_.size(); ++b) {
    const DriverInputs& in = inputs_[b];
    const BandDriver d = driverOf(in);
    if (in.sound || in.offsetMm != 0) {
      lines += std::string(kBandNames[b]) +
               ", отговор: " + (in.sound ? soundText(in, point) : "равен") + ", отместване назад " +
               fixedText(in.offsetMm, 1, point) + " mm\n";
    }
    if (d.nominal() && !d.zobel && !d.notch) continue;
    const BandParts parts = bandParts(d, ohms_[b]);
    lines += std::string(kBandNames[b]) + ", говорител: " + driverText(in, point) + "\n";
    if (!parts.zobel.empty()) {
      lines += "  Зобел: " + partsText(parts.zobel, PartsSet::Computed, point) + "; " +
               nearestText(parts.zobel, point) + "\n";
    }
    if (!parts.notch.empty()) {
      lines += "  Режекторен филтър: " + partsText(parts.notch, PartsSet::Computed, point) + "; " +
               nearestText(parts.notch, point) + "\n";
    }
    if (parts.pad) {
      lines += "  L-pad " + fixedText(d.padDb, 1, point) +
               " dB, последователен и паралелен: " + padText(*parts.pad, point) + "; " +
               padNearestText(*parts.pad, ohms_[b], point) + "\n";
    }
    if (d.coilOhms > 0) {
      lines += "  Съпротивление на всяка бобина: " + fixedText(d.coilOhms, 2, point) + " Ом\n";
    }
  }
  return lines;
}

}  // namespace kalvena::ui
