// A pay stub printed as a user with a printer prints it: the desktop's own print command, its
// printer dialog with a real CUPS queue chosen and the preview's Print button. The queue is a
// cups-pdf printer on a scheduler this test starts for itself and stops again, so the page that
// "came out" is a PDF whose text can be read and set beside the PDF-file path's.
//
// A scheduler needs root (the cups-pdf backend runs only as root) and Debian's cups and
// printer-driver-cups-pdf; elsewhere the test is skipped unless KESTREL_REQUIRE_CUPS is set, as
// CI sets it, so a machine that cannot run it never passes by skipping.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/program.h"
#include "calc/form1.h"
#include "employee/employee_files.h"
#include "platform/qt/qt_host.h"
#include "printing/pay_stub.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "support/when_modal.h"

extern char** environ;

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kQueue = "KestrelPDF";

void WriteText(const fs::path& file, const std::string& text) {
    std::ofstream(file) << text;
}

// A private scheduler: its own configuration, spool and socket under `root`, nothing of the
// machine's own CUPS touched except the one cups-pdf settings file its queue names, which is
// removed again.
class Scheduler {
  public:
    explicit Scheduler(fs::path root)
        : root_(std::move(root)),
          backendName_("kestrel-test-" + std::to_string(::getpid())),
          backendSettings_(fs::path("/etc/cups") / ("cups-pdf-" + backendName_ + ".conf")) {}
    ~Scheduler() { Stop(); }

    fs::path Socket() const { return root_ / "cups.sock"; }
    fs::path Output() const { return root_ / "out"; }
    fs::path Log() const { return root_ / "log" / "error_log"; }

    // Empty when the scheduler runs with the queue; otherwise why not.
    std::string Start() {
        for (const char* dir : {"etc", "spool", "cache", "run", "tmp", "log", "out"})
            fs::create_directories(root_ / dir);
        // Filters run as the lp user and must reach the spool's temporary files.
        fs::permissions(root_,
                        fs::perms::all & ~(fs::perms::group_write | fs::perms::others_write));
        fs::permissions(root_ / "tmp", fs::perms::all | fs::perms::sticky_bit);
        WriteText(root_ / "etc" / "cupsd.conf",
                  "Listen " + Socket().string() +
                      "\nBrowsing No\nWebInterface No\nLogLevel info\n"
                      "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                      "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                      "</Policy>\n");
        const std::string r = root_.string();
        WriteText(root_ / "etc" / "cups-files.conf",
                  "ServerRoot " + r + "/etc\nRequestRoot " + r + "/spool\nCacheDir " + r +
                      "/cache\nStateDir " + r + "/run\nTempDir " + r + "/tmp\nAccessLog " + r +
                      "/log/access_log\nErrorLog " + Log().string() + "\nPageLog " + r +
                      "/log/page_log\nSystemGroup root\n");
        WriteText(backendSettings_, "Out " + Output().string() + "\nAnonDirName " +
                                        Output().string() + "\nUserPrefix\n");

        const std::string conf = (root_ / "etc" / "cupsd.conf").string();
        const std::string files = (root_ / "etc" / "cups-files.conf").string();
        std::vector<std::string> args{"/usr/sbin/cupsd", "-f", "-c", conf, "-s", files};
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
            return "cupsd could not be started";
        }
        ::setenv("CUPS_SERVER", Socket().c_str(), 1);
        for (int tries = 0; tries < 100 && !fs::exists(Socket()); ++tries)
            std::this_thread::sleep_for(100ms);
        if (!fs::exists(Socket())) return "cupsd made no socket:\n" + LogText();
        const testing::CommandRun added = testing::RunCommand(
            std::string("lpadmin -p ") + kQueue + " -E -v cups-pdf:/" + backendName_ +
            " -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"
            // The default PostScript step drops the text's character codes; this one keeps them.
            " -o pdftops-renderer-default=pdftocairo 2>&1");
        if (added.status != 0) return "lpadmin failed: " + added.out;
        return {};
    }

    void Stop() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
            pid_ = -1;
        }
        std::error_code ignored;
        fs::remove(backendSettings_, ignored);
    }

    bool Running() const { return pid_ > 0 && ::kill(pid_, 0) == 0; }

    std::string LogText() const {
        std::ifstream in(Log());
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

  private:
    fs::path root_;
    std::string backendName_;
    fs::path backendSettings_;
    pid_t pid_ = -1;
};

