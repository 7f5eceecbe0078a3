// The documents of the applications list: one function per button or menu item, and
// the two drop-down menus ("Listeaza Dispozitii", "Listeaza cerere"). The list creates
// one DocumentActions (which makes the four windows once) and wires its buttons to it.
// While a document is built the list is disabled, and a second click that reaches a
// function before the first document ends does nothing.
#pragma once

#include "gui/widgets/WindowAction.h"

#include "documents/ApplicationForms.h"
#include "documents/SeparateDispositions.h"

#include <QObject>

#include <functional>

class QMenu;
class QWidget;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class ApplicationRangeDialog;
class SingleDispositionDialog;
class DispositionRangeDialog;
class PaymentStatementDialog;

class DocumentActions : public QObject {
public:
    // `list` is the applications window (disabled during a document); `currentNrcrt`
    // gives the NRCRT of the application under the list's cursor (0 when none).
    DocumentActions(QWidget *list, Ui &ui, std::function<qint64()> currentNrcrt = {});
    ~DocumentActions() override;

    // "Dispozitie de Stabilire Separata", "Dispozitie de Modificare", "Dispozitie de
    // Respingere".
    void printDispositions(documents::DispositionKind kind);
    // "Dispozitie Unica de Stabilire".
    void printSingleDisposition();
    // "Listeaza Re&ferate".
    void printReports();
    // "Anexa 26", "Anexa 2 - Forma prescurtata" for the current application.
    void printForm(documents::FormKind kind);
    // "Adauga", "Arata", "Sterge" of the box "Anchete", for the current application.
    void addInquiry();
    void showInquiry();
    void deleteInquiry();
    // "Situatie Plati".
    void printPaymentStatement();

    // Gives each of the list's document commands its function, by the command's English
    // name (the object name of its button or menu item), through the list's own
    // `setAction`: the four disposition items, "Listeaza Re&ferate", "Anexa 26", "Anexa 2 -
    // Forma prescurtata", "Situatie Plati" and the inquiry buttons "Adauga", "Arata",
    // "Sterge".
    void wire(const std::function<void(const QString &command, std::function<void()> handler)> &setAction);

    // The menu of the button "Listeaza Dispozitii" (`DispAp`) and of "Listeaza cerere"
    // (`ListCerere`), owned by the list window.
    QMenu *dispositionsMenu() const { return dispositionsMenu_; }
    QMenu *formMenu() const { return formMenu_; }

    DispositionRangeDialog &rangeWindow() const { return *rangeWindow_; }
    SingleDispositionDialog &singleWindow() const { return *singleWindow_; }
    ApplicationRangeDialog &reportsWindow() const { return *reportsWindow_; }
    PaymentStatementDialog &selectionWindow() const { return *selectionWindow_; }
    bool busy() const { return busy_; }

private:
    // Asks for the document's fields (when `ask` is set), then builds it with the list
    // disabled; does nothing while another document of this list is in progress. Runs
    // through RunWindowAction: a Writes command (an inquiry added or deleted) is refused
    // in a view-only run, and a failure is shown.
    void run(const std::function<bool()> &ask, const std::function<void()> &make, ActionKind kind = ActionKind::Reads,
             const QString &title = QString());
    qint64 current() const { return currentNrcrt_ ? currentNrcrt_() : 0; }

    QWidget *list_;
    Ui &ui_;
    std::function<qint64()> currentNrcrt_;
    DispositionRangeDialog *rangeWindow_;
    SingleDispositionDialog *singleWindow_;
    ApplicationRangeDialog *reportsWindow_;
    PaymentStatementDialog *selectionWindow_;
    QMenu *dispositionsMenu_, *formMenu_;
    bool busy_ = false;
};

} // namespace focaris::gui
