#include "design_surface.h"

#include <algorithm>

#include <QPainter>

#include "bevel.h"
#include "colour_qt.h"
#include "model_text.h"
#include "picture_image.h"

namespace quom {

DesignSurface::DesignSurface(const Page& page, QWidget* parent) : QWidget(parent), page_(page) {
    setObjectName(QStringLiteral("Panel1"));
    setCursor(Qt::CrossCursor);
    // Created first, the pictures stay beneath every button and label.
    for (int id = 1; id <= kItemsPerKind; ++id) {
        pictures_[id - 1] = new ItemPicture(page.Item(ItemKind::Picture, id), this);
    }
    for (int id = 1; id <= kItemsPerKind; ++id) {
        buttons_[id - 1] = new ItemButton(page.Item(ItemKind::Button, id), this);
    }
    for (int id = 1; id <= kItemsPerKind; ++id) {
        labels_[id - 1] = new ItemLabel(page.Item(ItemKind::Label, id), this);
    }
    for (int id = 1; id <= kItemsPerKind; ++id) {
        QLabel* slot = new QLabel(this);
        slot->setObjectName(QString::fromStdString(SlotWidgetName(id)));
        slot->hide();
        slots_[id - 1] = slot;
    }
    placeholder_ = new QLabel(this);
    placeholder_->setObjectName(QStringLiteral("Image7"));
    placeholder_->setPixmap(QPixmap::fromImage(PictureImage(PlaceholderPicture())));
    placeholder_->hide();
    Mirror();
}

void DesignSurface::Mirror() {
    setGeometry(kLeft, kTop, std::max(page_.width, 0), std::max(page_.height, 0));
    for (int id = 1; id <= kItemsPerKind; ++id) {
        const PageItem& picture = page_.Item(ItemKind::Picture, id);
        pictures_[id - 1]->Mirror(picture);
        buttons_[id - 1]->Mirror(page_.Item(ItemKind::Button, id));
        labels_[id - 1]->Mirror(page_.Item(ItemKind::Label, id));
        slots_[id - 1]->setText(FromModelText(picture.slot_text));
    }
    update();
}

void DesignSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    painter.fillRect(rect(), ToQColor(page_.colour()));
    DrawEdge(painter, rect(), true, pal.color(QPalette::Light), pal.color(QPalette::Dark));
    DrawEdge(painter, rect().adjusted(1, 1, -1, -1), true, pal.color(QPalette::Light),
             pal.color(QPalette::Dark));
}

}  // namespace quom
