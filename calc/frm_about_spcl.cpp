#include "calc/frm_about_spcl.h"

#include "app/program.h"

namespace kestrel {

frmAboutSpcl::frmAboutSpcl(Program& program)
    : FormOf(program.host, "frmAboutSpcl", FormKind::Modal) {}

void frmAboutSpcl::BuildUi(frmAboutSpclUi& ui) {
    SetCaption("About Kestrel");
    SetGeometry({0, 0, 5400, 2600});
    ui.lblTitle = &Add<Label>("lblTitle", {360, 240, 4680, 420});
    ui.lblTitle->SetCaption("Kestrel Payroll Calculator");
    ui.lblTitle->SetFont({14, true});
    ui.lblVersion = &Add<Label>("lblVersion", {360, 720, 4680, 285});
    ui.lblVersion->SetCaption("Version " + VersionText());
    ui.lblMaker = &Add<Label>("lblMaker", {360, 1020, 4680, 285});
    ui.lblMaker->SetCaption(std::string(kMakerName));
    // Two lines: the address does not fit beside the invitation.
    ui.lblComments = &Add<Label>("lblComments", {360, 1320, 4680, 540});
    ui.lblComments->SetCaption("Please send your comments by e-mail to " +
                               std::string(kSupportAddress));
    ui.cmdOK = &Add<CommandButton>("cmdOK", {3960, 1920, 1080, 420});
    ui.cmdOK->SetCaption("OK");
    ui.cmdOK->Click = [this] { Unload(); };
}

}  // namespace kestrel
