// The administration window's values as the window shows them (texts of the numeric
// fields included, so that what was stored is shown back as it was), loaded from and
// stored into the shared settings file, and the checks of "Memoreaza si inchide".
#pragma once

#include "admin/Municipality.h"

#include <QString>

#include <array>

namespace focaris {

struct AdminForm {
    Municipality identity;
    std::array<QString, 11> lim; // Lim1..Lim11 as typed
    std::array<QString, 11> cu;  // Cu1..Cu11
    int indL = 20, indG = 10, indT = 10, indE = 30, indE2 = 70;
    std::array<QString, 4> cl; // CL1..CL4, shortest decimal form
    QString caleServer;        // network folder label; "-" when unset
    QString caleSalvari;       // automatic save folder label; "-" when switched off
    QString serverCopii;       // the backup server as "host:port" ("Local.set"); empty: none

    // The window's design values.
    AdminForm();
};

// Fills the form from the settings in force: the folder labels, the identity, and the aid
// parameters, where a key that is absent (or, for the numbers, not a number) leaves the
// form's current value. Run at start-up and each time the window closes, so that edits
// not stored are dropped.
void LoadAdminSettings(AdminForm &form);
// Stores the identity as texts and the aid parameters as numbers.
void SaveAdminSettings(const AdminForm &form);

// The folder labels of the form: SERVER ("-" when empty) and CALESALVARI, which gets its
// default folder when absent or empty (stored when found; "-" and not stored otherwise).
void LoadFolderLabels(AdminForm &form);
// The backup server's address as typed: a host name or IPv4 address, optionally ":" and a
// port from 1 to 65535. Empty is fine (no remote copy).
bool PlausibleServerAddress(const QString &text);
// The default automatic save folder: "Salvari_Date" in the first of the candidate roots
// where it exists or can be created; empty when none qualifies. The roots are those of
// FOCARIS_SAVE_ROOTS (separated by ':') when set, else the user's home folder.
QString DefaultSaveFolder();

// The field a check of "Memoreaza si inchide" rejected, with its hint.
enum class AdminField { None, Localit, Judet, CodFiscal, ServerCopii };
struct AdminCheck {
    AdminField field = AdminField::None;
    QString hint;
    bool ok() const { return field == AdminField::None; }
};

// "Memoreaza si inchide": cleans the name, fiscal code and county code, checks them in
// order, derives the county code when it is empty, and stores the form when every check
// passes. On a failure nothing is stored and the form keeps what was typed.
AdminCheck StoreAdminForm(AdminForm &form);

} // namespace focaris
