// The main window: a strip across the top of the screen with the six buttons, the working
// month on the right and a two-panel status bar. The working buttons stay hidden until the
// administrator logs in. Each button and menu item runs one named command; the windows of
// each part of the program attach their handlers to the commands, and a caption is only the
// label shown, so rewording it leaves its handler bound. A command without a handler says
// that it is not available yet.
#pragma once

#include "gui/widgets/WindowAction.h"

#include <QDialog>

#include <functional>
#include <map>

class QAction;
class QLabel;
class QMenu;
class QToolButton;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class MainWindow : public QDialog {
    Q_OBJECT
public:
    explicit MainWindow(Ui &ui, QWidget *parent = nullptr);

    // The commands of the buttons ("Perioada", "Cereri", "Administrare"), of the menu
    // "Liste / Formulare" and of the menu "Utilitare".
    enum class Command {
        Period,
        Applications,
        Admin,
        AjpisReport,
        AnpisExport,
        AjpisSuppliers,
        EonSuppliers,
        TreasuryReport,
        PersonsAgeList,
        MembersSituation,
        RiskControl,
        F2201Export,
        Law226,
        Norms1073,
        ApplicationAnnex,
        Backup,
        Suggestions,
        ChangeLog,
        Guide,
        About,
    };

    // Handler of a command; `kind` says whether it changes data (refused in a view-only run).
    void setAction(Command command, std::function<void()> handler, ActionKind kind = ActionKind::Reads);
    // Runs a command as a click would (the keys F1 and F2 use it too), through
    // RunWindowAction under the caption it shows: what it throws is shown and the program
    // goes on.
    void trigger(Command command);
    // The menu item of a command (its object name is the command's English name), nullptr
    // for the commands of the buttons.
    QAction *action(Command command) const;
    // The caption a command shows now, on its button or menu item.
    QString caption(Command command) const;

    // Shows the working buttons and the unlocked picture of "Administrare".
    void unlockAdmin();
    bool periodShown() const;

    void setWorkMode(const QString &text);
    QString workMode() const;
    void setMonth(const QString &monthText);
    QString month() const;

    // Called when the window is about to close, with whether "Perioada" is shown; it asks
    // the closing questions. Not called when the window closes after a restore or a
    // change of folder (closeWithoutQuestions).
    std::function<void(bool periodShown)> onClosing;
    void closeWithoutQuestions();

    QToolButton *button(const QString &objectName) const;
    QMenu *reportsMenu() const { return reports_; }
    QMenu *utilitiesMenu() const { return utilities_; }
    QLabel *statusPanel(int index) const { return index == 0 ? panel1_ : panel2_; }

    // Places the window across the top of the screen, as wide as the screen.
    void spanScreen();

    // Opens a menu below its button (also used by the screenshots).
    void popupBelow(QMenu *menu, QToolButton *button);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    QToolButton *addButton(const QString &name, const QString &caption, const QString &hint, bool visible);
    void addItem(QMenu *menu, Command command, const QString &name, const QString &caption);

    Ui &ui_;
    struct Action {
        std::function<void()> handler;
        ActionKind kind = ActionKind::Reads;
    };
    std::map<Command, Action> actions_;
    std::map<Command, QAction *> items_;
    std::map<Command, QString> buttonOf_;
    QMenu *reports_;
    QMenu *utilities_;
    QLabel *month_;
    QLabel *panel1_;
    QLabel *panel2_;
    bool unlocked_ = false;
    bool skipQuestions_ = false;
};

} // namespace focaris::gui
