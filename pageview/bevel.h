// Bevels: lowered or raised lines and frames drawn with the palette's light and
// dark shades, as separators and picture frames.
#pragma once

#include <QWidget>

namespace quom {

class Bevel final : public QWidget {
    Q_OBJECT
  public:
    enum class Shape { Box, TopLine, BottomLine, LeftLine };
    enum class Style { Lowered, Raised };

    Bevel(Shape shape, Style style, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Shape shape_;
    Style style_;
};

// Draws a one-pixel 3D edge just inside rect: raised is light top-left and dark
// bottom-right, lowered the other way round.
void DrawEdge(class QPainter& painter, const QRect& rect, bool raised, const QColor& light,
              const QColor& dark);

}  // namespace quom
