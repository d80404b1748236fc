// A page as the player shows it: its colour and size, and its items drawn by the
// shared item widgets. Items at the hidden position are not shown. A press and
// release of the left button on an item clicks it. Labels whose caption is "V_Time"
// or "V_Date" show the current time or date and keep it current.
#pragma once

#include <memory>
#include <vector>

#include <QTimer>
#include <QWidget>

#include "item_widgets.h"
#include "page.h"

namespace quom {

inline constexpr const char* kTimeCaption = "V_Time";
inline constexpr const char* kDateCaption = "V_Date";

class PageView final : public QWidget {
    Q_OBJECT
  public:
    PageView(std::unique_ptr<Page> page, QWidget* parent);

    const Page& page() const { return *page_; }
    // The widget of an item, by the item's name (Button1, Label01, ...).
    QWidget* ItemWidget(const QString& name) const;
    // Sets the clock labels to now.
    void ShowClock();

  signals:
    void ItemClicked(const PageItem& item);

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Shown {
        QWidget* widget;
        const PageItem* item;
    };
    void Add(QWidget* widget, const PageItem& item);

    std::unique_ptr<Page> page_;
    std::vector<Shown> items_;
    std::vector<ItemLabel*> time_labels_;
    std::vector<ItemLabel*> date_labels_;
    QWidget* pressed_ = nullptr;
    QTimer clock_;
};

// The current time with seconds and the current date, in the system's short forms.
QString ClockTime();
QString ClockDate();

}  // namespace quom
