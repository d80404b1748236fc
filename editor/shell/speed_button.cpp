#include "speed_button.h"

#include <QPainter>

#include "bevel.h"

namespace quom {

namespace {

// Space between glyph and caption.
constexpr int kGlyphSpacing = 2;

}  // namespace

SpeedButton::SpeedButton(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
    setText(caption);
    setFocusPolicy(Qt::NoFocus);
}

void SpeedButton::SetGlyph(const QPixmap& glyph) {
    glyph_ = glyph;
    update();
}

void SpeedButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    painter.fillRect(rect(), pal.color(QPalette::Button));
    const bool down = isDown();
    const QRect outer = rect();
    if (down) {
        DrawEdge(painter, outer, false, pal.color(QPalette::Light), pal.color(QPalette::Shadow));
        DrawEdge(painter, outer.adjusted(1, 1, -1, -1), false, pal.color(QPalette::Button),
                 pal.color(QPalette::Dark));
    } else {
        DrawEdge(painter, outer, true, pal.color(QPalette::Light), pal.color(QPalette::Shadow));
        DrawEdge(painter, outer.adjusted(1, 1, -1, -1), true, pal.color(QPalette::Button),
                 pal.color(QPalette::Dark));
    }

    const QFontMetrics metrics(font());
    const int text_width = metrics.horizontalAdvance(QString(text()).remove(u'&'));
    const int glyph_width = glyph_.isNull() ? 0 : glyph_.width() + kGlyphSpacing;
    const int offset = down ? 1 : 0;
    int x = (width() - glyph_width - text_width) / 2 + offset;
    if (!glyph_.isNull()) {
        painter.drawPixmap(x, (height() - glyph_.height()) / 2 + offset, glyph_);
        x += glyph_width;
    }
    painter.setPen(pal.color(isEnabled() ? QPalette::ButtonText : QPalette::Dark));
    painter.drawText(QRect(x, offset, text_width + 1, height()),
                     Qt::AlignVCenter | Qt::AlignLeft | Qt::TextShowMnemonic, text());
}

}  // namespace quom
