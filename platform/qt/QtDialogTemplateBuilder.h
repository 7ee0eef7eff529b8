#pragma once
// How a dialog template becomes Qt widgets: dialog units in pixels, the template's font.
// DialogWindow builds its widgets with these (QtDialogTemplateBuilder.cpp).

#include <QFont>

#include "platform/DialogTemplate.h"

namespace tavrel::ui::qt {

// Pixels per dialog unit, as Windows derives them from a dialog's font: the horizontal
// unit is a quarter of the average width of "A".."Z" "a".."z", the vertical unit an
// eighth of the font's height.
struct BaseUnits {
    int x = 0;  // pixels per 4 horizontal dialog units
    int y = 0;  // pixels per 8 vertical dialog units
};
BaseUnits BaseUnitsOf(const QFont& font);

// The height of a line of text in the font, Chinese included.
int LineHeight(const QFont& font);

// The font a template names, with fallbacks that carry the Chinese glyphs.
QFont TemplateFont(const DialogTemplate& dialogTemplate);

// x * numerator / denominator, rounded half away from zero (Windows' MulDiv).
int MulDiv(int value, int numerator, int denominator);

// Whether the control takes the focus from Tab and Shift+Tab.
inline bool IsTabStop(const ControlTemplate& control) {
    return (control.style & style::TabStop) != 0;
}

}  // namespace tavrel::ui::qt
