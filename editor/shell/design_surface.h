// The design surface Panel1: the page, with the 60 items and the 20 picture-file
// slots as child widgets that mirror the page model. Pictures lie beneath buttons
// and labels; items outside the surface (the hidden ones at top -200) are clipped.
#pragma once

#include <array>

#include <QLabel>
#include <QWidget>

#include "item_widgets.h"
#include "page.h"

namespace quom {

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
