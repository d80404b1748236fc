#include "shape.h"

#include <QPainter>

namespace quom {

Shape::Shape(const QColor& fill, QWidget* parent) : QWidget(parent), fill_(fill) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::SetFill(const QColor& fill) {
    fill_ = fill;
    update();
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(fill_);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace quom
