// The component-ID dialog: twenty numbered buttons, one per ID. The tool that opens
// it sets the kind prefix first; a button selects the item of that kind and ID.
#pragma once

#include <array>

#include <QLabel>
#include <QPushButton>

#include "fixed_dialog.h"
#include "item_names.h"

namespace quom {

class TForm2 final : public FixedDialog {
    Q_OBJECT
  public:
    TForm2();

    // The kind prefix ("Button", "Label" or "Picture") held by the hidden Label1.
    void SetKindPrefix(const QString& prefix) { label1_->setText(prefix); }
    QString KindPrefix() const { return label1_->text(); }

    // The button captioned with id (1..20).
    QPushButton* IdButton(int id) const { return id_buttons_[id - 1]; }

  signals:
    // An ID was chosen: the item named prefix plus the ID's suffix is to be selected.
    void ItemChosen(const QString& name);

  private:
    void IdButtonClick(int id);

    QLabel* label1_;
    std::array<QPushButton*, kItemsPerKind> id_buttons_{};
};

}  // namespace quom
