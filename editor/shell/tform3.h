// The About box.
#pragma once

#include "fixed_dialog.h"
#include "picture_button.h"

namespace quom {

class TForm3 final : public FixedDialog {
    Q_OBJECT
  public:
    TForm3();

    PictureButton* OkButton() const { return ok_button_; }

  private:
    PictureButton* ok_button_;
};

}  // namespace quom
