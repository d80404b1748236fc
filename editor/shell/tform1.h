// The main window: toolbar, left column with the tool palette and the property
// panel, and the design surface that mirrors the page.
#pragma once

#include <functional>

#include <QLabel>
#include <QWidget>

#include "design_surface.h"
#include "dialogs.h"
#include "page.h"
#include "shape.h"
#include "speed_button.h"

namespace quom {

class Bevel;
class TForm3;

// Where the program folder comes from: the running program, or a test's folder.
using ProgramFolderSource = std::function<QString()>;

class TForm1 final : public QWidget {
    Q_OBJECT
  public:
    TForm1(Dialogs& dialogs, ProgramFolderSource program_folder);

    void SetAboutBox(TForm3* about_box) { about_box_ = about_box; }

    Page& page() { return page_; }
    DesignSurface* Panel1() const { return panel1_; }
    const FileDialogSetup& OpenDialog1() const { return open_dialog_; }
    const FileDialogSetup& SaveDialog1() const { return save_dialog_; }

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

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

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
    void AddPaletteTool(const QString& raised_name, const QString& pressed_name, const QString& art,
                        int left);

    // Runs a command under the general error handler, then brings the surface in
    // line with the page, whether the command finished or not.
    void Command(const std::function<void()>& command);
    void OpenPage();
    void SavePage();
    void TestPage();
    void StartSiblingIn(const char* folder, const char* program);

    Dialogs& dialogs_;
    ProgramFolderSource program_folder_;
    Page page_;
    FileDialogSetup open_dialog_;
    FileDialogSetup save_dialog_;
    TForm3* about_box_ = nullptr;
    bool shown_before_ = false;

    QWidget* panel2_ = nullptr;
    QWidget* panel3_ = nullptr;
    Bevel* bevel1_ = nullptr;
    Bevel* bevel2_ = nullptr;
    QWidget* image8_ = nullptr;
    DesignSurface* panel1_ = nullptr;
};

}  // namespace quom
