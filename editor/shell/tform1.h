// The main window: toolbar, left column with the tool palette and the property
// panel, and the design surface that mirrors the page.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include "design_surface.h"
#include "dialogs.h"
#include "page.h"
#include "shape.h"
#include "speed_button.h"
#include "tool_palette.h"

namespace quom {

class Bevel;
class MouseForwarder;
class TForm2;
class TForm3;

// Where the program folder comes from: the running program, or a test's folder.
using ProgramFolderSource = std::function<QString()>;

class TForm1 final : public QWidget {
    Q_OBJECT
  public:
    TForm1(Dialogs& dialogs, ProgramFolderSource program_folder);

    void SetAboutBox(TForm3* about_box) { about_box_ = about_box; }
    void SetIdDialog(TForm2* id_dialog);

    Page& page() { return page_; }
    DesignSurface* Panel1() const { return panel1_; }
    const FileDialogSetup& OpenDialog1() const { return open_dialog_; }
    const FileDialogSetup& SaveDialog1() const { return save_dialog_; }
    const FileDialogSetup& po() const { return po_; }
    const ToolPalette& tools() const { return palette_; }
    QTimer* Timer1() const { return timer1_; }

    // The selection: the text of sel names one item, or no item.
    QString SelectionText() const { return sel_->text(); }
    PageItem* SelectedItem();

    // Toolbar commands.
    void EmptyButton1Click();  // New
    void EmptyButton2Click();  // Open
    void EmptyButton3Click();  // Save
    void SpeedButton2Click();  // Test
    void SpeedButton3Click();  // Help
    void SpeedButton4Click();  // Compile
    void SpeedButton5Click();  // About
    void EmptyButton6Click();  // Exit

    // First showing: the user starts with an empty page.
    void FormShow();

    // Tool palette: the pointer, button, label and picture tools.
    void Image1Click();
    void Image3Click();
    void Image5Click();
    void Image17Click();

    // Selecting: by an item's click or by an ID in the component-ID dialog. Either
    // writes the name into sel and switches Timer1 on; its tick refreshes the panel.
    void ItemClick(const QString& name);
    void Select(const QString& name);
    void Timer1Timer();

    // Moving the selected item by dragging on the bare design surface.
    void Panel1MouseDown();
    void Panel1MouseMove(QPoint position);
    void Panel1MouseUp();
    // Sizing the page by dragging on the window's bare background.
    void FormMouseDown();
    void FormMouseMove(QPoint position);
    void FormMouseUp();
    bool Dragging() const { return dragging_; }
    bool Resizing() const { return resizing_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void BuildToolbar();
    void BuildLeftColumn();
    void BuildPropertyPanel();
    // Places the regions that follow the window's size.
    void LayoutRegions(int width, int height);
    SpeedButton* AddToolbarButton(QWidget* parent, const QString& name, const QString& caption,
                                  const QString& glyph, int left, void (TForm1::*handler)());
    SpeedButton* AddPanelButton(const QString& name, const QString& caption, int left, int top,
                                int width, bool dots);
    QLabel* AddLabel(const QString& name, const QString& text, int left, int top);
    void ConnectPalette();
    void WatchSurfaceMouse();

    // Runs a command under the general error handler, then brings the surface in
    // line with the page, whether the command finished or not.
    void Command(const std::function<void()>& command);
    void OpenPage();
    void SavePage();
    void TestPage();
    void StartSiblingIn(const char* folder, const char* program);

    // Shows the component-ID dialog for a kind of item.
    void ChooseId(ItemKind kind);
    void LoadPictureIntoSelection();
    // Puts one item's widget in line with the model.
    void MirrorItem(const PageItem& item);

    // Where a mouse event is reported: the design surface's bare area, the window's
    // bare background, or neither (a control, outside the window). An item is a
    // target only while it holds the pointer after a press on it.
    enum class MouseTarget { None, Surface, Background, Item };
    MouseTarget TargetAt(const QPointF& global_position) const;
    void SurfaceMouse(QWidget* watched, QMouseEvent* event);
    void ItemMouse(QWidget* item, QMouseEvent* event);
    void MousePressedOn(MouseTarget target, QMouseEvent* event);
    void MouseMovedOrReleased(QMouseEvent* event);

    Dialogs& dialogs_;
    ProgramFolderSource program_folder_;
    Page page_;
    FileDialogSetup open_dialog_;
    FileDialogSetup save_dialog_;
    FileDialogSetup po_;
    TForm2* form2_ = nullptr;
    TForm3* about_box_ = nullptr;
    bool shown_before_ = false;

    // Drag and resize states, and where a left-button press holds the pointer.
    bool dragging_ = false;
    bool resizing_ = false;
    MouseTarget captured_by_ = MouseTarget::None;
    MouseTarget pressed_on_ = MouseTarget::None;  // gets the release
    // The item that took the last left-button press, for its click.
    QWidget* pressed_item_ = nullptr;

    QWidget* panel2_ = nullptr;
    QWidget* panel3_ = nullptr;
    Bevel* bevel1_ = nullptr;
    Bevel* bevel2_ = nullptr;
    QWidget* image8_ = nullptr;
    DesignSurface* panel1_ = nullptr;
    ToolPalette palette_;
    QLabel* sel_ = nullptr;
    QLineEdit* edit1_ = nullptr;
    QLabel* label3d4_ = nullptr;
    Shape* shape1_ = nullptr;
    QLabel* label26_ = nullptr;
    QTimer* timer1_ = nullptr;
    MouseForwarder* surface_mouse_ = nullptr;
    MouseForwarder* item_mouse_ = nullptr;
};

}  // namespace quom
