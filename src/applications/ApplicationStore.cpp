// The statements that store one application from the editor, and the deletion of one
// application with its members.
#include "applications/ApplicationStore.h"

#include "admin/AidParameters.h"
#include "applications/AidCalculation.h"
#include "applications/ApplicationEditor.h"
#include "applications/DistinctLists.h"
#include "applications/EditorRows.h"
#include "core/ChangeLog.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Formats.h"
#include "core/Keys.h"
#include "core/TableLock.h"
#include "core/TempFiles.h"
#include "core/Ui.h"
#include "engines/common/FileNames.h"

#include <QFile>
#include <QFileInfo>

#include <utility>
#include <vector>

namespace focaris {

namespace {

QString flag(bool on)
{
    return on ? QStringLiteral("\"X\"") : QStringLiteral("\"\"");
}
QString num(Amount a)
{
    return FormatNumber(a);
}
QString typed(const QString &field)
{
    return FormatNumber(FieldNumber(field));
}

// The columns of one stored application and their values, in the order of the INSERT.
std::vector<std::pair<QString, QString>> columnValues(const ApplicationEditor &e, const ApplicationFields &f,
                                                      const SupplementData &g, const SupplementData &el,
                                                      const QString &stCiv, const QString &sitScol)
{
    ApplicationInput in;
    in.members = int(FieldWhole(f.NrMembri));
    in.totalIncome = FieldNumber(f.VenitTotal);
    // A kept status ("INCETAT", "MODIFICAT") is computed like the approval it followed, so
    // that saving it unchanged keeps its amounts and supplements; only a rejection has none.
    const bool rejected = f.StatutD == QLatin1String("RESPINS");
    in.status = rejected ? f.StatutD : QStringLiteral("APROBAT");
    in.heatingAid = f.CuAjut;
    in.rooms = int(FieldWhole(f.NrCam));
    in.tariff = FieldNumber(f.Tarif);
    in.months = int(FieldWhole(f.Nr_Luni));
    const ApplicationAmounts a = CalculeazaCerere(in, LoadAidParameters());
    const int monthIndex = std::clamp(f.LunaDec.toInt(), 1, 12) - 1;
    const QString date = f.DataCereD.isValid() ? SqlText(FormatDate(f.DataCereD)) : QStringLiteral("NULL");
    return {
        {"LUNADEC", QString::number(monthIndex + FieldWhole(f.AnulDec) * 12)},
        {"SUBSEMN", SqlText(f.SubSemn)},
        {"CNP", SqlText(f.CNPSol)},
        {"LOCALIT", SqlText(f.Localit)},
        {"ADRESA", SqlText(f.Adresa)},
        {"NR_MEMBRI", typed(f.NrMembri)},
        {"TVENIT", typed(f.VenitTotal)},
        {"VENITM", num(a.venitm)},
        {"L416", flag(f.L416)},
        {"ASF", flag(f.ASF)},
        {"ASOC", SqlText(f.Asoc)},
        {"NRCONT", SqlText(f.NrCont)},
        {"CUAJUT", flag(f.CuAjut)},
        {"SUMAL", num(rejected ? Amount() : e.sumaL())},
        {"TITG", SqlText(g.Titular)},
        {"CNPG", SqlText(g.CNP)},
        {"FURNG", SqlText(g.Furnizor)},
        {"CODCLG", SqlText(g.CodClient)},
        {"PODG", SqlText(g.POD)},
        {"SUMAG", num(rejected ? Amount() : e.sumaG())},
        {"TITE", SqlText(el.Titular)},
        {"CNPE", SqlText(el.CNP)},
        {"FURNE", SqlText(el.Furnizor)},
        {"CODCLE", SqlText(el.CodClient)},
        {"PODE", SqlText(el.POD)},
        {"SUMAE", num(rejected ? Amount() : e.sumaE())},
        {"TITT", SqlText(f.TitT)},
        {"CNPT", SqlText(f.CNPT)},
        {"FURNT", SqlText(f.Furnizor)},
        {"CODCLT", SqlText(f.CodClient)},
        {"SUMAT", num(rejected ? Amount() : e.sumaT())},
        {"CUANTUM", num(a.cuantum)},
        {"NR_LUNI", QString::number(FieldWhole(f.Nr_Luni))},
        {"TOTAL", num(a.total)},
        {"NR_DISP", "\"\""},
        {"NR_CERE", QString::number(FieldWhole(f.Nr_Cere))},
        {"DATACERE", date},
        {"STATUT", SqlText(f.StatutD)},
        {"CUMODIF", flag(f.CuModif && f.StatutD == QLatin1String("APROBAT"))},
        {"MOTIVR", SqlText(f.StatutD != QLatin1String("APROBAT") ? f.MotivC : QString())},
        {"STCIV", SqlText(stCiv)},
        {"SITSCOL", SqlText(sitScol)},
        {"NRCAM", QString::number(FieldWhole(f.NrCam))},
        {"TARIF", typed(f.Tarif)},
        {"VALMAX", num(a.valmax)},
        {"ASIG", flag(f.Asig)},
        {"COPII14", typed(f.Copii14)},
        {"COPII18", typed(f.Copii18)},
        {"SITPROF", SqlText(f.SitProf)},
    };
}

// True when a row of `table` holds `key` in `column`.
bool keyInUse(const QString &table, const QString &column, qint64 key)
{
    return !QuerySql(QStringList{"SELECT " + column + " FROM " + Quoted(TablePath(table)),
                                 "WHERE " + column + "=" + QString::number(key)})
                .empty();
}

[[noreturn]] void refuseKeyInUse(const QString &what, qint64 key)
{
    throw std::runtime_error(("Cheia " + what + " " + QString::number(key) +
                              " este deja folosita in baza de date.\rCererea NU a fost memorata; "
                              "memorati-o din nou (se ia o cheie noua).")
                                 .toStdString());
}

} // namespace

// The values of the suggestion lists an application stored brings.
static QHash<QString, QString> listValues(const ApplicationEditor &e)
{
    return {{"LOCALIT", e.fields().Localit},
            {"FURNT", e.fields().Furnizor},
            {"ASOC", e.fields().Asoc},
            {"FURNG", e.supplement(SupplementKind::Gas).Furnizor},
            {"FURNE", e.supplement(SupplementKind::Electricity).Furnizor}};
}

qint64 ApplicationStore::store(const ApplicationEditor &editor)
{
    if (editor.mode() == EditorMode::Add)
        return insert(editor);
    update(editor);
    return editor.key();
}

static QString storedCode(const QString &text, const QStringList &texts, const QStringList &codes,
                          const QString &loaded)
{
    return text.isEmpty() ? loaded : CodeOfText(texts, codes, text);
}

qint64 ApplicationStore::insert(const ApplicationEditor &e)
{
    const ApplicationFields &f = e.fields();
    const auto values = columnValues(e, f, e.gas_, e.electricity_,
                                     storedCode(f.StCiv, CivilStatusTexts(), CivilStatusCodes(), e.loadedStCiv_),
                                     storedCode(f.SitScol, SchoolingTexts(), SchoolingCodes(), e.loadedSitScol_));
    // Taking the key and writing the rows happen under the applications' write lock; a
    // key found in use (a counter set back by hand, or a folder copied over) is refused
    // rather than written a second time.
    TableWriteLock lock(&ui_);
    const qint64 key = NextKey("NRCRT").truncated();
    if (keyInUse("Cereri.dbf", "NRCRT", key) || keyInUse("Oameni.dbf", "NRCRT", key))
        refuseKeyInUse("cererii", key);
    const QString temp = Quoted(e.membersTable());
    const sql::ResultSet memberKeys = QuerySql("SELECT NROM FROM " + temp);
    for (std::size_t i = 0; i < memberKeys.rowCount(); ++i)
        if (const qint64 nrom = RowReader(memberKeys, i).whole("NROM"); keyInUse("Oameni.dbf", "NROM", nrom))
            refuseKeyInUse("membrului", nrom);
    QStringList names{"NRCRT", "LUNACRT"};
    QStringList vals{QString::number(key), QString::number(WorkingMonthCode())};
    for (const auto &[column, value] : values) {
        names << column;
        vals << value;
    }
    QStringList lines{"INSERT INTO " + Quoted(TablePath("Cereri.dbf")), "(" + names.join(", ") + ")", "VALUES("};
    for (qsizetype i = 0; i < vals.size(); ++i)
        lines << vals[i] + (i + 1 < vals.size() ? "," : "");
    lines << ")";
    // The members typed for the new application move from the temporary table first, and
    // the application follows: a process ended between the two leaves members without an
    // application, which the next start drops, never an application without its members.
    ExecSql(QStringList{"UPDATE " + temp, "SET NRCRT=" + QString::number(key)});
    ExecSql(
        QStringList{"INSERT INTO " + Quoted(TablePath("Oameni.dbf")) + " (NROM, NRCRT, TITULAR, CNP, VENIT, CALITATE)",
                    "SELECT NROM, NRCRT, TITULAR, CNP, VENIT, CALITATE", "FROM " + temp});
    const TableStamp before = ApplicationsStamp();
    try {
        ExecSql(lines);
    } catch (...) {
        // The application could not be written: its members go again, so that a retry
        // is not refused and no member stays without its application.
        ExecSql(QStringList{"DELETE FROM " + Quoted(TablePath("Oameni.dbf")), "WHERE NRCRT=" + QString::number(key)});
        throw;
    }
    NoteApplicationsWrite(before, listValues(e));
    NoteTariffWrite(before, WorkingMonthCode(), f.Furnizor, typed(f.Tarif), true);
    TryDeleteFile(e.membersTable());
    WriteLog("Adaugare Cerere " + QString::number(FieldWhole(f.Nr_Cere)) + " - " + f.SubSemn);
    return key;
}

void ApplicationStore::update(const ApplicationEditor &e)
{
    const ApplicationFields &f = e.fields();
    // The question about the applicant's kept document comes first; the document goes
    // only once the new values are stored.
    const QString document = QString::fromStdString(
        files::resolveCaseInsensitive((DataFolder() + "/C" + e.originalCnp() + ".rtf").toStdString()).string());
    const bool removeDocument =
        !e.originalCnp().isEmpty() && QFileInfo(document).isFile() &&
        ui_.message("Modificare Cerere", "\rStergem cererea anterioara?", MessageKind::Confirmation,
                    MessageButton::Da | MessageButton::Nu) == MessageResult::Da;

    const auto values = columnValues(e, f, e.gas_, e.electricity_,
                                     storedCode(f.StCiv, CivilStatusTexts(), CivilStatusCodes(), e.loadedStCiv_),
                                     storedCode(f.SitScol, SchoolingTexts(), SchoolingCodes(), e.loadedSitScol_));
    static const QStringList order{
        "LUNADEC", "SUBSEMN", "CNP",     "ADRESA",  "LOCALIT",  "NR_MEMBRI", "TVENIT",  "VENITM", "L416",  "ASF",
        "ASOC",    "NRCONT",  "CUAJUT",  "SUMAL",   "TITG",     "CNPG",      "FURNG",   "CODCLG", "PODG",  "SUMAG",
        "TITE",    "CNPE",    "FURNE",   "CODCLE",  "PODE",     "SUMAE",     "TITT",    "CNPT",   "FURNT", "CODCLT",
        "SUMAT",   "CUANTUM", "NR_LUNI", "NR_CERE", "DATACERE", "STATUT",    "CUMODIF", "MOTIVR", "STCIV", "SITSCOL",
        "NRCAM",   "TARIF",   "VALMAX",  "TOTAL",   "ASIG",     "COPII14",   "COPII18", "SITPROF"};
    QStringList lines{"UPDATE " + Quoted(TablePath("Cereri.dbf"))};
    for (qsizetype i = 0; i < order.size(); ++i) {
        QString value;
        for (const auto &[column, v] : values)
            if (column == order[i])
                value = v;
        lines << (i == 0 ? "SET " : "") + order[i] + "=" + value + (i + 1 < order.size() ? "," : "");
    }
    lines << "WHERE NRCRT=" + QString::number(e.key());
    // One row is written (the UPDATE rewrites only the row of this key), under the lock
    // that keeps the month's operations over many rows from interleaving with it.
    TableWriteLock lock(&ui_);
    const TableStamp before = ApplicationsStamp();
    ExecSql(lines);
    NoteApplicationsWrite(before, listValues(e));
    NoteTariffWrite(before, -1, {}, {}, false);

    if (removeDocument)
        removeKeptDocument(document);
    WriteLog("Modificare Cerere " + QString::number(FieldWhole(f.Nr_Cere)) + " - " + f.SubSemn);
}

void ApplicationStore::removeKeptDocument(const QString &path)
{
    // A document open in another program is left where it is, and the person is told.
    if (!TryDeleteFile(path))
        ui_.message("Modificare Cerere",
                    "\rDocumentul " + QFileInfo(path).fileName() +
                        " este deschis in alt program si nu a fost sters.\rInchideti-l si stergeti-l mai tarziu.",
                    MessageKind::Warning, MessageButton::OK);
}

bool ApplicationStore::remove(qint64 nrcrt, bool ask)
{
    const sql::ResultSet r =
        QuerySql(QStringList{"SELECT NR_CERE, DATACERE, SUBSEMN FROM " + Quoted(TablePath("Cereri.dbf")),
                             "WHERE NRCRT=" + QString::number(nrcrt)});
    if (r.empty())
        return false;
    const RowReader row(r, 0);
    if (ask && ui_.message("Stergere cerere", "\rDoriti sa stergem cererea lui " + row.text("SUBSEMN") + "?",
                           MessageKind::Warning, MessageButton::Da | MessageButton::Nu) != MessageResult::Da)
        return false;
    TableWriteLock lock(&ui_);
    const QString logText = "Stergere Cerere " + row.number("NR_CERE") + "/" + FormatDate(row.date("DATACERE")) +
                            " - " + row.text("SUBSEMN");
    // The application goes first and its members after it: a process ended between the
    // two leaves members without an application, which the next start drops. The log row
    // follows the removal it tells of.
    // The suggestion lists may keep a value no application uses any more: they only suggest.
    const TableStamp before = ApplicationsStamp();
    ExecSql(QStringList{"DELETE FROM " + Quoted(TablePath("Cereri.dbf")), "WHERE NRCRT=" + QString::number(nrcrt)});
    NoteApplicationsWrite(before, {});
    NoteTariffWrite(before, -1, {}, {}, false);
    ExecSql(QStringList{"DELETE FROM " + Quoted(TablePath("Oameni.dbf")), "WHERE NRCRT=" + QString::number(nrcrt)});
    WriteLog(logText);
    return true;
}

} // namespace focaris
