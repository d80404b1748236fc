#include "editor_fonts.h"

#include <QStringList>

#include "item_fonts.h"

namespace quom {

void InstallFontSubstitutes() {
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               QStringList{QStringLiteral("Microsoft Sans Serif"),
                                           QStringLiteral("Liberation Sans Narrow"),
                                           QStringLiteral("DejaVu Sans Condensed")});
    InstallItemFontSubstitutes();
}

QFont WindowFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

QFont TimesFont(int pixel_height, bool bold) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pixel_height);
    font.setBold(bold);
    return font;
}

}  // namespace quom
