// The design surface Panel1: the page, with the 60 items and the 20 picture-file
// slots as child widgets that mirror the page model. Pictures lie beneath buttons
// and labels; items outside the surface (the hidden ones at top -200) are clipped.
#pragma once

#include <array>

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

class DesignSurface final : public QWidget {
    Q_OBJECT
  public:
    // The surface's fixed top-left corner within the main window.
    static constexpr int kLeft = 184;
    static constexpr int kTop = 64;

    DesignSurface(const Page& page, QWidget* parent);

    // Brings every widget in line with the page model.
    void Mirror();

    ItemButton* Button(int id) const { return buttons_[id - 1]; }
    ItemLabel* Label(int id) const { return labels_[id - 1]; }
    ItemPicture* PictureItem(int id) const { return pictures_[id - 1]; }
    QLabel* Slot(int picture_id) const { return slots_[picture_id - 1]; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const Page& page_;
    std::array<ItemPicture*, kItemsPerKind> pictures_{};
    std::array<ItemButton*, kItemsPerKind> buttons_{};
    std::array<ItemLabel*, kItemsPerKind> labels_{};
    std::array<QLabel*, kItemsPerKind> slots_{};
    QLabel* placeholder_ = nullptr;  // Image7: never shown
};

}  // namespace quom
