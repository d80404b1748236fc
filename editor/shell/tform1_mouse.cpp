// Moving items and sizing the page with the mouse.
//
// A press goes to what lies under the pointer: an item (which selects it), the
// design surface's bare area (the drag state) or the window's bare background (the
// resize state). After a left-button press, that target holds the pointer: it gets
// every move wherever the pointer is, until the left button comes up. The moves of
// a drag with another button are reported only where the pointer is over a bare
// area, so the item does not follow the pointer off the surface. Moves with no
// button held are not reported at all.
//
// The release, of whatever button, always goes to the target of the press. Were it
// reported only over a bare area, a drag with another button released off the
// surface would never end: the item would jump to the pointer at every later move
// over the surface, and a press there would always land on the item itself.
#include <QMouseEvent>

#include "mouse_forwarder.h"
#include "tform1.h"

namespace quom {

namespace {

bool IsPress(const QMouseEvent* event) {
    return event->type() == QEvent::MouseButtonPress ||
           event->type() == QEvent::MouseButtonDblClick;
}

}  // namespace

void TForm1::WatchSurfaceMouse() {
    surface_mouse_ = new MouseForwarder(
        [this](QWidget* surface, QMouseEvent* event) { SurfaceMouse(surface, event); }, this);
    surface_mouse_->Watch(panel1_);
    item_mouse_ = new MouseForwarder(
        [this](QWidget* item, QMouseEvent* event) { ItemMouse(item, event); }, this);
    for (int id = 1; id <= kItemsPerKind; ++id) {
        item_mouse_->Watch(panel1_->Button(id));
        item_mouse_->Watch(panel1_->Label(id));
        item_mouse_->Watch(panel1_->PictureItem(id));
    }
}

TForm1::MouseTarget TForm1::TargetAt(const QPointF& global_position) const {
    const QPoint position = mapFromGlobal(global_position).toPoint();
    if (!rect().contains(position)) return MouseTarget::None;
    const QWidget* under = childAt(position);
    if (under == nullptr) return MouseTarget::Background;
    if (under == panel1_) return MouseTarget::Surface;
    return MouseTarget::None;
}

void TForm1::SurfaceMouse(QWidget*, QMouseEvent* event) {
    if (IsPress(event)) {
        MousePressedOn(MouseTarget::Surface, event);
    } else {
        MouseMovedOrReleased(event);
    }
}

void TForm1::ItemMouse(QWidget* item, QMouseEvent* event) {
    // A click is a press and a release of the left button, both on the item.
    if (IsPress(event)) {
        if (event->button() == Qt::LeftButton) pressed_item_ = item;
        MousePressedOn(MouseTarget::Item, event);
        return;
    }
    const bool click = event->type() == QEvent::MouseButtonRelease &&
                       event->button() == Qt::LeftButton && pressed_item_ == item &&
                       item->rect().contains(event->position().toPoint());
    if (event->type() == QEvent::MouseButtonRelease && event->button() == Qt::LeftButton)
        pressed_item_ = nullptr;
    MouseMovedOrReleased(event);
    if (click) ItemClick(item->objectName());
}

void TForm1::mousePressEvent(QMouseEvent* event) {
    if (TargetAt(event->globalPosition()) == MouseTarget::Background)
        MousePressedOn(MouseTarget::Background, event);
}

void TForm1::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void TForm1::mouseMoveEvent(QMouseEvent* event) {
    MouseMovedOrReleased(event);
}

void TForm1::mouseReleaseEvent(QMouseEvent* event) {
    MouseMovedOrReleased(event);
}

void TForm1::MousePressedOn(MouseTarget target, QMouseEvent* event) {
    if (target == MouseTarget::Surface) Panel1MouseDown();
    if (target == MouseTarget::Background) FormMouseDown();
    // The first button down decides where the releases go.
    if (event->buttons() == event->button()) pressed_on_ = target;
    if (event->button() == Qt::LeftButton) captured_by_ = target;
}

void TForm1::MouseMovedOrReleased(QMouseEvent* event) {
    const bool release = event->type() == QEvent::MouseButtonRelease;
    // A hold whose release never came (the window lost the pointer) ends with the
    // first move without the button.
    if (!release && !(event->buttons() & Qt::LeftButton)) captured_by_ = MouseTarget::None;
    MouseTarget target = captured_by_;
    if (release) {
        target = pressed_on_;
    } else if (target == MouseTarget::None) {
        target = TargetAt(event->globalPosition());
    }
    if (release && event->button() == Qt::LeftButton) captured_by_ = MouseTarget::None;
    if (release && event->buttons() == Qt::NoButton) pressed_on_ = MouseTarget::None;

    switch (target) {
        case MouseTarget::Surface:
            if (release) {
                Panel1MouseUp();
            } else {
                Panel1MouseMove(panel1_->mapFromGlobal(event->globalPosition()).toPoint());
            }
            break;
        case MouseTarget::Background:
            if (release) {
                FormMouseUp();
            } else {
                FormMouseMove(mapFromGlobal(event->globalPosition()).toPoint());
            }
            break;
        case MouseTarget::Item:
        case MouseTarget::None:
            break;
    }
}

void TForm1::Panel1MouseDown() {
    dragging_ = true;
    Image1Click();
}

void TForm1::Panel1MouseMove(QPoint position) {
    if (!dragging_) return;
    PageItem* item = SelectedItem();
    if (item == nullptr) return;
    item->left = position.x();
    item->top = position.y();
    MirrorItem(*item);
}

void TForm1::Panel1MouseUp() {
    dragging_ = false;
}

void TForm1::FormMouseDown() {
    resizing_ = true;
}

void TForm1::FormMouseMove(QPoint position) {
    if (!resizing_) return;
    // Height first, then width; the corner at (184, 64) stays where it is.
    page_.height = PageExtent(position.y() - DesignSurface::kTop);
    page_.width = PageExtent(position.x() - DesignSurface::kLeft);
    panel1_->resize(page_.width, page_.height);
}

void TForm1::FormMouseUp() {
    resizing_ = false;
}

}  // namespace quom
