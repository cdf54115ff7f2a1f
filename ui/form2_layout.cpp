// The 18 dB/oct window, control by control. Positions and sizes in twips.
#include "form2.h"

namespace kalvena::ui {
namespace {

constexpr ControlType L = ControlType::Label;
constexpr ControlType T = ControlType::TextBox;
constexpr ControlType B = ControlType::CommandButton;
constexpr ControlType P = ControlType::PictureBox;

constexpr ControlSpec kControls[] = {
    // Header
    {"Label1", L, "Изчисляване на честотни филтри за трилентови озвучителни тела", 480, 0, 5175,
     255, 0},
    {"Label2", L, "18 dB/oct", 2520, 240, 735, 255, 1},
    {"Label3", L, "Цели числа: честотите в Hz, съпротивленията в Ом", 1920, 480, 2175, 495, 2},
    {"Label4", L, "Ниски", 240, 960, 615, 255, 9},
    {"Label5", L, "Средни", 2760, 960, 615, 255, 10},
    {"Label6", L, "Високи", 5280, 960, 615, 255, 11},

    // Pictures, in stacking order: the schematics lie over the graphs, and Picture6 over
    // Picture5 over Picture4.
    {"Picture1", P, "", 240, 1200, 1815, 1455, 3,
     "Честотна характеристика на нискочестотния филтър", "form2_low_graph", 124, 99},
    {"Picture2", P, "", 2160, 1200, 1815, 1455, 5, "Честотна характеристика на лентовия филтър",
     "form2_middle_graph", 124, 101},
    {"Picture3", P, "", 4080, 1200, 1815, 1455, 4,
     "Честотна характеристика на високочестотния филтър", "form2_high_graph", 123, 98},
    {"Picture4", P, "", 240, 2640, 1815, 855, 6, "Схема на нискочестотния филтър",
     "form2_low_schematic", 124, 58},
    {"Picture5", P, "", 2040, 2640, 2055, 855, 7, "Схема на лентовия филтър",
     "form2_middle_schematic", 146, 59},
    {"Picture6", P, "", 4080, 2640, 1815, 855, 8, "Схема на високочестотния филтър",
     "form2_high_schematic", 127, 63},

    // Input row
    {"Label11", L, "Въведи", 840, 3720, 615, 255, 18},
    {"Label7", L, "fc", 480, 3960, 135, 255, 14},
    {"Text1", T, "", 720, 3960, 735, 195, 12, "Ниски fc Hz"},
    {"Label8", L, "Hz", 1560, 3960, 255, 255, 15},
    {"Label9", L, "Rвг", 360, 4200, 255, 255, 16},
    {"Text2", T, "", 720, 4200, 735, 195, 13, "Ниски Rвг Ом"},
    {"Label10", L, "Ом", 1560, 4200, 255, 255, 17},
    {"Label12", L, "Въведи", 2760, 3720, 615, 255, 19},
    {"Label20", L, "fc1", 2280, 3960, 255, 255, 33},
    {"Text6", T, "", 2520, 3960, 975, 195, 30, "Средни fc1 Hz"},
    {"Label23", L, "Hz", 3600, 3960, 255, 255, 36},
    {"Label21", L, "fc2", 2280, 4200, 255, 255, 34},
    {"Text7", T, "", 2520, 4200, 975, 195, 31, "Средни fc2 Hz"},
    {"Label24", L, "Hz", 3600, 4200, 375, 255, 37},
    {"Label22", L, "Rвг", 2160, 4440, 375, 255, 35},
    {"Text8", T, "", 2520, 4440, 975, 195, 32, "Средни Rвг Ом"},
    {"Label25", L, "Ом", 3600, 4440, 255, 255, 38},
    {"Label26", L, "Въведи", 4800, 3720, 615, 255, 39},
    {"Label40", L, "fc", 4440, 3960, 135, 255, 60},
    {"Text15", T, "", 4680, 3960, 855, 195, 59, "Високи fc Hz"},
    {"Label41", L, "Hz", 5640, 3960, 255, 255, 61},
    {"Label42", L, "Rвг", 4320, 4200, 375, 255, 63},
    {"Text16", T, "", 4680, 4200, 855, 195, 62, "Високи Rвг Ом"},
    {"Label43", L, "Ом", 5640, 4200, 255, 255, 64},

    // Results row
    {"Label13", L, "Резултати", 720, 4920, 855, 255, 22},
    {"Label14", L, "C", 360, 5160, 135, 255, 24},
    {"Text3", T, "", 600, 5160, 975, 195, 20, "Ниски C µF"},
    {"Label15", L, "µF", 1680, 5160, 255, 255, 25},
    {"Label16", L, "L1", 360, 5400, 255, 255, 26},
    {"Text4", T, "", 600, 5400, 975, 195, 21, "Ниски L1 mH"},
    {"Label18", L, "mH", 1680, 5400, 255, 255, 28},
    {"Label17", L, "L2", 360, 5640, 255, 255, 27},
    {"Text5", T, "", 600, 5640, 975, 195, 23, "Ниски L2 mH"},
    {"Label19", L, "mH", 1680, 5640, 255, 255, 29},
    {"Label27", L, "Резултати", 2640, 4920, 855, 255, 46},
    {"Label28", L, "C1", 2280, 5160, 255, 255, 47},
    {"Text9", T, "", 2640, 5160, 735, 195, 40, "Средни C1 µF"},
    {"Label34", L, "µF", 3480, 5160, 255, 255, 53},
    {"Label29", L, "C2", 2280, 5400, 255, 255, 48},
    {"Text10", T, "", 2640, 5400, 735, 195, 41, "Средни C2 µF"},
    {"Label35", L, "µF", 3480, 5400, 255, 255, 54},
    {"Label30", L, "C3", 2280, 5640, 255, 255, 49},
    {"Text11", T, "", 2640, 5640, 735, 195, 42, "Средни C3 µF"},
    {"Label36", L, "µF", 3480, 5640, 255, 255, 55},
    {"Label31", L, "L1", 2280, 5880, 255, 255, 50},
    {"Text12", T, "", 2640, 5880, 735, 195, 43, "Средни L1 mH"},
    {"Label37", L, "mH", 3480, 5880, 255, 255, 56},
    {"Label32", L, "L2", 2280, 6120, 255, 255, 51},
    {"Text13", T, "", 2640, 6120, 735, 195, 44, "Средни L2 mH"},
    {"Label38", L, "mH", 3480, 6120, 255, 255, 57},
    {"Label33", L, "L3", 2280, 6360, 255, 255, 52},
    {"Text14", T, "", 2640, 6360, 735, 195, 45, "Средни L3 mH"},
    {"Label39", L, "mH", 3480, 6360, 255, 255, 58},
    {"Label44", L, "Резултати", 4680, 4920, 855, 255, 65},
    {"Label45", L, "C1", 4320, 5160, 255, 255, 69},
    {"Text17", T, "", 4560, 5160, 975, 195, 66, "Високи C1 µF"},
    {"Label48", L, "µF", 5640, 5160, 255, 255, 72},
    {"Label46", L, "C2", 4320, 5400, 255, 255, 70},
    {"Text18", T, "", 4560, 5400, 975, 195, 67, "Високи C2 µF"},
    {"Label49", L, "µF", 5640, 5400, 255, 255, 73},
    {"Label47", L, "L", 4440, 5640, 135, 255, 71},
    {"Text19", T, "", 4560, 5640, 975, 195, 68, "Високи L mH"},
    {"Label50", L, "mH", 5640, 5640, 255, 255, 74},

    // Buttons
    {"Command1", B, "Изчисли", 360, 6840, 855, 255, 75},
    {"Command2", B, "Изчисти", 2280, 6840, 975, 255, 76},
    {"Command3", B, "смяна 12 <- 18 dB/oct", 3360, 6840, 1815, 255, 77},
    {"Command4", B, "Изход", 5280, 6840, 615, 255, 78},
};

constexpr LineSpec kLines[] = {
    {"Line7", 0, 120, 0, 7200},          // outer frame, left
    {"Line6", 360, 120, 0, 120},         // outer frame, top, left of the title
    {"Line9", 5640, 120, 6120, 120},     // outer frame, top, right of the title
    {"Line8", 6120, 120, 6120, 7200},    // outer frame, right
    {"Line15", 0, 7200, 6120, 7200},     // outer and inner frame, bottom
    {"Line2", 120, 360, 120, 7200},      // inner frame, left
    {"Line1", 2400, 360, 120, 360},      // inner frame, top, left of "18 dB/oct"
    {"Line4", 3360, 360, 6000, 360},     // inner frame, top, right of "18 dB/oct"
    {"Line3", 6000, 360, 6000, 7200},    // inner frame, right
    {"Line5", 120, 960, 6000, 960},      // rule under the notice
    {"Line12", 120, 3600, 6000, 3600},   // rule under the schematics, top of the table
    {"Line10", 2040, 3600, 2040, 6720},  // table, between low and middle
    {"Line11", 4080, 3600, 4080, 6720},  // table, between middle and high
    {"Line13", 120, 4800, 6000, 4800},   // table, between input and results row
    {"Line14", 120, 6720, 6000, 6720},   // rule under the table, above the buttons
};

constexpr FormLayout kLayout{6135, 7245, kControls, kLines, "18 dB/oct"};

// The parts list's sections: each element as it is labelled and the result (in the order of
// the calculation) that is its value.
constexpr PartsElement kLow[] = {{"C", 0}, {"L1", 1}, {"L2", 2}};
constexpr PartsElement kMiddle[] = {{"C1", 3}, {"C2", 4}, {"C3", 5},
                                    {"L1", 6}, {"L2", 7}, {"L3", 8}};
constexpr PartsElement kHigh[] = {{"C1", 9}, {"C2", 10}, {"L", 11}};
constexpr PartsSection kSections[] = {{"Ниски", kLowPartsInputs, kLow},
                                      {"Средни", kMiddlePartsInputs, kMiddle},
                                      {"Високи", kHighPartsInputs, kHigh}};

}  // namespace

const FormLayout& Form2::layout() const { return kLayout; }

std::span<const PartsSection> Form2::partsSections() const { return kSections; }

}  // namespace kalvena::ui
