#include "picture_button.h"

#include <tuple>

#include <QMouseEvent>

namespace quom {

PictureButton::PictureButton(const QPixmap& raised, const QPixmap& pressed,
                             const QString& raised_name, const QString& pressed_name,
                             QWidget* parent)
    : QWidget(parent), pressed_(new QLabel(this)), raised_(new QLabel(this)) {
    setFixedSize(raised.size());
    for (auto [label, pixmap, name] : {std::tuple{pressed_, &pressed, &pressed_name},
                                       std::tuple{raised_, &raised, &raised_name}}) {
        label->setPixmap(*pixmap);
        label->setObjectName(*name);
        label->setGeometry(0, 0, pixmap->width(), pixmap->height());
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    raised_->raise();
}

void PictureButton::mousePressEvent(QMouseEvent* event) {
    raised_->hide();
    event->accept();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    const bool was_pressed = raised_->isHidden();
    raised_->show();
    event->accept();
    if (was_pressed && rect().contains(event->position().toPoint())) emit clicked();
}

}  // namespace quom
