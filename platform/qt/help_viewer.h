// The help window: the user guide, an HTML file, in a browser with Back, Forward and Contents.
#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

class QAction;
class QTextBrowser;
class QToolBar;

namespace kestrel {

inline constexpr const char* kHelpWindowTitle = "Kestrel Help";

class HelpViewer : public QWidget {
    Q_OBJECT

  public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // Reads `file` afresh and shows it from its contents with an empty history. A file that
    // cannot be read leaves the window as it was; the answer then says why.
    [[nodiscard]] bool Open(const QString& file, QString& whyNot);

    // Back to the table of contents at the top of the guide.
    void ShowContents();

    QTextBrowser* Browser() const { return browser_; }
    QAction* BackAction() const { return back_; }
    QAction* ForwardAction() const { return forward_; }
    QAction* ContentsAction() const { return contents_; }

  private:
    QTextBrowser* browser_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QAction* back_ = nullptr;
    QAction* forward_ = nullptr;
    QAction* contents_ = nullptr;
    QUrl file_;
};

// The one help window belonging to `owner`; it is made on first use and dies with `owner`.
HelpViewer& HelpViewerOf(QObject& owner);

}  // namespace kestrel
