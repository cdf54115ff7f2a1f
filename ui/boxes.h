#pragma once

// What both windows do with their text boxes: take a keystroke into a field, write a result.

#include "checked.h"
#include "unit.h"

class QLineEdit;

namespace kalvena::ui {

class TextBox;

// The Change handler of an input box. Digits store their value in the field and an empty
// box stores 0, so a calculation never uses a number its box does not show. Anything else
// (a non-digit, or a number too large for a double) empties the box, which stores 0 through
// the nested Change, and then tells the user in the modal message box.
void InputChange(QLineEdit& box, double& field);

// Writes a result into its box, in the decimal separator of the user's locale, and says on
// hover (and to a screen reader) the whole text with its unit and the nearest E12 and E24
// values. A value that is not a finite number shows a marker instead, explained on hover.
void ShowResult(TextBox& box, Unit unit, Checked value);

// Makes a box the program's output: text can be selected and copied but not typed, and its
// ground is the window's, so it reads as a result rather than a place to type.
void MakeResultBox(TextBox& box);

// Shown in a result box whose value overflowed; short enough for the narrowest box.
inline constexpr const char* kOutOfRangeMarker = "> макс.";
inline constexpr const char* kOutOfRangeExplanation =
    "Извън обхвата: стойността е по-голяма от най-голямото число, което програмата може да "
    "изчисли (около 1,8E+308). Проверете въведените числа.";
inline constexpr const char* kInputErrorText = "Моля въвеждайте само числа";
inline constexpr const char* kInputErrorTitle = " Error !!";

}  // namespace kalvena::ui
