#include "platform/qt/qt_host.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QInputDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "platform/form.h"
#include "platform/qt/form_window.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/print_renderer.h"

namespace kestrel {

namespace {

QString ToQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString ToQtLines(std::string_view text) {
    QString converted = ToQt(text);
    converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return converted;
}

QString TitleOrApp(std::string_view title) {
    return ToQt(title.empty() ? kAppTitle : title);
}

QMessageBox::Icon ToQt(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::Warning:
            return QMessageBox::Warning;
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// Dialogs sit over the window the user is working in.
QWidget* DialogParent() {
    return QApplication::activeWindow();
}

}  // namespace

QString QtFileFilter(std::string_view filter) {
    const QStringList parts = ToQt(filter).split(QLatin1Char('|'));
    if (parts.size() < 2) return parts.value(0);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the parentheses, so the pattern half has the last word.
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open >= 0 && description.endsWith(QLatin1Char(')'))) {
            description = description.left(open).trimmed();
        }
        filters.push_back(QStringLiteral("%1 (%2)").arg(description, patterns));
    }
    return filters.join(QStringLiteral(";;"));
}

class QtHost::NestedLoop {
  public:
    explicit NestedLoop(QtHost& host) : host_(host) { ++host_.nestedLoops_; }
    ~NestedLoop() {
        if (--host_.nestedLoops_ == 0) host_.ScheduleCleanUp();
    }
    NestedLoop(const NestedLoop&) = delete;
    NestedLoop& operator=(const NestedLoop&) = delete;

  private:
    QtHost& host_;
};

QtHost::QtHost() {
    // The window designs were measured for an 8pt sans serif; Arial (or its metric twin) at
    // that size keeps every caption inside its box.
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    QApplication::setFont(font);
    // Hiding a window is not closing the program: a modal dialog or a message may follow. The
    // program ends by Quit, or when no window is left at all (CleanUp).
    QApplication::setQuitOnLastWindowClosed(false);
}

QtHost::~QtHost() {
    // The forms may be gone already (the program object dies first); the windows must not
    // reach for them while they are taken down.
    for (auto& [form, window] : windows_)
        window->Forget();
    for (auto& window : retired_)
        window->Forget();
    windows_.clear();
    retired_.clear();
}

