#include "editor_windows.h"

#include "art.h"
#include "editor_fonts.h"

namespace quom {

EditorWindows::EditorWindows(Dialogs& dialogs, ProgramFolderSource program_folder) {
    InitArt();
    InstallFontSubstitutes();
    form1_ = std::make_unique<TForm1>(dialogs, std::move(program_folder));
    form2_ = std::make_unique<TForm2>();
    form3_ = std::make_unique<TForm3>();
    form4_ = std::make_unique<TForm4>();
    form5_ = std::make_unique<TForm5>();
    form1_->SetIdDialog(form2_.get());
    form1_->SetAboutBox(form3_.get());
}

}  // namespace quom
