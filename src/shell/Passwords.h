// The administrator password: the "Administrare" button's login, the password change of
// the administration window and the acceptance rule of the new-password dialog. The
// password is kept scrambled under "INIT" / "WIN" of the shared settings file, so a change
// holds at once for every computer of the data folder.
#pragma once

#include <QString>

class QObject;

namespace focaris {
class Ui;
}

namespace focaris::shell {

// What a click on "Administrare" led to.
enum class AdminClick {
    OpenWindow,       // already unlocked: the caller opens the administration window
    Unlocked,         // no password stored, or the right one typed: now unlocked
    UnlockedReadOnly, // accepted with an empty entry: unlocked for viewing only
    WrongPassword,    // stays locked
    Cancelled,        // the login was closed: nothing happens
};

// The "Administrare" button. Unlocking sets AdminUnlocked (and, for an empty entry, the
// read-only flag) in the working context; the caller then shows the working buttons.
// The first successful click only unlocks; the window opens at the next click.
AdminClick ClickAdmin(Ui &ui);

// True when the stored password is not empty.
bool PasswordSet();

// What "&Schimba parola" did.
enum class PasswordChange { Mismatch, Changed, Disabled, Kept, Refused };
// Compares the two fields and stores the new password at once (it does not wait for
// "Memoreaza si inchide"); both fields empty asks whether to switch the password off.
// A person without the password is refused. The caller empties both fields on Changed.
PasswordChange ChangePassword(Ui &ui, const QString &newPassword, const QString &again);

// The new-password dialog's "&Memoreaza": cleans the entry; an empty one is refused with a
// field hint at `control` and false.
bool AcceptNewPassword(Ui &ui, QString &entry, QObject *control);

} // namespace focaris::shell