MsgResult QtHost::MsgBox(std::string_view text, MsgButtons buttons, MsgIcon icon,
                         std::string_view title) {
    const bool withCancel = OffersCancel(buttons);
    const bool question = buttons != MsgButtons::Ok;
    if (quitting_) {
        if (!question) return MsgResult::Ok;
        return withCancel ? MsgResult::Cancel : MsgResult::No;
    }
    NestedLoop nested(*this);
    QMessageBox::StandardButtons shown = QMessageBox::Ok;
    if (question) shown = QMessageBox::Yes | QMessageBox::No;
    if (withCancel) shown |= QMessageBox::Cancel;
    QMessageBox box(ToQt(icon), TitleOrApp(title), ToQtLines(text), shown, DialogParent());
    box.setTextFormat(Qt::PlainText);
    if (question) {
        box.setDefaultButton(DefaultsToNo(buttons) ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
    }
    const int answer = box.exec();
    if (!question) return MsgResult::Ok;
    if (answer == QMessageBox::Yes) return MsgResult::Yes;
    if (answer == QMessageBox::Cancel) return MsgResult::Cancel;
    return MsgResult::No;
}

std::optional<std::string> QtHost::InputBox(std::string_view prompt, std::string_view title) {
    if (quitting_) return std::nullopt;
    NestedLoop nested(*this);
    bool accepted = false;
    const QString answer =
        QInputDialog::getText(DialogParent(), TitleOrApp(title), ToQtLines(prompt),
                              QLineEdit::Normal, QString(), &accepted);
    if (!accepted) return std::nullopt;
    return answer.toStdString();
}

std::optional<std::filesystem::path> QtHost::OpenFile(std::string_view filter) {
    if (quitting_) return std::nullopt;
    NestedLoop nested(*this);
    const QString chosen = QFileDialog::getOpenFileName(DialogParent(), QStringLiteral("Open"),
                                                        QDir::currentPath(), QtFileFilter(filter));
    if (chosen.isEmpty()) return std::nullopt;
    return std::filesystem::path(chosen.toStdString());
}

void QtHost::RunModal(Form& form) {
    if (quitting_) return;
    QEventLoop loop;
    modalRuns_.push_back({&form, &loop});
    {
        NestedLoop nested(*this);
        while (form.IsVisible() && !quitting_) {
            // Anything but our own quit means the application is ending underneath us.
            if (loop.exec(QEventLoop::DialogExec) != 0) break;
        }
    }
    std::erase_if(modalRuns_, [&loop](const ModalRun& run) { return run.loop == &loop; });
}

void QtHost::CopyText(std::string_view text) {
    QGuiApplication::clipboard()->setText(
        QString::fromUtf8(text.data(), static_cast<int>(text.size())));
}

Date QtHost::Today() {
    const QDate today = QDate::currentDate();
    return Date{today.year(), today.month(), today.day()};
}

std::string QtHost::ShortDate(const Date& date) {
    return ShortDateText(date);
}

void QtHost::Quit() {
    quitting_ = true;
    for (auto& [form, window] : windows_) {
        window->Detach();
        window->Hide();
        retired_.push_back(std::move(window));
    }
    windows_.clear();
    for (const ModalRun& run : modalRuns_)
        run.loop->quit();
    QCoreApplication::exit(0);
    // Quit before the event loop runs (the program may end while starting) ends it as it starts.
    QTimer::singleShot(0, &context_, [] { QCoreApplication::exit(0); });
}

int QtHost::Run() {
    if (quitting_) return 0;
    return QApplication::exec();
}

FormWindow* QtHost::WindowOf(const Form& form) const {
    const auto found = windows_.find(&form);
    return found == windows_.end() ? nullptr : found->second.get();
}

FormWindow& QtHost::EnsureWindow(Form& form) {
    if (FormWindow* existing = WindowOf(form)) return *existing;
    QMdiArea* area = nullptr;
    if (form.Kind() == FormKind::MdiChild && form.MdiParent() != nullptr) {
        // A child window cannot appear without its container.
        Form& parent = *form.MdiParent();
        if (!parent.IsVisible()) {
            parent.Show();
        } else if (WindowOf(parent) == nullptr) {
            FormShown(parent);
        }
        if (const FormWindow* container = WindowOf(parent)) area = container->MdiArea();
        if (FormWindow* existing = WindowOf(form)) return *existing;
    }
    auto& slot = windows_[&form];
    slot = std::make_unique<FormWindow>(form, area);
    return *slot;
}

void QtHost::Retire(const Form& form) {
    auto node = windows_.extract(&form);
    if (node.empty()) return;
    node.mapped()->Detach();
    node.mapped()->Hide();
    retired_.push_back(std::move(node.mapped()));
}

void QtHost::StopModal(const Form& form) {
    for (const ModalRun& run : modalRuns_) {
        if (run.form == &form) run.loop->quit();
    }
}

void QtHost::FormShown(Form& form) {
    if (quitting_) return;
    EnsureWindow(form).Show();
}

void QtHost::FormHidden(Form& form) {
    if (FormWindow* window = WindowOf(form)) window->Hide();
    StopModal(form);
    ScheduleCleanUp();
}

void QtHost::FormUnloading(Form& form) {
    StopModal(form);
    // Child windows live inside the container's area and go with it.
    std::vector<const Form*> children;
    for (const auto& [shown, window] : windows_) {
        const Form* child = window->GetForm();
        if (child != nullptr && child != &form && child->MdiParent() == &form) {
            children.push_back(shown);
        }
    }
    for (const Form* child : children)
        Retire(*child);
    Retire(form);
    ScheduleCleanUp();
}

void QtHost::BringToFront(Form& form) {
    if (FormWindow* window = WindowOf(form)) {
        window->BringToFront();
    } else {
        FormShown(form);
    }
}

void QtHost::ScheduleCleanUp() {
    if (cleanUpPending_) return;
    cleanUpPending_ = true;
    QTimer::singleShot(0, &context_, [this] { CleanUp(); });
}

void QtHost::CleanUp() {
    cleanUpPending_ = false;
    // Inside a dialog or modal form, the handler that retired a window may still be running;
    // the end of that loop schedules this again.
    if (nestedLoops_ > 0) return;
    retired_.clear();
    // Only the program's own event loop ends with its windows (tests run none).
    if (quitting_ || QThread::currentThread()->loopLevel() == 0) return;
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        const auto type = widget->windowType();
        if (widget->isVisible() && (type == Qt::Window || type == Qt::Dialog)) return;
    }
    Quit();
}

bool QtHost::OpenWorkbook(const std::filesystem::path& file) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file.string())));
}

void QtHost::ShowHelp(const std::filesystem::path& file) {
    if (quitting_) return;
    HelpViewer& viewer = HelpViewerOf(context_);
    const QString name = QFileInfo(file).absoluteFilePath();
    QString whyNot;
    if (!viewer.Open(name, whyNot)) {
        MsgBox(
            "The help file " + name.toStdString() + " cannot be read:\r\n" + whyNot.toStdString(),
            MsgButtons::Ok, MsgIcon::Warning, kHelpWindowTitle);
        return;
    }
    // Asked for again, the one window comes back to the front with the file read afresh.
    if (viewer.isMinimized()) viewer.showNormal();
    viewer.show();
    viewer.raise();
    viewer.activateWindow();
}

QPrinter& QtHost::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // The pages are laid out for US Letter, which is also what payroll check stock comes
        // in; Qt would pick A4 under any locale outside North America, C included.
        printer_->setPageSize(QPageSize(QPageSize::Letter));
    }
    return *printer_;
}

