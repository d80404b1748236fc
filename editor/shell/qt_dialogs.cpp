#include "qt_dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include "colour_qt.h"

namespace quom {

namespace {

// The input box accepts at most this many characters.
constexpr int kInputBoxMaxLength = 255;

std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogSetup& request,
                                     QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(mode);
    // No existence check, no overwrite prompt and no default extension: the
    // commands decide those themselves.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilter(QtFilterFromPairs(request.filter));
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

}  // namespace quom
