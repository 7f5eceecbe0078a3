// The new-password dialog ("Schimbare parola") used for the remote copy account: one field
// shown in clear that turns letters into capitals as they are typed, "&Memoreaza" and
// "&Renunt". An empty entry is refused with a field hint and the dialog stays open.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class NewPasswordDialog : public QDialog {
    Q_OBJECT
public:
    explicit NewPasswordDialog(QWidget *parent = nullptr);

    // The Ui that shows the field hint of a refused entry.
    void setUi(Ui *ui) { ui_ = ui; }

    // Empties and focuses the field, shows the dialog; true when accepted, with the
    // cleaned text in `password`.
    bool ask(QString &password);

    QLineEdit *field() const { return field_; }
    QPushButton *storeButton() const { return store_; }

private:
    void store();

    QLineEdit *field_;
    QPushButton *store_;
    Ui *ui_ = nullptr;
};

} // namespace focaris::gui
