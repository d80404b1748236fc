#include "tform3.h"

#include <QLabel>

#include "art.h"
#include "bevel.h"
#include "editor_fonts.h"

namespace quom {

namespace {

QLabel* PlaceText(QWidget* parent, const QString& name, const QString& text, int left, int top,
                  const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font);
    label->adjustSize();
    label->move(left, top);
    return label;
}

// Where the system lacks the Windows faces, a wider face may not fit the box: it is
// narrowed until the text fits within max_width.
void FitWidth(QLabel* label, int max_width) {
    QFont font = label->font();
    for (int stretch = 95; label->width() > max_width && stretch >= 60; stretch -= 5) {
        font.setStretch(stretch);
        label->setFont(font);
        label->adjustSize();
    }
}

}  // namespace

TForm3::TForm3() : FixedDialog(QStringLiteral("About Visual Quom++"), 281, 164) {
    setObjectName(QStringLiteral("TForm3"));
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(ArtPixmap(QStringLiteral("dialog/about")));
    picture->setGeometry(8, 8, 74, 96);
    auto* frame = new Bevel(Bevel::Shape::Box, Bevel::Style::Lowered, this);
    frame->setGeometry(8, 8, 74, 96);

    QLabel* title = PlaceText(this, QStringLiteral("Label1"), QStringLiteral("Visual Quom++"), 88,
                              8, TimesFont(29));
    FitWidth(title, 281 - 88 - 4);
    PlaceText(this, QStringLiteral("Label2"), QStringLiteral("Version 1.00"), 88, 48,
              TimesFont(15));
    PlaceText(this, QStringLiteral("Label3"), QStringLiteral("Written by the Quom kit team"), 88,
              72, WindowFont());
    PlaceText(this, QStringLiteral("Label4"), QStringLiteral("Free to use and share"), 88, 88,
              WindowFont());

    auto* rule = new Bevel(Bevel::Shape::TopLine, Bevel::Style::Lowered, this);
    rule->setGeometry(0, 112, 281, 8);

    ok_button_ = new PictureButton(ArtPixmap(QStringLiteral("dialog/ok_raised")),
                                   ArtPixmap(QStringLiteral("dialog/ok_pressed")),
                                   QStringLiteral("Image2"), QStringLiteral("Image3"), this);
    ok_button_->move(109, 120);
    connect(ok_button_, &PictureButton::clicked, this, &QDialog::accept);
}

}  // namespace quom
