// The start window: shown first, centred and on top, without title-bar buttons, with the
// program's title, picture, version, a status line and a progress bar that the start-up
// sequence advances.
#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

namespace focaris::gui {

class StartWindow : public QWidget {
    Q_OBJECT
public:
    explicit StartWindow(const QString &versionText, QWidget *parent = nullptr);

    QLabel *status() const { return status_; }
    QProgressBar *bar() const { return bar_; }
    QLabel *version() const { return version_; }

    void setStatus(const QString &text);
    void setBarMaximum(int maximum);
    void setBarPosition(int position);

    // "ver. " and the version written with at least six characters, zeros appended.
    static QString versionLabel(const QString &version);

private:
    QLabel *status_;
    QLabel *version_;
    QProgressBar *bar_;
};

} // namespace focaris::gui
