// The about window "Despre program": the program's name, "versiunea  " with the version
// of four decimals, what the program is for and its licence.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace focaris::gui {

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget *parent = nullptr);

    // The texts shown, one per line (for the tests and for copying into a message).
    QString text() const;
    QPushButton *closeButton() const { return close_; }

    // The line of the version: "versiunea  1.0029".
    static QString versionLine();
    static QString licenceText();

private:
    QLabel *name_;
    QLabel *version_;
    QLabel *purpose_;
    QLabel *licence_;
    QPushButton *close_;
};

} // namespace focaris::gui
