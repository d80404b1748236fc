#include "bevel.h"

#include <QPainter>

namespace quom {

Bevel::Bevel(Shape shape, Style style, QWidget* parent)
    : QWidget(parent), shape_(shape), style_(style) {
    // A bevel is decoration: presses fall through to whatever lies beneath it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void DrawEdge(QPainter& painter, const QRect& rect, bool raised, const QColor& light,
              const QColor& dark) {
    const QColor top_left = raised ? light : dark;
    const QColor bottom_right = raised ? dark : light;
    painter.setPen(top_left);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(bottom_right);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

void Bevel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    const bool lowered = style_ == Style::Lowered;
    const QColor first = lowered ? dark : light;
    const QColor second = lowered ? light : dark;
    const int w = width();
    const int h = height();
    switch (shape_) {
        case Shape::Box:
            DrawEdge(painter, rect(), !lowered, light, dark);
            break;
        case Shape::TopLine:
            painter.setPen(first);
            painter.drawLine(0, 0, w - 1, 0);
            painter.setPen(second);
            painter.drawLine(0, 1, w - 1, 1);
            break;
        case Shape::BottomLine:
            painter.setPen(first);
            painter.drawLine(0, h - 2, w - 1, h - 2);
            painter.setPen(second);
            painter.drawLine(0, h - 1, w - 1, h - 1);
            break;
        case Shape::LeftLine:
            painter.setPen(first);
            painter.drawLine(0, 0, 0, h - 1);
            painter.setPen(second);
            painter.drawLine(1, 0, 1, h - 1);
            break;
    }
}

}  // namespace quom