// Why this machine cannot run a scheduler, or empty.
std::string MissingForCups() {
    if (::geteuid() != 0) return "not root";
    for (const char* file :
         {"/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/lib/cups/backend/cups-pdf",
          "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"})
        if (!fs::exists(file)) return std::string(file) + " is missing";
    return {};
}

using testing::WhenModal;

// The words of a PDF's text, one per line: the two paths lay the same words out through
// different PDF producers, so spacing may differ but no word may.
std::string Words(const fs::path& pdf) {
    const testing::CommandRun run = testing::RunCommand("pdftotext '" + pdf.string() + "' -");
    std::istringstream in(run.out);
    std::string word;
    std::string words;
    while (in >> word)
        words += word + '\n';
    return words;
}

TEST(CupsQueue, APayStubPrintedToAPrinterQueueHasTheTextOfThePdfFilePath) {
    if (const std::string missing = MissingForCups(); !missing.empty()) {
        if (std::getenv("KESTREL_REQUIRE_CUPS") != nullptr)
            FAIL() << "KESTREL_REQUIRE_CUPS is set but no scheduler can run: " << missing;
        GTEST_SKIP() << "no CUPS scheduler here: " << missing;
    }
    testing::TempWorkDir dir;
    for (const auto& entry : fs::directory_iterator(testing::DemoFolder()))
        fs::copy_file(entry.path(), entry.path().filename());
    Scheduler scheduler(dir.Path().parent_path() / "cups");
    const std::string started = scheduler.Start();
    ASSERT_EQ(started, "") << scheduler.LogText();

    // File, Open Worker1, 40 hours, Calculate and Print, with the queue chosen in the dialog.
    QtHost host;
    Program program(host);
    program.Start();
    program.ActiveUser = "Worker1";
    ASSERT_TRUE(LoadEmployee(program));
    program.form1.ui().txtWeekEnd->SetText("01/07/05");
    program.form1.ui().txtEntry[0]->SetText("40");
    program.saveEachCalculation = false;
    ASSERT_TRUE(program.form1.CalculatePay());

    std::string offered;
    WhenModal<QPrintDialog>([&offered](QPrintDialog& dialog) {
        if (auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers"))) {
            for (int i = 0; i < printers->count(); ++i)
                offered += printers->itemText(i).toStdString() + ';';
            printers->setCurrentIndex(printers->findText(QString::fromLatin1(kQueue)));
        }
        dialog.accept();
    });
    WhenModal<QPrintPreviewDialog>([](QPrintPreviewDialog& preview) {
        for (QAction* action : preview.findChildren<QAction*>())
            if (action->text() == QStringLiteral("Print")) action->trigger();
        if (preview.isVisible()) preview.reject();
    });
    ASSERT_TRUE(PrintText(program));
    ASSERT_NE(offered.find(kQueue), std::string::npos) << "the dialog offered " << offered;

    // The job is done once the queue holds nothing; cups-pdf names its file after the job, and
    // the queue's folder holds nothing else.
    fs::path printed;
    for (int tries = 0; tries < 600 && printed.empty(); ++tries) {
        if (testing::RunCommand(std::string("lpstat -o ") + kQueue).out.empty()) {
            for (const auto& entry : fs::directory_iterator(scheduler.Output()))
                if (entry.path().extension() == ".pdf") printed = entry.path();
        }
        if (printed.empty()) std::this_thread::sleep_for(100ms);
    }
    ASSERT_FALSE(printed.empty()) << "CUPS wrote no PDF:\n" << scheduler.LogText();

    // The PDF-file path: the same stub written by kestrel-print.
    const QDate today = QDate::currentDate();
    const std::string date = today.toString(QStringLiteral("MM/dd/yy")).toStdString();
    const testing::CommandRun pdf =
        testing::RunCommand(std::string("'") + KESTREL_PRINT_PATH +
                            "' --employee Worker1 --week-ending 01/07/05 --straight 40 --date " +
                            date + " --stub direct.pdf 2>&1");
    ASSERT_EQ(pdf.status, 0) << pdf.out;

    const std::string queued = Words(printed);
    EXPECT_NE(queued.find("Worker1"), std::string::npos) << queued;
    EXPECT_EQ(queued, Words(dir.Path() / "direct.pdf"));

    scheduler.Stop();
    EXPECT_FALSE(scheduler.Running());
}

}  // namespace
}  // namespace kestrel
