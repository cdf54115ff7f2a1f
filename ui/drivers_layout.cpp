// The drivers' panel: a row a quantity, its caption on the left, then a column a band, each
// band's controls in the tab order one after another (its option buttons one group).
#include "drivers_layout.h"

#include <deque>
#include <string>
#include <vector>

#include "drivers_panel.h"
#include "response_text.h"

namespace kalvena::ui {
namespace {

constexpr ColumnNames kNames[] = {
    {"NominalLow",    "ModelLow", "MeasuredLow",   "ReLow",    "LeLow",       "FsLow",
     "QmsLow",        "QesLow",   "OpenLow",       "CurveLow", "CoilLow",     "ZobelLow",
     "ZobelPartsLow", "NotchLow", "NotchPartsLow", "PadLow",   "PadPartsLow", "DcrLow",
     "OpenSoundLow",  "SoundLow", "OffsetLow",     "LevelLow", "ProposalLow", "TakePadLow"},
    {"NominalMid",    "ModelMid", "MeasuredMid",   "ReMid",    "LeMid",       "FsMid",
     "QmsMid",        "QesMid",   "OpenMid",       "CurveMid", "CoilMid",     "ZobelMid",
     "ZobelPartsMid", "NotchMid", "NotchPartsMid", "PadMid",   "PadPartsMid", "DcrMid",
     "OpenSoundMid",  "SoundMid", "OffsetMid",     "LevelMid", "ProposalMid", "TakePadMid"},
    {"NominalHigh",    "ModelHigh", "MeasuredHigh",   "ReHigh",    "LeHigh",       "FsHigh",
     "QmsHigh",        "QesHigh",   "OpenHigh",       "CurveHigh", "CoilHigh",     "ZobelHigh",
     "ZobelPartsHigh", "NotchHigh", "NotchPartsHigh", "PadHigh",   "PadPartsHigh", "DcrHigh",
     "OpenSoundHigh",  "SoundHigh", "OffsetHigh",     "LevelHigh", "ProposalHigh", "TakePadHigh"},
};

constexpr int kTwips = 15;  // a logical pixel
constexpr int kCaptionLeft = 8, kCaptionWidth = 156;
constexpr int kColumnLeft = 170, kColumnStep = 168, kColumnWidth = 160;

// A row: its caption on the left (none where empty), then each band's control of this kind
// (a label where `type` is one) with its caption, at y, h logical pixels.
struct Row {
  const char* ColumnNames::*name;
  ControlType type;
  const char* rowCaption;
  const char* caption;
  int y, h;
};

constexpr ControlType T = ControlType::TextBox;
constexpr ControlType B = ControlType::CommandButton;
constexpr ControlType C = ControlType::CheckBox;
constexpr ControlType O = ControlType::OptionButton;

constexpr Row kRows[] = {
    {&ColumnNames::nominal, O, "Говорител", "резистор Rвг", 30, 20},
    {&ColumnNames::model, O, "", "Тиле–Смол", 52, 20},
    {&ColumnNames::measured, O, "", "измерен .zma", 74, 20},
    {&ColumnNames::re, T, "Re, Ом", "", 102, 20},
    {&ColumnNames::le, T, "Le, mH", "", 126, 20},
    {&ColumnNames::fs, T, "fs, Hz", "", 150, 20},
    {&ColumnNames::qms, T, "Qms", "", 174, 20},
    {&ColumnNames::qes, T, "Qes", "", 198, 20},
    {&ColumnNames::open, B, "Измерен импеданс", "Отвори .zma…", 226, 23},
    {&ColumnNames::curve, T, "Файл", "", 254, 20},
    {&ColumnNames::coil, T, "Re и Le на бобината", "", 278, 20},
    {&ColumnNames::zobel, C, "Компенсация", "Зобел", 306, 20},
    {&ColumnNames::zobelParts, T, "", "", 328, 20},
    {&ColumnNames::notch, C, "", "Режекторен филтър", 354, 20},
    {&ColumnNames::notchParts, T, "", "", 376, 20},
    {&ColumnNames::pad, T, "L-pad, dB", "", 404, 20},
    {&ColumnNames::padParts, T, "", "", 428, 20},
    {&ColumnNames::dcr, T, "Бобини на филтъра, Ом", "", 456, 20},
    {&ColumnNames::openSound, B, "Измерен отговор", "Отвори .frd…", 484, 23},
    {&ColumnNames::sound, T, "Файл .frd", "", 512, 20},
    {&ColumnNames::offset, T, "Отместване назад, mm", "", 536, 20},
    {&ColumnNames::level, T, "Ниво в лентата, dB", "", 560, 20},
    {&ColumnNames::proposal, T, "Предложен L-pad, dB", "", 584, 20},
    {&ColumnNames::takePad, B, "", "Приеми предложението", 608, 23},
};

// The whole panel's controls, in a column right of the bands (so that the panel stays low enough
// for a screen of 720 logical pixels): the tolerances, the two switches, then at its foot the
// design's buttons and the panel's.
constexpr int kSideLeft = kColumnLeft + 3 * kColumnStep + 8, kSideWidth = 176;
constexpr int kTolerancesTop = 52, kSwitchesTop = 156;
constexpr const char* kToleranceCaptions[] = {"C", "L", "R", "Rбоб"};
constexpr int kButtonsTop = 550, kButtonStep = 30, kButtonHeight = 25;
constexpr int kHeight = 642, kWidth = kSideLeft + kSideWidth + 8;

const char* kept(std::deque<std::string>& texts, std::string text) {
  return texts.emplace_back(std::move(text)).c_str();
}

FormLayout build() {
  static std::deque<std::string> texts;  // the accessible names, which the specs point into
  static std::vector<ControlSpec> controls;
  const auto at = [](int px) { return px * kTwips; };
  const auto label = [&](const char* name, const char* caption, int x, int y, int w) {
    controls.push_back({name, ControlType::Label, caption, at(x), at(y + 2), at(w), at(17), 0});
  };
  int n = 0;
  for (const Row& row : kRows) {
    if (*row.rowCaption)
      label(kept(texts, "Row" + std::to_string(n++)), row.rowCaption, kCaptionLeft, row.y,
            kCaptionWidth);
  }
  for (int band = 0; band < 3; ++band) {
    const int x = kColumnLeft + band * kColumnStep;
    label(kept(texts, std::string("Band") + kNames[band].nominal), kBandNames[band], x + 4, 6,
          kColumnWidth);
    int tab = 100 * (band + 1);
    int rowIndex = 0;
    for (const Row& row : kRows) {
      // The caption of a row with none is the row's above it, as a screen reader says it.
      const char* rowCaption = row.rowCaption;
      for (int r = rowIndex; !*rowCaption && r > 0; --r) rowCaption = kRows[r - 1].rowCaption;
      std::string spoken = std::string(kBandNames[band]) + ": " + rowCaption;
      if (*row.caption) spoken += std::string(", ") + row.caption;
      controls.push_back({kNames[band].*row.name, row.type, row.caption, at(x), at(row.y),
                          at(kColumnWidth), at(row.h), tab++, kept(texts, spoken)});
      ++rowIndex;
    }
  }
  label("RowTolerances", "Допуски на частите, %", kSideLeft, kTolerancesTop - 22, kSideWidth);
  for (int i = 0; i < 4; ++i) {
    const int y = kTolerancesTop + i * 24;
    label(kept(texts, std::string("Label") + kToleranceNames[i]), kToleranceCaptions[i], kSideLeft,
          y, 48);
    controls.push_back({kToleranceNames[i], T, "", at(kSideLeft + 52), at(y), at(80), at(20),
                        400 + i, kept(texts, std::string("Допуск, %: ") + kToleranceCaptions[i])});
  }
  controls.push_back({kSpreadName, C, "Разброс на 1000 сглобки", at(kSideLeft), at(kSwitchesTop),
                      at(kSideWidth), at(20), 404});
  controls.push_back({kElectricalName, C, "Само електрическата сума", at(kSideLeft),
                      at(kSwitchesTop + 24), at(kSideWidth), at(20), 405});
  const char* const buttons[][2] = {{"SaveDesign", "Запази проекта…"},
                                    {"OpenDesign", "Отвори проект…"},
                                    {"CloseDrivers", "Затвори"}};
  for (int i = 0; i < 3; ++i) {
    controls.push_back({buttons[i][0], B, buttons[i][1], at(kSideLeft),
                        at(kButtonsTop + i * kButtonStep), at(kSideWidth), at(kButtonHeight),
                        500 + i});
  }
  return {at(kWidth),
          at(kHeight),
          controls,
          {},
          "Говорителите на трите ленти, компенсацията им, L-pad и съпротивлението на бобините",
          kDriversTitle};
}

}  // namespace

const ColumnNames& columnNames(int band) { return kNames[band]; }

const FormLayout& driversLayout() {
  static const FormLayout layout = build();
  return layout;
}

}  // namespace kalvena::ui
