// The administration window ("Administrare program"): the municipality's identity, the
// officials, the aid parameters, the password change, the folder panel, the template menu
// and the recalculation button. Its values are loaded from the settings at start-up and
// again whenever it closes, so edits not stored with "Memoreaza si inchide" are dropped.
#pragma once

#include <QDialog>

#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;

namespace focaris {
class Ui;
struct AdminForm;
struct TemplateMenuItem;
} // namespace focaris

namespace focaris::gui {

class AdminWindow : public QDialog {
    Q_OBJECT
public:
    explicit AdminWindow(Ui &ui, QWidget *parent = nullptr);

    // LoadAdminSettings into the fields.
    void loadSettings();
    // The fields as a form, and back.
    AdminForm form() const;
    void setForm(const AdminForm &form);

    // "Memoreaza si inchide": the checks, then store and close. Returns true when stored.
    bool storeAndClose();

    // Called after a change of the network folder: the program must end.
    std::function<void()> onEndProgram;
    // The template menu's actions: edit (false) or reset (true) of a template.
    std::function<void(const TemplateMenuItem &item, bool reset)> onTemplate;
    // "&Recalculeaza cererile".
    std::function<void()> onRecalculate;

    // Widgets by role, for the tests and the screenshots.
    QLineEdit *field(const QString &objectName) const;
    QComboBox *uat() const { return uat_; }
    QComboBox *county() const { return county_; }
    QComboBox *localityKind() const { return localityKind_; }
    QLabel *cap(int n) const { return caps_[n - 1]; }
    QLabel *serverLabel() const { return serverLabel_; }
    QLabel *savesLabel() const { return savesLabel_; }
    QMenu *templateMenu() const { return templates_; }
    QPushButton *storeButton() const { return store_; }

protected:
    void done(int result) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLineEdit *addEdit(const QString &name, int maxLength);
    QWidget *buildIdentity();
    QWidget *buildOfficials();
    QWidget *buildBrackets();
    QWidget *buildSupplements();
    QWidget *buildPassword();
    QWidget *buildFolders();
    void countyChanged();
    void changePassword();
    void folderCommand(int which);

    Ui &ui_;
    QComboBox *uat_;
    QComboBox *county_;
    QComboBox *localityKind_;
    std::array<QLabel *, 10> caps_{};
    QLabel *serverLabel_;
    QLabel *savesLabel_;
    QMenu *templates_;
    QPushButton *store_;
    QToolButton *templatesButton_;
    bool loading_ = false;
};

} // namespace focaris::gui