bool QtHost::ChoosePrinter(std::string_view document) {
    if (quitting_) return false;
    NestedLoop nested(*this);
    // A PDF is offered in the working folder under the document's own name, rather than under
    // the last printout's name or Qt's "print.pdf" in the home folder.
    const QString suggested = QDir::current().absoluteFilePath(ToQt(PdfFileName(document)));
    QPrinter& printer = Printer();
    if (printer.outputFormat() == QPrinter::PdfFormat) printer.setOutputFileName(suggested);
    // The dialog offers the system's printers and "Print to File (PDF)".
    QPrintDialog dialog(&printer, DialogParent());
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    // With a printer chosen last time, the name waits in the dialog's file box for a user who
    // switches to the PDF file; setting it on the printer would switch the printer to PDF.
    if (auto* file = dialog.findChild<QLineEdit*>(QStringLiteral("filename")))
        file->setText(suggested);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<std::filesystem::path> QtHost::SaveFile(const std::filesystem::path& suggested,
                                                      std::string_view filter) {
    if (quitting_) return std::nullopt;
    NestedLoop nested(*this);
    QFileDialog dialog(DialogParent(), QStringLiteral("Save As"),
                       QString::fromStdString(suggested.parent_path().string()),
                       QtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectFile(QString::fromStdString(suggested.filename().string()));
    // A name typed without its extension gets the suggested one, before the dialog asks whether
    // an existing file of that name may be replaced.
    const QString suffix = QFileInfo(QString::fromStdString(suggested.string())).suffix();
    if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().constFirst().toStdString());
}

void QtHost::Print(const PrintJob& job) {
    if (quitting_) return;
    QPrinter& printer = Printer();
    printer.setDocName(ToQt(job.Title()));
    printer.setPageOrientation(job.Orientation() == PageOrientation::Landscape
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
    bool failed = false;
    std::string why;
    {
        NestedLoop nested(*this);
        // The user looks at the pages first and prints from the preview, or closes it.
        QPrintPreviewDialog preview(&printer, DialogParent());
        preview.setWindowTitle(job.Title().empty() ? ToQt(kAppTitle) : ToQt(job.Title()));
        // The printer was chosen before the preview, so its Print prints there and closes it;
        // Qt's own action would open the printer dialog (or a file dialog) once more.
        if (auto* pages = preview.findChild<QPrintPreviewWidget*>()) {
            for (QAction* action : preview.findChildren<QAction*>()) {
                if (action->text() != QPrintPreviewDialog::tr("Print")) continue;
                QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
                QObject::connect(action, &QAction::triggered, &preview, [&preview, pages] {
                    pages->print();
                    preview.accept();
                });
            }
        }
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                         [&job, &failed, &why](QPrinter* target) {
                             // A PDF file is replaced in one step, never left half written.
                             if (WritesPdfFile(*target)) {
                                 const WriteResult written = WritePrinterPdf(job, *target);
                                 failed = !written;
                                 why = written.error;
                             } else if (!RenderJob(job, *target)) {
                                 failed = true;
                             }
                         });
        preview.exec();
    }
    if (failed) {
        MsgBox("The document could not be printed on " + printer.printerName().toStdString() +
                   (printer.outputFileName().isEmpty()
                        ? std::string()
                        : " (" + printer.outputFileName().toStdString() + ")") +
                   "." + (why.empty() ? std::string() : "\r\n" + why),
               MsgButtons::Ok, MsgIcon::Warning, kAppTitle);
    }
}

void QtHost::PrintFormImage(const Form& form) {
    if (quitting_) return;
    const FormWindow* window = WindowOf(form);
    QWidget* widget = window != nullptr ? window->Window() : nullptr;
    if (widget == nullptr) return;
    const QPixmap image = widget->grab();
    if (image.isNull()) return;
    QPrinter& printer = Printer();
    printer.setDocName(ToQt(form.Caption()));
    const auto paint = [&image, widget](QPagedPaintDevice& device) {
        QPainter painter;
        if (!painter.begin(&device)) return false;
        // The window prints at the size it has on screen, made smaller only when it would not
        // fit on the page.
        const QSizeF logical = image.deviceIndependentSize();
        const double screenDpi = widget->logicalDpiX() > 0 ? widget->logicalDpiX() : 96.0;
        const QRectF page(QPointF(0, 0), QSizeF(device.width(), device.height()));
        QSizeF size(logical.width() * device.logicalDpiX() / screenDpi,
                    logical.height() * device.logicalDpiY() / screenDpi);
        if (size.width() > page.width() || size.height() > page.height())
            size.scale(page.size(), Qt::KeepAspectRatio);
        painter.drawPixmap(QRectF(QPointF(0, 0), size), image, QRectF(image.rect()));
        return painter.end();
    };
    // A PDF file is replaced in one step, as a printed job's is.
    std::string why;
    bool printed = false;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        const WriteResult written = WritePrinterPdf(form.Caption(), printer, paint);
        printed = static_cast<bool>(written);
        why = written.error;
    } else {
        printed = paint(printer);
    }
    if (!printed) {
        MsgBox("The window could not be printed on " + printer.printerName().toStdString() + "." +
                   (why.empty() ? std::string() : "\r\n" + why),
               MsgButtons::Ok, MsgIcon::Warning, kAppTitle);
    }
}

}  // namespace kestrel
