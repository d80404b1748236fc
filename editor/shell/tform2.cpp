#include "tform2.h"

#include <QStyle>

#include "bevel.h"

namespace quom {

namespace {

constexpr int kClientWidth = 329;
constexpr int kClientHeight = 208;
// The lowered frame at the top with the icon and the question.
constexpr QRect kFrame(8, 8, 313, 105);
constexpr int kIconSide = 32;
// Two rows of ten square buttons, 32 pixels apart both ways.
constexpr int kIdButtonSide = 25;
constexpr int kIdButtonPitch = 32;
constexpr int kFirstRowTop = 128;
constexpr int kIdButtonsLeft = 8;

}  // namespace

TForm2::TForm2() : FixedDialog(QStringLiteral("Question"), kClientWidth, kClientHeight) {
    setObjectName(QStringLiteral("TForm2"));
    auto* frame = new Bevel(Bevel::Shape::Box, Bevel::Style::Lowered, this);
    frame->setObjectName(QStringLiteral("Bevel1"));
    frame->setGeometry(kFrame);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(kIconSide, kIconSide));
    icon->setGeometry(kFrame.left() + 16, kFrame.top() + 16, kIconSide, kIconSide);

    auto* question =
        new QLabel(QStringLiteral("Select the ID of the component you want to create."), this);
    question->setObjectName(QStringLiteral("Label2"));
    question->setWordWrap(true);
    question->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const int text_left = icon->geometry().right() + 17;
    question->setGeometry(text_left, kFrame.top() + 20, kFrame.right() - 12 - text_left,
                          kFrame.height() - 32);

    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->hide();

    for (int id = 1; id <= kItemsPerKind; ++id) {
        const int column = (id - 1) % kBankSize;
        const int row = (id - 1) / kBankSize;
        auto* button = new QPushButton(QString::number(id), this);
        button->setObjectName(QStringLiteral("Button%1").arg(id));
        button->setGeometry(kIdButtonsLeft + column * kIdButtonPitch,
                            kFirstRowTop + row * kIdButtonPitch, kIdButtonSide, kIdButtonSide);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, id] { IdButtonClick(id); });
        id_buttons_[id - 1] = button;
    }
}

void TForm2::IdButtonClick(int id) {
    emit ItemChosen(KindPrefix() + QString::fromStdString(IdSuffix(id)));
    accept();
}

}  // namespace quom
