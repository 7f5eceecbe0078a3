// The editor's openings, the CNP look-up, the reactions of single fields and the held
// supplement data. The member buttons and the supplement check are in EditorMembers.cpp,
// "&Memoreaza" in EditorSave.cpp.
#include "applications/ApplicationEditor.h"

#include "admin/AidParameters.h"
#include "applications/AidCalculation.h"
#include "applications/Cnp.h"
#include "applications/DistinctLists.h"
#include "applications/EditorRows.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Formats.h"
#include "core/Keys.h"
#include "core/Settings.h"
#include "core/Tables.h"
#include "core/TempFiles.h"
#include "core/TextRules.h"

#include <QDate>
#include <QFile>

namespace focaris {

ApplicationEditor::ApplicationEditor(Ui &ui) : ui_(ui) {}

void ApplicationEditor::fillLists()
{
    localities_ = DistinctApplicationValues("LOCALIT");
    suppliers_ = DistinctApplicationValues("FURNT");
    associations_ = DistinctApplicationValues("ASOC");
    reasons_ = ReadReasons();
}

void ApplicationEditor::resetFields()
{
    // The date, the two lists of the risk-based control and the status keep what the
    // window showed last; everything else starts again.
    ApplicationFields kept = f_;
    f_ = ApplicationFields();
    f_.DataCereD = firstOpening_ ? QDate::currentDate() : kept.DataCereD;
    f_.StCiv = kept.StCiv;
    f_.SitScol = kept.SitScol;
    // A status kept from a stored application (one the list does not offer) is not
    // carried into a new one.
    f_.StatutD = StatusTexts().contains(kept.StatutD) ? kept.StatutD : QStringLiteral("APROBAT");
    f_.Actualizare = kept.Actualizare;
    firstOpening_ = false;
    f_.Nr_Cere = PeekKeyText("NR_CERE");

    const QString lunaI = ReadSetting("CONSTANTE", "LunaI");
    bool ok = false;
    int index = lunaI.trimmed().toInt(&ok);
    if (!ok || index < 0 || index > 11)
        index = 10;
    f_.LunaDec = QStringLiteral("%1").arg(index + 1, 2, 10, QChar('0'));
    const QString anulI = ReadSetting("CONSTANTE", "AnulI").trimmed();
    f_.AnulDec = anulI.isEmpty() ? QString::number(QDate::currentDate().year()) : anulI;
    const QString perI = ReadSetting("CONSTANTE", "PerI").trimmed();
    f_.Nr_Luni = perI.isEmpty() ? QStringLiteral("5") : perI;

    gas_ = SupplementData();
    electricity_ = SupplementData();
    sumaL_ = sumaG_ = sumaE_ = sumaT_ = Amount();
    loadedStCiv_.clear();
    loadedSitScol_.clear();
}

void ApplicationEditor::openAdd()
{
    mode_ = EditorMode::Add;
    key_ = -2;
    saved_ = false;
    originalCnp_.clear();
    fillLists();
    resetFields();
    membersTable_ = NewTempFile("FOm", ".dbf");
    if (membersTable_.isEmpty())
        throw std::runtime_error("Nu se poate crea tabela temporara a membrilor.");
    CreateMembersTable(membersTable_);
    f_.Actualizare = PeekKey("ACTUALIZARE") > Amount(1);
}

bool ApplicationEditor::openModify(qint64 nrcrt)
{
    const sql::ResultSet r = QuerySql(
        QStringList{"SELECT * FROM " + Quoted(TablePath("Cereri.dbf")), "WHERE NRCRT=" + QString::number(nrcrt)});
    if (r.empty())
        return false;
    mode_ = EditorMode::Modify;
    key_ = nrcrt;
    saved_ = false;
    fillLists();
    resetFields();
    membersTable_ = TablePath("Oameni.dbf");
    ++loading_;
    loadRow(r, 0);
    --loading_;
    return true;
}

void ApplicationEditor::loadRow(const sql::ResultSet &r, std::size_t i)
{
    const RowReader row(r, i);
    f_.CNPSol = row.text("CNP");
    originalCnp_ = f_.CNPSol;
    f_.SubSemn = row.text("SUBSEMN");
    f_.Nr_Cere = row.number("NR_CERE");
    f_.DataCereD = row.date("DATACERE");
    const qint64 lunadec = row.whole("LUNADEC");
    f_.LunaDec = QStringLiteral("%1").arg(int(lunadec % 12) + 1, 2, 10, QChar('0'));
    f_.AnulDec = QString::number(lunadec / 12);
    f_.Nr_Luni = row.number("NR_LUNI");
    f_.Localit = row.text("LOCALIT");
    f_.Adresa = row.text("ADRESA");
    f_.NrMembri = row.number("NR_MEMBRI");
    f_.VenitTotal = row.number("TVENIT");
    f_.TitT = row.text("TITT");
    f_.CNPT = row.text("CNPT");
    f_.Furnizor = row.text("FURNT");
    f_.CodClient = row.text("CODCLT");
    f_.NrCont = row.text("NRCONT");
    f_.Asoc = row.text("ASOC");
    f_.Tarif = row.number("TARIF");
    const QString statut = row.text("STATUT");
    // A status the list does not offer ("INCETAT", "MODIFICAT", written by other programs)
    // stays as stored unless the clerk chooses another; the window offers it for this opening.
    f_.StatutD = statut.isEmpty() ? StatusTexts().first() : statut;
    f_.MotivC = f_.StatutD == QLatin1String("APROBAT") ? QString() : row.text("MOTIVR");
    f_.CuModif = row.flag("CUMODIF");
    f_.L416 = row.flag("L416");
    f_.ASF = row.flag("ASF");
    // A code that matches no entry of its list shows no selection and is stored again as
    // it was, unless another entry is chosen.
    loadedStCiv_ = row.text("STCIV");
    loadedSitScol_ = row.text("SITSCOL");
    f_.StCiv = TextOfCode(CivilStatusTexts(), CivilStatusCodes(), loadedStCiv_);
    f_.SitScol = TextOfCode(SchoolingTexts(), SchoolingCodes(), loadedSitScol_);
    f_.NrCam = row.number("NRCAM");
    f_.Asig = row.flag("ASIG");
    f_.SitProf = row.text("SITPROF");
    f_.Copii14 = row.number("COPII14");
    f_.Copii18 = row.number("COPII18");
    f_.CuAjut = row.flag("CUAJUT");
    gas_ = {row.text("FURNG"), row.text("CODCLG"), row.text("PODG"), row.text("TITG"), row.text("CNPG")};
    electricity_ = {row.text("FURNE"), row.text("CODCLE"), row.text("PODE"), row.text("TITE"), row.text("CNPE")};
    sumaL_ = row.amount("SUMAL");
    sumaG_ = row.amount("SUMAG");
    sumaE_ = row.amount("SUMAE");
    sumaT_ = row.amount("SUMAT");
    f_.SupL = sumaL_ > Amount();
    f_.SupT = sumaT_ > Amount();
}

void ApplicationEditor::close()
{
    SetKey("ACTUALIZARE", f_.Actualizare ? 2 : 1);
    const int month = f_.LunaDec.toInt();
    WriteSetting("CONSTANTE", "LunaI", QString::number(month >= 1 && month <= 12 ? month - 1 : 10));
    WriteSetting("CONSTANTE", "AnulI", f_.AnulDec);
    WriteSetting("CONSTANTE", "PerI", f_.Nr_Luni);
}

ApplicationEditor::Lookup ApplicationEditor::cnpChanged(const QString &text)
{
    Lookup out;
    f_.CNPSol = text;
    if (loading_)
        return out;
    if (lookupRunning_) {
        // A change that arrives while a look-up runs is answered once it has ended.
        pendingLookup_ = text;
        hasPending_ = true;
        return out;
    }
    lookupRunning_ = true;
    try {
        runLookup(text, out);
        while (hasPending_) {
            hasPending_ = false;
            out = Lookup();
            runLookup(pendingLookup_, out);
        }
    } catch (...) {
        lookupRunning_ = false;
        hasPending_ = false;
        throw;
    }
    lookupRunning_ = false;
    return out;
}

bool ApplicationEditor::runLookup(const QString &cnp, Lookup &out)
{
    ++lookupsRun_;
    f_.CNPSol = cnp;
    f_.CNPT = cnp;
    if (!cnp::IsValid(cnp))
        return false;
    // Only this applicant's rows, answered from the engine's index of the CNP; the most
    // recent month first, so that the imported registers (codes 1 and 2) come last.
    const sql::ResultSet r = QuerySql(QStringList{"SELECT * FROM " + Quoted(TablePath("Cereri.dbf")),
                                                  "WHERE CNP=" + SqlText(cnp), "ORDER BY CNP,LUNACRT DESC,NRCRT DESC"});
    if (r.empty())
        return false;
    const RowReader row(r, 0);
    out.found = true;
    ++loading_; // the fields below are filled as found, not through their reactions
    f_.SubSemn = row.text("SUBSEMN");
    f_.TitT = row.text("TITT");
    f_.CNPT = row.text("CNPT");
    f_.Localit = row.text("LOCALIT");
    f_.Adresa = row.text("ADRESA");
    f_.Furnizor = row.text("FURNT");
    f_.CodClient = row.text("CODCLT");
    f_.Asoc = row.text("ASOC");
    f_.NrCont = row.text("NRCONT");
    f_.NrMembri = row.number("NR_MEMBRI");
    f_.VenitTotal = row.number("TVENIT");
    f_.L416 = row.flag("L416");
    f_.ASF = row.flag("ASF");
    if (!f_.NewNo)
        f_.Nr_Cere = row.number("NR_CERE");
    --loading_;
    // The supplier found brings the tariff of the working month, as typing it would.
    supplierChanged(f_.Furnizor);

    if (mode_ == EditorMode::Add)
        out.membersCopied = CopyMembers(membersTable_, row.whole("NRCRT"), key_);
    recount();

    const qint64 month = row.whole("LUNACRT");
    const QString who = month == 1   ? QStringLiteral("Beneficiar VMG")
                        : month == 2 ? QStringLiteral("Beneficiar ASF")
                                     : QStringLiteral("A mai depus");
    out.hint = who + " cererea nr." + row.number("NR_CERE") + " / " + FormatDate(row.date("DATACERE")) + ".";
    return true;
}

void ApplicationEditor::applicantChanged(const QString &text)
{
    f_.SubSemn = text;
    if (!loading_)
        f_.TitT = text;
}

bool ApplicationEditor::supplierChanged(const QString &text)
{
    f_.Furnizor = text;
    const QString supplier = CleanField(text);
    if (loading_ || supplier.isEmpty())
        return false;
    // The supplier goes into the statement cleaned, so that no typed character can end
    // its text constant.
    QString tariff;
    if (!LatestTariff(WorkingMonthCode(), supplier, tariff))
        return false;
    f_.Tarif = FormatNumber(FieldNumber(tariff));
    return true;
}

void ApplicationEditor::statusChanged(const QString &status)
{
    f_.StatutD = status;
    if (status != QLatin1String("APROBAT"))
        f_.CuModif = false;
}

void ApplicationEditor::setSupL(bool on)
{
    f_.SupL = on;
    sumaL_ = on ? LoadAidParameters().indL : Amount();
}

void ApplicationEditor::setSupT(bool on)
{
    f_.SupT = on;
    sumaT_ = on ? LoadAidParameters().indT : Amount();
}

void ApplicationEditor::setActualizare(bool on)
{
    f_.Actualizare = on;
    recount();
}

void ApplicationEditor::setAmounts(Amount l, Amount g, Amount e, Amount t)
{
    sumaL_ = l;
    sumaG_ = g;
    sumaE_ = e;
    sumaT_ = t;
}

void ApplicationEditor::recount()
{
    if (!f_.Actualizare || loading_)
        return;
    const std::vector<MemberRow> list = members();
    Amount income;
    QStringList cnps;
    for (const MemberRow &m : list) {
        income += m.venit;
        cnps << m.cnp;
    }
    f_.NrMembri = QString::number(list.size());
    f_.VenitTotal = FormatNumber(income);
    const ChildrenCount children = CountChildren(cnps, f_.DataCereD);
    f_.Copii14 = QString::number(children.under14);
    f_.Copii18 = QString::number(children.over14);
}

const SupplementData &ApplicationEditor::supplement(SupplementKind kind) const
{
    return kind == SupplementKind::Gas ? gas_ : electricity_;
}

SupplementData ApplicationEditor::supplementForDialog(SupplementKind kind) const
{
    SupplementData d = supplement(kind);
    if (d.Titular.isEmpty()) {
        d.Titular = f_.TitT;
        d.CNP = f_.CNPT;
    }
    return d;
}

void ApplicationEditor::supplementSaved(SupplementKind kind, const SupplementData &data, bool singleSource)
{
    const AidParameters p = LoadAidParameters();
    if (kind == SupplementKind::Gas) {
        gas_ = data;
        sumaG_ = p.indG;
    } else {
        electricity_ = data;
        sumaE_ = singleSource ? p.indE2 : p.indE;
    }
}

void ApplicationEditor::supplementDeleted(SupplementKind kind)
{
    if (kind == SupplementKind::Gas) {
        gas_ = SupplementData();
        sumaG_ = Amount();
    } else {
        electricity_ = SupplementData();
        sumaE_ = Amount();
    }
}

} // namespace focaris
