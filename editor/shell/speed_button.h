// A raised push button that never takes the keyboard focus, with an optional glyph
// left of its caption. A "&" in the caption underlines the next letter, and Alt
// with that letter presses the button.
#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace quom {

class SpeedButton final : public QAbstractButton {
    Q_OBJECT
  public:
    SpeedButton(const QString& caption, QWidget* parent);

    void SetGlyph(const QPixmap& glyph);
    const QPixmap& glyph() const { return glyph_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap glyph_;
};

}  // namespace quom
