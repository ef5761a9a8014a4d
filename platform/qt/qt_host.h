// The desktop's Host: Qt dialogs for messages, prompts and files, one window per shown form, and
// nested event loops for modal forms.
#pragma once

#include <QObject>
#include <map>
#include <memory>
#include <vector>

#include "platform/host.h"

class QEventLoop;
class QPrinter;
class QString;

namespace kestrel {

class FormWindow;

// "Saved Files (*.use)|*.use" -> "Saved Files (*.use)"; pairs are joined with ";;".
QString QtFileFilter(std::string_view filter);

class QtHost : public Host {
  public:
    // Needs the QApplication to exist already.
    QtHost();
    ~QtHost() override;
    QtHost(const QtHost&) = delete;
    QtHost& operator=(const QtHost&) = delete;

    MsgResult MsgBox(std::string_view text, MsgButtons buttons, MsgIcon icon,
                     std::string_view title) override;
    std::optional<std::string> InputBox(std::string_view prompt, std::string_view title) override;
    std::optional<std::filesystem::path> OpenFile(std::string_view filter) override;
    void RunModal(Form& form) override;
    std::optional<std::filesystem::path> SaveFile(const std::filesystem::path& suggested,
                                                  std::string_view filter) override;
    bool ChoosePrinter(std::string_view document) override;
    void Print(const PrintJob& job) override;
    void PrintFormImage(const Form& form) override;
    void ShowHelp(const std::filesystem::path& file) override;
    bool OpenWorkbook(const std::filesystem::path& file) override;
    void CopyText(std::string_view text) override;
    Date Today() override;
    std::string ShortDate(const Date& date) override;
    void Quit() override;
    void FormShown(Form& form) override;
    void FormHidden(Form& form) override;
    void FormUnloading(Form& form) override;
    void BringToFront(Form& form) override;

    // Runs the program until it ends; the exit code of the application.
    int Run();

    // The window drawing `form`, while it has one.
    FormWindow* WindowOf(const Form& form) const;

  private:
    class NestedLoop;
    struct ModalRun {
        const Form* form;
        QEventLoop* loop;
    };

    QPrinter& Printer();
    FormWindow& EnsureWindow(Form& form);
    void Retire(const Form& form);
    void StopModal(const Form& form);
    void ScheduleCleanUp();
    void CleanUp();

    std::map<const Form*, std::unique_ptr<FormWindow>> windows_;
    // Windows of unloaded forms. They go only when no handler of theirs can still be running,
    // that is, back in the outermost event loop.
    std::vector<std::unique_ptr<FormWindow>> retired_;
    std::vector<ModalRun> modalRuns_;
    int nestedLoops_ = 0;
    bool cleanUpPending_ = false;
    bool quitting_ = false;
    QObject context_;  // owns the deferred calls, which die with the host
    // The printer the user chose last; the next print goes to it, as on the desktop's own
    // printer object. Made on first use, for the system's default printer.
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace kestrel
