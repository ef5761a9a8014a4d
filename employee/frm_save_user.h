// The save window "Save User": asks whether to save the open employee before another is opened,
// created, or the program ends, and saves the employee's whole file set under the name in its box.
#pragma once

#include "platform/form.h"

namespace kestrel {

class Program;

struct frmSaveUserUi {
    Label* lbLine1 = nullptr;
    Label* lbLine2 = nullptr;
    TextBox* txtSaveUser = nullptr;
    CommandButton* cmdSave = nullptr;
    CommandButton* cmdNo = nullptr;
    CommandButton* cmdQuit = nullptr;
};

class frmSaveUser : public FormOf<frmSaveUserUi> {
  public:
    explicit frmSaveUser(Program& program);

    // Shows the window modally with the open employee's name in the box.
    void ShowSaveWindow();
    // "&Save": the whole file set under the name in the box, with the unsaved changes of an open
    // year-to-date view, then the employee's windows close. False when the name cannot be used or
    // a file could not be written: the user was told, the files after the failing one were not
    // written and the windows stay open.
    bool FullSave();
    void cmdNo_Click();
    // Ends the program at once, storing nothing.
    void cmdQuit_Click();

  protected:
    void BuildUi(frmSaveUserUi& ui) override;
    void OnLoad() override;

  private:
    // The close box: the employee's windows close, nothing is stored.
    void CloseBox();

    Program& program_;
};

}  // namespace kestrel
