// The 12 dB/oct window, control by control. Positions and sizes in twips.
#include "form1.h"

namespace kalvena::ui {
namespace {

constexpr ControlType L = ControlType::Label;
constexpr ControlType T = ControlType::TextBox;
constexpr ControlType B = ControlType::CommandButton;
constexpr ControlType P = ControlType::PictureBox;

constexpr ControlSpec kControls[] = {
    // Header
    {"Label1", L, "Изчисляване на честотни филтри за трилентови озвучителни тела", 240, 0, 5175,
     255, 56},
    {"Label16", L, "12 dB/oct", 2280, 240, 855, 255, 59},
    {"Label2", L, "Цели числа: честотите в Hz, съпротивленията в Ом", 1680, 480, 2175, 495, 58},
    {"Label3", L, "Ниски ", 240, 960, 495, 255, 0},
    {"Label5", L, "Средни ", 2400, 960, 615, 255, 2},
    {"Label4", L, "Високи ", 4680, 960, 615, 255, 1},

    // Pictures, in stacking order: the schematics lie over the graphs, a box over its left
    // neighbour, and the middle schematic (Picture6) over both of its neighbours.
    {"Picture1", P, "", 240, 1200, 1695, 1575, 61,
     "Честотна характеристика на нискочестотния филтър", "form1_low_graph", 115, 104},
    {"Picture2", P, "", 1920, 1200, 1695, 1575, 62, "Честотна характеристика на лентовия филтър",
     "form1_middle_graph", 117, 106},
    {"Picture3", P, "", 3600, 1200, 1695, 1575, 63,
     "Честотна характеристика на високочестотния филтър", "form1_high_graph", 122, 110},
    {"Picture4", P, "", 240, 2760, 1695, 855, 64, "Схема на нискочестотния филтър",
     "form1_low_schematic", 110, 62},
    {"Picture5", P, "", 3600, 2760, 1695, 855, 65, "Схема на високочестотния филтър",
     "form1_high_schematic", 109, 57},
    {"Picture6", P, "", 1920, 2760, 1695, 855, 66, "Схема на лентовия филтър",
     "form1_middle_schematic", 135, 73},

    // Input row
    {"Label6", L, "Въведи ", 600, 3840, 615, 255, 3},
    {"Label7", L, "fc", 360, 4080, 135, 255, 4},
    {"Text1", T, "", 600, 4080, 615, 195, 5, "Ниски fc Hz"},
    {"Label8", L, "Hz", 1320, 4080, 255, 255, 6},
    {"Label9", L, "Rвг", 240, 4320, 255, 255, 7},
    {"Text2", T, "", 600, 4320, 615, 195, 8, "Ниски Rвг Ом"},
    {"Label10", L, "Ом", 1320, 4320, 255, 255, 9},
    {"Label24", L, "Въведи ", 2400, 3840, 615, 255, 28},
    {"Label25", L, "fc1", 1920, 4080, 255, 255, 29},
    {"Text9", T, "", 2280, 4080, 735, 195, 30, "Средни fc1 Hz"},
    {"Label27", L, "Hz", 3120, 4080, 255, 255, 33},
    {"Label26", L, "fc2", 1920, 4320, 255, 255, 31},
    {"Text10", T, "", 2280, 4320, 735, 195, 32, "Средни fc2 Hz"},
    {"Label28", L, "Hz", 3120, 4320, 375, 255, 34},
    {"Label29", L, "Rвг", 1920, 4560, 255, 255, 35},
    {"Text11", T, "", 2280, 4560, 735, 195, 36, "Средни Rвг Ом"},
    {"Label30", L, "Ом", 3120, 4560, 255, 255, 37},
    {"Label35", L, "Въведи ", 4080, 3840, 615, 255, 42},
    {"Label36", L, "fc", 3840, 4080, 135, 255, 43},
    {"Text12", T, "", 4080, 4080, 735, 195, 44, "Високи fc Hz"},
    {"Label37", L, "Hz", 4920, 4080, 255, 255, 45},
    {"Label38", L, "Rвг", 3720, 4320, 255, 255, 46},
    {"Text13", T, "", 4080, 4320, 735, 195, 47, "Високи Rвг Ом"},
    {"Label39", L, "Ом", 4920, 4320, 375, 255, 48},

    // Results row
    {"Label11", L, "Резултати ", 600, 5040, 855, 255, 10},
    {"Label12", L, "C =", 240, 5280, 255, 255, 11},
    {"Text3", T, "", 600, 5280, 735, 195, 12, "Ниски C µF"},
    {"Label13", L, "µF", 1440, 5280, 255, 255, 13},
    {"Label14", L, "L =", 240, 5520, 255, 375, 14},
    {"Text4", T, "", 600, 5520, 735, 195, 15, "Ниски L mH"},
    {"Label15", L, "mH", 1440, 5520, 255, 255, 16},
    {"Label20", L, "Резултати ", 2280, 5040, 855, 255, 20},
    {"Label19", L, "C1 =", 1920, 5280, 375, 255, 19},
    {"Text5", T, "", 2280, 5280, 735, 195, 21, "Средни C1 µF"},
    {"Label31", L, "µF", 3120, 5280, 255, 255, 38},
    {"Label21", L, "C2 =", 1920, 5520, 375, 375, 22},
    {"Text6", T, "", 2280, 5520, 735, 195, 23, "Средни C2 µF"},
    {"Label32", L, "µF", 3120, 5520, 255, 255, 39},
    {"Label22", L, "L1 =", 1920, 5760, 375, 375, 24},
    {"Text7", T, "", 2280, 5760, 735, 195, 25, "Средни L1 mH"},
    {"Label33", L, "mH", 3120, 5760, 255, 255, 40},
    {"Label23", L, "L2 =", 1920, 6000, 375, 255, 27},
    {"Text8", T, "", 2280, 6000, 735, 195, 26, "Средни L2 mH"},
    {"Label34", L, "mH", 3120, 6000, 255, 255, 41},
    {"Label40", L, "Резултати ", 4200, 5040, 855, 255, 49},
    {"Label41", L, "C =", 3720, 5280, 255, 255, 50},
    {"Text14", T, "", 4080, 5280, 855, 195, 51, "Високи C µF"},
    {"Label42", L, "µF", 5040, 5280, 255, 255, 52},
    {"Label43", L, "L =", 3720, 5520, 255, 255, 53},
    {"Text15", T, "", 4080, 5520, 855, 195, 54, "Високи L mH"},
    {"Label44", L, "mH", 5040, 5520, 255, 255, 55},

    // Buttons
    {"Command1", B, "Изчисли", 360, 6480, 855, 255, 17},
    {"Command4", B, "Изчисти", 1800, 6480, 855, 255, 60},
    {"Command2", B, "смяна 12 -> 18 dB/oct", 2760, 6480, 1815, 255, 57},
    {"Command3", B, "Изход", 4680, 6480, 615, 255, 18},
};

constexpr LineSpec kLines[] = {
    {"Line7", 0, 120, 0, 6840},          // outer frame, left
    {"Line6", 120, 120, 0, 120},         // outer frame, top, left of the title
    {"Line10", 5400, 120, 5520, 120},    // outer frame, top, right of the title
    {"Line9", 5520, 120, 5520, 6840},    // outer frame, right
    {"Line8", 6240, 6840, 0, 6840},      // frame bottom; runs past the client area, clipped
    {"Line11", 120, 360, 120, 4320},     // inner frame, left, upper part
    {"Line14", 120, 4320, 120, 6840},    // inner frame, left, lower part
    {"Line4", 2160, 360, 120, 360},      // inner frame, top, left of "12 dB/oct"
    {"Line5", 3120, 360, 5400, 360},     // inner frame, top, right of "12 dB/oct"
    {"Line1", 5400, 360, 5400, 4320},    // inner frame, right, upper part
    {"Line2", 5400, 4320, 5400, 6840},   // inner frame, right, lower part
    {"Line3", 120, 960, 5400, 960},      // rule under the notice
    {"Line12", 120, 3720, 5400, 3720},   // rule under the schematics, top of the table
    {"Line18", 1800, 3720, 1800, 6360},  // table, between low and middle
    {"Line19", 3600, 3720, 3600, 6360},  // table, between middle and high
    {"Line20", 120, 4920, 1800, 4920},   // table, between input and results, low
    {"Line28", 1800, 4920, 3600, 4920},  // same, middle
    {"Line30", 3600, 4920, 5400, 4920},  // same, high
    {"Line27", 120, 6360, 5400, 6360},   // rule under the table, above the buttons
};

constexpr FormLayout kLayout{5535, 6885, kControls, kLines, "12 dB/oct"};

// The parts list's sections: each element as it is labelled and the result (in the order of
// the calculation) that is its value.
constexpr PartsElement kLow[] = {{"C", 0}, {"L", 1}};
constexpr PartsElement kMiddle[] = {{"C1", 2}, {"C2", 3}, {"L1", 4}, {"L2", 5}};
constexpr PartsElement kHigh[] = {{"C", 6}, {"L", 7}};
constexpr PartsSection kSections[] = {{"Ниски", kLowPartsInputs, kLow},
                                      {"Средни", kMiddlePartsInputs, kMiddle},
                                      {"Високи", kHighPartsInputs, kHigh}};

}  // namespace

const FormLayout& Form1::layout() const { return kLayout; }

std::span<const PartsSection> Form1::partsSections() const { return kSections; }

}  // namespace kalvena::ui
