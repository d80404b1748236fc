// The tool palette, the component-ID dialog, selecting items, the property refresh
// and the picture tool of the main window.
#include <QFileInfo>

#include "colour_qt.h"
#include "model_text.h"
#include "picture.h"
#include "tform1.h"
#include "tform2.h"

namespace quom {

void TForm1::ConnectPalette() {
    connect(palette_.Raised(Tool::Pointer), &ToolImage::clicked, this, &TForm1::Image1Click);
    connect(palette_.Raised(Tool::Button), &ToolImage::clicked, this, &TForm1::Image3Click);
    connect(palette_.Raised(Tool::Label), &ToolImage::clicked, this, &TForm1::Image5Click);
    connect(palette_.Raised(Tool::Picture), &ToolImage::clicked, this, &TForm1::Image17Click);
}

void TForm1::SetIdDialog(TForm2* id_dialog) {
    form2_ = id_dialog;
    connect(form2_, &TForm2::ItemChosen, this, &TForm1::Select);
}

void TForm1::Image1Click() {
    palette_.ShowChosen(Tool::Pointer);
}

void TForm1::Image3Click() {
    palette_.ShowChosen(Tool::Button);
    ChooseId(ItemKind::Button);
}

void TForm1::Image5Click() {
    palette_.ShowChosen(Tool::Label);
    ChooseId(ItemKind::Label);
}

void TForm1::Image17Click() {
    palette_.ShowChosen(Tool::Picture);
    ChooseId(ItemKind::Picture);
    // The picture is asked for whatever happened in the component-ID dialog.
    Command([this] { LoadPictureIntoSelection(); });
}

void TForm1::ChooseId(ItemKind kind) {
    if (form2_ == nullptr) return;
    form2_->SetKindPrefix(FromModelText(KindPrefix(kind)));
    dialogs_.ShowModal(*form2_);
}

void TForm1::LoadPictureIntoSelection() {
    const std::optional<QString> chosen = dialogs_.OpenFile(po_);
    if (!chosen) return;
    po_.file_name = *chosen;
    PageItem* item = SelectedItem();
    if (item == nullptr || item->kind != ItemKind::Picture) return;

    // The slot keeps only the file's own name: Save writes the picture beside the
    // page under that name. It is written after the picture has loaded, so a file
    // that fails leaves both the picture and the slot as they were.
    const std::string slot_text = ToModelText(QFileInfo(*chosen).fileName());
    CheckBareFileName(slot_text);
    item->picture = LoadPictureFile(ToPath(*chosen), ToModelText(*chosen));
    item->slot_text = slot_text;
}

PageItem* TForm1::SelectedItem() {
    return page_.pool().Find(ToModelText(sel_->text()));
}

void TForm1::ItemClick(const QString& name) {
    Select(name);
}

void TForm1::Select(const QString& name) {
    sel_->setText(name);
    // Switching on a timer that is already on does not restart it: a burst of
    // selections gets one refresh, for the item selected last.
    if (!timer1_->isActive()) timer1_->start();
}

void TForm1::Timer1Timer() {
    // A field that the selected kind lacks keeps what the item selected before it
    // put there.
    if (const PageItem* item = SelectedItem()) {
        const bool has_caption = item->kind != ItemKind::Picture;
        if (has_caption) edit1_->setText(FromModelText(item->caption));
        label3d4_->setText(FromModelText(item->action));
        if (item->kind == ItemKind::Label) shape1_->SetFill(ToQColor(item->colour()));
        if (has_caption) label26_->setText(QString::number(item->font_size));
    }
    timer1_->stop();
}

void TForm1::MirrorItem(const PageItem& item) {
    switch (item.kind) {
        case ItemKind::Button:
            panel1_->Button(item.id)->Mirror(item);
            break;
        case ItemKind::Label:
            panel1_->Label(item.id)->Mirror(item);
            break;
        case ItemKind::Picture:
            panel1_->PictureItem(item.id)->Mirror(item);
            break;
    }
}

}  // namespace quom
