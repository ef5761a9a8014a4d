// The desktop host's printing: the printer dialog, the preview of a job and the window image,
// driven as a user would, with the dialogs answered from a timer. There is no print service on a
// test machine, so the dialog's choice is "Print to File (PDF)".
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTimer>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_host.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "support/when_modal.h"

namespace kestrel {
namespace {

struct PanelUi {
    Label* lblTitle = nullptr;
};

class PanelForm : public FormOf<PanelUi> {
  public:
    explicit PanelForm(Host& host) : FormOf(host, "frmPanel", FormKind::Main) {}

  protected:
    void BuildUi(PanelUi& ui) override {
        SetCaption("Panel");
        SetGeometry({0, 0, 4500, 3000});
        ui.lblTitle = &Add<Label>("lblTitle", {120, 120, 3000, 255});
        ui.lblTitle->SetCaption("Printed window");
    }
};

using testing::WhenModal;

// Chooses "Print to File (PDF)" into `file` in the printer dialog; the file the printer took.
std::string ChoosePdfFile(QtHost& host, const std::string& file) {
    std::string chosenFile;
    WhenModal<QPrintDialog>([&](QPrintDialog& dialog) {
        // "Print to File (PDF)" is the last destination; the dialog's own file box decides
        // where it writes. A machine with printers must never get a page from a test.
        if (auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers")))
            printers->setCurrentIndex(printers->count() - 1);
        if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("filename")))
            name->setText(QString::fromStdString(file));
        dialog.accept();
        chosenFile = dialog.printer()->outputFileName().toStdString();
    });
    return host.ChoosePrinter("Test") ? chosenFile : std::string();
}

// Prints the job from its preview's Print button; the class names of the dialogs that came up
// after it, each cancelled.
std::vector<std::string> PrintFromPreview(QtHost& host, const PrintJob& job) {
    std::vector<std::string> asked;
    WhenModal<QPrintPreviewDialog>([&asked](QPrintPreviewDialog& preview) {
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&asked, &preview] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr || dialog == &preview) return;
            asked.emplace_back(dialog->metaObject()->className());
            dialog->reject();
        });
        watch.start(20);
        for (QAction* action : preview.findChildren<QAction*>())
            if (action->text() == QStringLiteral("Print")) action->trigger();
        if (preview.isVisible()) preview.reject();
    });
    host.Print(job);
    return asked;
}

class QtHostPrinting : public ::testing::Test {
  protected:
    testing::TempWorkDir dir;
    QtHost host;
};

TEST_F(QtHostPrinting, CancellingThePrinterDialogIsFalse) {
    WhenModal<QPrintDialog>([](QPrintDialog& dialog) { dialog.reject(); });
    EXPECT_FALSE(host.ChoosePrinter("Test"));
}

TEST_F(QtHostPrinting, ThePreviewShowsTheJobsPagesInItsOrientation) {
    PrintJob job("Two pages");
    job.SetOrientation(PageOrientation::Landscape);
    job.At(1, "one");
    job.EndPage();
    job.At(1, "two");
    job.EndPage();
    int pages = -1;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QString title;
    WhenModal<QPrintPreviewDialog>([&](QPrintPreviewDialog& preview) {
        if (auto* widget = preview.findChild<QPrintPreviewWidget*>()) {
            pages = widget->pageCount();
            orientation = widget->orientation();
        }
        title = preview.windowTitle();
        preview.reject();
    });
    host.Print(job);
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(orientation, QPageLayout::Landscape);
    EXPECT_EQ(title.toStdString(), "Two pages");
}

TEST_F(QtHostPrinting, TheWindowImagePrintsToTheChosenFile) {
    PanelForm form(host);
    form.Show();
    const FormWindow* window = host.WindowOf(form);
    ASSERT_NE(window, nullptr);
    const QSize shown = window->Window()->grab().size();

    // A PDF printed before is replaced whole: a new file takes the old one's name.
    const std::string file = (dir.Path() / "window.pdf").string();
    testing::WriteFile(file, "the window printed before");
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    ASSERT_EQ(ChoosePdfFile(host, file), file);
    host.PrintFormImage(form);
    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);

    ASSERT_TRUE(std::filesystem::exists(file));
    const std::string images = testing::RunCommand("pdfimages -list " + file).out;
    // One image, the window's pixels as grabbed.
    const std::regex row(R"re(\n\s*1\s+\d+\s+image\s+(\d+)\s+(\d+))re");
    std::smatch match;
    ASSERT_TRUE(std::regex_search(images, match, row)) << images;
    EXPECT_EQ(std::stoi(match[1]), shown.width());
    EXPECT_EQ(std::stoi(match[2]), shown.height());
    EXPECT_EQ(testing::RunCommand("pdfinfo " + file + " | grep -c '^Pages: *1$'").out, "1\n");
    form.Unload();
}

// Printed from the preview into a PDF file, a job comes out on Letter paper whatever the locale
// (the tests run under C), and replaces the file in one step: a new file takes the old one's
// name, rather than the old one being emptied and written again in place.
TEST_F(QtHostPrinting, APdfFromThePreviewIsLetterAndReplacesTheFileWhole) {
    const std::string file = (dir.Path() / "job.pdf").string();
    testing::WriteFile(file, "the document printed before");
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    ASSERT_EQ(ChoosePdfFile(host, file), file);

    PrintJob job("Letter");
    job.At(1, "Page");
    job.EndPage();
    EXPECT_EQ(PrintFromPreview(host, job), std::vector<std::string>{});

    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);
    const std::string info = testing::RunCommand("pdfinfo " + file).out;
    EXPECT_NE(info.find("612 x 792 pts (letter)"), std::string::npos) << info;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"job.pdf"});
}

// One decision per printout: the printer dialog offers the document's PDF in the working folder,
// and the preview's Print writes it there without asking again.
TEST_F(QtHostPrinting, ThePreviewPrintsToTheSuggestedPdfWithoutAskingAgain) {
    std::string offered;
    WhenModal<QPrintDialog>([&offered](QPrintDialog& dialog) {
        if (auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers")))
            printers->setCurrentIndex(printers->count() - 1);
        if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("filename")))
            offered = name->text().toStdString();
        dialog.accept();
    });
    ASSERT_TRUE(host.ChoosePrinter("Pay stub Worker1 01/07/05"));
    const std::string file = (dir.Path() / "Pay stub Worker1 01-07-05.pdf").string();
    EXPECT_EQ(offered, file);

    PrintJob job("Pay stub");
    job.At(1, "Net Pay");
    job.EndPage();
    EXPECT_EQ(PrintFromPreview(host, job), std::vector<std::string>{});
    const std::string text = testing::RunCommand("pdftotext '" + file + "' -").out;
    EXPECT_NE(text.find("Net Pay"), std::string::npos) << text;
}

}  // namespace
}  // namespace kestrel
