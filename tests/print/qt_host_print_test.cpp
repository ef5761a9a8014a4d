// The desktop host's printing: the printer dialog, the preview of a job and the window image,
// driven as a user would, with the dialogs answered from a timer. There is no print service on a
// test machine, so the dialog's choice is "Print to File (PDF)".
#include <gtest/gtest.h>

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

#include "platform/form.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_host.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

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

// Acts on the first modal dialog of type D once it is up; what it found, for the assertions.
template <typename D>
void WhenModal(std::function<void(D&)> act) {
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [act, poll] {
        if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
            act(*dialog);
            return;
        }
        QTimer::singleShot(20, *poll);
    };
    QTimer::singleShot(20, *poll);
}

class QtHostPrinting : public ::testing::Test {
  protected:
    testing::TempWorkDir dir;
    QtHost host;
};

TEST_F(QtHostPrinting, CancellingThePrinterDialogIsFalse) {
    WhenModal<QPrintDialog>([](QPrintDialog& dialog) { dialog.reject(); });
    EXPECT_FALSE(host.ChoosePrinter());
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

    const std::string file = (dir.Path() / "window.pdf").string();
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
    ASSERT_TRUE(host.ChoosePrinter());
    ASSERT_EQ(chosenFile, file);
    host.PrintFormImage(form);

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

}  // namespace
}  // namespace kestrel
