// The member buttons of the editor (written to the members table at once, with the
// member dialog's checks) and the check of the supplement dialog's "&Memoreaza".
#include "applications/ApplicationEditor.h"

#include "applications/Cnp.h"
#include "applications/DistinctLists.h"
#include "applications/EditorRows.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Formats.h"
#include "core/Keys.h"
#include "core/TableLock.h"
#include "core/Tables.h"
#include "core/TextRules.h"
#include "core/Ui.h"

#include <memory>

namespace focaris {

std::vector<MemberRow> ApplicationEditor::members() const
{
    std::vector<MemberRow> out;
    if (membersTable_.isEmpty())
        return out;
    const sql::ResultSet r = QuerySql(
        QStringList{"SELECT * FROM " + Quoted(membersTable_), "WHERE NRCRT=" + QString::number(key_), "ORDER BY NROM"});
    for (std::size_t i = 0; i < r.rowCount(); ++i) {
        const RowReader row(r, i);
        out.push_back({row.whole("NROM"), row.whole("NRCRT"), row.text("TITULAR"), row.text("CNP"), row.amount("VENIT"),
                       row.text("CALITATE")});
    }
    return out;
}

MemberFields ApplicationEditor::memberPreset() const
{
    MemberFields m;
    const QString name = CleanField(f_.SubSemn);
    if (members().empty()) {
        m.Titular = name;
        m.CNP = f_.CNPSol;
    } else {
        // The family name and a blank, ready for the given name of the next member.
        const qsizetype blank = name.indexOf(' ');
        m.Titular = blank < 0 ? QString() : name.left(blank + 1);
    }
    return m;
}

// The member dialog's checks: a name, a valid CNP, and no other member of a stored
// application of the working month with that CNP (the member being modified excepted).
static EditorRefusal checkMember(MemberFields &m, qint64 exceptNrom)
{
    m.Venit = FormatNumber(FieldNumber(m.Venit));
    m.Titular = CleanField(m.Titular);
    if (m.Titular.isEmpty())
        return {"Lipseste numele omului!", "Titular"};
    if (!cnp::IsValid(m.CNP))
        return {"CNP aiurit!", "CNP"};
    const std::vector<MonthMember> found = MembersInMonth(m.CNP, WorkingMonthCode(), exceptNrom, false);
    if (!found.empty())
        return {"CNP existent la Membru, cererea nr." + found[0].nrCere + "/" + FormatDate(found[0].dataCere), "CNP"};
    return {};
}

// A member of an application already stored is written straight into the members table,
// under the applications' write lock; a new application's members wait in its own
// temporary table, which nobody else writes.
static std::unique_ptr<TableWriteLock> lockShared(Ui &ui, const QString &membersTable)
{
    if (membersTable != TablePath("Oameni.dbf"))
        return nullptr;
    return std::make_unique<TableWriteLock>(&ui);
}

ApplicationEditor::MemberOutcome ApplicationEditor::addMember(MemberFields m)
{
    MemberOutcome out;
    out.refusal = checkMember(m, 0);
    if (out.refusal.refused())
        return out;
    const QString role = MemberRoles().contains(m.Calitate) ? m.Calitate : MemberRoles().first();
    const auto lock = lockShared(ui_, membersTable_);
    out.nrom = NextKey("NROM").truncated();
    if (lock &&
        !QuerySql("SELECT NROM FROM " + Quoted(membersTable_) + " WHERE NROM=" + QString::number(out.nrom)).empty()) {
        out.refusal = {"Cheia membrului " + QString::number(out.nrom) +
                           " este deja folosita in baza de date! Adaugati membrul din nou.",
                       "Titular"};
        return out;
    }
    ExecSql(QStringList{"INSERT INTO " + Quoted(membersTable_) + " (NROM, NRCRT, TITULAR, CNP, VENIT, CALITATE)",
                        QString("VALUES (%1, %2, %3, %4, %5, %6)")
                            .arg(out.nrom)
                            .arg(key_)
                            .arg(SqlText(m.Titular), SqlText(m.CNP), m.Venit, SqlText(role))});
    recount();
    return out;
}

ApplicationEditor::MemberOutcome ApplicationEditor::modifyMember(qint64 nrom, MemberFields m)
{
    MemberOutcome out;
    out.refusal = checkMember(m, nrom);
    if (out.refusal.refused())
        return out;
    const QString role = MemberRoles().contains(m.Calitate) ? m.Calitate : MemberRoles().first();
    const auto lock = lockShared(ui_, membersTable_);
    ExecSql(QStringList{"UPDATE " + Quoted(membersTable_),
                        "SET TITULAR=" + SqlText(m.Titular) + ", CNP=" + SqlText(m.CNP) + ", VENIT=" + m.Venit +
                            ", CALITATE=" + SqlText(role),
                        "WHERE NROM=" + QString::number(nrom)});
    out.nrom = nrom;
    recount();
    return out;
}

bool ApplicationEditor::deleteMember(qint64 nrom)
{
    // Without a member there is nothing to ask about.
    QString name;
    bool found = false;
    for (const MemberRow &m : members())
        if (m.nrom == nrom) {
            name = m.titular;
            found = true;
        }
    if (!found)
        return false;
    if (ui_.message("Stergere Membru", "Stergeti pe " + name + " ?", MessageKind::Confirmation,
                    MessageButton::Da | MessageButton::Nu) != MessageResult::Da)
        return false;
    const auto lock = lockShared(ui_, membersTable_);
    ExecSql(QStringList{"DELETE FROM " + Quoted(membersTable_), "WHERE NROM=" + QString::number(nrom)});
    recount();
    return true;
}

QStringList ApplicationEditor::supplementSuppliers(SupplementKind kind) const
{
    return DistinctApplicationValues("FURN" + SupplementLetter(kind));
}

ApplicationEditor::SupplementOutcome ApplicationEditor::checkSupplement(SupplementKind kind, SupplementData &d) const
{
    SupplementOutcome out;
    d.Titular = CleanField(d.Titular);
    d.Furnizor = CleanField(d.Furnizor);
    d.CodClient = CleanField(d.CodClient);
    d.POD = CleanField(d.POD);
    if (d.Titular.isEmpty()) {
        out.refusal = {"Lipseste Titularul de contract!", "Titular"};
        return out;
    }
    if (!cnp::IsValid(d.CNP)) {
        out.refusal = {"CNP incorect!", "CNP"};
        return out;
    }
    if (d.Furnizor.isEmpty()) {
        out.refusal = {"Lipseste Furnizorul!", "Furnizor"};
        return out;
    }
    const QString k = SupplementLetter(kind);
    const sql::ResultSet r = QuerySql(QStringList{
        "SELECT SUBSEMN, NR_CERE, DATACERE, CODCL" + k + " AS CODCL", ",POD" + k + " AS POD",
        "FROM " + Quoted(TablePath("Cereri.dbf")), "WHERE LUNACRT=" + QString::number(WorkingMonthCode()),
        "AND (NRCRT IS NULL OR NRCRT<>" + QString::number(key_) + ")", "AND FURN" + k + "=" + SqlText(d.Furnizor),
        "AND (CODCL" + k + "=" + SqlText(d.CodClient), "OR POD" + k + "=" + SqlText(d.POD), ")"});
    if (!r.empty()) {
        const RowReader row(r, 0);
        const bool sameCode = row.text("CODCL") == d.CodClient;
        const bool samePod = row.text("POD") == d.POD;
        QString what;
        if (sameCode)
            what = samePod ? QStringLiteral("acelasi Cod de client si acelasi CLC (POD)")
                           : QStringLiteral("acelasi Cod de client");
        else
            what = QStringLiteral("acelasi CLC (POD)");
        const QString text = "Mai exista " + what + "\r" + "la Cererea " + row.number("NR_CERE") + "/" +
                             FormatDate(row.date("DATACERE")) + " - " + row.text("SUBSEMN") + "!" + "\r" +
                             "Continuam asa?";
        if (ui_.message("Verificare Coduri", text, MessageKind::Warning, MessageButton::Da | MessageButton::Nu) !=
            MessageResult::Da)
            return out;
    }
    out.saved = true;
    return out;
}

} // namespace focaris
