// The window "Ghidul programului": the clerk's guide, Markdown pages and their pictures
// carried inside the program, shown in a browser with a list of its chapters.
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

    // The first page of the guide (its table of contents) inside the program.
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
