// The five windows of the editor, created at start in their fixed order and living
// until the program ends.
#pragma once

#include <memory>

#include "dialogs.h"
#include "later_dialogs.h"
#include "program_folder.h"
#include "tform1.h"
#include "tform2.h"
#include "tform3.h"

namespace quom {

class EditorWindows {
  public:
    explicit EditorWindows(Dialogs& dialogs, ProgramFolderSource program_folder = ProgramFolder);

    TForm1* form1() const { return form1_.get(); }
    TForm2* form2() const { return form2_.get(); }
    TForm3* form3() const { return form3_.get(); }
    TForm4* form4() const { return form4_.get(); }
    TForm5* form5() const { return form5_.get(); }

  private:
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<TForm4> form4_;
    std::unique_ptr<TForm5> form5_;
};

}  // namespace quom
