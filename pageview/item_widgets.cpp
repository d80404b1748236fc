#include "item_widgets.h"

#include <algorithm>

#include <QPainter>

#include "bevel.h"
#include "colour_qt.h"
#include "item_fonts.h"
#include "model_text.h"
#include "picture_image.h"

namespace quom {

namespace {

// A label is as large as its caption plus four border widths each way.
constexpr int kLabelBorders = 4;

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
    setFont(ItemFont(item.font_size));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(item.colour()));
    setPalette(pal);
    move(item.left, item.top);
    ShowText(FromModelText(item.caption));
}

void ItemLabel::ShowText(const QString& text) {
    setText(text);
    const QFontMetrics metrics(font());
    resize(metrics.horizontalAdvance(text) + kLabelBorders, metrics.height() + kLabelBorders);
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

}  // namespace quom
