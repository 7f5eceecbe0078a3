// Login and password change.
#include "shell/Passwords.h"

#include "admin/Password.h"
#include "core/Context.h"
#include "core/Settings.h"
#include "core/TextRules.h"
#include "core/Ui.h"
#include "shell/Access.h"

namespace focaris::shell {
namespace {

const QString kInit = QStringLiteral("INIT");
const QString kWin = QStringLiteral("WIN");

} // namespace

bool PasswordSet()
{
    return !ReadSetting(kInit, kWin).isEmpty();
}

AdminClick ClickAdmin(Ui &ui)
{
    if (AdminUnlocked())
        return AdminClick::OpenWindow;
    const QString stored = ReadSetting(kInit, kWin);
    if (stored.isEmpty()) {
        ui.message(QStringLiteral("Administrare"), QStringLiteral("\rATENTIE!\rNu aveti nicio parola!"),
                   MessageKind::Warning, MessageButton::OK);
        UnlockAdmin(false);
        return AdminClick::Unlocked;
    }
    QString entry;
    if (!ui.askText(QStringLiteral("Autentificare"), QStringLiteral("Introduceti parola"), entry, true))
        return AdminClick::Cancelled;
    if (entry.isEmpty()) {
        UnlockAdmin(true);
        ui.message(QStringLiteral("Bine ati venit!"), ReadOnlyText(), MessageKind::Warning, MessageButton::OK);
        return AdminClick::UnlockedReadOnly;
    }
    if (ScramblePassword(entry) == stored) {
        UnlockAdmin(false);
        return AdminClick::Unlocked;
    }
    ui.message(QStringLiteral("Greseala!"), QStringLiteral("PAROLA INCORECTA !"), MessageKind::Error,
               MessageButton::OK);
    return AdminClick::WrongPassword;
}

PasswordChange ChangePassword(Ui &ui, const QString &newPassword, const QString &again)
{
    if (RefuseReadOnly(ui, QStringLiteral("Schimbare parola")))
        return PasswordChange::Refused;
    const QString title = QStringLiteral("Eroare la completare");
    if (newPassword != again) {
        ui.message(title, QStringLiteral("Nu ati scris parola noua la fel in cele doua casute !"), MessageKind::Error,
                   MessageButton::OK);
        return PasswordChange::Mismatch;
    }
    if (!newPassword.isEmpty()) {
        WriteSetting(kInit, kWin, ScramblePassword(newPassword));
        ui.message(QStringLiteral("Confirmare"), QStringLiteral("\rParola a fost schimbata cu succes!"),
                   MessageKind::Information, MessageButton::OK);
        return PasswordChange::Changed;
    }
    if (ui.message(title, QStringLiteral("ATENTIE !\rDoriti sa dezactivati parola de administrator?"),
                   MessageKind::Warning, MessageButton::Da | MessageButton::Nu) == MessageResult::Da) {
        WriteSetting(kInit, kWin, QString());
        return PasswordChange::Disabled;
    }
    return PasswordChange::Kept;
}

bool AcceptNewPassword(Ui &ui, QString &entry, QObject *control)
{
    entry = CleanText(entry);
    if (entry.isEmpty()) {
        ui.fieldHint(QStringLiteral("Nu ati scris nicio parola!"), control);
        return false;
    }
    return true;
}

} // namespace focaris::shell
