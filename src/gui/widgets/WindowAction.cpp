// The one place every command of a window runs through.
#include "gui/widgets/WindowAction.h"

#include "core/Ui.h"
#include "shell/Access.h"

#include <exception>

namespace focaris::gui {

bool RunWindowAction(Ui &ui, const QString &title, ActionKind kind, const std::function<void()> &work)
{
    QString caption = title;
    caption.remove(QLatin1Char('&'));
    if (kind == ActionKind::Writes && shell::RefuseReadOnly(ui, caption))
        return false;
    try {
        if (work)
            work();
        return true;
    } catch (const std::exception &e) {
        ui.progressHide();
        ui.message(QStringLiteral("Eroare"), QString::fromUtf8(e.what()), MessageKind::Error, MessageButton::OK);
    } catch (...) {
        ui.progressHide();
        ui.message(QStringLiteral("Eroare"), QStringLiteral("Eroare neasteptata."), MessageKind::Error,
                   MessageButton::OK);
    }
    return false;
}

std::function<void()> GuardedAction(Ui &ui, const QString &title, std::function<void()> work, ActionKind kind)
{
    return [&ui, title, work = std::move(work), kind] { RunWindowAction(ui, title, kind, work); };
}

} // namespace focaris::gui
