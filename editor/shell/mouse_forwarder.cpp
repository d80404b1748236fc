#include "mouse_forwarder.h"

#include <QMouseEvent>
#include <QWidget>

namespace quom {

MouseForwarder::MouseForwarder(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {}

void MouseForwarder::Watch(QWidget* widget) {
    widget->installEventFilter(this);
}

bool MouseForwarder::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            handler_(static_cast<QWidget*>(watched), static_cast<QMouseEvent*>(event));
            event->accept();
            return true;
        default:
            return false;
    }
}

}  // namespace quom
