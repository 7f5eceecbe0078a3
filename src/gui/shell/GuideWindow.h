// The window "Ghidul programului": the clerk's guide shown in a browser with a list of its
// chapters: the HTML pages the package installs beside the program, or, in a program that
// was not installed, the Markdown pages and pictures carried inside it.
#pragma once

#include <QDialog>
#include <QUrl>

class QListWidget;
class QPushButton;
class QTextBrowser;

namespace focaris::gui {

class GuideWindow : public QDialog {
    Q_OBJECT
public:
    explicit GuideWindow(QWidget *parent = nullptr);

    // The folder of the pages shown: FOCARIS_GUIDE_DIR when it holds an HTML guide, then the
    // installed "../share/doc/focaris/ghid" beside the program's folder, else ":/ghid".
    static QString GuideFolder();
    // A page of that folder, and the first page (its table of contents).
    static QUrl pageUrl(const QString &name);
    static QUrl firstPage();

    // Shows the first page (or the given page of the guide) and brings the window forward.
    void showPage(const QUrl &page = firstPage());

    QTextBrowser *browser() const { return browser_; }
    QListWidget *chapters() const { return chapters_; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fillChapters();
    void followSource(const QUrl &source);
    void fitPictures();

    QListWidget *chapters_;
    QTextBrowser *browser_;
    QPushButton *back_;
    QPushButton *forward_;
    QPushButton *home_;
    QPushButton *close_;
};

// Opens the guide over the given window, one guide window per parent: a second call brings
// the same window forward on its first page.
void ShowGuide(QWidget *parent);

} // namespace focaris::gui
