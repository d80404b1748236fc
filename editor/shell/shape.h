// A filled rectangle with a one-pixel black outline: the colour swatch.
#pragma once

#include <QColor>
#include <QWidget>

namespace quom {

class Shape final : public QWidget {
    Q_OBJECT
  public:
    Shape(const QColor& fill, QWidget* parent);

    QColor fill() const { return fill_; }
    void SetFill(const QColor& fill);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor fill_;
};

}  // namespace quom
