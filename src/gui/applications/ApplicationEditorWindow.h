// The window "Adauga/Modifica Cerere": every field of one application, its lists, the
// amount labels, the members grid with its three buttons and the two supplement buttons.
// It gathers the fields into the editor operation, runs its reactions and shows what it
// returns (hints beside the fields, questions through Ui). The applications list opens it
// with addModal or modifyModal and, on true, stores it with ApplicationStore.
#pragma once

// moc does not read the C++20 headers behind these types; it needs none of them.
#ifndef Q_MOC_RUN
#include "applications/ApplicationEditor.h"
#endif

#include <QDialog>
#include <QHash>

#include <memory>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QValidator;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class CnpEdit;
class NumericEdit;
class MemberDialog;
class SupplementDialog;

class ApplicationEditorWindow : public QDialog {
    Q_OBJECT
public:
    explicit ApplicationEditorWindow(Ui &ui, QWidget *parent = nullptr);
    ~ApplicationEditorWindow() override;

    // Modal: opens in add mode; true when the person saved. The caller then stores with
    // ApplicationStore(ui).store(editor()). Both openings refuse (false) while the window
    // is already open.
    bool addModal();
    // Modal on the application with that key; false without opening when it is unknown.
    bool modifyModal(qint64 nrcrt);

    // The same openings without waiting (tests, screenshots): the window is shown and
    // returns at once; accepted() follows when "&Memoreaza" succeeds.
    void openAdd();
    bool openModify(qint64 nrcrt);

    ApplicationEditor &editor() { return editor_; }
    void setVisible(bool visible) override;

    // The control of a field by its name in ApplicationFields ("CNPSol", "Tarif", ...),
    // or null. Tests type into these; hints point at them.
    QWidget *field(const QString &name) const;
    // A button by its object name ("Save", "AddMember", "GasSupplement", ...).
    QPushButton *button(const QString &objectName) const;
    QTableWidget *membersGrid() const { return grid_; }
    QLabel *amountLabel(const QString &name) const; // "SupL", "SupT", "SupGB", "SupEB"
    MemberDialog *memberDialog() const { return memberDialog_; }
    SupplementDialog *supplementDialog() const { return supplementDialog_; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void done(int result) override;

private:
    void showOpened(const QString &caption);
    // The window's sections, built in screen order.
    void build();
    QLayout *buildApplication();
    QWidget *buildRiskData();
    QWidget *buildSupplements();
    QWidget *buildMembers();
    void connectReactions();
    // The makers of the controls, each kept under its name (field(), button()).
    QLineEdit *line(const QString &name, bool upper = true);
    QComboBox *combo(const QString &name, bool editable, QValidator *validator = nullptr);
    NumericEdit *number(const QString &name, int digits, int decimals);
    QCheckBox *box(const QString &name, const QString &caption);
    CnpEdit *cnp(const QString &name);
    QPushButton *push(const QString &name, const QString &caption);
    void showFields();   // editor -> widgets, without running reactions
    void gatherFields(); // widgets -> editor
    void showMembers(qint64 select = 0);
    void showAmounts();
    void showStatus();
    void hint(const EditorRefusal &refusal);
    void onCnpChanged();
    void onSave();
    void onAddMember();
    void onModifyMember();
    void onDeleteMember();
    void onSupplement(SupplementKind kind);
    qint64 selectedMember() const;

    Ui &ui_;
    ApplicationEditor editor_;
    int showing_ = 0;
    QHash<QString, QWidget *> fields_;
    QHash<QString, QLabel *> amounts_;
    QTableWidget *grid_ = nullptr;
    QLabel *reasonLabel_ = nullptr;
    MemberDialog *memberDialog_ = nullptr;
    SupplementDialog *supplementDialog_ = nullptr;
};

} // namespace focaris::gui
