// The window "Copie / Recupereaza date la Distanta": logs into the remote account, sends
// a copy of the data to the backup server, lists the copies kept there, deletes one or
// brings one back over the data. It is made of six panels shown and hidden as the session
// goes (login, progress, confirmation code, account, actions, copies); after every change
// the window takes the height of the visible panels and is centred again. The work is done
// by remote::RemoteCopy; the window only gathers the fields and shows the panels.
#pragma once

#include "safety/RemoteCopy.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace focaris::gui {

class RemoteCopyWindow : public QDialog {
    Q_OBJECT
public:
    explicit RemoteCopyWindow(Ui &ui, QWidget *parent = nullptr);

    // Shows the window modally with the login panel. With `archive` (a save just made),
    // that archive is sent as soon as the login succeeds and the window closes after it.
    // True when a copy was restored over the data (the program must then end).
    bool showModal(const QString &archive = {});
    // What showModal() does before showing the window: the login panel with the remembered
    // account, the focus on the e-mail.
    void prepare(const QString &archive = {});
    bool restored() const { return restored_; }

    remote::RemoteCopy &remote() { return remote_; }
    // Panel1 .. Panel6.
    QWidget *panel(const QString &objectName) const;
    QLineEdit *field(const QString &objectName) const;
    QPushButton *button(const QString &objectName) const;
    QCheckBox *rememberCheck() const { return remember_; }
    QTableWidget *grid() const { return grid_; }
    QLabel *descriptionLabel() const { return descriptionLabel_; }
    QProgressBar *bar() const { return bar_; }

    // Shows exactly the panels named, then fits and centres the window.
    void showPanels(const QStringList &names);
    // Fills the grid of copies ("Data", "Ora", "Observatii") and the buttons under it.
    void setCopies(const QList<remote::StoredCopy> &copies);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // Escape and the close box: a running exchange is stopped first.
    void reject() override;

private:
    QWidget *makePanel(const char *name);
    // Runs one exchange with `part` disabled and the progress panel shown; an exception
    // is shown under `title` and counts as a failure. False also while another runs.
    bool run(QWidget *part, const QString &title, const std::function<void()> &work);

    int selectedRow() const;
    void loginClick();
    void checkCodeClick();
    void sendPassClick();
    void passChangeClick();
    void saveClick();
    void loadClick();
    void loadFromServerClick();
    void deleteOnServerClick();
    void backClick();

    Ui &ui_;
    remote::RemoteCopy remote_;
    QString archive_;
    bool restored_ = false;
    bool running_ = false;
    QList<remote::StoredCopy> copies_;
    QList<QWidget *> panels_;
    QLineEdit *email_, *pass_, *confirmationCode_;
    QCheckBox *remember_;
    QLabel *emailLabel_, *passwordLabel_, *descriptionLabel_;
    QProgressBar *bar_;
    QTableWidget *grid_;
};

} // namespace focaris::gui
