// The backup window "Copie - inlocuieste baza de date": a copy of the data saved into a
// ".T21" archive, an earlier save loaded over the data, or the remote copy window. The
// window only starts the operations of safety/Backup.h and reports to the main window
// whether the data were replaced, since the program must then end.
#pragma once

#include <QDialog>

#include <functional>

class QPushButton;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class RemoteCopyWindow;

class BackupWindow : public QDialog {
    Q_OBJECT
public:
    BackupWindow(Ui &ui, RemoteCopyWindow &remote, QWidget *parent = nullptr);

    // Shows the window modally; true when the data folder was replaced by a restore
    // (local or remote).
    bool showModal();

    QPushButton *saveButton() const { return save_; }
    QPushButton *loadButton() const { return load_; }
    QPushButton *remoteButton() const { return remote_button_; }

private:
    // Runs a button's work with the window hidden; an exception is shown under `title`.
    void hiddenWork(const QString &title, const std::function<void()> &work);
    void saveClick();
    void loadClick();
    void remoteClick();

    Ui &ui_;
    RemoteCopyWindow &remote_;
    QPushButton *save_;
    QPushButton *load_;
    QPushButton *remote_button_;
    bool restored_ = false;
};

} // namespace focaris::gui
