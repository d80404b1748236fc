#include "design_surface.h"

#include <algorithm>

#include <QPainter>

#include "bevel.h"
#include "colour_qt.h"
#include "model_text.h"
#include "picture_image.h"

namespace quom {

namespace {

// Buttons and labels on the page use this face; the font size comes from the item.
constexpr const char* kItemFontFamily = "Times New Roman";
// A label is as large as its caption plus four border widths each way.
constexpr int kLabelBorders = 4;

QFont ItemFont(int points) {
    QFont font(QString::fromLatin1(kItemFontFamily));
    font.setStyleHint(QFont::Serif);
    font.setPointSize(std::max(points, 1));
    return font;
}

void SetupItem(QWidget* widget, const PageItem& item) {
    widget->setObjectName(FromModelText(item.name));
    widget->setCursor(Qt::PointingHandCursor);
}

}  // namespace

ItemButton::ItemButton(const PageItem& item, QWidget* parent) : QWidget(parent) {
    SetupItem(this, item);
    Mirror(item);
}

void ItemButton::Mirror(const PageItem& item) {
    caption_ = FromModelText(item.caption);
    setFont(ItemFont(item.font_size));
    setGeometry(item.left, item.top, std::max(item.width, 0), std::max(item.height, 0));
    update();
}

void ItemButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    painter.fillRect(rect(), pal.color(QPalette::Button));
    DrawEdge(painter, rect(), true, pal.color(QPalette::Light), pal.color(QPalette::Dark));
    DrawEdge(painter, rect().adjusted(1, 1, -1, -1), true, pal.color(QPalette::Light),
             pal.color(QPalette::Dark));
    painter.setPen(pal.color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, caption_);
}

ItemLabel::ItemLabel(const PageItem& item, QWidget* parent) : QLabel(parent) {
    SetupItem(this, item);
    setAutoFillBackground(true);
    setAlignment(Qt::AlignCenter);
    setTextFormat(Qt::PlainText);
    Mirror(item);
}

void ItemLabel::Mirror(const PageItem& item) {
    setText(FromModelText(item.caption));
    setFont(ItemFont(item.font_size));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(item.colour()));
    setPalette(pal);
    const QFontMetrics metrics(font());
    setGeometry(item.left, item.top, metrics.horizontalAdvance(text()) + kLabelBorders,
                metrics.height() + kLabelBorders);
}

ItemPicture::ItemPicture(const PageItem& item, QWidget* parent) : QWidget(parent) {
    SetupItem(this, item);
    Mirror(item);
}

void ItemPicture::Mirror(const PageItem& item) {
    if (image_.isNull() || !(shown_ == item.picture)) {
        shown_ = item.picture;
        image_ = PictureImage(shown_);
        update();
    }
    setGeometry(item.left, item.top, std::max(item.picture.width, 0),
                std::max(item.picture.height, 0));
}

void ItemPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

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
