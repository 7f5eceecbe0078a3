// The one place every command of a window runs through. A menu item, a button or a key
// hands its work to RunWindowAction, which refuses a command that changes data when the
// run is for viewing only, and turns whatever the work throws into the program's error
// message, so that a failed operation ends itself and never the program.
#pragma once

#include <QString>

#include <functional>

namespace focaris {
class Ui;
}

namespace focaris::gui {

// Whether a command changes the data folder, the shared settings or the remote account.
enum class ActionKind { Reads, Writes };

// Runs `work` as the command `title` (an '&' in it is dropped). A Writes command of a
// view-only run is refused through the access check and not run. An exception out of
// `work` hides the progress window and is shown as the error message "Eroare". True when
// the work ran to its end.
bool RunWindowAction(Ui &ui, const QString &title, ActionKind kind, const std::function<void()> &work);

// The same as a slot for a button's or a menu item's signal:
// connect(button, &QPushButton::clicked, this, GuardedAction(ui_, title, [this] { run(); }));
std::function<void()> GuardedAction(Ui &ui, const QString &title, std::function<void()> work,
                                    ActionKind kind = ActionKind::Reads);

} // namespace focaris::gui
