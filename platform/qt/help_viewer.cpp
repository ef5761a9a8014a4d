#include "platform/qt/help_viewer.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QKeySequence>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>
#include <memory>

namespace kestrel {

namespace {

// The guide names its table of contents so; a guide without one simply opens at its top.
constexpr const char* kContentsAnchor = "contents";

// Keeps the help window alive exactly as long as its owner, without the owner knowing its type.
class HelpViewerKeeper : public QObject {
    Q_OBJECT

  public:
    explicit HelpViewerKeeper(QObject* owner)
        : QObject(owner), viewer_(std::make_unique<HelpViewer>()) {
        setObjectName(QStringLiteral("kestrelHelpViewerKeeper"));
    }
    HelpViewer& Viewer() { return *viewer_; }

  private:
    std::unique_ptr<HelpViewer> viewer_;
};

bool HasAnchor(const QTextDocument& document, const QString& name) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            if (fragment.fragment().charFormat().anchorNames().contains(name)) return true;
        }
    }
    return false;
}

}  // namespace

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QString::fromLatin1(kHelpWindowTitle));
    setObjectName(QStringLiteral("kestrelHelpViewer"));

    toolBar_ = new QToolBar(this);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    back_ = toolBar_->addAction(tr("&Back"));
    back_->setShortcut(QKeySequence::Back);
    back_->setToolTip(tr("Back to the page shown before (Alt+Left)"));
    back_->setEnabled(false);
    forward_ = toolBar_->addAction(tr("&Forward"));
    forward_->setShortcut(QKeySequence::Forward);
    forward_->setToolTip(tr("Forward again (Alt+Right)"));
    forward_->setEnabled(false);
    contents_ = toolBar_->addAction(tr("&Contents"));
    contents_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    contents_->setToolTip(tr("The table of contents (Alt+Home)"));

    browser_ = new QTextBrowser(this);
    // The windows' small 8pt font is for dense forms; a guide reads better a little larger.
    QFont reading = browser_->font();
    reading.setPointSizeF(10);
    browser_->setFont(reading);
    browser_->setOpenLinks(true);
    // Links out of the guide (mail, web) belong to the desktop, not to this window.
    browser_->setOpenExternalLinks(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar_);
    layout->addWidget(browser_);

    connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward_, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(contents_, &QAction::triggered, this, &HelpViewer::ShowContents);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);

    // A reading width for the guide, kept inside small screens.
    QSize size(760, 640);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    }
    resize(size);
}

bool HelpViewer::Open(const QString& file, QString& whyNot) {
    // Read once here, so that an unreadable file is reported before the window changes; the
    // browser then loads it by name so that links between its sections work.
    const QFileInfo info(file);
    if (info.isDir()) {
        whyNot = tr("it is a folder, not a file.");
        return false;
    }
    QFile probe(file);
    if (!probe.open(QIODevice::ReadOnly)) {
        whyNot = probe.errorString();
        return false;
    }
    probe.close();

    const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    // The browser does not read a page again that it is already showing; clearing it makes it
    // forget the page, so a guide edited since the last time is read afresh.
    browser_->clear();
    browser_->clearHistory();
    file_ = url;
    browser_->setSource(url, QTextDocument::HtmlResource);
    browser_->clearHistory();
    browser_->verticalScrollBar()->setValue(0);
    return true;
}

void HelpViewer::ShowContents() {
    if (file_.isEmpty()) return;
    const QString anchor = QString::fromLatin1(kContentsAnchor);
    QUrl target = file_;
    if (HasAnchor(*browser_->document(), anchor)) target.setFragment(anchor);
    // Without a fragment the browser shows the page from its top.
    browser_->setSource(target, QTextDocument::HtmlResource);
}

HelpViewer& HelpViewerOf(QObject& owner) {
    auto* keeper = owner.findChild<HelpViewerKeeper*>(QStringLiteral("kestrelHelpViewerKeeper"),
                                                      Qt::FindDirectChildrenOnly);
    if (keeper == nullptr) keeper = new HelpViewerKeeper(&owner);
    return keeper->Viewer();
}

}  // namespace kestrel

#include "help_viewer.moc"
