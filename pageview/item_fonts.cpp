#include "item_fonts.h"

#include <algorithm>

#include <QStringList>

namespace quom {

namespace {

constexpr const char* kItemFontFamily = "Times New Roman";

}  // namespace

QFont ItemFont(int points) {
    QFont font(QString::fromLatin1(kItemFontFamily));
    font.setStyleHint(QFont::Serif);
    font.setPointSize(std::max(points, 1));
    return font;
}

void InstallItemFontSubstitutes() {
    QFont::insertSubstitutions(
        QString::fromLatin1(kItemFontFamily),
        QStringList{QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif Condensed")});
}

}  // namespace quom
