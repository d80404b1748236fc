#include "page_view.h"

#include <algorithm>

#include <QDate>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QTime>

#include "colour_qt.h"
#include "model_text.h"

namespace quom {

namespace {

// The clock labels are brought up to date this often.
constexpr int kClockTickMs = 500;

}  // namespace

QString ClockTime() {
    const QLocale locale = QLocale::system();
    QString format = locale.timeFormat(QLocale::ShortFormat);
    // A clock on a page ticks: add the seconds where the short form has none.
    if (!format.contains(u's')) {
        const qsizetype minutes = format.lastIndexOf(QStringLiteral("mm"));
        if (minutes >= 0) format.insert(minutes + 2, QStringLiteral(":ss"));
    }
    return locale.toString(QTime::currentTime(), format);
}

QString ClockDate() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

PageView::PageView(std::unique_ptr<Page> page, QWidget* parent)
    : QWidget(parent), page_(std::move(page)) {
    setObjectName(QStringLiteral("Page"));
    // Created first, the pictures stay beneath every button and label.
    for (ItemKind kind : {ItemKind::Picture, ItemKind::Button, ItemKind::Label}) {
        for (int id = 1; id <= kItemsPerKind; ++id) {
            const PageItem& item = page_->Item(kind, id);
            switch (kind) {
                case ItemKind::Picture:
                    Add(new ItemPicture(item, this), item);
                    break;
                case ItemKind::Button:
                    Add(new ItemButton(item, this), item);
                    break;
                case ItemKind::Label: {
                    auto* label = new ItemLabel(item, this);
                    if (item.caption == kTimeCaption) time_labels_.push_back(label);
                    if (item.caption == kDateCaption) date_labels_.push_back(label);
                    Add(label, item);
                    break;
                }
            }
        }
    }
    if (!time_labels_.empty() || !date_labels_.empty()) {
        ShowClock();
        connect(&clock_, &QTimer::timeout, this, &PageView::ShowClock);
        clock_.start(kClockTickMs);
    }
}

void PageView::Add(QWidget* widget, const PageItem& item) {
    widget->setVisible(item.top != kHiddenTop);
    widget->installEventFilter(this);
    items_.push_back({widget, &item});
}

QWidget* PageView::ItemWidget(const QString& name) const {
    for (const Shown& shown : items_) {
        if (shown.widget->objectName() == name) return shown.widget;
    }
    return nullptr;
}

void PageView::ShowClock() {
    const QString time = ClockTime();
    const QString date = ClockDate();
    for (ItemLabel* label : time_labels_) label->ShowText(time);
    for (ItemLabel* label : date_labels_) label->ShowText(date);
}

void PageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(page_->colour()));
}

bool PageView::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease) return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (type == QEvent::MouseButtonPress) {
        pressed_ = widget;
        return true;
    }
    const bool clicked = pressed_ == widget && widget->rect().contains(mouse->position().toPoint());
    pressed_ = nullptr;
    if (!clicked) return true;
    const auto shown = std::find_if(items_.begin(), items_.end(),
                                    [widget](const Shown& s) { return s.widget == widget; });
    if (shown != items_.end()) emit ItemClicked(*shown->item);
    return true;
}

}  // namespace quom
