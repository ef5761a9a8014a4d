#include "calc/frm_explain.h"

#include "app/program.h"

namespace kestrel {

namespace {

constexpr std::string_view kNothingYet =
    "There is no calculation to explain yet: enter the period and press Calculate.";
// Lines of the printed working on one page, in the print font.
constexpr int kLinesPerPage = 56;

std::string WindowLines(std::string_view text) {
    std::string lines;
    for (char c : text) {
        if (c == '\n') lines += '\r';
        lines += c;
    }
    return lines;
}

}  // namespace

frmExplain::frmExplain(Program& program)
    : FormOf(program.host, "frmExplain", FormKind::Modeless), program_(program) {}

void frmExplain::BuildUi(frmExplainUi& ui) {
    SetCaption("Explain");
    SetGeometry({0, 0, 9600, 7800});
    ui.lblHeading = &Add<Label>("lblHeading", {120, 120, 9240, 285});
    ui.txtTrace = &Add<TextBox>("txtTrace", {120, 480, 9240, 6360});
    ui.txtTrace->SetMultiLine(true);
    ui.txtTrace->SetLocked(true);
    ui.txtTrace->SetAccessibleName("Working of the figures");
    ui.cmdPrint = &Add<CommandButton>("cmdPrint", {5040, 7020, 1320, 420});
    ui.cmdPrint->SetCaption("&Print");
    ui.cmdPrint->Click = [this] { PrintTrace(); };
    ui.cmdCopy = &Add<CommandButton>("cmdCopy", {6540, 7020, 1320, 420});
    ui.cmdCopy->SetCaption("C&opy");
    ui.cmdCopy->Click = [this] { GetHost().CopyText(TraceText(program_.lastTrace)); };
    ui.cmdClose = &Add<CommandButton>("cmdClose", {8040, 7020, 1320, 420});
    ui.cmdClose->SetCaption("&Close");
    ui.cmdClose->Click = [this] { Unload(); };
}

std::string frmExplain::TraceShown() const {
    if (program_.lastTrace.Steps().empty()) return std::string(kNothingYet);
    return WindowLines(TraceText(program_.lastTrace));
}

void frmExplain::Refresh() {
    if (!IsLoaded()) return;
    frmExplainUi& u = ui();
    const std::string& user = program_.ActiveUser;
    const std::string& week = program_.form1.ui().txtWeekEnd->Text();
    u.lblHeading->SetCaption(program_.lastTrace.Steps().empty()
                                 ? std::string()
                                 : "The working of the last calculation" +
                                       (user.empty() ? std::string() : " for " + user) +
                                       ", week ending " + week);
    u.txtTrace->SetText(TraceShown());
}

void frmExplain::OpenAt(std::optional<TraceFigure> figure) {
    Show();
    Refresh();
    TextBox& box = *ui().txtTrace;
    box.SetSelection(0, 0);
    if (figure && !program_.lastTrace.Steps().empty()) {
        // The section starts with the figure's caption at the start of a line.
        const std::string heading = std::string(TraceFigureCaption(*figure)) + ":\r\n";
        const std::string& text = box.Text();
        std::size_t at = text.rfind(heading, 0) == 0 ? 0 : text.find("\r\n" + heading);
        if (at != std::string::npos) {
            if (at != 0) at += 2;
            const std::string section = WindowLines(TraceSectionText(program_.lastTrace, *figure));
            box.SetSelection(static_cast<int>(at), static_cast<int>(section.size()));
        }
    }
    box.SetFocus();
}

void frmExplain::PrintTrace() {
    const std::string document =
        DocumentName({"Explain", program_.ActiveUser, program_.form1.ui().txtWeekEnd->Text()});
    if (!GetHost().ChoosePrinter(document)) return;
    PrintJob job(document);
    job.SetFont("Arial", 10);
    int line = 0;
    const auto put = [&](std::string_view text) {
        if (line == kLinesPerPage) {
            job.EndPage();
            line = 0;
        }
        job.At(1, text);
        job.NewLine();
        ++line;
    };
    put(ui().lblHeading->Caption());
    put("");
    std::string text = TraceText(program_.lastTrace);
    if (program_.lastTrace.Steps().empty()) text = std::string(kNothingYet) + "\n";
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         start = end + 1, end = text.find('\n', start)) {
        put(std::string_view(text).substr(start, end - start));
    }
    job.EndPage();
    GetHost().Print(job);
}

}  // namespace kestrel
