// Access without the password: when a password is set and the login is accepted with an
// empty entry, the program unlocks for viewing only. Lists, documents, reports and exports
// work; every command that changes data or settings asks RefuseReadOnly first.
#pragma once

#include <QString>

namespace focaris {
class Ui;
}

namespace focaris::shell {

// The text shown to a person without the password, at the login and at every refusal.
QString ReadOnlyText();

// Sets AdminUnlocked, and the read-only flag when `readOnly`.
void UnlockAdmin(bool readOnly);

// Tells that a command of a part of the program still to come is not available yet.
void NotAvailable(Ui &ui, const QString &title);

// When the run is read-only: shows the refusal under `title` and returns true, and the
// command must stop. Otherwise returns false without showing anything.
bool RefuseReadOnly(Ui &ui, const QString &title);

} // namespace focaris::shell
