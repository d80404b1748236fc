#include "tool_palette.h"

#include <QMouseEvent>

#include "art.h"

namespace quom {

namespace {

constexpr int kToolTop = 64;
constexpr int kToolSide = 28;

struct ToolLook {
    Tool tool;
    const char* raised_name;
    const char* pressed_name;
    const char* art;
    int left;
};

constexpr ToolLook kTools[] = {
    {Tool::Pointer, "Image1", "Image2", "arrow", 8},
    {Tool::Button, "Image3", "Image4", "button", 40},
    {Tool::Label, "Image5", "Image6", "letter", 72},
    {Tool::Picture, "Image17", "Image18", "landscape", 104},
};

}  // namespace

ToolImage::ToolImage(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::ArrowCursor);
}

void ToolImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) left_pressed_ = true;
    event->accept();
}

void ToolImage::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) return;
    const bool click = left_pressed_ && rect().contains(event->position().toPoint());
    left_pressed_ = false;
    if (click) emit clicked();
}

void ToolImage::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

ToolPalette::ToolPalette(QWidget* parent) {
    for (const ToolLook& look : kTools) {
        const QString art = QStringLiteral("palette/") + QString::fromLatin1(look.art);
        // The pressed image lies beneath and lets presses through to the column.
        auto* pressed = new QLabel(parent);
        pressed->setObjectName(QString::fromLatin1(look.pressed_name));
        pressed->setPixmap(ArtPixmap(art + QStringLiteral("_pressed")));
        pressed->setGeometry(look.left, kToolTop, kToolSide, kToolSide);
        pressed->setAttribute(Qt::WA_TransparentForMouseEvents);

        auto* raised = new ToolImage(parent);
        raised->setObjectName(QString::fromLatin1(look.raised_name));
        raised->setPixmap(ArtPixmap(art + QStringLiteral("_raised")));
        raised->setGeometry(look.left, kToolTop, kToolSide, kToolSide);
        raised_[static_cast<int>(look.tool)] = raised;
    }
    ShowChosen(Tool::Pointer);
}

void ToolPalette::ShowChosen(Tool tool) {
    chosen_ = tool;
    for (int i = 0; i < static_cast<int>(raised_.size()); ++i)
        raised_[i]->setVisible(i != static_cast<int>(tool));
}

}  // namespace quom
