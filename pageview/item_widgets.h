// The widgets of a page's items: buttons, labels and pictures as the editor's design
// surface and the player show them. Each mirrors one PageItem: Mirror brings the
// widget in line with the item's caption, font size, colour, picture and place.
#pragma once

#include <QImage>
#include <QLabel>
#include <QWidget>

#include "page.h"
#include "picture.h"

namespace quom {

// A button item: a panel with raised outer and inner bevels and its caption centred.
class ItemButton final : public QWidget {
    Q_OBJECT
  public:
    ItemButton(const PageItem& item, QWidget* parent);
    void Mirror(const PageItem& item);
    const QString& caption() const { return caption_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString caption_;
};

// A label item: its caption on its background colour, sized to the caption.
class ItemLabel final : public QLabel {
    Q_OBJECT
  public:
    ItemLabel(const PageItem& item, QWidget* parent);
    void Mirror(const PageItem& item);
    // Shows text in place of the item's caption, sized to it (the player's clock).
    void ShowText(const QString& text);
};

// A picture item: an image the size of its picture.
class ItemPicture final : public QWidget {
    Q_OBJECT
  public:
    ItemPicture(const PageItem& item, QWidget* parent);
    void Mirror(const PageItem& item);
    const QImage& image() const { return image_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Picture shown_;
    QImage image_;
};

}  // namespace quom
