// The services a window model asks of the desktop: message boxes, prompts, common dialogs,
// modal runs, the clock and ending the program. The desktop implements them with Qt; tests
// script them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/date.h"
#include "platform/print_model.h"

namespace kestrel {

class Form;

// YesNoCancel: Cancel stops the operation that asked. YesNoDefaultNo: a question whose careless
// Enter must not write anything. YesNoCancelDefaultNo: both at once.
enum class MsgButtons { Ok, YesNo, YesNoCancel, YesNoDefaultNo, YesNoCancelDefaultNo };

// Whether the box offers Cancel, and whether its default button is No.
constexpr bool OffersCancel(MsgButtons buttons) {
    return buttons == MsgButtons::YesNoCancel || buttons == MsgButtons::YesNoCancelDefaultNo;
}
constexpr bool DefaultsToNo(MsgButtons buttons) {
    return buttons == MsgButtons::YesNoDefaultNo || buttons == MsgButtons::YesNoCancelDefaultNo;
}
enum class MsgIcon { None, Information, Warning, Critical, Question };
enum class MsgResult { Ok, Yes, No, Cancel };

// The application's title, the caption of its plain messages.
inline constexpr std::string_view kAppTitle = "Kestrel";

class Host {
  public:
    virtual ~Host() = default;

    // Line breaks in `text` are "\r\n".
    virtual MsgResult MsgBox(std::string_view text, MsgButtons buttons, MsgIcon icon,
                             std::string_view title) = 0;
    // nullopt when the user cancels.
    virtual std::optional<std::string> InputBox(std::string_view prompt,
                                                std::string_view title) = 0;
    // `filter` in the form "Saved Files (*.use)|*.use". nullopt when cancelled.
    virtual std::optional<std::filesystem::path> OpenFile(std::string_view filter) = 0;

    // Blocks until the form is hidden or unloaded.
    virtual void RunModal(Form& form) = 0;

    // The save dialog, opened on `suggested` (a file in the folder it starts in), with the
    // user's confirmation before an existing file is replaced. `filter` as for OpenFile. nullopt
    // when cancelled.
    virtual std::optional<std::filesystem::path> SaveFile(const std::filesystem::path& suggested,
                                                          std::string_view filter) = 0;

    // The printer dialog, where the user picks a printer or a PDF file for the printout named
    // `document` (see DocumentName); a PDF is offered as PdfFileName(document) in the working
    // folder. False when cancelled. This is the printout's one question: what follows prints
    // where the user chose.
    virtual bool ChoosePrinter(std::string_view document) = 0;
    // Prints the job on the printer last chosen, letting the user look at it on screen first where
    // the desktop offers a preview; printing from the preview does not ask for a printer again.
    virtual void Print(const PrintJob& job) = 0;
    // Prints the window as it looks on screen, scaled onto a page.
    virtual void PrintFormImage(const Form& form) = 0;

    // Shows the help file at its contents page. The caller has checked that it exists.
    virtual void ShowHelp(const std::filesystem::path& file) = 0;

    // Opens the saved workbook with the desktop's spreadsheet application; false when nothing
    // could open it.
    virtual bool OpenWorkbook(const std::filesystem::path& file) = 0;

    // Puts the text on the desktop's clipboard.
    virtual void CopyText(std::string_view text) = 0;

    virtual Date Today() = 0;
    virtual std::string ShortDate(const Date& date) = 0;

    // Ends the program once the running handler returns.
    virtual void Quit() = 0;

    // The form lifecycle, for the view.
    virtual void FormShown(Form& form) = 0;
    virtual void FormHidden(Form& form) = 0;
    virtual void FormUnloading(Form& form) = 0;
    virtual void BringToFront(Form& form) = 0;
};

// A plain message with an OK button and the application's title.
inline void ShowMessage(Host& host, std::string_view text, MsgIcon icon = MsgIcon::None) {
    host.MsgBox(text, MsgButtons::Ok, icon, kAppTitle);
}

}  // namespace kestrel
