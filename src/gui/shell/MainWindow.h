// The main window: a strip across the top of the screen with the six buttons, the working
// month on the right and a two-panel status bar. The working buttons stay hidden until the
// administrator logs in. Commands are plugged in by caption, so that the windows of each
// part of the program attach themselves; a command without a handler says that it is not
// available yet.
#pragma once

#include "gui/widgets/WindowAction.h"

#include <QDialog>
#include <QHash>

#include <functional>

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

    // Handler of a button ("Perioada", "Cereri", "Administrare") or menu item, by caption;
    // `kind` says whether it changes data (refused in a view-only run).
    void setAction(const QString &caption, std::function<void()> handler, ActionKind kind = ActionKind::Reads);
    // Runs the action of a caption as a click would (the keys F1 and F2 use it too),
    // through RunWindowAction: what it throws is shown and the program goes on.
    void trigger(const QString &caption);

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
    void addItem(QMenu *menu, const QString &caption);
    void notAvailable(const QString &caption);

    Ui &ui_;
    struct Action {
        std::function<void()> handler;
        ActionKind kind = ActionKind::Reads;
    };
    QHash<QString, Action> actions_;
    QHash<QString, QToolButton *> buttons_;
    QMenu *reports_;
    QMenu *utilities_;
    QLabel *month_;
    QLabel *panel1_;
    QLabel *panel2_;
    bool unlocked_ = false;
    bool skipQuestions_ = false;
};

} // namespace focaris::gui
