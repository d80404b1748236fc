// A push button drawn with two pictures: the raised picture lies over the pressed
// one. Pressing hides the raised picture, releasing shows it again, and a release
// over the button is a click.
#pragma once

#include <QLabel>
#include <QWidget>

namespace quom {

class PictureButton final : public QWidget {
    Q_OBJECT
  public:
    // raised_name and pressed_name become the object names of the two pictures
    // (Image1 over Image2 in the dialogs).
    PictureButton(const QPixmap& raised, const QPixmap& pressed, const QString& raised_name,
                  const QString& pressed_name, QWidget* parent);

    QLabel* raised() const { return raised_; }
    QLabel* pressed() const { return pressed_; }

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QLabel* pressed_;
    QLabel* raised_;
};

}  // namespace quom
