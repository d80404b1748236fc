// The tool palette: four tools in a row, each a raised image that takes the click
// lying over a pressed image that does nothing. A tool shows as chosen when its
// raised image is hidden; exactly one tool shows as chosen at any time.
#pragma once

#include <array>

#include <QLabel>

namespace quom {

enum class Tool { Pointer, Button, Label, Picture };

// A raised palette image: pressing and releasing the left button over it is a
// click. Presses of any button end here, so they never reach the window beneath.
class ToolImage final : public QLabel {
    Q_OBJECT
  public:
    explicit ToolImage(QWidget* parent);

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    bool left_pressed_ = false;
};

class ToolPalette final {
  public:
    // Builds the eight images on parent; the pointer tool shows as chosen.
    explicit ToolPalette(QWidget* parent);

    void ShowChosen(Tool tool);
    Tool Chosen() const { return chosen_; }
    ToolImage* Raised(Tool tool) const { return raised_[static_cast<int>(tool)]; }

  private:
    std::array<ToolImage*, 4> raised_{};
    Tool chosen_ = Tool::Pointer;
};

}  // namespace quom
