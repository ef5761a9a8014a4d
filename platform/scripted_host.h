// A Host for tests: answers come from queues the test fills, every message is recorded, and a
// modal window runs a callback the test registered for it ("when frmSaveUser opens, click
// &Save").
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/host.h"

namespace kestrel {

class ScriptedHost : public Host {
  public:
    struct Message {
        std::string text;
        std::string title;
        MsgButtons buttons = MsgButtons::Ok;
        MsgIcon icon = MsgIcon::None;
    };

    MsgResult MsgBox(std::string_view text, MsgButtons buttons, MsgIcon icon,
                     std::string_view title) override;
    std::optional<std::string> InputBox(std::string_view prompt, std::string_view title) override;
    std::optional<std::filesystem::path> OpenFile(std::string_view filter) override;
    void RunModal(Form& form) override;
    std::optional<std::filesystem::path> SaveFile(const std::filesystem::path& suggested,
                                                  std::string_view filter) override;
    bool ChoosePrinter(std::string_view document) override;
    void Print(const PrintJob& job) override { printed.push_back(job); }
    void PrintFormImage(const Form& form) override { imagesPrinted.push_back(form.Name()); }
    void CopyText(std::string_view text) override { copied.emplace_back(text); }
    void ShowHelp(const std::filesystem::path& file) override { helpShown.push_back(file); }
    bool OpenWorkbook(const std::filesystem::path& file) override {
        workbooksOpened.push_back(file);
        return workbookOpens;
    }
    Date Today() override { return today; }
    std::string ShortDate(const Date& date) override { return ShortDateText(date); }
    void Quit() override { quitRequested = true; }
    void FormShown(Form& form) override;
    void FormHidden(Form& form) override;
    void FormUnloading(Form& form) override;
    void BringToFront(Form& form) override;

    // Answers, taken in order; Cancel given to a box without it counts as unscripted. A Yes/No
    // box with no answer queued counts as unscripted and is answered No (Cancel where it offers
    // one); a prompt or file dialog with none queued is cancelled.
    std::deque<MsgResult> answers;
    std::deque<std::optional<std::string>> inputs;
    std::deque<std::optional<std::filesystem::path>> files;
    // Run when the named form is shown modally. A form the callback leaves open is hidden
    // afterwards, and that counts as unscripted, so a test can never hang.
    std::map<std::string, std::function<void(Form&)>> onModal;
    Date today{2005, 12, 30};

    std::vector<Message> messages;
    std::vector<std::string> prompts;      // prompt texts of the input boxes
    std::vector<std::string> fileFilters;  // filters of the open-file dialogs
    std::vector<std::string> events;       // "show frmX", "modal frmX", "hide frmX", "unload frmX"
    std::vector<std::filesystem::path> helpShown;
    // Answers of the printer dialog, taken in order; with none queued the dialog counts as
    // unscripted and is cancelled.
    std::deque<bool> printerAnswers;
    // The PDF file name each printer dialog suggested, one per dialog shown.
    std::vector<std::string> printerDialogs;
    // Answers of the save dialog, taken in order; with none queued it counts as unscripted and is
    // cancelled. What each one suggested, and its filter.
    std::deque<std::optional<std::filesystem::path>> saveAnswers;
    std::vector<std::filesystem::path> savesSuggested;
    std::vector<std::string> saveFilters;
    std::vector<PrintJob> printed;
    std::vector<std::string> imagesPrinted;
    std::vector<std::string> copied;
    std::vector<std::filesystem::path> workbooksOpened;
    bool workbookOpens = true;            // the answer of OpenWorkbook
    std::vector<std::string> unscripted;  // what the test did not prepare for
    bool quitRequested = false;

    // The texts of the recorded messages, for compact assertions.
    std::vector<std::string> MessageTexts() const;
};

}  // namespace kestrel
