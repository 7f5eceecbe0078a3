// "Lista Cereri": the applications of the working month in a grid with their count, the
// search on the applicant's name, the order by a click on a title, and the buttons of the
// day's work. The operations run below the window; the window gathers what the person
// chose, calls them and comes back to the application that was current. Each button and
// menu item runs one named command whose English name is its object name; the caption is
// only its label. The editor, the choice of a month and the documents are plugged in from
// outside.
#pragma once

#include "gui/applications/ApplicationsModel.h"
#include "gui/widgets/WindowAction.h"

#include <QDialog>

#include <functional>
#include <map>
#include <utility>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class DatesDialog;
class MonthsDialog;
class NumberingDialog;

class ApplicationsListWindow : public QDialog {
    Q_OBJECT
public:
    explicit ApplicationsListWindow(Ui &ui, QWidget *parent = nullptr);
    ~ApplicationsListWindow() override;

    // Opens the list on the month (code) and shows the window modally.
    void showMonth(int month);
    // Opens the list on the month without showing the window (tests, screenshots).
    bool openMonth(int month);

    // "&Adauga cerere": returns the key of the application stored, 0 when none was.
    std::function<qint64()> onAdd;
    // "&Modifica cerere" on a key: true when the application was stored.
    std::function<bool(qint64 key)> onModify;
    // The choice of another month under a caption: its code, 0 when cancelled.
    std::function<int(const QString &caption)> chooseMonth;
    // True when a working month is chosen (shows its own message when not).
    std::function<bool(const QString &title)> haveMonth;

    // The commands of the buttons and of the menus "Listeaza Dispozitii" and "Listeaza
    // cerere".
    enum class Command {
        AddApplication,
        ModifyApplication,
        DeleteApplication,
        CopyFromMonth,
        RemoveAlsoInMonth,
        NumberDispositions,
        SetDates,
        ChangeMonths,
        SingleDisposition,
        GrantDispositions,
        ModificationDispositions,
        RejectionDispositions,
        Reports,
        FullForm,
        ShortForm,
        PaymentStatement,
        PersonsDbf,
        ExportGrid,
        AddInquiry,
        DeleteInquiry,
        ShowInquiry,
    };
    // A command's English name: the object name of its button or menu item.
    static QString commandName(Command command);
    // The command of a name; throws std::logic_error for a name that is none (a wiring
    // mistake, found at the list's first opening).
    static Command commandNamed(const QString &name);

    // Handler of a command and whether it changes data; without one it says that the
    // command is not available yet. Every command runs through RunWindowAction under the
    // caption it shows (view-only refusal, errors shown); one whose button is disabled
    // does nothing.
    void setAction(Command command, std::function<void()> handler, ActionKind kind = ActionKind::Reads);
    void trigger(Command command);
    // The menu item of a command, nullptr for the commands of the buttons.
    QAction *action(Command command) const;
    // The caption a command shows now, on its button or menu item.
    QString caption(Command command) const;

    // The buttons' work, as a click runs it.
    void addApplication();
    void modifyApplication();
    void deleteApplication();
    void copyFromMonth();
    void removeAlsoInMonth();
    void numberDispositions();
    void setDates();
    void changeMonths();
    void sortByColumn(int column);

    // The application the cursor is on, 0 when none.
    qint64 currentKey() const;
    void selectKey(qint64 key);

    QTableView *grid() const { return grid_; }
    QLineEdit *searchField() const { return search_; }
    QLabel *countLabel() const { return count_; }
    QPushButton *button(const QString &objectName) const;
    ApplicationsModel &model() { return model_; }
    NumberingDialog &numberingDialog() { return *numbering_; }
    DatesDialog &datesDialog() { return *dates_; }
    MonthsDialog &monthsDialog() { return *months_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPushButton *addButton(Command command, const QString &caption, QWidget *parent);
    QPushButton *addMenuButton(const QString &name, const QString &caption,
                               const std::vector<std::pair<Command, QString>> &items);
    QPushButton *button(Command command) const { return button(commandName(command)); }
    // Reopens the query and puts the cursor on `key` (or on the last row when -1).
    bool reopen(qint64 key);
    void updateState();
    bool listEmpty() const;

    Ui &ui_;
    ApplicationsModel model_;
    QTableView *grid_;
    QLineEdit *search_;
    QLabel *count_;
    struct Action {
        std::function<void()> handler;
        ActionKind kind = ActionKind::Reads;
    };
    std::map<Command, Action> actions_;
    std::map<Command, QAction *> items_;
    NumberingDialog *numbering_;
    DatesDialog *dates_;
    MonthsDialog *months_;
};

} // namespace focaris::gui
