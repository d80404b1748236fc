#include "colour_qt.h"

#include <QGuiApplication>
#include <QPalette>

namespace quom {

namespace {

// Windows system colour indices (GetSysColor) and the palette role closest to each.
QPalette::ColorRole RoleForSystemIndex(int index) {
    switch (index) {
        case 5:  // COLOR_WINDOW
            return QPalette::Base;
        case 6:  // COLOR_WINDOWFRAME
            return QPalette::Shadow;
        case 7:  // COLOR_MENUTEXT
        case 8:  // COLOR_WINDOWTEXT
            return QPalette::WindowText;
        case 9:   // COLOR_CAPTIONTEXT
        case 14:  // COLOR_HIGHLIGHTTEXT
            return QPalette::HighlightedText;
        case 13:  // COLOR_HIGHLIGHT
            return QPalette::Highlight;
        case 16:  // COLOR_BTNSHADOW
            return QPalette::Dark;
        case 18:  // COLOR_BTNTEXT
            return QPalette::ButtonText;
        case 20:  // COLOR_BTNHIGHLIGHT
            return QPalette::Light;
        case 24:  // COLOR_INFOBK
            return QPalette::ToolTipBase;
        default:  // COLOR_BTNFACE and the rest
            return QPalette::Button;
    }
}

}  // namespace

QColor ToQColor(Colour colour) {
    if (IsSystemColour(colour)) {
        return QGuiApplication::palette().color(QPalette::Active,
                                                RoleForSystemIndex(SystemColourIndex(colour)));
    }
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

Colour FromQColor(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return RgbColour(rgb.red(), rgb.green(), rgb.blue());
}

}  // namespace quom
