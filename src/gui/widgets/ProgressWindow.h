// The progress window shown during long operations: borderless, on top, centred, with
// the current step's text and a bar showing its position as a percentage. While it is
// shown the window that was active is disabled and shows the busy cursor.
#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace focaris::gui {

class ProgressWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget *parent = nullptr);

    void setDescription(const QString &text);
    void setMaximum(int maximum);

    void progressShow();
    void progressStep();
    void progressHide();

    QLabel *descriptionLabel() const { return descriptionLabel_; }
    QProgressBar *bar() const { return bar_; }
    QWidget *disabledWindow() const { return disabled_; }

private:
    void repaintNow();

    QLabel *descriptionLabel_;
    QProgressBar *bar_;
    QPointer<QWidget> disabled_;
};

} // namespace focaris::gui
