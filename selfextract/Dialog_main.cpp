// The main dialog's procedure. The dialog is a holder of settings: its initialisation
// fills it and runs Start, so it is over before it would be shown.
#include <cstring>

#include "Dialog.h"
#include "SFXgbls.h"
#include "SFXmisc.h"

namespace {

// The folder the edit box names, at most 259 characters.
void ReadFolderEdit(os::DialogHost& dialog) {
    dialog.GetText(IdFolderEdit, ExtractDir, kTextSize - 1);
}

void Start(os::DialogHost& dialog) {
    if (!UserSelectsFiles) {
        dialog.ListSelect(IdFileList, -1, true);
        dialog.Show(IdDisplayList, false);
        dialog.Show(IdFileList, true);
    }
    ReadFolderEdit(dialog);
    std::size_t length = std::strlen(ExtractDir);
    if (length > 0 && IsPathSeparator(ExtractDir[length - 1])) ExtractDir[--length] = '\0';
    if (length == 0 && Mode != RunMode::Check) {
        // A current folder that cannot be named (deleted, or its path too long) is a
        // folder that cannot be made: an empty ExtractDir would put the entries under
        // the root.
        if (!os::CurrentFolder(ExtractDir, kTextSize - 1) || ExtractDir[0] == '\0') {
            ExtractDir[0] = '\0';
            os::ShowMessage(".", "Error in directory ..", os::kMbIconError);
            MainDialogCommand(dialog, IdClose);
            return;
        }
        dialog.SetText(IdFolderEdit, ExtractDir);
    }
    dialog.EnableControls(false);
    const bool ok = ExtractArchive(dialog, IdFileList, false);
    dialog.EnableControls(true);
    if (!ok) {
        MainDialogCommand(dialog, IdClose);
        return;
    }
    if (Mode != RunMode::Check && !RunAfterExtraction(dialog.IsChecked(IdRunCheckBox))) {
        CommandFailed = true;
    }
    dialog.End(1);
}

void Close(os::DialogHost& dialog) {
    ReadFolderEdit(dialog);
    if (PathExists(ExtractDir)) os::SetCurrentFolder(ExtractDir);
    dialog.End(2);
}

}  // namespace

void MainDialogInitialise(os::DialogHost& dialog) {
    dialog.SetIcon();
    if (HasDefaultFolder) {
        CopyText(ExtractDir, DefaultFolder, kTextSize);
    } else if (!os::CurrentFolder(ExtractDir, kTextSize - 1)) {
        ExtractDir[0] = '\0';
    }
    if (!HasCommand) {
        dialog.Show(IdRunCheckBox, false);
    } else {
        char caption[2 * kTextSize];
        BuildRunCaption(caption, sizeof caption);
        dialog.SetText(IdRunCheckBox, caption);
        dialog.SetCheck(IdRunCheckBox, true);
        if (!ShowRunCheckBox) dialog.Show(IdRunCheckBox, false);
    }
    dialog.SetText(IdFolderEdit, ExtractDir);
    dialog.SelectText(IdFolderEdit);
    dialog.CheckRadio(IdOverwrite, IdConfirm, OverwriteModeId);
    OverwriteMode = OverwriteModeId - IdOverwrite;
    if (HideOverwriteChoice) {
        dialog.Destroy(IdOverwrite);
        dialog.Destroy(IdDontOverwrite);
        dialog.Destroy(IdConfirm);
        dialog.Destroy(IdExistingLabel);
    }
    dialog.SetTitle(Caption);
    dialog.Center();
    ExtractArchive(dialog, IdFileList, true);
    if (UserSelectsFiles) {
        dialog.Show(IdDisplayList, false);
    } else {
        dialog.Show(IdFileList, false);
        ExtractArchive(dialog, IdDisplayList, true);
    }
    dialog.ListSelect(IdFileList, -1, true);
    MainDialogCommand(dialog, IdStart);
}

void MainDialogCommand(os::DialogHost& dialog, int id) {
    if (id == IdStart) Start(dialog);
    if (id == IdClose) Close(dialog);
}

int RunMainDialog() {
    static const os::MainDialogProcedure kProcedure = {MainDialogInitialise, MainDialogCommand};
    return os::RunMainDialog(kProcedure);
}
