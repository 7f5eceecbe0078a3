// Read-only access.
#include "shell/Access.h"

#include "core/Context.h"
#include "core/Ui.h"

namespace focaris::shell {

QString ReadOnlyText()
{
    return QStringLiteral("Nu aveti dreptul sa modificati datele!");
}

void UnlockAdmin(bool readOnly)
{
    SetAdminUnlocked(true);
    SetReadOnlyAccess(readOnly);
}

void NotAvailable(Ui &ui, const QString &title)
{
    ui.message(title, QStringLiteral("\rAceasta functie nu este inca disponibila."), MessageKind::Information,
               MessageButton::OK);
}

bool RefuseReadOnly(Ui &ui, const QString &title)
{
    if (!ReadOnlyAccess())
        return false;
    ui.message(title, ReadOnlyText(), MessageKind::Warning, MessageButton::OK);
    return true;
}

} // namespace focaris::shell
