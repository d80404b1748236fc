#include "qt_dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include "colour_qt.h"
#include "model_text.h"
#include "picture.h"
#include "picture_image.h"

namespace quom {

namespace {

// The input box accepts at most this many characters.
constexpr int kInputBoxMaxLength = 255;

// The preview shows pictures in a square of this side; files larger than the
// limit are not read just to preview them.
constexpr int kPreviewSide = 160;
constexpr qint64 kPreviewMaxBytes = 32 * 1024 * 1024;

QPixmap PreviewOf(const QString& file) {
    const QFileInfo info(file);
    if (!info.isFile() || info.size() > kPreviewMaxBytes) return {};
    try {
        const Picture picture = LoadPictureFile(ToPath(file), ToModelText(file));
        QImage image = PictureImage(picture);
        if (image.width() > kPreviewSide || image.height() > kPreviewSide) {
            image = image.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio,
                                 Qt::SmoothTransformation);
        }
        return QPixmap::fromImage(image);
    } catch (const std::exception&) {
        return {};  // not a picture: no preview
    }
}

// A square beside the file list that shows the picture under the cursor.
void AddPicturePreview(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (grid == nullptr) return;
    auto* preview = new QLabel(&dialog);
    preview->setObjectName(QStringLiteral("Preview"));
    preview->setFixedSize(kPreviewSide, kPreviewSide);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    grid->addWidget(preview, 1, grid->columnCount(), Qt::AlignTop);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview,
                     [preview](const QString& file) { preview->setPixmap(PreviewOf(file)); });
}

std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogSetup& request,
                                     QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(mode);
    // No existence check, no overwrite prompt and no default extension: the
    // commands decide those themselves.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    // The filter's descriptions are shown as they are written, without the
    // patterns added once more.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilter(QtFilterFromPairs(request.filter));
    if (request.preview) AddPicturePreview(dialog);
    if (!request.file_name.isEmpty()) dialog.selectFile(request.file_name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace

QString QtFilterFromPairs(const QString& pairs) {
    const QStringList parts = pairs.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

void QtDialogs::ShowMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kProgramTitle), text, QMessageBox::Ok,
                    parent_);
    box.exec();
}

void QtDialogs::ShowError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kProgramTitle), text,
                    QMessageBox::Ok, parent_);
    box.exec();
}

Answer QtDialogs::Confirm(const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text, QMessageBox::NoButton,
                    parent_);
    QAbstractButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QAbstractButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    QAbstractButton* cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes) return Answer::Yes;
    if (box.clickedButton() == no) return Answer::No;
    return Answer::Cancel;
}

std::optional<QString> QtDialogs::OpenFile(const FileDialogSetup& request) {
    return RunFileDialog(parent_, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogs::SaveFile(const FileDialogSetup& request) {
    return RunFileDialog(parent_, request, QFileDialog::AcceptSave);
}

QString QtDialogs::InputBox(const QString& caption, const QString& prompt,
                            const QString& default_text) {
    QInputDialog dialog(parent_);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(default_text);
    if (auto* edit = dialog.findChild<QLineEdit*>()) edit->setMaxLength(kInputBoxMaxLength);
    if (dialog.exec() != QDialog::Accepted) return default_text;
    return dialog.textValue();
}

std::optional<Colour> QtDialogs::ChooseColour(Colour initial) {
    const QColor chosen = QColorDialog::getColor(ToQColor(initial), parent_);
    if (!chosen.isValid()) return std::nullopt;
    return FromQColor(chosen);
}

void QtDialogs::ShowModal(QDialog& window) {
    window.exec();
}

}  // namespace quom
