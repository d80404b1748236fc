// Hands the mouse events of widgets to a window's own handlers: the main window
// handles the presses on its design surface and the clicks on the items there, as
// a form handles the events of the controls it holds.
#pragma once

#include <functional>

#include <QObject>

class QMouseEvent;
class QWidget;

namespace quom {

class MouseForwarder final : public QObject {
  public:
    // Gets every press, double click, move and release that reaches a watched
    // widget, with that widget. The events end there: they go no further.
    using Handler = std::function<void(QWidget* widget, QMouseEvent* event)>;

    MouseForwarder(Handler handler, QObject* parent);

    void Watch(QWidget* widget);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Handler handler_;
};

}  // namespace quom
