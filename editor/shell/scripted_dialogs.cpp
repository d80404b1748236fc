#include "scripted_dialogs.h"

#include <QDialog>

namespace quom {

namespace {

template <typename T>
T TakeFront(std::deque<T>& answers, const T& when_empty) {
    if (answers.empty()) return when_empty;
    const T answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace

std::vector<QString> ScriptedDialogs::Texts(Kind kind) const {
    std::vector<QString> texts;
    for (const Shown& s : shown) {
        if (s.kind == kind) texts.push_back(s.text);
    }
    return texts;
}

void ScriptedDialogs::ShowMessage(const QString& text) {
    shown.push_back({Kind::Message, QString::fromLatin1(kProgramTitle), text});
}

void ScriptedDialogs::ShowError(const QString& text) {
    shown.push_back({Kind::Error, QString::fromLatin1(kProgramTitle), text});
}

Answer ScriptedDialogs::Confirm(const QString& text) {
    shown.push_back({Kind::Confirm, QStringLiteral("Confirm"), text});
    return TakeFront(confirms, Answer::Cancel);
}

std::optional<QString> ScriptedDialogs::NextFile(Kind kind, const FileDialogSetup& setup) {
    shown.push_back({kind, setup.title, setup.filter});
    last_file_dialog = setup;
    return TakeFront<std::optional<QString>>(files, std::nullopt);
}

std::optional<QString> ScriptedDialogs::OpenFile(const FileDialogSetup& setup) {
    return NextFile(Kind::OpenFile, setup);
}

std::optional<QString> ScriptedDialogs::SaveFile(const FileDialogSetup& setup) {
    return NextFile(Kind::SaveFile, setup);
}

QString ScriptedDialogs::InputBox(const QString& caption, const QString& prompt,
                                  const QString& default_text) {
    shown.push_back({Kind::InputBox, caption, prompt});
    return TakeFront<std::optional<QString>>(inputs, std::nullopt).value_or(default_text);
}

std::optional<Colour> ScriptedDialogs::ChooseColour(Colour initial) {
    shown.push_back({Kind::Colour, QString(), QString()});
    colour_dialog_starts.push_back(initial);
    return TakeFront<std::optional<Colour>>(colours, std::nullopt);
}

void ScriptedDialogs::ShowModal(QDialog& window) {
    shown.push_back({Kind::Window, window.windowTitle(), QString()});
    window.show();
    if (!windows.empty()) {
        const std::function<void(QDialog&)> step = windows.front();
        windows.pop_front();
        step(window);
    }
    if (window.isVisible()) window.close();
}

}  // namespace quom
