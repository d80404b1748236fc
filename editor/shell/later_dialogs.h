// The size dialog and the event editor, created at start with their captions and
// frames; their contents come with their commands.
#pragma once

#include "fixed_dialog.h"

namespace quom {

class TForm4 final : public FixedDialog {
    Q_OBJECT
  public:
    TForm4() : FixedDialog(QStringLiteral("Select size"), 430, 267) {}
};

class TForm5 final : public FixedDialog {
    Q_OBJECT
  public:
    TForm5() : FixedDialog(QStringLiteral("On Click Event"), 405, 275) {}
};

}  // namespace quom
